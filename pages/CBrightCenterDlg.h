#pragma once
// The centre-brightness page: places the centre measurement window (shared with the brightness-deviation
// page), chooses the colour channel on a colour camera and shows the window's average every 100 ms. It
// has no sub-steps, touches no camera feature, and PASS and FAIL always finish.

#include "CTestPageDlg.h"

class CBrightCenterDlg : public CTestPageDlg {
public:
    enum { IDD = 162 };
    enum {
        IDC_SHOW = 1057,
        IDC_SAVE_PARAM = 1003,
        IDC_CENTER_LEFT = 1089,
        IDC_CENTER_TOP = 1091,
        IDC_CENTER_RIGHT = 1092,
        IDC_CENTER_BOTTOM = 1093,
        IDC_CHANNEL_R = 1121,
        IDC_CHANNEL_G = 1122,
        IDC_CHANNEL_B = 1123,
        IDC_AVERAGE = 1141,
        IDC_PASS = 1031,
        IDC_FAIL = 1032,
    };
    static constexpr UINT_PTR TIMER_AVERAGE = 0x83e8;
    static constexpr UINT TIMER_PERIOD_MS = 100;

    explicit CBrightCenterDlg(CWnd* pParent = nullptr);
    ~CBrightCenterDlg() override;

    BOOL OnInitDialog() override;

    // Runner: reads the centre window from the test set (the display's modes are left alone).
    void LoadParameters();
    // Writes the centre window into its edits.
    void ShowParameters();

    void OnDestroy();
    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnBnClickedShow();
    void OnEnChangeEditCenterLeft();
    void OnEnChangeEditCenterTop();
    void OnEnChangeEditCenterRight();
    void OnEnChangeEditCenterBottom();
    void OnBnClickedSaveParam();
    void OnBnClickedChannelR();
    void OnBnClickedChannelG();
    void OnBnClickedChannelB();
    void OnTimer(UINT_PTR nIDEvent);

    CFont m_fontVerdict;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    void SetCenterMode(bool bOn);
    void Finish(BOOL bPass);
};
