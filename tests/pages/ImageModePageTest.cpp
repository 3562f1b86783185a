// The binning and decimation pages on the simulated camera: their steps, the "ROI" restore and the
// verdict hand-over.

#include "CBinningDlg.h"
#include "CDecimationDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

TEST_F(PageTest, ImageModeStepsDoNothingWhileDisconnected) {
    OpenWith({L"비닝", L"데시메이션"});
    for (CTestPageDlg* pPage : {static_cast<CTestPageDlg*>(m_dlg->m_pBinningDlg),
                                static_cast<CTestPageDlg*>(m_dlg->m_pDecimationDlg)}) {
        m_boxes.Clear();
        pPage->ShowWindow(SW_SHOW);
        Press(pPage, 1122);
        Press(pPage, 1003);
        EXPECT_EQ(pPage->m_vecItems[0].bTested, 0);
        EXPECT_EQ(pPage->m_vecItems[1].bTested, 0);
        Press(pPage, 1031);
        EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ ON\r\n@ OFF\r\n"});
        // FAIL without a camera: no verdict, the page stays.
        Press(pPage, 1032);
        EXPECT_FALSE(Signalled(pPage->m_hEvent));
        EXPECT_TRUE(Visible(pPage));
    }
}

TEST_F(PageTest, BinningSwitchesTheImageModeAndPassRestoresRoi) {
    OpenConnected({L"비닝"});
    CBinningDlg* pPage = m_dlg->m_pBinningDlg;
    pPage->ShowWindow(SW_SHOW);

    Press(pPage, CBinningDlg::IDC_ON);
    EXPECT_EQ(TextFeature(L"ImageModeSelector"), L"BinningVertical");
    EXPECT_EQ(IntFeature(L"BinningVertical"), 2);
    Press(pPage, CBinningDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ OFF\r\n"});
    EXPECT_FALSE(Signalled(pPage->m_hEvent));

    Press(pPage, CBinningDlg::IDC_OFF);
    EXPECT_EQ(IntFeature(L"BinningVertical"), 1);
    pPage->OnStnDblclickImage(); // nothing loaded: stays without a copy
    Press(pPage, CBinningDlg::IDC_PASS);
    EXPECT_EQ(TextFeature(L"ImageModeSelector"), L"ROI");
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_EQ(pPage->m_vecItems[0].bTested, 0);
    EXPECT_EQ(pPage->m_vecItems[1].bTested, 0);
    EXPECT_TRUE(m_dlg->m_bLive);
    EXPECT_EQ(PageBoxes().size(), 1u);
}

TEST_F(PageTest, FailedBinningWriteIsReportedAndListedAfterPassAndAfterFail) {
    OpenConnected({L"비닝"});
    CBinningDlg* pPage = m_dlg->m_pBinningDlg;
    Refuse(L"BinningVertical");

    Press(pPage, CBinningDlg::IDC_ON);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BinningVertical'"});
    EXPECT_EQ(pPage->m_vecItems[0].bOk, 0);
    EXPECT_TRUE(m_dlg->m_bLive); // restarted after the error as well
    // "Off" does not check its write.
    Press(pPage, CBinningDlg::IDC_OFF);
    EXPECT_EQ(pPage->m_vecItems[1].bOk, 1);
    EXPECT_EQ(PageBoxes().size(), 1u);

    Press(pPage, CBinningDlg::IDC_PASS);
    ASSERT_TRUE(Signalled(pPage->m_hEvent));
    CString strErrors;
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: ON ");

    // Shown again and failed without redoing the step: still listed.
    ResetEvent(pPage->m_hEvent);
    Refuse(L"BinningVertical", false);
    Press(pPage, CBinningDlg::IDC_FAIL);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 0);
    strErrors.Empty();
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: ON ");

    // The refused "Off" write is not reported by its own step, nor by the next checked one, which reports
    // its own write only. Redone, the step is ok again.
    m_boxes.Clear();
    Press(pPage, CBinningDlg::IDC_ON);
    EXPECT_TRUE(PageBoxes().empty());
    strErrors = L"";
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"");
}

TEST_F(PageTest, DecimationChecksNoWriteAndClosesTheReferenceCopyAtItsVerdict) {
    OpenConnected({L"데시메이션"});
    CDecimationDlg* pPage = m_dlg->m_pDecimationDlg;
    Refuse(L"DecimationHorizontalVertical");
    Press(pPage, CDecimationDlg::IDC_ON);
    EXPECT_EQ(TextFeature(L"ImageModeSelector"), L"DecimationHorizontalVertical");
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(pPage->m_vecItems[0].bOk, 1);

    // FAIL with nothing else tried restores "ROI" and hands FAIL over.
    pPage->m_pShowImage = new cv::Mat(2, 2, CV_8UC3);
    Press(pPage, CDecimationDlg::IDC_FAIL);
    EXPECT_EQ(pPage->m_pShowImage, nullptr);
    EXPECT_EQ(TextFeature(L"ImageModeSelector"), L"ROI");
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 0);
}
