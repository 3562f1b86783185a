// The white-balance page on a simulated colour camera: the switch to "BayerRG8" when the runner writes
// the format, the balance modes with the ratio display, the unchecked restore to "Mono8", and ratio
// errors that are reported once, not on every tick.

#include "CGainDlg.h"
#include "CWhiteBalanceDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

namespace {

class WhiteBalancePageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        UseCamera(kavrino_test::CameraFile{m_serial, 320, 240, true, 8, 30.0});
    }

    // A colour camera's main window, connected and live.
    void Open(bool bConnect = true) {
        m_items.RemoveAll();
        m_items.AddTail(L"화이트 밸런스");
        m_dlg = std::make_unique<CKavrinoDlg>();
        m_dlg->m_pTestItemList = &m_items;
        m_dlg->m_pFrameRateList = &m_frameRates;
        m_dlg->m_pDcfList = &m_dcfList;
        m_dlg->m_bColorCamera = TRUE;
        ASSERT_TRUE(m_dlg->Create(CKavrinoDlg::IDD, nullptr));
        m_dlg->ShowWindow(SW_SHOW);
        m_pPage = m_dlg->m_pWhiteBalanceDlg;
        ASSERT_NE(m_pPage, nullptr);
        if (bConnect) {
            Click(CKavrinoDlg::IDC_CONNECT);
            ASSERT_TRUE(m_dlg->m_bConnected);
            Click(CKavrinoDlg::IDC_LIVE);
            ASSERT_TRUE(m_dlg->m_bLive);
        }
        m_boxes.Clear();
        m_pPage->ShowWindow(SW_SHOW);
    }
    CString PageText(int id) {
        CString text;
        m_pPage->GetDlgItemText(id, text);
        return text;
    }
    bool TimerRan() { return m_pPage->KillTimer(CWhiteBalanceDlg::TIMER_RATIO) != FALSE; }
    // One tick of the ratio updates, as the timer gives it.
    void Tick() { m_pPage->SendMessage(WM_TIMER, CWhiteBalanceDlg::TIMER_RATIO, 0); }
    double Ratio(const wchar_t* colour) {
        m_dlg->SetFeature(L"BalanceRatioSelector", FEATURE_VALUE_AS_STRING, colour);
        double value = -1.0;
        m_dlg->GetFeature(L"BalanceRatio", FEATURE_VALUE, &value);
        return value;
    }

    CWhiteBalanceDlg* m_pPage = nullptr;
};

} // namespace

TEST_F(WhiteBalancePageTest, FormatFromTheRunnerSwitchesToBayerAndTheVerdictBackToMono) {
    Open();
    const CString strDcf = m_dlg->m_strDcfFile;
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono8"); // creating the page switched nothing
    m_pPage->SetDlgItemText(CWhiteBalanceDlg::IDC_COLOR_FORMAT, L"BayerRG8");
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"BayerRG8");
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"BayerRG8");
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), 2);
    EXPECT_EQ(m_dlg->m_strDcfFile, strDcf);
    EXPECT_TRUE(m_dlg->m_bLive);

    Press(m_pPage, CWhiteBalanceDlg::IDC_ONCE);
    Press(m_pPage, CWhiteBalanceDlg::IDC_OFF);
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ CONTINOUS\r\n"});

    // "OFF" after "CONTINOUS": every ratio back to 1.0, shown with six decimals, and the updates stop.
    m_boxes.Clear();
    Press(m_pPage, CWhiteBalanceDlg::IDC_CONTINUOUS);
    EXPECT_EQ(TextFeature(L"BalanceWhiteAuto"), L"Continuous");
    Press(m_pPage, CWhiteBalanceDlg::IDC_OFF);
    EXPECT_TRUE(PageBoxes().empty());
    for (int id : {CWhiteBalanceDlg::IDC_RATIO_RED, CWhiteBalanceDlg::IDC_RATIO_GREEN,
                   CWhiteBalanceDlg::IDC_RATIO_BLUE})
        EXPECT_EQ(PageText(id), L"1.000000");
    EXPECT_FALSE(TimerRan());

    // PASS and FAIL switch back without a re-allocation: both formats grab into an 8-bit buffer.
    const MIL_ID milBayerDigitizer = m_dlg->m_milDigitizer;
    Press(m_pPage, IDOK);
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"Mono8");
    EXPECT_EQ(TextFeature(L"BalanceWhiteAuto"), L"Off");
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono8");
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), 0);
    EXPECT_EQ(m_dlg->m_milDigitizer, milBayerDigitizer);
    EXPECT_TRUE(m_dlg->m_bLive);
    EXPECT_EQ(m_pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));

    // The next showing, left by FAIL in the middle of a continuous balance.
    ResetEvent(m_pPage->m_hEvent);
    m_pPage->ShowWindow(SW_SHOW);
    m_pPage->SetDlgItemText(CWhiteBalanceDlg::IDC_COLOR_FORMAT, L"BayerRG8");
    ASSERT_EQ(TextFeature(L"PixelFormat"), L"BayerRG8");
    const MIL_ID milSecondDigitizer = m_dlg->m_milDigitizer;
    EXPECT_NE(milSecondDigitizer, milBayerDigitizer);
    Press(m_pPage, CWhiteBalanceDlg::IDC_CONTINUOUS);
    m_boxes.Clear();
    Press(m_pPage, IDCANCEL);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"Mono8");
    EXPECT_EQ(TextFeature(L"BalanceWhiteAuto"), L"Off");
    for (const wchar_t* colour : {L"Red", L"Green", L"Blue"})
        EXPECT_DOUBLE_EQ(Ratio(colour), 1.0);
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono8");
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), 0);
    EXPECT_EQ(m_dlg->m_milDigitizer, milSecondDigitizer);
    EXPECT_TRUE(m_dlg->m_bLive);
    EXPECT_FALSE(TimerRan());
    EXPECT_EQ(m_pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_FALSE(Visible(m_pPage));
}

