// The gamma and LUT page on the simulated camera (a 4096-entry table): the enable boxes that follow the
// camera, gamma 0.4, the power-curve table, and the restore of gamma and the identity table.

#include "CGamma_LUTDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

namespace {

class GammaLutTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        OpenConnected({L"감마와 엘유티"});
        m_pPage = m_dlg->m_pGammaLUTDlg;
        ASSERT_NE(m_pPage, nullptr);
        m_pPage->ShowWindow(SW_SHOW);
    }

    MIL_INT64 LutEntry(MIL_INT64 index) {
        m_dlg->SetFeature(L"LUTIndex", FEATURE_VALUE, &index);
        return IntFeature(L"LUTValue");
    }
    void SetLutEntry(MIL_INT64 index, MIL_INT64 value) {
        m_dlg->SetFeature(L"LUTIndex", FEATURE_VALUE, &index);
        m_dlg->SetFeature(L"LUTValue", FEATURE_VALUE, &value);
    }
    double Gamma() {
        double value = -1.0;
        m_dlg->GetFeature(L"Gamma", FEATURE_VALUE, &value);
        return value;
    }
    void SetBox(int id, bool checked) { m_pPage->CheckDlgButton(id, checked ? BST_CHECKED : BST_UNCHECKED); }
    bool Box(int id) const { return m_pPage->IsDlgButtonChecked(id) == BST_CHECKED; }

    CGamma_LUTDlg* m_pPage = nullptr;
};

} // namespace

TEST(GammaLutCurve, PowerCurveEntriesAreRoundedToTheTableScale) {
    using Lut = CGamma_LUTDlg;
    EXPECT_EQ(Lut::LutValue(0, 1023, 2.5), 0);
    EXPECT_EQ(Lut::LutValue(1, 1023, 2.5), 0);
    EXPECT_EQ(Lut::LutValue(255, 1023, 2.5), 32);
    EXPECT_EQ(Lut::LutValue(511, 1023, 2.5), 180);
    EXPECT_EQ(Lut::LutValue(1022, 1023, 2.5), 1021);
    EXPECT_EQ(Lut::LutValue(1023, 1023, 2.5), 1023);
    EXPECT_EQ(Lut::LutValue(1023, 4095, 2.5), 128);
    EXPECT_EQ(Lut::LutValue(2047, 4095, 2.5), 723);
    for (MIL_INT64 i : {0, 1, 77, 4094, 4095})
        EXPECT_EQ(Lut::LutValue(i, 4095, 1.0), i);
}

TEST_F(GammaLutTest, EnableBoxesWriteTheirSwitchAndShowWhatTheCameraReports) {
    SetBox(CGamma_LUTDlg::IDC_GAMMA_ENABLE, true);
    Press(m_pPage, CGamma_LUTDlg::IDC_GAMMA_ENABLE);
    EXPECT_EQ(BoolFeature(L"GammaEnable"), 1);
    EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_GAMMA_ENABLE].bTested, 1);

    // The camera keeps only one on: the LUT switches gamma off, and the gamma box follows.
    SetBox(CGamma_LUTDlg::IDC_LUT_ENABLE, true);
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_ENABLE);
    EXPECT_EQ(BoolFeature(L"LUTEnable"), 1);
    EXPECT_EQ(BoolFeature(L"GammaEnable"), 0);
    EXPECT_FALSE(Box(CGamma_LUTDlg::IDC_GAMMA_ENABLE));
    EXPECT_TRUE(Box(CGamma_LUTDlg::IDC_LUT_ENABLE));

    // A refused switch is reported with its feature's name and leaves the boxes as they are.
    Refuse(L"GammaEnable");
    SetBox(CGamma_LUTDlg::IDC_GAMMA_ENABLE, true);
    Press(m_pPage, CGamma_LUTDlg::IDC_GAMMA_ENABLE);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'GammaEnable'"});
    EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_GAMMA_ENABLE].bOk, 0);
    EXPECT_TRUE(Box(CGamma_LUTDlg::IDC_GAMMA_ENABLE));
    CString strErrors;
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: Gamma Enable ");
}

