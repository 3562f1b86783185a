// The test-pattern page on the simulated camera: the checked pattern writes, the checked restore that keeps
// the page open when it fails, the key pad, and the Esc filter of the pages that have one.

#include "CBlackLevelDlg.h"
#include "CDeviceInfoDlg.h"
#include "CExposureDlg.h"
#include "CTestPatternDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

TEST_F(PageTest, TestPatternSwitchesTheRampWhileLiveAndPassTurnsItOff) {
    OpenWith({L"테스트 패턴"});
    CTestPatternDlg* pPage = m_dlg->m_pTestPatternDlg;
    ASSERT_NE(pPage, nullptr);
    pPage->ShowWindow(SW_SHOW);
    // Disconnected: no step is tried, and FAIL gives no verdict.
    Press(pPage, CTestPatternDlg::IDC_HORIZONTAL_RAMP);
    EXPECT_EQ(pPage->m_vecItems[0].bTested, 0);
    Press(pPage, IDCANCEL);
    EXPECT_FALSE(Signalled(pPage->m_hEvent));

    Click(CKavrinoDlg::IDC_CONNECT);
    Click(CKavrinoDlg::IDC_LIVE);
    ASSERT_TRUE(m_dlg->m_bLive);
    m_boxes.Clear();
    Press(pPage, CTestPatternDlg::IDC_HORIZONTAL_RAMP);
    EXPECT_EQ(TextFeature(L"TestPattern"), L"GreyHorizontalRamp");
    EXPECT_TRUE(m_dlg->m_bLive); // written while the camera acquires
    Press(pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ OFF\r\n"});

    Press(pPage, CTestPatternDlg::IDC_OFF);
    EXPECT_EQ(TextFeature(L"TestPattern"), L"Off");
    Press(pPage, CTestPatternDlg::IDC_HORIZONTAL_RAMP);
    Press(pPage, IDOK);
    EXPECT_EQ(PageBoxes().size(), 1u);
    EXPECT_EQ(TextFeature(L"TestPattern"), L"Off");
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_EQ(pPage->m_vecItems[0].bTested, 0);
}

TEST_F(PageTest, RefusedTestPatternIsReportedAndAFailedRestoreKeepsThePage) {
    OpenConnected({L"테스트 패턴"});
    CTestPatternDlg* pPage = m_dlg->m_pTestPatternDlg;
    pPage->ShowWindow(SW_SHOW);
    Refuse(L"TestPattern");
    Press(pPage, CTestPatternDlg::IDC_HORIZONTAL_RAMP);
    Press(pPage, CTestPatternDlg::IDC_OFF);
    EXPECT_EQ(PageBoxes(), (std::vector<CString>{L"ERROR : 'TestPattern'", L"ERROR : 'TestPattern'"}));
    EXPECT_EQ(pPage->m_vecItems[0].bTested, 1); // tried, though failed

    m_boxes.Clear();
    Press(pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'TestPattern'"});
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
    EXPECT_TRUE(Visible(pPage));

    Refuse(L"TestPattern", false);
    Press(pPage, IDCANCEL);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 0);
    CString strErrors;
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: 가로 패턴 OFF ");
}

TEST_F(PageTest, TestPatternKeyPadMovesBetweenTheStepsAndGivesTheVerdict) {
    OpenConnected({L"테스트 패턴"});
    CTestPatternDlg* pPage = m_dlg->m_pTestPatternDlg;
    pPage->ShowWindow(SW_SHOW);
    pPage->SendMessage(WM_KEYPAD, 0, 2);
    EXPECT_EQ(FocusId(), CTestPatternDlg::IDC_OFF);
    pPage->SendMessage(WM_KEYPAD, 0, 2);
    EXPECT_EQ(FocusId(), CTestPatternDlg::IDC_HORIZONTAL_RAMP);
    pPage->SendMessage(WM_KEYPAD, 0, 1);
    EXPECT_EQ(pPage->m_nFocusIndex, 1);
    pPage->SendMessage(WM_KEYPAD, 0, 4); // "OFF"
    pPage->SendMessage(WM_KEYPAD, 0, 2);
    pPage->SendMessage(WM_KEYPAD, 0, 4); // the ramp
    EXPECT_EQ(TextFeature(L"TestPattern"), L"GreyHorizontalRamp");

    // PASS moves the dialog focus to the ramp; the key pad's index stays where it was.
    pPage->SendMessage(WM_KEYPAD, 0, 1);
    pPage->SendMessage(WM_KEYPAD, 0, 8);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_nFocusIndex, 1);
    pPage->ShowWindow(SW_SHOW);
    EXPECT_EQ(FocusId(), CTestPatternDlg::IDC_HORIZONTAL_RAMP);
}

TEST_F(PageTest, EscIsSwallowedOnTheKeyPadAndBlackLevelPages) {
    OpenConnected({L"테스트 패턴"});
    for (CTestPageDlg* pPage : std::vector<CTestPageDlg*>{m_dlg->m_pTestPatternDlg, m_dlg->m_pBlackLevelDlg,
                                                          m_dlg->m_pDeviceInfoDlg, m_dlg->m_pExposureDlg}) {
        ASSERT_NE(pPage, nullptr);
        pPage->ShowWindow(SW_SHOW);
        MSG esc{};
        esc.hwnd = pPage->GetSafeHwnd();
        esc.message = WM_KEYDOWN;
        esc.wParam = VK_ESCAPE;
        EXPECT_TRUE(pPage->PreTranslateMessage(&esc));
        EXPECT_TRUE(Visible(pPage));
    }
}
