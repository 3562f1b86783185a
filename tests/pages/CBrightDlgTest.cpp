// The brightness-deviation page: the five windows from the test set (defaults, numbers, saving), the
// edits, the colour-channel steps on a colour camera, the read-out and the automatic verdict, PASS and
// FAIL.

#include "BrightWindows.h"
#include "CBrightDlg.h"
#include "CDisplayDlg.h"
#include "PageFixture.h"
#include "Profile.h"

#include <climits>

using kavrino_test::PageTest;

namespace kavrino_test {

class BrightPageTest : public PageTest {
protected:
    void TearDown() override {
        PageTest::TearDown();
        theApp.g_bEditMode = 0;
    }

    // The main window of a colour or black-and-white camera with the brightness page, not connected.
    CBrightDlg* OpenBright(bool bColor) {
        m_items.RemoveAll();
        m_items.AddTail(L"휘도편차");
        m_dlg = std::make_unique<CKavrinoDlg>();
        m_dlg->m_pTestItemList = &m_items;
        m_dlg->m_pFrameRateList = &m_frameRates;
        m_dlg->m_pDcfList = &m_dcfList;
        m_dlg->m_bColorCamera = bColor ? TRUE : FALSE;
        m_dlg->m_nDeviationLimit = 6;
        EXPECT_TRUE(m_dlg->Create(CKavrinoDlg::IDD, nullptr));
        m_dlg->ShowWindow(SW_SHOW);
        CBrightDlg* pPage = m_dlg->m_pBrightDlg;
        EXPECT_NE(pPage, nullptr);
        if (pPage)
            pPage->ShowWindow(SW_SHOW);
        return pPage;
    }

    void WriteKey(const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(WritePrivateProfileString(L"BRIGHT", key, value, m_strIniPath));
    }
    CString ReadKey(const wchar_t* key) {
        wchar_t text[128] = {};
        GetPrivateProfileString(L"BRIGHT", key, nullptr, text, 128, m_strIniPath);
        return text;
    }
    static CString ItemText(CWnd* pWnd, int id) {
        CString text;
        pWnd->GetDlgItemText(id, text);
        return text;
    }
    static void ExpectWindow(int nWindow, int left, int top, int width, int height) {
        const int* w = g_rcBrightWindow[nWindow];
        EXPECT_EQ((std::vector<int>{w[0], w[1], w[2], w[3]}), (std::vector<int>{left, top, width, height}))
            << "window " << nWindow;
    }
};

} // namespace kavrino_test

using kavrino_test::BrightPageTest;

TEST(BrightDeviation, EveryDeviationMustLieStrictlyInsideTheLimit) {
    const int dev[4] = {5, -5, 3, 0};
    EXPECT_TRUE(CBrightDlg::DeviationsWithin(dev, 6));
    EXPECT_FALSE(CBrightDlg::DeviationsWithin(dev, 5));
    const int extreme[4] = {0, INT_MIN, 0, 0};
    EXPECT_FALSE(CBrightDlg::DeviationsWithin(extreme, INT_MAX));
    const int zero[4] = {};
    EXPECT_FALSE(CBrightDlg::DeviationsWithin(zero, 0));
}

TEST_F(BrightPageTest, MissingKeysPlaceTheWindowsByTheImageSizeAndPresentValuesAreTakenAsNumbers) {
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    g_nImageWidth = 1920;
    g_nImageHeight = 1080;
    pPage->LoadParameters();
    ExpectWindow(0, 910, 490, 100, 100);
    ExpectWindow(1, 10, 10, 100, 100);
    ExpectWindow(2, 1810, 10, 100, 100);
    ExpectWindow(3, 10, 970, 100, 100);
    ExpectWindow(4, 1810, 970, 100, 100);
    // The edits show them, right-bottom's in 1113 to 1116.
    EXPECT_EQ(ItemText(pPage, 1089), L"910");
    EXPECT_EQ(ItemText(pPage, 1113), L"1810");
    EXPECT_EQ(ItemText(pPage, 1120), L"100");
    EXPECT_TRUE(m_dlg->m_pDisplayDlg->m_bBrightMode);

    g_nImageWidth = 1001;
    WriteKey(L"Center top", L"0");
    WriteKey(L"LeftTopRect left", L"12px");
    WriteKey(L"LeftTopRect top", L"abc");
    WriteKey(L"RightBottomRect bottom", L"-7");
    pPage->LoadParameters();
    EXPECT_EQ(g_rcBrightWindow[0][0], 450);
    EXPECT_EQ(g_rcBrightWindow[0][1], 0); // "0" is a value, not the default
    EXPECT_EQ(g_rcBrightWindow[1][0], 12);
    EXPECT_EQ(g_rcBrightWindow[1][1], 0);
    EXPECT_EQ(g_rcBrightWindow[4][3], -7);
    EXPECT_EQ(ItemText(pPage, 1116), L"-7");
}

