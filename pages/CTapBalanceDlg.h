#pragma once
// The tap-balance page: the camera's four-step calibration of its sensor taps. Each step first checks
// the tap levels the display measured against the step's limits; when every tap is within them it
// executes the step's calibration command through the main window's node map. After the last step the
// camera's user sets are saved. The limits come from "steplimit.ini" in the working directory and may be
// edited and saved on the page. One sequence button is enabled at a time; PASS and FAIL are always
// accepted and touch nothing on the camera.

#include "CTestPageDlg.h"

class CTapBalanceDlg : public CTestPageDlg {
public:
    enum { IDD = 142 };
    enum {
        IDC_MODE_STEP3 = 1017,
        IDC_MODE_STEP4 = 1018,
        IDC_STEP1 = 1019,
        IDC_STEP2 = 1020,
        IDC_STEP3 = 1021,
        IDC_STEP4 = 1022,
        IDC_RESET_STEPS = 1023,
        IDC_USER_SET_SAVE = 1024,
        IDC_LIMIT_FIRST = 1025, // the seven limit edits, 1025 to 1031, in the order of m_nStepLimit
        IDC_INI_SAVE = 1003,
    };
    static constexpr int kLimitCount = 7;

    explicit CTapBalanceDlg(CWnd* pParent = nullptr);
    ~CTapBalanceDlg() override;

    // Limits in DN: [0] STEP1 upper limit, then minimum and maximum of STEP2, STEP3 and STEP4.
    int m_nStepLimit[kLimitCount] = {};
    CString m_strLimitIniPath;
    // "Mode Select": 0 ends the calibration after STEP3, 1 goes on with STEP4.
    int m_nStepMode = 0;

    // Reads the seven limits from the limits file into the members and the edits (0 where missing).
    void LoadLimits();
    // A tap's level in DN: the display's value times 0.0625, truncated.
    static int TapLevel(double dValue);

    void OnBnClickedMode(UINT nID);
    void OnBnClickedStep1();
    void OnBnClickedStep2();
    void OnBnClickedStep3();
    void OnBnClickedStep4();
    void OnBnClickedResetSteps();
    void OnBnClickedUserSetSave();
    void OnBnClickedIniSave();
    void OnBnClickedPass();
    void OnBnClickedFail();

    void DoDataExchange(CDataExchange* pDX) override;
    // Enter and Esc are both swallowed: neither may close the page or press PASS.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Step 1 to 4: copies the step's limit edits, checks the levels, runs the step's command.
    void RunStep(int nStep);
    // The levels of the main window's tap mode: Left and Right, or A to D.
    std::vector<int> ReadTapLevels() const;
    // Enables one sequence button and disables the other four.
    void EnableOnly(int nButtonId);
};
