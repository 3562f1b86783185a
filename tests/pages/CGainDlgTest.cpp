// The gain page on the simulated camera: the four steps, the unchecked restore with the main window's
// slider, and the hidden automatic-gain boxes that talk to the "Command" node.

#include "CGainDlg.h"
#include "PageFixture.h"
#include "SimNodeMap.h"

using kavrino_test::PageTest;

namespace {
double Gain(CKavrinoDlg& dlg) {
    double dGain = -1.0;
    dlg.GetFeature(L"Gain", FEATURE_VALUE, &dGain);
    return dGain;
}
} // namespace

TEST_F(PageTest, GainStepsWriteTheGainAndUntriedStepsAreListedEvenUnconnected) {
    OpenWith({L"게인"});
    CGainDlg* pPage = m_dlg->m_pGainDlg;
    ASSERT_NE(pPage, nullptr);
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CGainDlg::IDC_GAIN_2X); // unconnected: nothing
    Press(pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ 2배\r\n@ 6배\r\n@ Once\r\n@ Off\r\n"});

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    Press(pPage, CGainDlg::IDC_GAIN_2X);
    EXPECT_DOUBLE_EQ(Gain(*m_dlg), 2.0);
    Press(pPage, CGainDlg::IDC_GAIN_6X);
    EXPECT_DOUBLE_EQ(Gain(*m_dlg), 6.0);
    m_boxes.Clear();
    Press(pPage, IDOK);
    // The caption of 1027 is "OFF", its step "Off".
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ Once\r\n@ Off\r\n"});

    // "Once": the camera chooses its gain (1.0 at the reference exposure), the update command is executed
    // once, and the automatic gain is off again; the slider does not follow the camera.
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    const int nUpdates = camera->Executions(L"GainUpdateFeature");
    m_dlg->m_sliderGain.SetPos(3);
    Press(pPage, CGainDlg::IDC_AUTO_ONCE);
    EXPECT_DOUBLE_EQ(Gain(*m_dlg), 1.0);
    EXPECT_EQ(camera->Executions(L"GainUpdateFeature"), nUpdates + 1);
    EXPECT_EQ(TextFeature(L"GainAuto"), L"Off");
    EXPECT_EQ(m_dlg->m_sliderGain.GetPos(), 3);
    m_dlg->SetFeature(L"GainAuto", FEATURE_VALUE_AS_STRING, L"Continuous");
    pPage->m_nFocusIndex = 3; // key code 4 on "OFF" presses it: the automatic gain goes off
    pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(TextFeature(L"GainAuto"), L"Off");

    // PASS switches a running automatic gain off, restores gain 1.0 and the slider's first position (step
    // display 1).
    Press(pPage, CGainDlg::IDC_GAIN_6X);
    m_dlg->SetFeature(L"GainAuto", FEATURE_VALUE_AS_STRING, L"Continuous");
    const double dExposure = 2500.0; // the automatic gain answers with 4.0
    m_dlg->SetFeature(L"ExposureTime", FEATURE_VALUE, &dExposure);
    ASSERT_DOUBLE_EQ(Gain(*m_dlg), 4.0);
    m_boxes.Clear();
    m_dlg->SetDlgItemText(CKavrinoDlg::IDC_GAIN_STEP, L"4");
    Press(pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(TextFeature(L"GainAuto"), L"Off");
    EXPECT_DOUBLE_EQ(Gain(*m_dlg), 1.0);
    EXPECT_EQ(m_dlg->m_sliderGain.GetPos(), 0);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_GAIN_STEP), L"1");
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
}

TEST_F(PageTest, GainFailRestoresWhateverTheCameraDoes) {
    OpenConnected({L"게인"});
    CGainDlg* pPage = m_dlg->m_pGainDlg;
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CGainDlg::IDC_GAIN_6X);
    Refuse(L"GainAuto"); // not noticed: the verdict comes all the same, without a message
    Press(pPage, IDCANCEL);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_DOUBLE_EQ(Gain(*m_dlg), 1.0);
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));

    MSG esc{};
    esc.message = WM_KEYDOWN;
    esc.wParam = VK_ESCAPE;
    EXPECT_TRUE(pPage->PreTranslateMessage(&esc));
}

TEST_F(PageTest, GainHiddenBoxesSendTheAutomaticGainModeThroughTheNodeMap) {
    OpenConnected({L"게인"});
    CGainDlg* pPage = m_dlg->m_pGainDlg;

    // Without a node map (the main window never sets one) the boxes do nothing at all.
    pPage->m_btnOnce.SetCheck(BST_CHECKED);
    Press(pPage, CGainDlg::IDC_AGC_ONCE);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_FALSE(pPage->KillTimer(CGainDlg::TIMER_AGC));

    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    kavrino::SimNodeMap map(camera);
    m_dlg->m_pNodeMap = &map;
    GenApi::CStringPtr pCommand = map.GetNode("Command");
    Press(pPage, CGainDlg::IDC_AGC_ONCE);
    EXPECT_EQ(pCommand->GetValue(), "WAGCMODE 0x1");
    EXPECT_TRUE(pPage->KillTimer(CGainDlg::TIMER_AGC)); // it was running
    pPage->m_btnContinuous.SetCheck(BST_CHECKED);
    Press(pPage, CGainDlg::IDC_AGC_CONTINUOUS);
    EXPECT_EQ(TextFeature(L"GainAuto"), L"Continuous");
    pPage->m_btnContinuous.SetCheck(BST_UNCHECKED);
    Press(pPage, CGainDlg::IDC_AGC_CONTINUOUS);
    EXPECT_EQ(pCommand->GetValue(), "WAGCMODE 0x0");
    EXPECT_FALSE(pPage->KillTimer(CGainDlg::TIMER_AGC)); // cleared: stopped

    // No "Command" node: the description is shown and the timer stays as it was.
    pPage->SetTimer(CGainDlg::TIMER_AGC, 500, nullptr);
    camera->SetMissing(L"Command", true);
    Press(pPage, CGainDlg::IDC_AGC_CONTINUOUS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'NULL pointer dereferenced'"});
    EXPECT_TRUE(pPage->KillTimer(CGainDlg::TIMER_AGC));
    m_dlg->m_pNodeMap = nullptr;
}
