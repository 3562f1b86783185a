// The black-level page on the simulated camera (black level 0 to 1023): the shares of the maximum, the
// checked writes and the checked restore to the minimum.

#include "CBlackLevelDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

TEST(BlackLevelShare, ShareOfTheMaximumIsTruncated) {
    EXPECT_EQ(CBlackLevelDlg::BlackLevelFor(255, 0.2), 51);
    EXPECT_EQ(CBlackLevelDlg::BlackLevelFor(255, 0.8), 204);
    EXPECT_EQ(CBlackLevelDlg::BlackLevelFor(4095, 0.2), 819);
    EXPECT_EQ(CBlackLevelDlg::BlackLevelFor(4095, 0.8), 3276);
    EXPECT_EQ(CBlackLevelDlg::BlackLevelFor(1, 0.2), 0);
    EXPECT_EQ(CBlackLevelDlg::BlackLevelFor(1, 0.8), 0);
}

TEST_F(PageTest, BlackLevelStepsWriteTheirShareAndPassRestoresTheMinimum) {
    OpenWith({L"블랙 레벨"});
    CBlackLevelDlg* pPage = m_dlg->m_pBlackLevelDlg;
    ASSERT_NE(pPage, nullptr);
    pPage->ShowWindow(SW_SHOW);
    // Disconnected: nothing is tried, and FAIL gives no verdict.
    Press(pPage, CBlackLevelDlg::IDC_20);
    Press(pPage, CBlackLevelDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ Min\r\n@ Max\r\n"});
    Press(pPage, CBlackLevelDlg::IDC_FAIL);
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
    EXPECT_TRUE(Visible(pPage));

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    m_boxes.Clear();
    Press(pPage, CBlackLevelDlg::IDC_20);
    EXPECT_EQ(IntFeature(L"BlackLevelRaw"), 204);
    Press(pPage, CBlackLevelDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ Max\r\n"});
    Press(pPage, CBlackLevelDlg::IDC_80);
    EXPECT_EQ(IntFeature(L"BlackLevelRaw"), 818);

    Press(pPage, CBlackLevelDlg::IDC_PASS);
    EXPECT_EQ(IntFeature(L"BlackLevelRaw"), 0);
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_EQ(PageBoxes().size(), 1u);

    // With a camera FAIL needs no step.
    ResetEvent(pPage->m_hEvent);
    Press(pPage, CBlackLevelDlg::IDC_FAIL);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 0);
}

TEST_F(PageTest, RefusedBlackLevelIsListedAndAFailedRestoreKeepsThePage) {
    OpenConnected({L"블랙 레벨"});
    CBlackLevelDlg* pPage = m_dlg->m_pBlackLevelDlg;
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CBlackLevelDlg::IDC_20);
    Refuse(L"BlackLevelRaw");
    Press(pPage, CBlackLevelDlg::IDC_80);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BlackLevelRaw'"});
    EXPECT_EQ(pPage->m_vecItems[CBlackLevelDlg::ITEM_MAX].bOk, 0);

    m_boxes.Clear();
    Press(pPage, CBlackLevelDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BlackLevelRaw'"});
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
    EXPECT_TRUE(Visible(pPage));
    EXPECT_EQ(IntFeature(L"BlackLevelRaw"), 204);

    Refuse(L"BlackLevelRaw", false);
    Press(pPage, CBlackLevelDlg::IDC_PASS);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_EQ(IntFeature(L"BlackLevelRaw"), 0);
    CString strErrors;
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: Max ");
}