TEST_F(GammaLutTest, GammaAndThePowerCurveTableAreWrittenAndPassRestoresTheIdentity) {
    Press(m_pPage, CGamma_LUTDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{
                               L"검사 안 한 항목\r\n@ Gamma Enable\r\n@ LUT Enable\r\n@ Gamma\r\n@ LUT\r\n"});

    Press(m_pPage, CGamma_LUTDlg::IDC_GAMMA_04);
    EXPECT_DOUBLE_EQ(Gamma(), 0.4);

    // With the LUT switched on, the table is written with it off and it comes back on afterwards.
    SetBox(CGamma_LUTDlg::IDC_LUT_ENABLE, true);
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_ENABLE);
    // The walk reaches the table's last entry.
    const MIL_INT64 nLast = 4095;
    const MIL_INT64 nStale = 7;
    m_dlg->SetFeature(L"LUTIndex", FEATURE_VALUE, &nLast);
    m_dlg->SetFeature(L"LUTValue", FEATURE_VALUE, &nStale);
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_25);
    EXPECT_EQ(BoolFeature(L"LUTEnable"), 1);
    EXPECT_EQ(LutEntry(0), 0);
    EXPECT_EQ(LutEntry(1023), 128);
    EXPECT_EQ(LutEntry(2047), 723);
    EXPECT_EQ(LutEntry(4095), 4095);

    // With both boxes checked only gamma is switched off and on again.
    SetBox(CGamma_LUTDlg::IDC_GAMMA_ENABLE, true);
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_25);
    EXPECT_EQ(BoolFeature(L"GammaEnable"), 1);

    // The last untried step.
    m_boxes.Clear();
    Press(m_pPage, CGamma_LUTDlg::IDC_GAMMA_ENABLE);
    EXPECT_TRUE(Box(CGamma_LUTDlg::IDC_GAMMA_ENABLE));
    EXPECT_FALSE(Box(CGamma_LUTDlg::IDC_LUT_ENABLE));
    Press(m_pPage, CGamma_LUTDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(BoolFeature(L"GammaEnable"), 0);
    EXPECT_EQ(BoolFeature(L"LUTEnable"), 0);
    EXPECT_DOUBLE_EQ(Gamma(), 1.0);
    EXPECT_EQ(LutEntry(1023), 1023);
    EXPECT_EQ(LutEntry(2047), 2047);
    // The boxes follow the restored camera.
    EXPECT_FALSE(Box(CGamma_LUTDlg::IDC_GAMMA_ENABLE));
    EXPECT_FALSE(Box(CGamma_LUTDlg::IDC_LUT_ENABLE));
    EXPECT_EQ(m_pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
}

TEST_F(GammaLutTest, AnIncrementOfFourWritesEveryFourthIndexUpToTheLastNotAboveTheMaximum) {
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    ASSERT_NE(camera, nullptr);
    const MIL_INT64 nStale = 7;
    const MIL_INT64 indices[] = {0, 1, 2, 3, 4, 1023, 2046, 2047, 2048, 4093, 4094, 4095};
    auto walk = [&](MIL_INT64 nMin) {
        ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", 0, 4095, 1));
        for (MIL_INT64 i : indices)
            SetLutEntry(i, nStale);
        ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", nMin, 4095, 4));
        m_boxes.Clear();
        Press(m_pPage, CGamma_LUTDlg::IDC_LUT_25);
        // An index past the maximum or off the increment would be refused by the camera.
        EXPECT_TRUE(PageBoxes().empty());
        EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_LUT].bOk, 1);
        ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", 0, 4095, 1));
    };

    // From 3 the walk meets the maximum itself: 3, 7, ..., 1023, ..., 2047, ..., 4095, on the curve of the
    // whole table.
    ASSERT_NO_FATAL_FAILURE(walk(3));
    EXPECT_EQ(LutEntry(3), 0);
    EXPECT_EQ(LutEntry(1023), 128);
    EXPECT_EQ(LutEntry(2047), 723);
    EXPECT_EQ(LutEntry(4095), 4095);
    for (MIL_INT64 i : {0, 1, 2, 4, 2046, 2048, 4093, 4094})
        EXPECT_EQ(LutEntry(i), nStale) << i;

    // From 1 the last index not above the maximum is 4093; the two after it are left alone.
    ASSERT_NO_FATAL_FAILURE(walk(1));
    EXPECT_EQ(LutEntry(1), 0);
    EXPECT_EQ(LutEntry(4093), 4090);
    for (MIL_INT64 i : {0, 2, 3, 4, 1023, 2047, 4094, 4095})
        EXPECT_EQ(LutEntry(i), nStale) << i;
}

