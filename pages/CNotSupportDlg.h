#pragma once
// The other-checks page: the checks the camera cannot be asked about. Noise, blooming and resolution are
// judged by eye with a FAIL/PASS radio pair each; the supply current and voltage are typed in and
// judged against the test set's references within 10 percent. One press of "확인" sets the five
// verdicts and the two supply comments and ends the page; the runner records a row per chosen check.

#include "CTestPageDlg.h"

class CNotSupportDlg : public CTestPageDlg {
public:
    enum { IDD = 148 };
    enum {
        IDC_NOISE_FAIL = 1087,
        IDC_NOISE_PASS = 1088,
        IDC_BLOOMING_FAIL = 1056,
        IDC_BLOOMING_PASS = 1057,
        IDC_RESOLUTION_FAIL = 1060,
        IDC_RESOLUTION_PASS = 1061,
        IDC_CURRENT = 1111,
        IDC_VOLTAGE = 1112,
    };
    // The chosen checks, in the order of m_CheckItems.
    enum { CHECK_NOISE, CHECK_BLOOMING, CHECK_RESOLUTION, CHECK_CURRENT, CHECK_VOLTAGE, CHECK_COUNT };
    // Shows the radio members again; sent from outside the program.
    static constexpr UINT WM_REFRESH_PAGE = WM_USER + 100;

    explicit CNotSupportDlg(CWnd* pParent = nullptr);
    ~CNotSupportDlg() override;

    // Takes the run's chosen checks; the radio pairs of the visual checks not chosen are disabled.
    void SetCheckItems(const int* pCheckItems);
    // Judges the typed current and voltage against the main window's references (within 10 percent);
    // 0 without a connection, when both verdicts stay as they are.
    int CheckCurrentVoltage();

    // Verdicts, 1 PASS and 0 FAIL.
    int m_bNoisePass = 1;
    int m_bResolutionPass = 1;
    int m_bCurrentPass = 0;
    int m_bVoltagePass = 0;
    int m_bBloomingPass = 1;
    CString m_strCurrentReport;
    CString m_strVoltageReport;
    int m_CheckItems[CHECK_COUNT] = {};
    // Radio groups: 0 the "FAIL" button, 1 the "PASS" button.
    int m_nResolutionRadio = 1;
    int m_nBloomingRadio = 1;
    int m_nNoiseRadio = 1;

    void OnBnClickedOk();
    void OnBnClickedNoise();
    void OnBnClickedResolution();
    void OnBnClickedBlooming();
    LRESULT OnRefreshPage(WPARAM wParam, LPARAM lParam);

    void DoDataExchange(CDataExchange* pDX) override;
    // Esc is swallowed; Enter still presses "확인" (or makes a new line in the method text).
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void EnableRadioPair(int nFirstId, int nSecondId, BOOL bEnable);
};
