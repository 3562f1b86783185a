// The link-configuration page on the simulated camera: its two unchecked steps and the CXP6_X1 restore.

#include "CCXPLinkConfigDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

TEST_F(PageTest, LinkConfigStepsSwitchTheLinkAndEveryVerdictRestoresCxp6X1) {
    OpenWith({L"링크 컨피그"});
    CCXPLinkConfigDlg* pPage = m_dlg->m_pCXPLinkConfigDlg;
    ASSERT_NE(pPage, nullptr);
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1); // disconnected: nothing
    Press(pPage, CCXPLinkConfigDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ CXP1_X1\r\n@ CXP1_X6\r\n"});

    Click(CKavrinoDlg::IDC_CONNECT);
    Click(CKavrinoDlg::IDC_LIVE);
    pPage->ShowWindow(SW_SHOW);
    // The camera takes a new link only while it does not acquire: live is stopped around the write.
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1);
    EXPECT_EQ(TextFeature(L"CxpLinkConfiguration"), L"CXP1_X1");
    EXPECT_TRUE(m_dlg->m_bLive);
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X6);
    EXPECT_EQ(TextFeature(L"CxpLinkConfiguration"), L"CXP6_X1");
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1);
    Press(pPage, CCXPLinkConfigDlg::IDC_PASS);
    EXPECT_EQ(TextFeature(L"CxpLinkConfiguration"), L"CXP6_X1");
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));

    // Nothing is checked: FAIL with nothing tried hands over even when the camera refuses, silently.
    ResetEvent(pPage->m_hEvent);
    m_boxes.Clear();
    Refuse(L"CxpLinkConfiguration");
    Press(pPage, CCXPLinkConfigDlg::IDC_FAIL);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 0);
}