TEST_F(GammaLutTest, FailedTableIsReportedOnceAndAFailedRestoreKeepsThePage) {
    Refuse(L"LUTValue");
    SetBox(CGamma_LUTDlg::IDC_LUT_ENABLE, true);
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_ENABLE);
    ASSERT_EQ(BoolFeature(L"LUTEnable"), 1);
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_25);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'LUTIndex'"});
    EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_LUT].bOk, 0);
    // The switch turned off for the table stays off; the box is not re-read.
    EXPECT_EQ(BoolFeature(L"LUTEnable"), 0);
    EXPECT_TRUE(Box(CGamma_LUTDlg::IDC_LUT_ENABLE));

    // The restore writes the table too: PASS and FAIL name it differently and give no verdict.
    for (TestItem& item : m_pPage->m_vecItems)
        item.bTested = 1;
    m_boxes.Clear();
    Press(m_pPage, CGamma_LUTDlg::IDC_PASS);
    Press(m_pPage, CGamma_LUTDlg::IDC_FAIL);
    EXPECT_EQ(PageBoxes(), (std::vector<CString>{L"ERROR : 'Gamma_LUT'", L"ERROR : 'LUTIndex'"}));
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));
    EXPECT_TRUE(Visible(m_pPage));

    Refuse(L"LUTValue", false);
    Press(m_pPage, CGamma_LUTDlg::IDC_FAIL);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_EQ(m_pPage->m_bResult, 0);
    CString strErrors;
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: LUT ");
}

TEST_F(GammaLutTest, CameraWithoutATableRangeEndsTheStepWithAnError) {
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    ASSERT_NE(camera, nullptr);
    camera->SetMissing(L"LUTIndex", true);
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_25);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'LUTIndex'"});
    EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_LUT].bOk, 0);
    EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_LUT].bTested, 1);
}

TEST_F(GammaLutTest, TableRangesThatCannotBeWalkedAreReportedOnceAndNeverHoldTheVerdict) {
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    ASSERT_NE(camera, nullptr);
    auto verdict = [&](int id) {
        for (TestItem& item : m_pPage->m_vecItems)
            item.bTested = 1;
        ResetEvent(m_pPage->m_hEvent);
        m_pPage->ShowWindow(SW_SHOW);
        m_boxes.Clear();
        Press(m_pPage, id);
        return Signalled(m_pPage->m_hEvent) && !Visible(m_pPage);
    };

    // A maximum that is not positive: the step and the restore report it, and the verdict still comes.
    ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", 0, 0, 1));
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_25);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'LUTIndex'"});
    EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_LUT].bOk, 0);
    EXPECT_TRUE(verdict(CGamma_LUTDlg::IDC_PASS));
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'Gamma_LUT'"});
    EXPECT_EQ(m_pPage->m_bResult, 1);

    // An increment that is not positive: the same, under FAIL's name.
    ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", 0, 4095, 0));
    EXPECT_TRUE(verdict(CGamma_LUTDlg::IDC_FAIL));
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'LUTIndex'"});
    EXPECT_EQ(m_pPage->m_bResult, 0);

    // A negative minimum: an index below 0 has no value on the curve, so nothing is written at all; the
    // step and the restore report it once each, and the verdict still comes.
    const MIL_INT64 nStale = 7;
    ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", 0, 4095, 1));
    for (MIL_INT64 i : {0, 1, 4095})
        SetLutEntry(i, nStale);
    ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", -4, 4095, 1));
    m_boxes.Clear();
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_25);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'LUTIndex'"});
    EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_LUT].bOk, 0);
    EXPECT_TRUE(verdict(CGamma_LUTDlg::IDC_FAIL));
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'LUTIndex'"});
    EXPECT_EQ(m_pPage->m_bResult, 0);
    ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", 0, 4095, 1));
    for (MIL_INT64 i : {0, 1, 4095})
        EXPECT_EQ(LutEntry(i), nStale) << i;

    // A minimum above the maximum walks nothing, as the loop would, and is no error.
    const MIL_INT64 nBefore = LutEntry(7);
    ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", 10, 5, 1));
    m_boxes.Clear();
    Press(m_pPage, CGamma_LUTDlg::IDC_LUT_25);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(m_pPage->m_vecItems[CGamma_LUTDlg::ITEM_LUT].bOk, 1);
    EXPECT_TRUE(verdict(CGamma_LUTDlg::IDC_PASS));
    EXPECT_TRUE(PageBoxes().empty());
    ASSERT_TRUE(camera->SetIntegerRange(L"LUTIndex", 0, 4095, 1));
    EXPECT_EQ(LutEntry(7), nBefore);
}

TEST_F(PageTest, GammaLutControlsWaitForACamera) {
    OpenWith({L"감마와 엘유티"});
    CGamma_LUTDlg* pPage = m_dlg->m_pGammaLUTDlg;
    pPage->ShowWindow(SW_SHOW);
    for (int id : {1057, 1058, 1117, 1032})
        Press(pPage, id);
    // Everything marked tried by hand: PASS only moves the focus, without a verdict.
    for (TestItem& item : pPage->m_vecItems) {
        EXPECT_EQ(item.bTested, 0);
        item.bTested = 1;
    }
    Press(pPage, CGamma_LUTDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(FocusId(), CGamma_LUTDlg::IDC_GAMMA_ENABLE);
}
