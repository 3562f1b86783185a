// The centre-brightness page: the centre window it shares with the brightness-deviation page, the
// average read-out, the centre mode, and PASS and FAIL that always finish.

#include "BrightWindows.h"
#include "CBrightCenterDlg.h"
#include "CBrightDlg.h"
#include "CDisplayDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

namespace {

CString ItemText(CWnd* pWnd, int id) {
    CString text;
    pWnd->GetDlgItemText(id, text);
    return text;
}

std::vector<int> CentreWindow() {
    return {g_rcBrightWindow[0][0], g_rcBrightWindow[0][1], g_rcBrightWindow[0][2], g_rcBrightWindow[0][3]};
}

} // namespace

TEST_F(PageTest, CentreWindowIsSharedWithTheDeviationPageBothWays) {
    theApp.g_bEditMode = 1;
    OpenWith({L"휘도", L"휘도편차"});
    theApp.g_bEditMode = 0;
    CBrightCenterDlg* pCentre = m_dlg->m_pBrightCenterDlg;
    CBrightDlg* pBright = m_dlg->m_pBrightDlg;
    ASSERT_NE(pCentre, nullptr);
    ASSERT_NE(pBright, nullptr);
    g_nImageWidth = 1920;
    g_nImageHeight = 1080;
    g_rcBrightWindow[1][0] = 77;
    pCentre->LoadParameters();
    EXPECT_EQ(CentreWindow(), (std::vector<int>{910, 490, 100, 100}));
    EXPECT_EQ(g_rcBrightWindow[1][0], 77); // the corners are not the page's
    pCentre->ShowParameters();
    EXPECT_EQ(ItemText(pCentre, CBrightCenterDlg::IDC_CENTER_LEFT), L"910");
    EXPECT_EQ(ItemText(pCentre, CBrightCenterDlg::IDC_CENTER_BOTTOM), L"100");

    // Moved and saved here, read there.
    pCentre->SetDlgItemText(CBrightCenterDlg::IDC_CENTER_LEFT, L"300");
    pCentre->SetDlgItemText(CBrightCenterDlg::IDC_CENTER_RIGHT, L"");
    EXPECT_EQ(CentreWindow(), (std::vector<int>{300, 490, 0, 100}));
    Press(pCentre, CBrightCenterDlg::IDC_SAVE_PARAM);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"저장되었습니다."});
    g_rcBrightWindow[0][0] = -1;
    pBright->LoadParameters();
    EXPECT_EQ(CentreWindow(), (std::vector<int>{300, 490, 0, 100}));
    EXPECT_EQ(ItemText(pBright, CBrightDlg::IDC_CENTER_LEFT), L"300");

    // And the reverse.
    pBright->SetDlgItemText(CBrightDlg::IDC_CENTER_TOP, L"55");
    Press(pBright, CBrightDlg::IDC_SAVE_PARAM);
    g_rcBrightWindow[0][1] = -1;
    pCentre->LoadParameters();
    EXPECT_EQ(CentreWindow(), (std::vector<int>{300, 55, 0, 100}));
}

TEST_F(PageTest, CentrePageFinishesAtOnceAndSwitchesTheCentreModeOff) {
    OpenWith({L"휘도"});
    CBrightCenterDlg* pPage = m_dlg->m_pBrightCenterDlg;
    ASSERT_NE(pPage, nullptr);
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    ASSERT_NE(pDisplay, nullptr);
    // Black and white: the radios are disabled with R selected, and the save is locked.
    for (int id :
         {CBrightCenterDlg::IDC_CHANNEL_R, CBrightCenterDlg::IDC_CHANNEL_G, CBrightCenterDlg::IDC_CHANNEL_B})
        EXPECT_FALSE(pPage->GetDlgItem(id)->IsWindowEnabled());
    EXPECT_EQ(pPage->GetCheckedRadioButton(CBrightCenterDlg::IDC_CHANNEL_R, CBrightCenterDlg::IDC_CHANNEL_B),
              CBrightCenterDlg::IDC_CHANNEL_R);
    EXPECT_FALSE(pPage->GetDlgItem(CBrightCenterDlg::IDC_SAVE_PARAM)->IsWindowEnabled());
    EXPECT_EQ(pPage->IsDlgButtonChecked(CBrightCenterDlg::IDC_SHOW), 1u);

    // The channel handlers are the display's flags, as on the deviation page.
    Press(pPage, CBrightCenterDlg::IDC_CHANNEL_G);
    EXPECT_EQ((std::vector<bool>{pDisplay->m_bShowRed, pDisplay->m_bShowGreen, pDisplay->m_bShowBlue}),
              (std::vector<bool>{false, true, false}));

    // Loading does not touch the display's modes.
    pDisplay->m_bBrightMode = false;
    pDisplay->m_bCenterMode = false;
    pPage->LoadParameters();
    EXPECT_FALSE(pDisplay->m_bCenterMode);
    EXPECT_FALSE(pDisplay->m_bBrightMode);

    // The read-out follows the main window's average; unticking stops the measuring.
    pDisplay->m_bCenterMode = true;
    m_dlg->m_nBrightAverage = 128;
    pPage->SendMessage(WM_TIMER, CBrightCenterDlg::TIMER_AVERAGE);
    EXPECT_EQ(ItemText(pPage, CBrightCenterDlg::IDC_AVERAGE), L"128");
    pPage->CheckDlgButton(CBrightCenterDlg::IDC_SHOW, 0);
    Press(pPage, CBrightCenterDlg::IDC_SHOW);
    EXPECT_FALSE(pDisplay->m_bCenterMode);

    pPage->ShowWindow(SW_SHOW);
    pDisplay->m_bCenterMode = true;
    Press(pPage, CBrightCenterDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_FALSE(pDisplay->m_bCenterMode);
    EXPECT_EQ(pPage->IsDlgButtonChecked(CBrightCenterDlg::IDC_SHOW), 0u);

    ResetEvent(pPage->m_hEvent);
    pPage->ShowWindow(SW_SHOW);
    pDisplay->m_bCenterMode = true;
    Press(pPage, CBrightCenterDlg::IDC_FAIL);
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_FALSE(pDisplay->m_bCenterMode);
}