TEST_F(WhiteBalancePageTest, RefusedModeIsAFailedStepAndTheRatiosKeepUpdating) {
    Open();
    Refuse(L"BalanceWhiteAuto");
    Press(m_pPage, CWhiteBalanceDlg::IDC_ONCE);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BalanceWhiteAuto'"});
    EXPECT_EQ(m_pPage->m_vecItems[CWhiteBalanceDlg::ITEM_ONCE].bOk, 0);
    EXPECT_TRUE(TimerRan());

    // A refused "OFF" ends there: no ratio is written and the timer is not touched.
    m_pPage->SetTimer(CWhiteBalanceDlg::TIMER_RATIO, 500, nullptr);
    m_boxes.Clear();
    Press(m_pPage, CWhiteBalanceDlg::IDC_OFF);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BalanceWhiteAuto'"});
    EXPECT_EQ(PageText(CWhiteBalanceDlg::IDC_RATIO_RED), L"");
    EXPECT_TRUE(TimerRan());
    Refuse(L"BalanceWhiteAuto", false);

    // A ratio that cannot be read is reported once while its message is open, however often the timer
    // ticks meanwhile: the operator reads the message for 1.2 s, the ticks go on under it.
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    camera->SetMissing(L"BalanceRatio", true);
    m_boxes.Clear();
    m_boxes.SetAnswerDelay(1200);
    const auto generation = camera->Generation();
    m_pPage->SetTimer(CWhiteBalanceDlg::TIMER_RATIO, 500, nullptr);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return !PageBoxes().empty(); }));
    m_boxes.SetAnswerDelay(0);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BalanceRatio'"});
    EXPECT_GE(camera->Generation() - generation, 6u); // the colour selections of two ticks at least
    // Once the message is closed, the error that persists is not reported again by the ticks that follow
    // (the operator can reach FAIL between them); a mode button pressed again reports it anew.
    const auto closed = camera->Generation();
    ASSERT_TRUE(kavrino::PumpUntil([&] { return camera->Generation() - closed >= 9; }));
    EXPECT_EQ(PageBoxes().size(), 1u);
    Press(m_pPage, CWhiteBalanceDlg::IDC_CONTINUOUS);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return PageBoxes().size() == 2; }));
    EXPECT_EQ(PageBoxes().back(), L"ERROR : 'BalanceRatio'");
    camera->SetMissing(L"BalanceRatio", false);
    m_boxes.Clear();

    // The failed step is named after a later PASS as well; the repeats are not reported by the checked
    // steps that follow.
    Press(m_pPage, CWhiteBalanceDlg::IDC_CONTINUOUS);
    Press(m_pPage, CWhiteBalanceDlg::IDC_OFF);
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    CString strErrors;
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: ONCE ");
}

TEST_F(WhiteBalancePageTest, ARatioErrorIsReportedOnceAndAgainAfterEachModeButton) {
    Open();
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    Press(m_pPage, CWhiteBalanceDlg::IDC_ONCE);
    Tick();
    Tick();
    EXPECT_TRUE(PageBoxes().empty());

    // An error that comes after clean updates is reported at its first tick, and only there.
    camera->SetMissing(L"BalanceRatio", true);
    Tick();
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BalanceRatio'"});
    Tick();
    Tick();
    EXPECT_EQ(PageBoxes().size(), 1u);

    // "OFF" reports it anew, once, and the updates go on since the ratios did not go through.
    m_pPage->SetTimer(CWhiteBalanceDlg::TIMER_RATIO, 500, nullptr);
    m_boxes.Clear();
    Press(m_pPage, CWhiteBalanceDlg::IDC_OFF);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BalanceRatio'"});
    EXPECT_EQ(m_pPage->m_vecItems[CWhiteBalanceDlg::ITEM_OFF].bOk, 1);
    EXPECT_TRUE(TimerRan());
    Tick();
    EXPECT_EQ(PageBoxes().size(), 1u);

    // So does "ONCE" at the next tick.
    m_boxes.Clear();
    Press(m_pPage, CWhiteBalanceDlg::IDC_ONCE);
    EXPECT_TRUE(PageBoxes().empty());
    Tick();
    Tick();
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BalanceRatio'"});
    camera->SetMissing(L"BalanceRatio", false);
}

