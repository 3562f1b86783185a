// The other-checks page: the radio pairs of the chosen checks, the verdicts and supply comments of
// "확인", the 10 percent window of the current and voltage check, and the keys.

#include "CNotSupportDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

namespace {

class OtherChecksPageTest : public PageTest {
protected:
    void OpenPage(bool bConnect = true) {
        if (bConnect)
            OpenConnected({L"기타 체크 항목"});
        else
            OpenWith({L"기타 체크 항목"});
        m_pPage = m_dlg->m_pNotSupportDlg;
        ASSERT_NE(m_pPage, nullptr);
        m_pPage->ShowWindow(SW_SHOW);
        m_boxes.Clear();
    }

    // The operator picks a radio of a pair.
    void Pick(int firstId, int id) {
        m_pPage->CheckRadioButton(firstId, firstId + 1, id);
        Press(m_pPage, id);
    }

    // Types both supply values and presses "확인"; the page is shown again for the next round.
    void Confirm(const wchar_t* current, const wchar_t* voltage) {
        m_pPage->SetDlgItemText(CNotSupportDlg::IDC_CURRENT, current);
        m_pPage->SetDlgItemText(CNotSupportDlg::IDC_VOLTAGE, voltage);
        ResetEvent(m_pPage->m_hEvent);
        m_pPage->ShowWindow(SW_SHOW);
        Press(m_pPage, IDOK);
    }

