// The centre-brightness page: the centre window it shares with the brightness-deviation page, the
// average read-out, the centre mode, and PASS and FAIL that always finish; and a run through the
// alignment and both brightness pages as the runner prepares them.

#include "AlignParameters.h"
#include "BrightWindows.h"
#include "CAlignDlg.h"
#include "CBrightCenterDlg.h"
#include "CBrightDlg.h"
#include "CDisplayDlg.h"
#include "CReportDlg.h"
#include "PageFixture.h"
#include "Profile.h"

using kavrino_test::PageTest;

namespace {

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

    // A test set that cannot take the keys (its folder gone) is not reported as saved.
    m_boxes.Clear();
    theApp.g_strIniPath = CString(m_dir.filePath("gone/testset.ini").toStdWString());
    Press(pCentre, CBrightCenterDlg::IDC_SAVE_PARAM);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"파라미터 저장 실패"});
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

    // The channel handlers are the display's flags, as on the deviation page: one channel at a time.
    const int radios[3] = {CBrightCenterDlg::IDC_CHANNEL_R, CBrightCenterDlg::IDC_CHANNEL_G,
                           CBrightCenterDlg::IDC_CHANNEL_B};
    for (int i = 0; i < 3; ++i) {
        Press(pPage, radios[i]);
        EXPECT_EQ((std::vector<bool>{pDisplay->m_bShowRed, pDisplay->m_bShowGreen, pDisplay->m_bShowBlue}),
                  (std::vector<bool>{i == 0, i == 1, i == 2}))
            << i;
    }

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

    // Ticked again: the verdict unticks it along with the mode.
    pPage->ShowWindow(SW_SHOW);
    pPage->CheckDlgButton(CBrightCenterDlg::IDC_SHOW, BST_CHECKED);
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
    pPage->CheckDlgButton(CBrightCenterDlg::IDC_SHOW, BST_CHECKED);
    pDisplay->m_bCenterMode = true;
    Press(pPage, CBrightCenterDlg::IDC_FAIL);
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_FALSE(pDisplay->m_bCenterMode);
    EXPECT_EQ(pPage->IsDlgButtonChecked(CBrightCenterDlg::IDC_SHOW), 0u);
}

TEST_F(PageTest, ARunPreparesTheAlignmentAndBrightnessPagesAndRecordsTheirValues) {
    ASSERT_TRUE(WritePrivateProfileString(L"ALIGN", L"TOP", L"123", m_strIniPath));
    ASSERT_TRUE(WritePrivateProfileString(L"BRIGHT", L"Center left", L"40", m_strIniPath));
    OpenConnected({L"얼라인검사", L"휘도편차", L"휘도"});
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    m_dlg->m_nDeviationLimit = 9;
    m_dlg->m_listTest.SetCurSel(0);
    Click(CKavrinoDlg::IDC_START_TEST);

    CAlignDlg* pAlign = m_dlg->m_pAlignDlg;
    ASSERT_TRUE(kavrino::PumpUntil([&] { return Visible(pAlign); }));
    EXPECT_EQ(g_nAlignTop, 123);
    EXPECT_TRUE(pDisplay->m_bShowAlign);
    EXPECT_TRUE(pDisplay->m_bShowEdgeBoxes);
    const int edge[8] = {10, 11, 20, 21, 30, 31, 40, 41};
    std::copy(edge, edge + 8, m_dlg->m_nAlignEdge);
    m_boxes.SetAnswer(IDYES);
    Press(pAlign, CAlignDlg::IDC_PASS);

    CBrightDlg* pBright = m_dlg->m_pBrightDlg;
    ASSERT_TRUE(kavrino::PumpUntil([&] { return Visible(pBright); }));
    EXPECT_EQ(g_rcBrightWindow[0][0], 40);
    EXPECT_TRUE(pDisplay->m_bBrightMode);
    EXPECT_FALSE(pDisplay->m_bShowAlign);
    const int dev[4] = {1, 2, 3, 4};
    std::copy(dev, dev + 4, m_dlg->m_nBrightDev);
    Press(pBright, CBrightDlg::IDC_FAIL);

    CBrightCenterDlg* pCentre = m_dlg->m_pBrightCenterDlg;
    ASSERT_TRUE(kavrino::PumpUntil([&] { return Visible(pCentre); }));
    EXPECT_TRUE(pDisplay->m_bCenterMode);
    EXPECT_FALSE(pDisplay->m_bBrightMode);
    EXPECT_EQ(ItemText(pCentre, CBrightCenterDlg::IDC_CENTER_LEFT), L"40");
    m_dlg->m_nBrightAverage = 77;
    Press(pCentre, CBrightCenterDlg::IDC_PASS);

    ASSERT_TRUE(kavrino::PumpUntil([&] { return Visible(m_dlg->m_pReportDlg); }));
    CListCtrl& list = m_dlg->m_pReportDlg->m_listReport;
    ASSERT_EQ(list.GetItemCount(), 3);
    const std::vector<std::vector<CString>> expected = {
        {L"얼라인검사", L"PASS", L"Left: 31 Top: 10 Right: 41 Bottom: 20"},
        {L"휘도편차", L"FAIL",
         L"편차 기준값: 9    Center<->LeftTop: 1  Center<->RightTop: 3  Center<->LeftBottom: 2  "
         L"Center<->RightBottom: 4 "},
        {L"휘도", L"PASS", L"Average: 77"},
    };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(
            (std::vector<CString>{list.GetItemText(i, 0), list.GetItemText(i, 1), list.GetItemText(i, 2)}),
            expected[static_cast<std::size_t>(i)]);
}