TEST_F(WhiteBalancePageTest, UnconnectedNothingActsAndNoVerdictIsGiven) {
    Open(false);
    Press(m_pPage, CWhiteBalanceDlg::IDC_ONCE);
    EXPECT_EQ(m_pPage->m_vecItems[CWhiteBalanceDlg::ITEM_ONCE].bTested, 0);
    EXPECT_FALSE(TimerRan());

    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ ONCE\r\n@ CONTINOUS\r\n@ OFF\r\n"});
    // FAIL stops the timer whatever the connection, but gives no verdict.
    m_pPage->SetTimer(CWhiteBalanceDlg::TIMER_RATIO, 500, nullptr);
    Press(m_pPage, IDCANCEL);
    EXPECT_FALSE(TimerRan());
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));
    EXPECT_TRUE(Visible(m_pPage));
}

TEST_F(WhiteBalancePageTest, EveryRunSwitchesTheCameraToBayerBeforeWaiting) {
    Open();
    m_pPage->ShowWindow(SW_HIDE);
    m_dlg->m_listTest.AddString(L"게인");
    for (int nRun = 0; nRun < 2; ++nRun) {
        m_dlg->m_listTest.SetCurSel(0);
        Click(CKavrinoDlg::IDC_START_TEST);
        ASSERT_TRUE(kavrino::PumpUntil([&] { return m_dlg->m_strPixelFormat == L"BayerRG8"; })) << nRun;
        EXPECT_TRUE(Visible(m_pPage));
        EXPECT_EQ(TextFeature(L"PixelFormat"), L"BayerRG8");
        Press(m_pPage, IDCANCEL);
        EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono8");
        // Cancelled on the next page, the run leaves the main window open.
        ASSERT_TRUE(kavrino::PumpUntil([&] { return Visible(m_dlg->m_pGainDlg); }));
        Click(CKavrinoDlg::IDC_START_TEST);
        ASSERT_TRUE(kavrino::PumpUntil([&] {
            return !m_dlg->m_bTesting && WaitForSingleObject(m_dlg->m_hTestThread, 0) == WAIT_OBJECT_0;
        }));
    }

    // A run cancelled on this page gives no verdict, so the format text stays; the operator then goes back
    // to "Mono8". The next run writes the same text again, and that must switch the camera once more.
    m_dlg->m_listTest.SetCurSel(0);
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return m_dlg->m_strPixelFormat == L"BayerRG8"; }));
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(kavrino::PumpUntil(
        [&] { return !m_dlg->m_bTesting && WaitForSingleObject(m_dlg->m_hTestThread, 0) == WAIT_OBJECT_0; }));
    m_dlg->SetFeature(L"PixelFormat", FEATURE_VALUE_AS_STRING, L"Mono8");
    m_dlg->m_strPixelFormat = L"Mono8";
    m_dlg->m_listTest.SetCurSel(0);
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return m_dlg->m_strPixelFormat == L"BayerRG8"; }));
    EXPECT_EQ(TextFeature(L"PixelFormat"), L"BayerRG8");
    Press(m_pPage, IDCANCEL);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return Visible(m_dlg->m_pGainDlg); }));
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(kavrino::PumpUntil(
        [&] { return !m_dlg->m_bTesting && WaitForSingleObject(m_dlg->m_hTestThread, 0) == WAIT_OBJECT_0; }));
}

TEST_F(WhiteBalancePageTest, AHiddenPageTouchesNeitherTheCameraNorTheOperator) {
    Open();
    m_pPage->ShowWindow(SW_HIDE);
    m_dlg->m_listTest.SetCurSel(0);
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return Visible(m_pPage); }));
    Press(m_pPage, CWhiteBalanceDlg::IDC_ONCE);
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    camera->SetMissing(L"BalanceRatio", true);

    // Cancelled while the ratios update: the page is hidden without a verdict, and its updates stop.
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(
        kavrino::PumpUntil([&] { return WaitForSingleObject(m_dlg->m_hTestThread, 0) == WAIT_OBJECT_0; }));
    EXPECT_FALSE(Visible(m_pPage));
    m_boxes.Clear();
    const auto generation = camera->Generation();
    // Long enough for the 500 ms timer to come round at least once.
    EXPECT_FALSE(
        kavrino::PumpUntil([&] { return !PageBoxes().empty() || camera->Generation() != generation; }, 400));
    EXPECT_FALSE(TimerRan());
}