TEST_F(BrightPageTest, LoadingSwitchesTheBrightnessModeOnWhateverTheCheckBoxShows) {
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    EXPECT_EQ(pPage->IsDlgButtonChecked(CBrightDlg::IDC_SHOW), 1u);
    pPage->CheckDlgButton(CBrightDlg::IDC_SHOW, 0);
    Press(pPage, CBrightDlg::IDC_SHOW);
    EXPECT_FALSE(pDisplay->m_bBrightMode);
    pPage->LoadParameters();
    EXPECT_TRUE(pDisplay->m_bBrightMode);
    EXPECT_EQ(pPage->IsDlgButtonChecked(CBrightDlg::IDC_SHOW), 0u);
    pPage->CheckDlgButton(CBrightDlg::IDC_SHOW, 1);
    Press(pPage, CBrightDlg::IDC_SHOW);
    EXPECT_TRUE(pDisplay->m_bBrightMode);
}

TEST_F(BrightPageTest, EditsStoreAtOnceAndTheSaveWritesAllTwentyKeysForTheNextLoad) {
    theApp.g_bEditMode = 1;
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    EXPECT_TRUE(pPage->GetDlgItem(CBrightDlg::IDC_SAVE_PARAM)->IsWindowEnabled());
    g_nImageWidth = 640;
    g_nImageHeight = 480;
    pPage->LoadParameters();

    pPage->SetDlgItemText(1092, L"64");
    EXPECT_EQ(g_rcBrightWindow[0][2], 64);
    pPage->SetDlgItemText(1111, L"");
    EXPECT_EQ(g_rcBrightWindow[2][2], 0); // cleared: 0 at once
    pPage->SetDlgItemText(1117, L"33");
    EXPECT_EQ(g_rcBrightWindow[3][0], 33);
    pPage->SetDlgItemText(1116, L"44");
    EXPECT_EQ(g_rcBrightWindow[4][3], 44);
    // Nothing reaches the file before the save.
    EXPECT_EQ(ReadKey(L"Center right"), L"");

    Press(pPage, CBrightDlg::IDC_SAVE_PARAM);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"저장되었습니다."});
    EXPECT_EQ(ReadKey(L"Center right"), L"64");
    EXPECT_EQ(ReadKey(L"Center left"), L"270");
    EXPECT_EQ(ReadKey(L"RightTopRect right"), L"0");
    EXPECT_EQ(ReadKey(L"LeftBottomRect left"), L"33");
    EXPECT_EQ(ReadKey(L"RightBottomRect bottom"), L"44");

    const auto saved = std::vector<int>(&g_rcBrightWindow[0][0], &g_rcBrightWindow[0][0] + 20);
    for (auto& window : g_rcBrightWindow)
        for (int& value : window)
            value = -1;
    g_nImageWidth = 100;
    pPage->LoadParameters();
    EXPECT_EQ(std::vector<int>(&g_rcBrightWindow[0][0], &g_rcBrightWindow[0][0] + 20), saved);
}