    bool Enabled(int id) const { return m_pPage->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

    CNotSupportDlg* m_pPage = nullptr;
};

} // namespace

TEST_F(OtherChecksPageTest, ChosenChecksKeepTheirRadiosAndConfirmTakesTheVerdicts) {
    OpenPage();
    const int noiseAndVoltage[] = {1, 0, 0, 0, 1};
    m_pPage->SetCheckItems(noiseAndVoltage);
    EXPECT_TRUE(Enabled(CNotSupportDlg::IDC_NOISE_FAIL));
    EXPECT_TRUE(Enabled(CNotSupportDlg::IDC_NOISE_PASS));
    for (int id : {CNotSupportDlg::IDC_BLOOMING_FAIL, CNotSupportDlg::IDC_BLOOMING_PASS,
                   CNotSupportDlg::IDC_RESOLUTION_FAIL, CNotSupportDlg::IDC_RESOLUTION_PASS})
        EXPECT_FALSE(Enabled(id)) << id;

    Pick(CNotSupportDlg::IDC_NOISE_FAIL, CNotSupportDlg::IDC_NOISE_FAIL);
    EXPECT_EQ(m_pPage->m_bNoisePass, 0);
    Confirm(L"", L"");
    EXPECT_EQ(m_pPage->m_bNoisePass, 0);
    EXPECT_EQ(m_pPage->m_bBloomingPass, 1);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_FALSE(Visible(m_pPage));
    // The radios show PASS again for the next run, which confirms PASS without a touch.
    EXPECT_EQ(m_pPage->IsDlgButtonChecked(CNotSupportDlg::IDC_NOISE_PASS), 1u);
    Confirm(L"", L"");
    EXPECT_EQ(m_pPage->m_bNoisePass, 1);

    // A later run with other checks gets their radios back.
    const int allChecks[] = {1, 1, 1, 1, 1};
    m_pPage->SetCheckItems(allChecks);
    EXPECT_TRUE(Enabled(CNotSupportDlg::IDC_RESOLUTION_PASS));
    Pick(CNotSupportDlg::IDC_RESOLUTION_FAIL, CNotSupportDlg::IDC_RESOLUTION_FAIL);
    Pick(CNotSupportDlg::IDC_BLOOMING_FAIL, CNotSupportDlg::IDC_BLOOMING_FAIL);
    Confirm(L"", L"");
    EXPECT_EQ(m_pPage->m_bResolutionPass, 0);
    EXPECT_EQ(m_pPage->m_bBloomingPass, 0);
    EXPECT_EQ(m_pPage->m_bNoisePass, 1);
    // Every pair shows PASS again for the next run.
    for (int id : {CNotSupportDlg::IDC_NOISE_PASS, CNotSupportDlg::IDC_BLOOMING_PASS,
                   CNotSupportDlg::IDC_RESOLUTION_PASS})
        EXPECT_EQ(m_pPage->IsDlgButtonChecked(id), 1u) << id;

    // Each chosen check has its own pair: blooming without resolution.
    const int bloomingOnly[] = {0, 1, 0, 0, 0};
    m_pPage->SetCheckItems(bloomingOnly);
    EXPECT_TRUE(Enabled(CNotSupportDlg::IDC_BLOOMING_FAIL));
    EXPECT_TRUE(Enabled(CNotSupportDlg::IDC_BLOOMING_PASS));
    for (int id : {CNotSupportDlg::IDC_NOISE_FAIL, CNotSupportDlg::IDC_NOISE_PASS,
                   CNotSupportDlg::IDC_RESOLUTION_FAIL, CNotSupportDlg::IDC_RESOLUTION_PASS})
        EXPECT_FALSE(Enabled(id)) << id;

    // WM_REFRESH_PAGE shows the radio members.
    m_pPage->m_nBloomingRadio = 0;
    m_pPage->SendMessage(CNotSupportDlg::WM_REFRESH_PAGE, 0, 0);
    EXPECT_EQ(m_pPage->IsDlgButtonChecked(CNotSupportDlg::IDC_BLOOMING_FAIL), 1u);
}

TEST_F(OtherChecksPageTest, SupplyValuesPassWithinTenPercentOfTheirReference) {
    OpenPage();
    m_dlg->m_nCurrentRef = 100;
    m_dlg->m_nVoltageRef = 15; // 13 to 16
    const struct {
        const wchar_t* current;
        int bPass;
    } currents[] = {{L"89", 0}, {L"90", 1}, {L"110", 1}, {L"111", 0}, {L"-100", 0}, {L"abc", 0}};
    for (const auto& c : currents) {
        Confirm(c.current, L"13");
        EXPECT_EQ(m_pPage->m_bCurrentPass, c.bPass) << kavrino::WideToUtf8(c.current);
        EXPECT_EQ(m_pPage->m_bVoltagePass, 1);
    }
    Confirm(L"100", L"17");
    EXPECT_EQ(m_pPage->m_bVoltagePass, 0);
    Confirm(L"100", L"12");
    EXPECT_EQ(m_pPage->m_bVoltagePass, 0);

    m_dlg->m_nCurrentRef = 0;
    Confirm(L"", L"16");
    EXPECT_EQ(m_pPage->m_bCurrentPass, 1); // an empty field counts as 0

    // References whose tenth above passes the end of the int range (from the test-set file): the
    // reference itself passes.
    m_dlg->m_nCurrentRef = 2147483647;
    m_dlg->m_nVoltageRef = 2000000000;
    Confirm(L"2147483647", L"2000000000");
    EXPECT_EQ(m_pPage->m_bCurrentPass, 1);
    EXPECT_EQ(m_pPage->m_bVoltagePass, 1);
    Confirm(L"1932735281", L"1799999999"); // just below 90 percent
    EXPECT_EQ(m_pPage->m_bCurrentPass, 0);
    EXPECT_EQ(m_pPage->m_bVoltagePass, 0);

    // A negative reference (a supply measured with its leads the other way round) has its window too.
    m_dlg->m_nCurrentRef = -100;
    m_dlg->m_nVoltageRef = -20;
    Confirm(L"-100", L"-22");
    EXPECT_EQ(m_pPage->m_bCurrentPass, 1);
    EXPECT_EQ(m_pPage->m_bVoltagePass, 1);
    Confirm(L"-111", L"-17");
    EXPECT_EQ(m_pPage->m_bCurrentPass, 0);
    EXPECT_EQ(m_pPage->m_bVoltagePass, 0);
    m_dlg->m_nVoltageRef = 15;

    m_dlg->m_nCurrentRef = 500;
    Confirm(L"480", L"16");
    EXPECT_EQ(m_pPage->m_strCurrentReport, L"기준 전류: 500  입력 전류: 480");
    EXPECT_EQ(m_pPage->m_strVoltageReport, L"기준 전압: 15  입력 전압: 16");
}

TEST_F(OtherChecksPageTest, WithoutConnectionTheSupplyVerdictsStayButTheCommentsAreWritten) {
    OpenPage(false);
    m_dlg->m_nCurrentRef = 100;
    EXPECT_EQ(m_pPage->CheckCurrentVoltage(), 0);
    Confirm(L"100", L"5");
    EXPECT_EQ(m_pPage->m_bCurrentPass, 0);
    EXPECT_EQ(m_pPage->m_bVoltagePass, 0);
    EXPECT_EQ(m_pPage->m_strCurrentReport, L"기준 전류: 100  입력 전류: 100");
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
}

TEST_F(OtherChecksPageTest, EnterInASupplyFieldConfirmsAndEscDoesNothing) {
    OpenPage();
    CWnd* pCurrent = m_pPage->GetDlgItem(CNotSupportDlg::IDC_CURRENT);
    pCurrent->SetFocus();
    MSG msg{};
    msg.hwnd = pCurrent->GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(m_pPage->PreTranslateMessage(&msg));
    EXPECT_TRUE(Visible(m_pPage));
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));

    msg.wParam = VK_RETURN;
    m_pPage->PreTranslateMessage(&msg);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_FALSE(Visible(m_pPage));
}
