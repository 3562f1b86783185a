#pragma once
// The brightness-deviation page: places the display's five measurement windows (centre and four
// corners), chooses the measured colour channel on a colour camera, and shows every 100 ms the centre's
// deviation from each corner with an automatic "PASS!!" or "FAIL!!" against the deviation limit. The
// verdict is the operator's; the page touches no camera feature and finishes with or without a camera.

#include "CTestPageDlg.h"

class CBrightDlg : public CTestPageDlg {
public:
    enum { IDD = 161 };
    enum {
        IDC_SHOW = 1057,
        IDC_SAVE_PARAM = 1003,
        IDC_CENTER_LEFT = 1089,
        IDC_CENTER_TOP = 1091,
        IDC_CENTER_RIGHT = 1092,
        IDC_CENTER_BOTTOM = 1093,
        IDC_CORNER_FIRST = 1105,
        IDC_CORNER_LAST = 1120,
        IDC_CHANNEL_R = 1121,
        IDC_CHANNEL_G = 1122,
        IDC_CHANNEL_B = 1123,
        IDC_DEV_LEFT_TOP = 1126,
        IDC_DEV_LEFT_BOTTOM = 1127,
        IDC_DEV_RIGHT_TOP = 1128,
        IDC_DEV_RIGHT_BOTTOM = 1129,
        IDC_LIMIT = 1130,
        IDC_VERDICT = 1131,
        IDC_PASS = 1031,
        IDC_FAIL = 1032,
    };
    // Sub-steps, on a colour camera only.
    enum { ITEM_G = 0, ITEM_B = 1 };
    static constexpr UINT_PTR TIMER_DEVIATION = 0x8064;
    static constexpr UINT_PTR TIMER_VERDICT = 0x8065;
    static constexpr UINT TIMER_PERIOD_MS = 100;

    explicit CBrightDlg(CWnd* pParent = nullptr);
    ~CBrightDlg() override;

    BOOL OnInitDialog() override;
    // Esc never closes the page.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Runner: reads the five windows from the test set, shows them and switches the display's brightness
    // mode on.
    void LoadParameters();
    // Writes the five windows into their edits.
    void ShowParameters();

    // The automatic verdict: every deviation strictly inside the limit.
    static bool DeviationsWithin(const int* pDeviations, int nLimit);

    void OnDestroy();
    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnEnChangeEditCenterLeft();
    void OnEnChangeEditCenterTop();
    void OnEnChangeEditCenterRight();
    void OnEnChangeEditCenterBottom();
    // The corner windows' sixteen edits.
    void OnEnChangeEditCorner(UINT nID);
    void OnBnClickedSaveParam();
    void OnBnClickedChannelR();
    void OnBnClickedChannelG();
    void OnBnClickedChannelB();
    void OnTimer(UINT_PTR nIDEvent);
    void OnBnClickedShow();

    CFont m_fontVerdict;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    void SetBrightMode(bool bOn);
    void MarkItemTried(std::size_t nIndex);
};