TEST_F(BrightPageTest, ColourCameraAsksForBothChannelsAtEveryShowing) {
    CBrightDlg* pPage = OpenBright(true);
    ASSERT_NE(pPage, nullptr);
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    EXPECT_TRUE(pPage->GetDlgItem(CBrightDlg::IDC_CHANNEL_G)->IsWindowEnabled());
    EXPECT_EQ(pPage->GetCheckedRadioButton(CBrightDlg::IDC_CHANNEL_R, CBrightDlg::IDC_CHANNEL_B),
              CBrightDlg::IDC_CHANNEL_R);

    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ G\r\n@ B\r\n"});
    EXPECT_FALSE(Signalled(pPage->m_hEvent));

    Press(pPage, CBrightDlg::IDC_CHANNEL_G);
    EXPECT_EQ((std::vector<bool>{pDisplay->m_bShowRed, pDisplay->m_bShowGreen, pDisplay->m_bShowBlue}),
              (std::vector<bool>{false, true, false}));
    m_boxes.Clear();
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ B\r\n"});

    Press(pPage, CBrightDlg::IDC_CHANNEL_B);
    EXPECT_EQ((std::vector<bool>{pDisplay->m_bShowRed, pDisplay->m_bShowGreen, pDisplay->m_bShowBlue}),
              (std::vector<bool>{false, false, true}));
    m_boxes.Clear();
    pDisplay->m_bBrightMode = true;
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_FALSE(pDisplay->m_bBrightMode);
    EXPECT_EQ(pPage->IsDlgButtonChecked(CBrightDlg::IDC_SHOW), 0u);
    // The channel stays where the operator left it; R does not mark a step.
    EXPECT_TRUE(pDisplay->m_bShowBlue);

    // The next showing asks again; R counts for nothing.
    ResetEvent(pPage->m_hEvent);
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CBrightDlg::IDC_CHANNEL_R);
    EXPECT_EQ((std::vector<bool>{pDisplay->m_bShowRed, pDisplay->m_bShowGreen, pDisplay->m_bShowBlue}),
              (std::vector<bool>{true, false, false}));
    m_boxes.Clear();
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ G\r\n@ B\r\n"});

    // FAIL needs no step and clears the tried flags it finds.
    Press(pPage, CBrightDlg::IDC_CHANNEL_G);
    Press(pPage, CBrightDlg::IDC_FAIL);
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_vecItems[CBrightDlg::ITEM_G].bTested, 0);
    CString strErrors;
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"");
}

TEST_F(BrightPageTest, BlackAndWhiteCameraHasNoStepsAndPassesAtOnceWithoutACamera) {
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    for (int id : {CBrightDlg::IDC_CHANNEL_R, CBrightDlg::IDC_CHANNEL_G, CBrightDlg::IDC_CHANNEL_B})
        EXPECT_FALSE(pPage->GetDlgItem(id)->IsWindowEnabled());
    EXPECT_TRUE(pPage->m_vecItems.empty());
    // A click that reaches a disabled radio anyway marks no step that does not exist.
    Press(pPage, CBrightDlg::IDC_CHANNEL_B);
    EXPECT_TRUE(pPage->m_vecItems.empty());
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
}

TEST_F(BrightPageTest, TimersShowTheDeviationsAndTheAutomaticVerdict) {
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_LIMIT), L"6");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_VERDICT), L"통과/실패");
    const int dev[4] = {5, -5, 3, 0};
    std::copy(dev, dev + 4, m_dlg->m_nBrightDev);
    pPage->SendMessage(WM_TIMER, CBrightDlg::TIMER_DEVIATION);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_LEFT_TOP), L"5");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_LEFT_BOTTOM), L"-5");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_RIGHT_TOP), L"3");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_RIGHT_BOTTOM), L"0");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_VERDICT), L"통과/실패"); // the other timer's job

    pPage->SendMessage(WM_TIMER, CBrightDlg::TIMER_VERDICT);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_VERDICT), L"PASS!!");
    m_dlg->m_nDeviationLimit = 5;
    pPage->SendMessage(WM_TIMER, CBrightDlg::TIMER_VERDICT);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_VERDICT), L"FAIL!!");
    // The limit shown is the one at creation.
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_LIMIT), L"6");
    // Another timer id changes nothing.
    m_dlg->m_nBrightDev[0] = 99;
    pPage->SendMessage(WM_TIMER, 0x8066);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_LEFT_TOP), L"5");
}

TEST_F(BrightPageTest, EscIsSwallowedAndSaveIsLockedOutsideEditMode) {
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    MSG msg{};
    msg.hwnd = pPage->GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(pPage->PreTranslateMessage(&msg));
    EXPECT_TRUE(Visible(pPage));
    EXPECT_FALSE(pPage->GetDlgItem(CBrightDlg::IDC_SAVE_PARAM)->IsWindowEnabled());
}
