// The tap-balance page: its limits file in the working directory, the level checks and retry messages
// of the four steps in two- and four-tap mode, the calibration commands through the node map with the
// one-button-at-a-time sequence, the user-set save, and the keys and verdicts that always go through.

#include "CDisplayDlg.h"
#include "CTapBalanceDlg.h"
#include "PageFixture.h"
#include "SimNodeMap.h"

#include <QDir>
#include <QFile>

using kavrino_test::PageTest;

namespace {

class TapBalancePageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        // The page reads "steplimit.ini" from the working directory when the main window opens.
        m_oldDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    }

    void TearDown() override {
        if (m_dlg)
            m_dlg->m_pNodeMap = nullptr;
        PageTest::TearDown();
        QDir::setCurrent(m_oldDir);
    }

    void WriteLimits(const char* text) {
        QFile file(m_dir.filePath("steplimit.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    // Opened and connected, with the camera's node map in the main window.
    void OpenPage() {
        OpenConnected({L"탭 밸런스"});
        m_pPage = m_dlg->m_pTapBalanceDlg;
        ASSERT_NE(m_pPage, nullptr);
        m_pPage->ShowWindow(SW_SHOW);
        m_pCamera = kavrino::SimCameraRegistry::Find(L"P0001");
        ASSERT_NE(m_pCamera, nullptr);
        m_pNodeMap = std::make_unique<kavrino::SimNodeMap>(m_pCamera);
        m_dlg->m_pNodeMap = m_pNodeMap.get();
        m_boxes.Clear();
    }

    // Levels in DN, as the display would hold them (x 16).
    void SetTaps(std::initializer_list<int> levels) {
        CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
        double* const taps2[] = {&pDisplay->m_dTapLeft, &pDisplay->m_dTapRight};
        double* const taps4[] = {&pDisplay->m_dTapA, &pDisplay->m_dTapB, &pDisplay->m_dTapC,
                                 &pDisplay->m_dTapD};
        std::size_t i = 0;
        for (int level : levels)
            *(levels.size() == 2 ? taps2[i++] : taps4[i++]) = level * 16.0;
    }

    // The one enabled sequence button (0 when there is not exactly one).
    int EnabledStep() const {
        int nEnabled = 0;
        int nCount = 0;
        for (int id : {1019, 1020, 1021, 1022, 1024}) {
            if (m_pPage->GetDlgItem(id)->IsWindowEnabled()) {
                nEnabled = id;
                ++nCount;
            }
        }
        return nCount == 1 ? nEnabled : 0;
    }

    CString Edit(int id) const {
        CString text;
        m_pPage->GetDlgItemText(id, text);
        return text;
    }

    QString m_oldDir;
    CTapBalanceDlg* m_pPage = nullptr;
    std::shared_ptr<kavrino::SimCamera> m_pCamera;
    std::unique_ptr<kavrino::SimNodeMap> m_pNodeMap;
};

} // namespace

TEST(TapLevel, IsTheValueInSixteenthsTruncated) {
    EXPECT_EQ(CTapBalanceDlg::TapLevel(2047.9), 127);
    EXPECT_EQ(CTapBalanceDlg::TapLevel(160.0), 10);
    EXPECT_EQ(CTapBalanceDlg::TapLevel(159.99), 9);
}

TEST_F(TapBalancePageTest, LimitsComeFromTheFileAndAreSavedBackAsTyped) {
    // No file: every limit 0, in the members and the edits.
    OpenPage();
    for (int i = 0; i < CTapBalanceDlg::kLimitCount; ++i) {
        EXPECT_EQ(m_pPage->m_nStepLimit[i], 0);
        EXPECT_EQ(Edit(1025 + i), L"0");
    }
    EXPECT_EQ(m_pPage->m_strLimitIniPath,
              CString(QDir(m_dir.path()).filePath("steplimit.ini").toStdWString()));
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP1);
    Close();

    WriteLimits("[System]\nSTEP1_PARAM=12\nSTEP2_MIN_PARAM= 141x\nSTEP2_MAX_PARAM=-3\nSTEP3_MIN_PARAM=abc\n"
                "STEP3_MAX_PARAM=70\nSTEP4_MIN_PARAM=140\nSTEP4_MAX_PARAM=190\n");
    OpenPage();
    EXPECT_EQ(std::vector<int>(m_pPage->m_nStepLimit, m_pPage->m_nStepLimit + 7),
              (std::vector<int>{12, 141, -3, 0, 70, 140, 190}));
    EXPECT_EQ(Edit(1027), L"-3");

    // Typed text that is not a number is saved as 0; a reopened window loads what was saved.
    m_pPage->SetDlgItemText(1025, L"9");
    m_pPage->SetDlgItemText(1028, L"twenty");
    Press(m_pPage, CTapBalanceDlg::IDC_INI_SAVE);
    EXPECT_TRUE(PageBoxes().empty());
    Close();
    OpenPage();
    EXPECT_EQ(std::vector<int>(m_pPage->m_nStepLimit, m_pPage->m_nStepLimit + 7),
              (std::vector<int>{9, 141, -3, 0, 70, 140, 190}));

    // A write that fails stops the save at once.
    m_pPage->m_strLimitIniPath = CString(m_dir.filePath("no/such/folder/steplimit.ini").toStdWString());
    m_pPage->SetDlgItemText(1025, L"33");
    m_pPage->SetDlgItemText(1026, L"44");
    Press(m_pPage, CTapBalanceDlg::IDC_INI_SAVE);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"파라미터 저장 실패"});
    EXPECT_EQ(m_pPage->m_nStepLimit[0], 33);
    EXPECT_EQ(m_pPage->m_nStepLimit[1], 141); // not read after the failure
}

