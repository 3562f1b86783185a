// The reverse X/Y page on the simulated camera: the toggles, the checked ReverseY write and the checked
// restore that keeps the page open when it fails.

#include "CReverseXYDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

TEST_F(PageTest, ReverseTogglesSwitchTheMirrorsAndNameTheNextAction) {
    OpenWith({L"리버스"});
    CReverseXYDlg* pPage = m_dlg->m_pReverseXYDlg;
    ASSERT_NE(pPage, nullptr);
    // Disconnected: neither the text nor the tried flag changes.
    Press(pPage, CReverseXYDlg::IDC_REVERSE_X);
    EXPECT_EQ(ItemText(pPage, CReverseXYDlg::IDC_REVERSE_X), L"ON");
    EXPECT_EQ(pPage->m_vecItems[0].bTested, 0);

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    Press(pPage, CReverseXYDlg::IDC_REVERSE_X);
    EXPECT_EQ(ItemText(pPage, CReverseXYDlg::IDC_REVERSE_X), L"OFF");
    EXPECT_EQ(BoolFeature(L"ReverseX"), 1);
    Press(pPage, CReverseXYDlg::IDC_REVERSE_X);
    EXPECT_EQ(ItemText(pPage, CReverseXYDlg::IDC_REVERSE_X), L"ON");
    EXPECT_EQ(BoolFeature(L"ReverseX"), 0);

    m_boxes.Clear();
    Press(pPage, CReverseXYDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ Resverse Y\r\n"});

    // Both mirrors on, then PASS switches both off and relabels both buttons.
    Press(pPage, CReverseXYDlg::IDC_REVERSE_X);
    Press(pPage, CReverseXYDlg::IDC_REVERSE_Y);
    EXPECT_EQ(BoolFeature(L"ReverseY"), 1);
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CReverseXYDlg::IDC_PASS);
    EXPECT_EQ(BoolFeature(L"ReverseX"), 0);
    EXPECT_EQ(BoolFeature(L"ReverseY"), 0);
    EXPECT_EQ(ItemText(pPage, CReverseXYDlg::IDC_REVERSE_X), L"ON");
    EXPECT_EQ(ItemText(pPage, CReverseXYDlg::IDC_REVERSE_Y), L"ON");
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
}

TEST_F(PageTest, FailedReverseYIsListedAndAFailedRestoreKeepsThePageWithoutVerdict) {
    OpenConnected({L"리버스"});
    CReverseXYDlg* pPage = m_dlg->m_pReverseXYDlg;
    pPage->ShowWindow(SW_SHOW);
    Refuse(L"ReverseY");
    Refuse(L"ReverseX");

    // A refused ReverseX is neither reported nor listed.
    Press(pPage, CReverseXYDlg::IDC_REVERSE_X);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(pPage->m_vecItems[0].bOk, 1);
    Refuse(L"ReverseX", false);

    Press(pPage, CReverseXYDlg::IDC_REVERSE_Y);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'ReverseY'"});
    CString strErrors;
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: Resverse Y ");

    m_boxes.Clear();
    Press(pPage, CReverseXYDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'ReverseXY'"});
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
    EXPECT_TRUE(Visible(pPage));
    EXPECT_EQ(ItemText(pPage, CReverseXYDlg::IDC_REVERSE_X), L"ON");
    EXPECT_EQ(pPage->m_vecItems[1].bTested, 1); // no verdict: still tried

    // The camera accepts again: FAIL repeats the restore and hands over.
    Refuse(L"ReverseY", false);
    Press(pPage, CReverseXYDlg::IDC_FAIL);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_FALSE(Visible(pPage));
}

TEST_F(PageTest, ReverseChecksOnlyWhatItWroteAfterTheMainWindowsUncheckedExposure) {
    OpenConnected({L"리버스"});
    CReverseXYDlg* pPage = m_dlg->m_pReverseXYDlg;
    pPage->ShowWindow(SW_SHOW);
    // "확인" writes the exposure without a check; the camera refuses it.
    Refuse(L"ExposureTime");
    m_dlg->SetDlgItemText(CKavrinoDlg::IDC_EXPOSURE, L"5000");
    Click(CKavrinoDlg::IDC_EXPOSURE_APPLY);
    EXPECT_TRUE(PageBoxes().empty());

    Press(pPage, CReverseXYDlg::IDC_REVERSE_X);
    Press(pPage, CReverseXYDlg::IDC_REVERSE_Y);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(BoolFeature(L"ReverseY"), 1);
    CString strErrors;
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"");

    Click(CKavrinoDlg::IDC_EXPOSURE_APPLY);
    Press(pPage, CReverseXYDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 1);
}
