// The exposure page on the simulated camera: fixed exposure times shown on the main window, automatic
// exposure once and off, the restore of the saved exposure, the key pad and the hidden boxes.

#include "CExposureDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

namespace {

class ExposureTest : public PageTest {
protected:
    double Exposure() {
        double value = -1.0;
        m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &value);
        return value;
    }
    CString ExposureEdit() { return Text(CKavrinoDlg::IDC_EXPOSURE); }
};

} // namespace

TEST_F(ExposureTest, UntriedStepsAreListedInOrderEvenWithoutCamera) {
    OpenWith({L"익스포즈"});
    CExposureDlg* pPage = m_dlg->m_pExposureDlg;
    ASSERT_NE(pPage, nullptr);
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CExposureDlg::IDC_EXPOSURE_4000);
    EXPECT_EQ(pPage->m_vecItems[0].bTested, 0);
    pPage->m_vecItems[CExposureDlg::ITEM_EXPOSURE_20000].bTested = 1;
    Press(pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ 4000 ㎲\r\n@ Once\r\n@ Off\r\n"});
    Press(pPage, IDCANCEL);
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
    EXPECT_TRUE(Visible(pPage));
}

TEST_F(ExposureTest, StepsSetTheExposureAndPassRestoresTheSavedOne) {
    OpenConnected({L"익스포즈"});
    CExposureDlg* pPage = m_dlg->m_pExposureDlg;
    pPage->ShowWindow(SW_SHOW);
    const double dSaved = m_dlg->m_dSavedExposure;
    ASSERT_GT(dSaved, 0.0);
    CString strSaved;
    strSaved.Format(L"%lf", dSaved);

    Press(pPage, CExposureDlg::IDC_EXPOSURE_4000);
    EXPECT_DOUBLE_EQ(Exposure(), 4000.0);
    EXPECT_EQ(ExposureEdit(), L"4000.000000");
    Press(pPage, CExposureDlg::IDC_EXPOSURE_20000);
    EXPECT_DOUBLE_EQ(Exposure(), 20000.0);
    EXPECT_DOUBLE_EQ(m_dlg->m_dExposure, 20000.0);

    // "Once" lets the camera choose (at gain 1.0 it settles on 10000) and ends "Off"; the edit keeps the
    // value set last.
    Press(pPage, CExposureDlg::IDC_AUTO_ONCE);
    EXPECT_DOUBLE_EQ(Exposure(), 10000.0);
    EXPECT_EQ(TextFeature(L"ExposureAuto"), L"Off");
    EXPECT_EQ(ExposureEdit(), L"20000.000000");
    m_dlg->SetFeature(L"ExposureAuto", FEATURE_VALUE_AS_STRING, L"Continuous");
    ASSERT_EQ(TextFeature(L"ExposureAuto"), L"Continuous");
    Press(pPage, CExposureDlg::IDC_AUTO_OFF);
    EXPECT_EQ(TextFeature(L"ExposureAuto"), L"Off");

    Press(pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_DOUBLE_EQ(Exposure(), dSaved);
    EXPECT_DOUBLE_EQ(m_dlg->m_dExposure, dSaved);
    EXPECT_EQ(ExposureEdit(), strSaved);
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));

    for (const TestItem& item : pPage->m_vecItems)
        EXPECT_EQ(item.bTested, 0); // the next showing starts untried
}

TEST_F(ExposureTest, FailRestoresWithoutStepsAndRefusedWritesGoUnnoticed) {
    OpenConnected({L"익스포즈"});
    CExposureDlg* pPage = m_dlg->m_pExposureDlg;
    pPage->ShowWindow(SW_SHOW);
    const double dSaved = m_dlg->m_dSavedExposure;
    Press(pPage, CExposureDlg::IDC_EXPOSURE_4000);
    Press(pPage, IDCANCEL);
    EXPECT_DOUBLE_EQ(Exposure(), dSaved);
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));

    ResetEvent(pPage->m_hEvent);
    pPage->ShowWindow(SW_SHOW);
    Refuse(L"ExposureTime");
    Press(pPage, CExposureDlg::IDC_EXPOSURE_20000);
    EXPECT_EQ(pPage->m_vecItems[CExposureDlg::ITEM_EXPOSURE_20000].bOk, 1);
    EXPECT_DOUBLE_EQ(m_dlg->m_dExposure, 20000.0); // the members follow the button, not the camera
    Press(pPage, IDCANCEL);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
}

TEST_F(ExposureTest, KeyPadPressesTheFocusedStepAndHiddenBoxesDoNothing) {
    OpenConnected({L"익스포즈"});
    CExposureDlg* pPage = m_dlg->m_pExposureDlg;
    pPage->ShowWindow(SW_SHOW);
    EXPECT_EQ(pPage->m_vecButtonIds, (std::vector<int>{1031, 1032, 1033, 1027}));

    Press(pPage, CExposureDlg::IDC_CHECK_ONCE);
    Press(pPage, CExposureDlg::IDC_CHECK_CONTINUOUS);
    for (const TestItem& item : pPage->m_vecItems)
        EXPECT_EQ(item.bTested, 0);

    pPage->SendMessage(WM_KEYPAD, 0, 2);
    pPage->SendMessage(WM_KEYPAD, 0, 2);
    EXPECT_EQ(FocusId(), CExposureDlg::IDC_AUTO_ONCE);
    pPage->SendMessage(WM_KEYPAD, 0, 4);
    EXPECT_EQ(pPage->m_vecItems[CExposureDlg::ITEM_AUTO_ONCE].bTested, 1);
    EXPECT_EQ(TextFeature(L"ExposureAuto"), L"Off");
    pPage->SendMessage(WM_KEYPAD, 0, 16);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 0);
}
