// The link-configuration page on the simulated camera: its two unchecked steps and the CXP6_X1 restore.

#include "CCXPLinkConfigDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

TEST_F(PageTest, LinkConfigStepsSwitchTheLinkWithAcquisitionStoppedAroundTheWrite) {
    OpenWith({L"링크 컨피그"});
    CCXPLinkConfigDlg* pPage = m_dlg->m_pCXPLinkConfigDlg;
    ASSERT_NE(pPage, nullptr);
    // Disconnected: the steps change nothing; PASS lists the untried steps and stops there.
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1);
    EXPECT_EQ(pPage->m_vecItems[0].bTested, 0);
    Press(pPage, CCXPLinkConfigDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ CXP1_X1\r\n@ CXP1_X6\r\n"});

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    pPage->ShowWindow(SW_SHOW);
    m_boxes.Clear();
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1);
    // The camera refuses a new link while it acquires, so the write only lands with live stopped.
    EXPECT_EQ(TextFeature(L"CxpLinkConfiguration"), L"CXP1_X1");
    EXPECT_TRUE(m_dlg->m_bLive);
    Press(pPage, CCXPLinkConfigDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ CXP1_X6\r\n"});

    // "CXP1_X6" writes the camera's normal link.
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1);
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X6);
    EXPECT_EQ(TextFeature(L"CxpLinkConfiguration"), L"CXP6_X1");
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1);
    Press(pPage, CCXPLinkConfigDlg::IDC_PASS);
    EXPECT_EQ(TextFeature(L"CxpLinkConfiguration"), L"CXP6_X1");
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_TRUE(m_dlg->m_bLive);
}

TEST_F(PageTest, LinkConfigFailHandsOverEvenWhenTheCameraRefuses) {
    OpenConnected({L"링크 컨피그"});
    CCXPLinkConfigDlg* pPage = m_dlg->m_pCXPLinkConfigDlg;
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1);
    ASSERT_EQ(TextFeature(L"CxpLinkConfiguration"), L"CXP1_X1");

    // FAIL with nothing tried in this showing restores CXP6_X1.
    Press(pPage, CCXPLinkConfigDlg::IDC_FAIL);
    EXPECT_EQ(TextFeature(L"CxpLinkConfiguration"), L"CXP6_X1");
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));

    // No write is checked: a refusing camera shows no message and the verdict still goes.
    ResetEvent(pPage->m_hEvent);
    pPage->ShowWindow(SW_SHOW);
    Refuse(L"CxpLinkConfiguration");
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X1);
    Press(pPage, CCXPLinkConfigDlg::IDC_CXP1_X6);
    Press(pPage, CCXPLinkConfigDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 1);
    CString strErrors;
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"");
}
