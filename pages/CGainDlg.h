#pragma once
// The gain page: the operator sets the gain to x2 and x6 and tries the camera's automatic gain once and
// off while watching the live image. No step checks its write. PASS and FAIL put the gain back to 1.0
// with the automatic gain off and return the main window's gain slider to its first position.
//
// Two hidden check boxes send an automatic-gain mode as text to the camera's "Command" node; they work
// only with a node map and are out of the operator's reach.

#include "CTestPageDlg.h"

class CGainDlg : public CTestPageDlg {
public:
    enum { IDD = 146 };
    enum {
        IDC_GAIN_2X = 1035,
        IDC_GAIN_6X = 1037,
        IDC_AUTO_ONCE = 1033,
        IDC_AUTO_OFF = 1027,
        IDC_AGC_ONCE = 1076,
        IDC_AGC_CONTINUOUS = 1058,
    };
    enum { ITEM_GAIN_2X = 0, ITEM_GAIN_6X = 1, ITEM_AUTO_ONCE = 2, ITEM_AUTO_OFF = 3 };
    // Runs while a hidden automatic-gain box is set; its ticks do nothing.
    static constexpr UINT_PTR TIMER_AGC = 0;

    explicit CGainDlg(CWnd* pParent = nullptr);
    ~CGainDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnBnClickedAutoOff();
    void OnBnClickedAutoOnce();
    void OnBnClickedGain2x();
    void OnBnClickedGain6x();
    void OnBnClickedAgcOnce();
    void OnBnClickedAgcContinuous();

    CButton m_btnOnce;
    CButton m_btnContinuous;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    void SetGain(std::size_t nIndex, double dGain);
    // A set box sends its mode and starts the timer; a clear one sends mode 0 and stops it.
    void SendAgcMode(const CButton& box, const char* pszSetMode);
    void Finish(BOOL bPass);
};