TEST_F(TapBalancePageTest, TwoTapStepsCheckTheirLimitsAndRunTheCalibrationInSequence) {
    WriteLimits("[System]\nSTEP1_PARAM=10\nSTEP2_MIN_PARAM=140\nSTEP2_MAX_PARAM=190\nSTEP3_MIN_PARAM=20\n"
                "STEP3_MAX_PARAM=70\nSTEP4_MIN_PARAM=140\nSTEP4_MAX_PARAM=190\n");
    OpenPage();

    // Without a node map a step only takes its limit edit.
    m_dlg->m_pNodeMap = nullptr;
    m_pPage->SetDlgItemText(1025, L"11");
    Press(m_pPage, CTapBalanceDlg::IDC_STEP1);
    EXPECT_EQ(m_pPage->m_nStepLimit[0], 11);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(m_pCamera->Executions(L"BlackCalibration"), 0);
    m_dlg->m_pNodeMap = m_pNodeMap.get();
    m_pPage->SetDlgItemText(1025, L"10");

    SetTaps({10, 9});
    Press(m_pPage, CTapBalanceDlg::IDC_STEP1);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"Left 10 Right 9\r\n10Dn 아래로 다시 시도하세요."});
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP1);
    EXPECT_EQ(m_pCamera->Executions(L"BlackCalibration"), 0);

    SetTaps({9, 9});
    m_boxes.Clear();
    Press(m_pPage, CTapBalanceDlg::IDC_STEP1);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"STEP1 COMPLETE"});
    EXPECT_EQ(m_pCamera->Executions(L"BlackCalibration"), 1);
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP2);

    // STEP2 takes both bounds and refuses one level outside them; only STEP2 stays enabled.
    SetTaps({139, 190});
    m_boxes.Clear();
    Press(m_pPage, CTapBalanceDlg::IDC_STEP2);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"Left 139 Right 190\r\n140~190Dn 사이로 다시 시도하세요."});
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP2);
    SetTaps({140, 191});
    Press(m_pPage, CTapBalanceDlg::IDC_STEP2);
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP2);
    SetTaps({140, 190});
    Press(m_pPage, CTapBalanceDlg::IDC_STEP2);
    EXPECT_EQ(m_pCamera->Executions(L"WhiteCalibration"), 1);
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP3);

    // Mode "STEP3": STEP3 completes the sequence and the user sets come next.
    SetTaps({20, 70});
    Press(m_pPage, CTapBalanceDlg::IDC_STEP3);
    EXPECT_EQ(m_pCamera->Executions(L"BlackBalance"), 1);
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_USER_SET_SAVE);

    m_boxes.Clear();
    Press(m_pPage, CTapBalanceDlg::IDC_USER_SET_SAVE);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"Save Complete"});
    EXPECT_EQ(m_pCamera->Executions(L"UserSetSave"), 4);
    EXPECT_EQ(TextFeature(L"UserSetSelector"), L"Default"); // saved last
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP1);
}

