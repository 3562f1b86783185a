#pragma once
// The white-balance page of a colour camera. The runner writes the colour format into edit 1111 after
// showing the page; the page then switches the camera to "BayerRG8" and re-allocates the grabber. The
// operator tries the balance modes "ONCE", "CONTINOUS" and "OFF" while the page shows the red, green and
// blue balance ratios every 500 ms, until the page is hidden. PASS and FAIL put the camera back to balance
// "Off", ratios 1.0 and "Mono8" without a check, so a connected camera always gets its verdict.
//
// The ratios use 1077-1079, so this page's method panel is 1080 (text), 1081 (picture), 1082 and 1083.

#include "CTestPageDlg.h"

class CWhiteBalanceDlg : public CTestPageDlg {
public:
    enum { IDD = 151 };
    enum {
        IDC_COLOR_FORMAT = 1111,
        IDC_RATIO_RED = 1077,
        IDC_RATIO_GREEN = 1078,
        IDC_RATIO_BLUE = 1079,
        IDC_ONCE = 1033,
        IDC_CONTINUOUS = 1034,
        IDC_OFF = 1027,
        IDC_METHOD_TEXT = 1080,
        IDC_PICTURE = 1081,
        IDC_SAVE_METHOD = 1082,
        IDC_CHANGE_IMAGE = 1083,
    };
    enum { ITEM_ONCE = 0, ITEM_CONTINUOUS = 1, ITEM_OFF = 2 };
    // Shows the ratios while the camera balances.
    static constexpr UINT_PTR TIMER_RATIO = 0;

    explicit CWhiteBalanceDlg(CWnd* pParent = nullptr);
    ~CWhiteBalanceDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnEnChangeColorSwitch();
    void OnBnClickedOnce();
    void OnBnClickedContinuous();
    void OnBnClickedOff();
    void OnTimer(UINT_PTR nIDEvent);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnDestroy();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void SetBalanceMode(std::size_t nIndex, LPCTSTR lpszMode);
    // Selects each colour in turn and reads its ratio into its edit ("%lf").
    void ShowRatios();
    // The error query of the ratio writes and reads. A ratio error is reported once: while its message is
    // open the timer goes on ticking, and after it the repeats of an error that persists are cleared
    // without a message until the operator presses a mode button again (a message every 500 ms would
    // leave the operator no moment to reach FAIL).
    BOOL CheckRatioError();
    void Finish(BOOL bPass);

    BOOL m_bRatioErrorReported = FALSE;
};