TEST_F(TapBalancePageTest, FourTapModeAndTheStepFourBranch) {
    OpenPage();
    m_dlg->m_nTapMode = 1;
    m_pPage->SetDlgItemText(1025, L"10");
    SetTaps({1, 2, 3, 10});
    Press(m_pPage, CTapBalanceDlg::IDC_STEP1);
    EXPECT_EQ(PageBoxes(),
              std::vector<CString>{L"A_CH: 1 B_CH: 2 C_CH: 3 D_CH: 10\r\n10Dn 아래로 다시 시도하세요."});

    // Straight to STEP3 with mode "STEP4": its completion enables STEP4.
    m_pPage->CheckRadioButton(1017, 1018, 1018);
    Press(m_pPage, 1018);
    EXPECT_EQ(m_pPage->m_nStepMode, 1);
    m_pPage->SetDlgItemText(1028, L"20");
    m_pPage->SetDlgItemText(1029, L"70");
    SetTaps({20, 30, 71, 40});
    m_boxes.Clear();
    Press(m_pPage, CTapBalanceDlg::IDC_STEP3);
    EXPECT_EQ(PageBoxes(),
              std::vector<CString>{
                  L"ACH_DN: 20 BCH_DN: 30 CCH_DN: 71 DCH_DN: 40\r\n20~70Dn 사이로 다시 시도하세요."});
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP3);
    SetTaps({20, 30, 70, 40});
    Press(m_pPage, CTapBalanceDlg::IDC_STEP3);
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP4);

    m_pPage->SetDlgItemText(1030, L"140");
    m_pPage->SetDlgItemText(1031, L"190");
    SetTaps({150, 150, 150, 150});
    Press(m_pPage, CTapBalanceDlg::IDC_STEP4);
    EXPECT_EQ(m_pCamera->Executions(L"WhiteBlalance"), 1);
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_USER_SET_SAVE);
}

TEST_F(TapBalancePageTest, GenICamFailuresReturnToStepOneWithTheirDescription) {
    OpenPage();
    m_pPage->SetDlgItemText(1025, L"10");
    m_pCamera->SetMissing(L"BlackCalibration", true);
    Press(m_pPage, CTapBalanceDlg::IDC_STEP1);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"NULL pointer dereferenced"});
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP1);

    // A refused command carries the camera's reason; the sequence starts over.
    m_pCamera->SetMissing(L"BlackCalibration", false);
    m_pCamera->SetRefused(L"BlackCalibration", true);
    m_boxes.Clear();
    Press(m_pPage, CTapBalanceDlg::IDC_STEP1);
    ASSERT_EQ(PageBoxes().size(), 1u);
    EXPECT_NE(PageBoxes()[0], L"STEP1 COMPLETE");
    EXPECT_EQ(EnabledStep(), CTapBalanceDlg::IDC_STEP1);

    // The user-set save stops at the first failure.
    m_pCamera->SetRefused(L"UserSetSave", true);
    m_boxes.Clear();
    Press(m_pPage, CTapBalanceDlg::IDC_USER_SET_SAVE);
    ASSERT_EQ(PageBoxes().size(), 1u);
    EXPECT_NE(PageBoxes()[0], L"Save Complete");
    EXPECT_EQ(TextFeature(L"UserSetSelector"), L"UserSet0");
}

TEST_F(TapBalancePageTest, EnterAndEscDoNothingAndTheVerdictIsAlwaysTaken) {
    OpenPage();
    m_dlg->m_bConnected = FALSE; // not looked at
    for (UINT vk : {VK_RETURN, VK_ESCAPE}) {
        MSG msg{};
        msg.hwnd = m_pPage->GetDlgItem(1025)->GetSafeHwnd();
        msg.message = WM_KEYDOWN;
        msg.wParam = vk;
        EXPECT_TRUE(m_pPage->PreTranslateMessage(&msg));
    }
    EXPECT_TRUE(Visible(m_pPage));
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));

    Press(m_pPage, IDOK);
    EXPECT_EQ(m_pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_FALSE(Visible(m_pPage));
    m_dlg->m_bConnected = TRUE;
}
