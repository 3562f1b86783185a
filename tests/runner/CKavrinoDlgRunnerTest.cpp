// The test runner on the simulated camera: runs from the selected entry, cancels, duplicate and skipped
// items, the report page at the end, and closing the window at any moment of a run.

#include "CBinningDlg.h"
#include "CCvImage.h"
#include "CDecimationDlg.h"
#include "CDisplayDlg.h"
#include "CReportDlg.h"
#include "CReverseXYDlg.h"
#include "pages/PageFixture.h"
#include "CAlignDlg.h"
#include "CBlackLevelDlg.h"
#include "CBrightCenterDlg.h"
#include "CBrightDlg.h"
#include "CCXPLinkConfigDlg.h"
#include "CDeviceInfoDlg.h"
#include "CExposureDlg.h"
#include "CFrameRateDlg.h"
#include "CGainDlg.h"
#include "CGamma_LUTDlg.h"
#include "CNotSupportDlg.h"
#include "CPixelFormatDlg.h"
#include "CROIDlg.h"
#include "CTapBalanceDlg.h"
#include "CTestPatternDlg.h"
#include "CTriggerIODlg.h"
#include "CWhiteBalanceDlg.h"
#include "ui/PostClientProcess.h"
#include "ui/UiTestSupport.h"
#include "DialogTemplate.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStyleHints>

using kavrino_test::PageTest;

namespace {

class RunnerTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        m_strLogPath = CString(m_dir.filePath("run.log").toStdWString());
        theApp.m_LogFile.m_strPath = m_strLogPath;
    }
    void TearDown() override {
        PageTest::TearDown();
        theApp.m_LogFile.m_strPath.Empty();
    }

    void Start(int nSelect) {
        m_dlg->m_listTest.SetCurSel(nSelect);
        Click(CKavrinoDlg::IDC_START_TEST);
    }
    bool WaitShown(CWnd* pPage) {
        return kavrino::PumpUntil([&] { return Visible(pPage); });
    }
    // The runner thread of the last start has ended.
    bool WaitRunnerEnded() {
        return kavrino::PumpUntil(
            [&] { return WaitForSingleObject(m_dlg->m_hTestThread, 0) == WAIT_OBJECT_0; });
    }
    // A run of binning and decimation, on the binning page, whose "On" write the camera refuses.
    CBinningDlg* BinningShownWithItsWriteRefused() {
        OpenConnected({L"비닝", L"데시메이션"});
        Start(0);
        if (!WaitShown(m_dlg->m_pBinningDlg))
            return nullptr;
        Refuse(L"BinningVertical");
        return m_dlg->m_pBinningDlg;
    }
    // The binning page's verdict and FAIL on the decimation page: the report's rows.
    std::vector<std::vector<CString>> ReportAfterBinning(int nVerdict) {
        Press(m_dlg->m_pBinningDlg, nVerdict);
        if (!WaitShown(m_dlg->m_pDecimationDlg))
            return {};
        Press(m_dlg->m_pDecimationDlg, CDecimationDlg::IDC_FAIL);
        return WaitShown(m_dlg->m_pReportDlg) ? ReportRows() : std::vector<std::vector<CString>>{};
    }
    void PassBinning() {
        CBinningDlg* pPage = m_dlg->m_pBinningDlg;
        ASSERT_TRUE(WaitShown(pPage));
        Press(pPage, CBinningDlg::IDC_ON);
        Press(pPage, CBinningDlg::IDC_OFF);
        Press(pPage, CBinningDlg::IDC_PASS);
    }
    std::vector<std::vector<CString>> ReportRows() {
        std::vector<std::vector<CString>> rows;
        CListCtrl& list = m_dlg->m_pReportDlg->m_listReport;
        for (int i = 0; i < list.GetItemCount(); ++i)
            rows.push_back({list.GetItemText(i, 0), list.GetItemText(i, 1), list.GetItemText(i, 2)});
        return rows;
    }
    // The log as UTF-8 text; the file itself is in the Korean code page.
    std::string LogText() {
        QFile file(QString::fromStdWString(std::wstring(m_strLogPath)));
        return file.open(QIODevice::ReadOnly)
                   ? kavrino::WideToUtf8(kavrino::Cp949ToWide(file.readAll().toStdString()))
                   : std::string();
    }

    CString m_strLogPath;
};

using Rows = std::vector<std::vector<CString>>;

} // namespace

TEST_F(RunnerTest, RunFromTheThirdEntryReportsThreeRowsAndClosesTheWindow) {
    OpenConnected({L"ROI", L"전압전류", L"비닝", L"데시메이션", L"리버스"});
    Start(2);
    EXPECT_TRUE(m_dlg->m_bTesting);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 취소");

    CBinningDlg* pBinning = m_dlg->m_pBinningDlg;
    ASSERT_TRUE(WaitShown(pBinning));
    EXPECT_EQ(m_dlg->m_listTest.GetCurSel(), 2);
    CRect rcPage;
    pBinning->GetWindowRect(&rcPage);
    m_dlg->ScreenToClient(&rcPage);
    EXPECT_EQ(rcPage, CRect(200, 20, 1250, 430));
    // A refused write is listed in the row's comment.
    Refuse(L"BinningVertical");
    Press(pBinning, CBinningDlg::IDC_ON);
    Refuse(L"BinningVertical", false);
    Press(pBinning, CBinningDlg::IDC_OFF);
    Press(pBinning, CBinningDlg::IDC_PASS);

    ASSERT_TRUE(WaitShown(m_dlg->m_pDecimationDlg));
    EXPECT_EQ(m_dlg->m_listTest.GetCurSel(), 3);
    Press(m_dlg->m_pDecimationDlg, CDecimationDlg::IDC_FAIL);

    CReverseXYDlg* pReverse = m_dlg->m_pReverseXYDlg;
    ASSERT_TRUE(WaitShown(pReverse));
    Press(pReverse, CReverseXYDlg::IDC_REVERSE_X);
    Press(pReverse, CReverseXYDlg::IDC_REVERSE_Y);
    Press(pReverse, CReverseXYDlg::IDC_PASS);

    CReportDlg* pReport = m_dlg->m_pReportDlg;
    ASSERT_TRUE(WaitShown(pReport));
    EXPECT_EQ(ReportRows(), (Rows{{L"비닝", L"PASS", L"에러항목: ON "},
                                  {L"데시메이션", L"FAIL", L""},
                                  {L"리버스", L"PASS", L""}}));
    EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 취소");

    // "검사 종료": the report block is in the log before the window closes.
    Press(pReport, IDOK);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return m_dlg->m_pReportDlg == nullptr; }));
    const std::string log = LogText();
    EXPECT_NE(log.find("<===== 디바이스 정보 : [KV-M640_P0001_2.1.7] =====>\r\n"
                       "검사항목 : 비닝\r\n결    과 : PASS\r\n비    고 : 에러항목: ON \r\n"
                       "검사항목 : 데시메이션\r\n결    과 : FAIL\r\n비    고 : \r\n"
                       "검사항목 : 리버스\r\n결    과 : PASS\r\n비    고 : \r\n\r\n\r\n"),
              std::string::npos)
        << log;
    EXPECT_FALSE(m_dlg->m_bConnected);
}

TEST_F(RunnerTest, CancelHidesThePagesClearsTheOverlaysAndTheNextRunStartsThere) {
    OpenConnected({L"비닝", L"데시메이션", L"리버스"});
    Start(0);
    PassBinning();
    CDecimationDlg* pDecimation = m_dlg->m_pDecimationDlg;
    ASSERT_TRUE(WaitShown(pDecimation));
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    ASSERT_NE(pDisplay, nullptr);
    pDisplay->m_bShowAlign = TRUE;
    pDisplay->m_bShowEdgeBoxes = true;
    pDisplay->m_bBrightMode = true;
    pDisplay->m_bCenterMode = true;

    Click(CKavrinoDlg::IDC_START_TEST);
    EXPECT_FALSE(m_dlg->m_bTesting);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 시작");
    EXPECT_FALSE(Visible(pDecimation));
    EXPECT_FALSE(Visible(m_dlg->m_pReportDlg));
    EXPECT_FALSE(pDisplay->m_bShowAlign);
    EXPECT_FALSE(pDisplay->m_bShowEdgeBoxes);
    EXPECT_FALSE(pDisplay->m_bBrightMode);
    EXPECT_FALSE(pDisplay->m_bCenterMode);
    ASSERT_TRUE(WaitRunnerEnded());
    EXPECT_EQ(m_dlg->m_listTest.GetCurSel(), 1);
    EXPECT_FALSE(Visible(m_dlg->m_pReverseXYDlg));
    EXPECT_FALSE(m_dlg->m_bTesting);

    // The next run starts at the interrupted item, with fresh events.
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(WaitShown(pDecimation));
    EXPECT_FALSE(Signalled(pDecimation->m_hEvent));
    Press(pDecimation, CDecimationDlg::IDC_FAIL);
    ASSERT_TRUE(WaitShown(m_dlg->m_pReverseXYDlg));

    // Disconnecting cancels as well; the window stays open and idle.
    Click(CKavrinoDlg::IDC_CONNECT);
    EXPECT_FALSE(Visible(m_dlg->m_pReverseXYDlg));
    ASSERT_TRUE(WaitRunnerEnded());
    EXPECT_FALSE(m_dlg->m_bTesting);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 시작");
    EXPECT_NE(m_dlg->m_pReportDlg, nullptr);
}

// Every showing of a page starts with its steps untried: steps done before a cancel do not let PASS
// through in the next run. A step that failed then is still listed until it is done again.
TEST_F(RunnerTest, StepsTriedBeforeACancelAreUntriedInTheNextRun) {
    CBinningDlg* pBinning = BinningShownWithItsWriteRefused();
    ASSERT_NE(pBinning, nullptr);
    Press(pBinning, CBinningDlg::IDC_ON);
    Refuse(L"BinningVertical", false);
    Press(pBinning, CBinningDlg::IDC_OFF);
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(WaitRunnerEnded());

    Start(0);
    ASSERT_TRUE(WaitShown(pBinning));
    m_boxes.Clear();
    Press(pBinning, CBinningDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ ON\r\n@ OFF\r\n"});
    EXPECT_TRUE(Visible(pBinning));
    EXPECT_FALSE(Signalled(pBinning->m_hEvent));
    Press(pBinning, CBinningDlg::IDC_OFF);
    EXPECT_EQ(ReportAfterBinning(CBinningDlg::IDC_FAIL),
              (Rows{{L"비닝", L"FAIL", L"에러항목: ON "}, {L"데시메이션", L"FAIL", L""}}));
}

TEST_F(RunnerTest, ACancelBetweenAVerdictAndTheNextPageShowsNoMorePage) {
    OpenConnected({L"비닝", L"데시메이션", L"리버스"});
    Start(0);
    PassBinning();
    // The runner, woken by the verdict, asks this thread to record the row; once that has run, it asks
    // for the next page. Each request is let through on its own (events posted while posted events are
    // being sent wait for the next round), and the cancel comes in between.
    Sleep(200);
    QCoreApplication::sendPostedEvents();
    ASSERT_NE(m_dlg->m_pResults, nullptr);
    ASSERT_EQ(m_dlg->m_pResults[0].strItem, L"비닝");
    Sleep(200);
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(WaitRunnerEnded());
    kavrino::ProcessUiEvents();
    EXPECT_FALSE(m_dlg->m_bTesting);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 시작");
    EXPECT_EQ(m_dlg->m_listTest.GetCurSel(), 0);
    EXPECT_FALSE(Visible(m_dlg->m_pDecimationDlg));
    EXPECT_EQ(m_dlg->m_pResults[0].strResult, L"PASS");
    EXPECT_EQ(m_dlg->m_pResults[1].strItem, L"");
    EXPECT_FALSE(Visible(m_dlg->m_pReportDlg));
}

// The operator double-clicks FAIL: the first click is the page's verdict, the second lands at the same
// spot on the next page, which came up under the pointer meanwhile, on its FAIL. That page gets no
// verdict from it; a click there after the double-click time is the operator's own.
TEST_F(RunnerTest, TheSecondClickOfADoubleClickGivesTheNextPageNoVerdict) {
    OpenConnected({L"비닝", L"데시메이션", L"리버스"});
    Start(0);
    PassBinning();
    CDecimationDlg* pDecimation = m_dlg->m_pDecimationDlg;
    ASSERT_TRUE(WaitShown(pDecimation));
    // Clicks as the window system delivers them, with the time of each press; the second press of a double
    // click comes as a double click.
    auto click = [](QWidget* button, ulong time, QEvent::Type pressType = QEvent::MouseButtonPress) {
        const QPoint at = button->rect().center();
        QMouseEvent press(pressType, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        press.setTimestamp(time);
        QApplication::sendEvent(button, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        release.setTimestamp(time + 1);
        QApplication::sendEvent(button, &release);
        kavrino::ProcessUiEvents();
    };
    const ulong interval = static_cast<ulong>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    const ulong first = 1000000;
    QWidget* decimationFail = uitest::ItemWidget(pDecimation, CDecimationDlg::IDC_FAIL);
    ASSERT_NE(decimationFail, nullptr);
    click(decimationFail, first);
    EXPECT_TRUE(Signalled(pDecimation->m_hEvent));

    CReverseXYDlg* pReverse = m_dlg->m_pReverseXYDlg;
    ASSERT_TRUE(WaitShown(pReverse));
    QWidget* reverseFail = uitest::ItemWidget(pReverse, CReverseXYDlg::IDC_FAIL);
    ASSERT_NE(reverseFail, nullptr);
    ASSERT_EQ(reverseFail->mapToGlobal(reverseFail->rect().center()),
              decimationFail->mapToGlobal(decimationFail->rect().center()));
    click(reverseFail, first + interval / 4, QEvent::MouseButtonDblClick);
    click(reverseFail, first + interval / 2); // a third click
    click(reverseFail, first + interval / 2 + 2, QEvent::MouseButtonDblClick);
    EXPECT_TRUE(Visible(pReverse));
    EXPECT_FALSE(Signalled(pReverse->m_hEvent));
    EXPECT_FALSE(Visible(m_dlg->m_pReportDlg));

    click(reverseFail, first + interval / 2 + interval + 3);
    ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
    EXPECT_EQ(ReportRows(),
              (Rows{{L"비닝", L"PASS", L""}, {L"데시메이션", L"FAIL", L""}, {L"리버스", L"FAIL", L""}}));
}

TEST_F(RunnerTest, APixelFormatChangeThatLeavesNoCameraCancelsTheRun) {
    // No 10-bit file: the combo's reconnection is skipped and the window disconnects.
    m_dcfList.SetAt(m_dcfList.FindIndex(1), CString());
    OpenConnected({L"비닝", L"데시메이션"});
    Start(0);
    ASSERT_TRUE(WaitShown(m_dlg->m_pBinningDlg));
    SelectPixelFormat(L"Mono10");
    EXPECT_FALSE(m_dlg->m_bConnected);
    EXPECT_FALSE(Visible(m_dlg->m_pBinningDlg));
    ASSERT_TRUE(WaitRunnerEnded());
    EXPECT_FALSE(m_dlg->m_bTesting);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 시작");
    EXPECT_FALSE(Visible(m_dlg->m_pDecimationDlg));
    EXPECT_FALSE(Visible(m_dlg->m_pReportDlg));
    m_boxes.Clear();
    Click(CKavrinoDlg::IDC_START_TEST);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"연결이 아직 안되어있습니다."});
}

TEST_F(RunnerTest, RepeatedItemsAndTheOtherChecksEntry) {
    // An item listed twice gets the verdict of its first place at once (the events are reset only when
    // a run starts). The other-checks entry gives one row per chosen check; the row array has room for
    // both of its places.
    OpenConnected({L"기타 체크 항목", L"비닝", L"기타 체크 항목", L"비닝", L"없는 항목"});
    m_dlg->m_CheckItems[0] = 1;
    m_dlg->m_CheckItems[4] = 1;
    Start(0);
    CNotSupportDlg* pChecks = m_dlg->m_pNotSupportDlg;
    ASSERT_TRUE(WaitShown(pChecks));
    Press(pChecks, IDOK);
    const std::vector<CString> expected = {L"노이즈", L"전압", L"비닝", L"노이즈", L"전압", L"비닝"};
    PassBinning();
    ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
    std::vector<CString> items;
    for (const auto& row : ReportRows())
        items.push_back(row[0]);
    EXPECT_EQ(items, expected);
    EXPECT_EQ(ReportRows()[expected.size() - 1][1], L"PASS");
    EXPECT_FALSE(Visible(m_dlg->m_pBinningDlg));
    EXPECT_EQ(m_dlg->m_listTest.GetCurSel(), 3);
    ASSERT_NE(m_dlg->m_pResults, nullptr);
    EXPECT_EQ(m_dlg->m_pResults[expected.size()].strItem, L"");
}

TEST_F(RunnerTest, RowsNeverRunPastTheRowArray) {
    // Three places of the other-checks entry with every check chosen would give fifteen rows; the array
    // holds the three entries plus four.
    OpenConnected({L"기타 체크 항목", L"기타 체크 항목", L"기타 체크 항목"});
    for (int& flag : m_dlg->m_CheckItems)
        flag = 1;
    m_dlg->m_nCurrentRef = 100;
    m_dlg->m_nVoltageRef = 12;
    Start(0);
    CNotSupportDlg* pChecks = m_dlg->m_pNotSupportDlg;
    ASSERT_TRUE(WaitShown(pChecks));
    // Resolution fails, the current is within its window and the voltage is not.
    pChecks->CheckRadioButton(CNotSupportDlg::IDC_RESOLUTION_FAIL, CNotSupportDlg::IDC_RESOLUTION_PASS,
                              CNotSupportDlg::IDC_RESOLUTION_FAIL);
    Press(pChecks, CNotSupportDlg::IDC_RESOLUTION_FAIL);
    pChecks->SetDlgItemText(CNotSupportDlg::IDC_CURRENT, L"100");
    pChecks->SetDlgItemText(CNotSupportDlg::IDC_VOLTAGE, L"20");
    Press(pChecks, IDOK);
    ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
    // One row per check, in the page's order, each with its own verdict and comment.
    EXPECT_EQ(ReportRows(), (Rows{{L"노이즈", L"PASS", L""},
                                  {L"블루밍", L"PASS", L""},
                                  {L"해상력", L"FAIL", L""},
                                  {L"전류", L"PASS", L"기준 전류: 100  입력 전류: 100"},
                                  {L"전압", L"FAIL", L"기준 전압: 12  입력 전압: 20"},
                                  {L"노이즈", L"PASS", L""},
                                  {L"블루밍", L"PASS", L""}}));
}

TEST_F(RunnerTest, StartIsRefusedUnconnectedAndWithoutSelection) {
    OpenWith({L"비닝"});
    Click(CKavrinoDlg::IDC_START_TEST);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"연결이 아직 안되어있습니다."});
    EXPECT_FALSE(m_dlg->m_bTesting);

    Click(CKavrinoDlg::IDC_CONNECT);
    m_boxes.Clear();
    Start(-1);
    ASSERT_TRUE(WaitRunnerEnded());
    ASSERT_TRUE(kavrino::PumpUntil([&] { return !m_dlg->m_bTesting; }));
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"시작 될 항목을 선택하세요"});
    EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 시작");
    EXPECT_EQ(m_dlg->m_pResults, nullptr);
}

// When no runner thread can be started the operator is told so and the window stays idle, ready for the
// next start: nothing is shown, no row array is made and no handle is left behind; the handle of the
// previous run's runner is kept.
TEST_F(RunnerTest, AStartWhoseThreadCannotBeCreatedLeavesTheWindowIdle) {
    OpenConnected({L"비닝", L"데시메이션"});
    for (const bool bAfterARun : {false, true}) {
        SCOPED_TRACE(bAfterARun);
        if (bAfterARun) {
            Start(0);
            ASSERT_TRUE(WaitShown(m_dlg->m_pBinningDlg));
            Click(CKavrinoDlg::IDC_START_TEST);
            ASSERT_TRUE(WaitRunnerEnded());
            ASSERT_TRUE(kavrino::PumpUntil([&] { return !Visible(m_dlg->m_pBinningDlg); }));
        }
        const HANDLE hEarlier = m_dlg->m_hTestThread;
        TestResult* const pEarlierRows = m_dlg->m_pResults;
        const std::size_t nHandles = kavrino::OpenHandleCount();
        m_boxes.Clear();
        kavrino::FailNextThreadCreations(1);
        Start(1);
        EXPECT_EQ(PageBoxes(), std::vector<CString>{L"Create thread failed."});
        EXPECT_FALSE(m_dlg->m_bTesting);
        EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 시작");
        EXPECT_EQ(m_dlg->m_hTestThread, hEarlier);
        EXPECT_EQ(kavrino::OpenHandleCount(), nHandles);
        kavrino::ProcessUiEvents();
        EXPECT_FALSE(Visible(m_dlg->m_pDecimationDlg));
        EXPECT_EQ(m_dlg->m_pResults, pEarlierRows);
        EXPECT_EQ(m_dlg->m_listTest.GetCurSel(), 1);
    }
    // The next start runs from the selected entry as usual.
    m_boxes.Clear();
    Click(CKavrinoDlg::IDC_START_TEST);
    EXPECT_TRUE(m_dlg->m_bTesting);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_START_TEST), L"검사 취소");
    ASSERT_TRUE(WaitShown(m_dlg->m_pDecimationDlg));
    EXPECT_FALSE(Visible(m_dlg->m_pBinningDlg));
    Press(m_dlg->m_pDecimationDlg, CDecimationDlg::IDC_FAIL);
    ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
    EXPECT_EQ(ReportRows(), (Rows{{L"데시메이션", L"FAIL", L""}}));
    EXPECT_TRUE(PageBoxes().empty());
}

TEST_F(RunnerTest, CancelDuringTheReportWaitClosesTheWindowWithoutReport) {
    OpenConnected({L"전압전류"});
    Start(0);
    ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
    EXPECT_EQ(ReportRows(), Rows{});
    Click(CKavrinoDlg::IDC_START_TEST);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return m_dlg->m_pReportDlg == nullptr; }));
    EXPECT_EQ(LogText(), "");
}

// Run under AddressSanitizer: the runner must never reach the freed rows, pages or window, nor the grab
// hook the frame buffer, nor the display's tick the window it measures for.
TEST_F(RunnerTest, ClosingTheWindowWhileTheRunnerWaitsIsSafe) {
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(i);
        const bool bLive = i % 4 < 2;
        if (i % 2 == 0)
            OpenConnected({L"비닝", L"데시메이션"});
        else
            OpenConnected({L"전압전류"});
        if (bLive) {
            // Live, with the display measuring the centre window on every tick.
            Click(CKavrinoDlg::IDC_LIVE);
            m_dlg->m_pDisplayDlg->m_bCenterMode = true;
            ASSERT_TRUE(WaitForFrames(2));
        }
        Start(0);
        ASSERT_TRUE(WaitShown(i % 2 == 0 ? static_cast<CWnd*>(m_dlg->m_pBinningDlg) : m_dlg->m_pReportDlg));
        if (bLive) {
            const ULONGLONG nFrames = m_dlg->m_nFrameCount.load();
            ASSERT_TRUE(WaitForFrames(nFrames + 2));
        }
        if (i % 3 == 0) {
            // Destroyed without WM_CLOSE: the destructor ends the runner itself.
            m_dlg->DestroyWindow();
            m_dlg.reset();
        } else {
            Close();
        }
    }
    EXPECT_EQ(LogText(), "");
}

// The main window closes at the end of a run because its runner asks for it, never because another
// program posts the same message: that could come while a page's step waits for its message box (the
// frame size at every live start, a refused write), and the page would go while its step still runs.
TEST_F(RunnerTest, AFinishMessageTheRunnerDidNotSendClosesNothing) {
    CBinningDlg* pBinning = BinningShownWithItsWriteRefused();
    ASSERT_NE(pBinning, nullptr);
    m_boxes.SetAnswerDelay(300);
    m_dlg->PostMessage(WM_TEST_FINISHED, 0, 0);
    Press(pBinning, CBinningDlg::IDC_ON);
    m_boxes.SetAnswerDelay(0);
    kavrino::ProcessUiEvents();
    ASSERT_EQ(m_dlg->m_pBinningDlg, pBinning);
    EXPECT_TRUE(Visible(pBinning));
    EXPECT_TRUE(m_dlg->m_bConnected);
    EXPECT_TRUE(m_dlg->m_bTesting);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'BinningVertical'"});
    // The run goes on to its end, and then the window closes.
    Refuse(L"BinningVertical", false);
    Press(pBinning, CBinningDlg::IDC_OFF);
    EXPECT_EQ(ReportAfterBinning(CBinningDlg::IDC_PASS),
              (Rows{{L"비닝", L"PASS", L"에러항목: ON "}, {L"데시메이션", L"FAIL", L""}}));
    Press(m_dlg->m_pReportDlg, IDOK);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return m_dlg->m_pReportDlg == nullptr; }));
    EXPECT_FALSE(m_dlg->m_bConnected);
}

TEST_F(RunnerTest, AClosedMainWindowLeavesNoHandleWindowOrLibraryObjectBehind) {
    const std::size_t nHandles = kavrino::OpenHandleCount();
    const std::size_t nWindows = kavrino::WindowCount();
    const std::size_t nObjects = kavrino::MilObjectCount();
    // A run to its end (the window closes itself), and a window closed while the runner waits; both live.
    for (const bool bToTheEnd : {true, false}) {
        SCOPED_TRACE(bToTheEnd);
        OpenConnected({L"비닝", L"데시메이션"});
        Click(CKavrinoDlg::IDC_LIVE);
        ASSERT_TRUE(WaitForFrames(2));
        EXPECT_GT(kavrino::OpenHandleCount(), nHandles);
        EXPECT_GT(kavrino::WindowCount(), nWindows);
        EXPECT_GT(kavrino::MilObjectCount(), nObjects);
        Start(0);
        PassBinning();
        ASSERT_TRUE(WaitShown(m_dlg->m_pDecimationDlg));
        if (bToTheEnd) {
            Press(m_dlg->m_pDecimationDlg, CDecimationDlg::IDC_FAIL);
            ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
            Press(m_dlg->m_pReportDlg, IDOK);
            ASSERT_TRUE(kavrino::PumpUntil([&] { return m_dlg->m_pReportDlg == nullptr; }));
        } else {
            // A cancelled run and a second one: the window keeps only the newer runner's handle.
            Click(CKavrinoDlg::IDC_START_TEST);
            ASSERT_TRUE(WaitRunnerEnded());
            Start(0);
            ASSERT_TRUE(WaitShown(m_dlg->m_pBinningDlg));
        }
        Close();
        kavrino::ProcessUiEvents();
        EXPECT_EQ(kavrino::OpenHandleCount(), nHandles);
        EXPECT_EQ(kavrino::WindowCount(), nWindows);
        EXPECT_EQ(kavrino::MilObjectCount(), nObjects);
    }
    // Ended without WM_CLOSE, destroyed outright: after a cancelled run, and while the runner waits. The
    // stop event and the runner thread's handle go with the window, again and again.
    for (int i = 0; i < 3; ++i) {
        const bool bCancelFirst = i != 1;
        SCOPED_TRACE(i);
        OpenConnected({L"비닝", L"데시메이션"});
        Start(0);
        ASSERT_TRUE(WaitShown(m_dlg->m_pBinningDlg));
        if (bCancelFirst) {
            Click(CKavrinoDlg::IDC_START_TEST);
            ASSERT_TRUE(WaitRunnerEnded());
        }
        m_dlg->DestroyWindow();
        m_dlg.reset();
        kavrino::ProcessUiEvents();
        EXPECT_EQ(kavrino::OpenHandleCount(), nHandles);
        EXPECT_EQ(kavrino::WindowCount(), nWindows);
        EXPECT_EQ(kavrino::MilObjectCount(), nObjects);
    }
}

TEST_F(RunnerTest, EveryItemOfTheSetUpWindowRunsOnItsOwnPage) {
    // The nineteen items the set-up window offers, and the tap-balance item a loaded file may add, on a
    // colour camera (the white-balance page switches it to a Bayer format).
    UseCamera(kavrino_test::CameraFile{m_serial, 320, 240, true, 8, 30.0});
    // Every page finds its reference picture in its own section of the test set.
    const QString picture = m_dir.filePath("reference.bmp");
    QImage reference(4, 3, QImage::Format_RGB888);
    reference.fill(Qt::gray);
    ASSERT_TRUE(reference.save(picture, "BMP"));
    // The pages' sections in the order of the list below; the tap-balance page has none.
    const wchar_t* const sections[] = {
        L"ROI",          L"TESTPATTERN",   L"PIXELFORMAT",   L"DEVICE_INFO",
        L"FRAMERATE",    L"EXPOSURE",      L"GAIN",          L"TRIGGERIO",
        L"WHITEBALANCE", L"ALIGN",         L"BLACK_LEVEL",   L"BINNING",
        L"DECIMATION",   L"REVERSE_XY",    L"GAMMA_LUT",     L"CXP_LINK_CONFIG",
        L"BRIGHT",       L"BRIGHT_CENTER", L"ETC_INSPECTION"};
    for (const wchar_t* section : sections)
        ASSERT_TRUE(
            WritePrivateProfileString(section, L"이미지경로", CString(picture.toStdWString()), m_strIniPath));
    const QString otherPicture = m_dir.filePath("other.bmp");
    ASSERT_TRUE(reference.save(otherPicture, "BMP"));
    auto profile = [&](const wchar_t* section, const wchar_t* key) {
        wchar_t text[1024] = {};
        GetPrivateProfileString(section, key, nullptr, text, 1024, m_strIniPath);
        return CString(text);
    };
    OpenConnected({L"ROI",           L"테스트 패턴", L"픽셀 포맷",      L"디바이스 정보",
                   L"프레임 레이트", L"익스포즈",    L"게인",           L"트리거와 지피아이오",
                   L"화이트 밸런스", L"얼라인검사",  L"블랙 레벨",      L"비닝",
                   L"데시메이션",    L"리버스",      L"감마와 엘유티",  L"링크 컨피그",
                   L"휘도편차",      L"휘도",        L"기타 체크 항목", L"탭 밸런스"});
    // The page, the button that gives its verdict, and whether the verdict closes the picture's full-size
    // copy.
    struct Page {
        CTestPageDlg* pPage;
        int nVerdict;
        bool bClosesPicture;
    };
    const std::vector<Page> pages = {
        {m_dlg->m_pROIDlg, IDCANCEL, true},
        {m_dlg->m_pTestPatternDlg, IDCANCEL, true},
        {m_dlg->m_pPixelFormatDlg, IDCANCEL, false},
        {m_dlg->m_pDeviceInfoDlg, IDCANCEL, true},
        {m_dlg->m_pFrameRateDlg, IDCANCEL, false},
        {m_dlg->m_pExposureDlg, IDCANCEL, true},
        {m_dlg->m_pGainDlg, IDCANCEL, true},
        {m_dlg->m_pTriggerIODlg, IDCANCEL, true},
        {m_dlg->m_pWhiteBalanceDlg, IDCANCEL, true},
        {m_dlg->m_pAlignDlg, CAlignDlg::IDC_FAIL, false},
        {m_dlg->m_pBlackLevelDlg, CBlackLevelDlg::IDC_FAIL, true},
        {m_dlg->m_pBinningDlg, CBinningDlg::IDC_FAIL, false},
        {m_dlg->m_pDecimationDlg, CDecimationDlg::IDC_FAIL, true},
        {m_dlg->m_pReverseXYDlg, CReverseXYDlg::IDC_FAIL, true},
        {m_dlg->m_pGammaLUTDlg, CGamma_LUTDlg::IDC_FAIL, true},
        {m_dlg->m_pCXPLinkConfigDlg, CCXPLinkConfigDlg::IDC_FAIL, true},
        {m_dlg->m_pBrightDlg, CBrightDlg::IDC_FAIL, true},
        {m_dlg->m_pBrightCenterDlg, CBrightCenterDlg::IDC_FAIL, true},
        {m_dlg->m_pNotSupportDlg, IDOK, false},
        {m_dlg->m_pTapBalanceDlg, IDCANCEL, false},
    };
    Start(0);
    // Each page in turn is shown alone; FAIL (the other-checks page's "확인") hands its verdict over.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        CTestPageDlg* pPage = pages[i].pPage;
        ASSERT_NE(pPage, nullptr);
        ASSERT_TRUE(WaitShown(pPage)) << "item " << i;
        for (const auto& other : pages)
            EXPECT_TRUE(other.pPage == pPage || !Visible(other.pPage)) << "item " << i;
        if (i < std::size(sections)) {
            // The method panel works in the page's own section: its picture was found there, a double-click
            // opens the full-size copy, and the method text and another picture are stored there. The
            // white-balance page's panel has ids of its own.
            const bool bOwnIds = pPage == m_dlg->m_pWhiteBalanceDlg;
            const int nMethod = bOwnIds ? 1080 : 1078;
            const int nPicture = nMethod + 1;
            ASSERT_NE(pPage->m_pRefImage, nullptr) << "item " << i;
            EXPECT_EQ(pPage->m_pRefImage->m_nWidth, 4) << "item " << i;
            pPage->SendMessage(WM_COMMAND, MAKEWPARAM(nPicture, STN_DBLCLK),
                               reinterpret_cast<LPARAM>(pPage->GetDlgItem(nPicture)->GetSafeHwnd()));
            EXPECT_NE(pPage->m_pShowImage, nullptr) << "item " << i;
            pPage->SetDlgItemText(nMethod, L"방법");
            Press(pPage, nMethod + 2);
            EXPECT_EQ(PageBoxes(), std::vector<CString>{L"저장완료"}) << "item " << i;
            m_boxes.Clear();
            EXPECT_EQ(profile(sections[i], L"검사방법"), L"방법") << "item " << i;
            {
                kavrino::FileDialogAnswer answer(CString(otherPicture.toStdWString()));
                Press(pPage, nMethod + 3);
            }
            EXPECT_EQ(profile(sections[i], L"이미지경로"), CString(otherPicture.toStdWString()))
                << "item " << i;
        }
        Press(pPage, pages[i].nVerdict);
        if (pages[i].bClosesPicture)
            EXPECT_EQ(pPage->m_pShowImage, nullptr) << "item " << i;
    }
    ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
    const auto rows = ReportRows();
    // No other check was chosen, so the other-checks item gives no row.
    ASSERT_EQ(rows.size(), 19u);
    EXPECT_EQ(rows[0][0], L"ROI");
    EXPECT_EQ(rows[18][0], L"탭 밸런스");
    for (const auto& row : rows)
        EXPECT_EQ(row[1], L"FAIL") << row[0].ToUtf8();
    EXPECT_EQ(rows[9][2], L"Left: 0 Top: 0 Right: 0 Bottom: 0");
    EXPECT_TRUE(PageBoxes().empty()) << PageBoxes().front().ToUtf8();
}

// The key pad acts on the page shown. A press that comes after the page's verdict (a key that bounced, a
// second press) finds the page hidden and does nothing: it neither turns the verdict round nor shows a
// message about a page that is gone.
TEST_F(RunnerTest, AKeyPadCodeThatComesAfterThePagesVerdictIsDropped) {
    OpenConnected({L"디바이스 정보", L"테스트 패턴"});
    Start(0);
    CDeviceInfoDlg* pInfo = m_dlg->m_pDeviceInfoDlg;
    ASSERT_TRUE(WaitShown(pInfo));
    pInfo->SendMessage(WM_KEYPAD, 0, 4); // "검사" reads the device information
    m_boxes.Clear();
    pInfo->PostMessage(WM_KEYPAD, 0, 8);
    pInfo->PostMessage(WM_KEYPAD, 0, 16);
    pInfo->PostMessage(WM_KEYPAD, 0, 8);
    ASSERT_TRUE(WaitShown(m_dlg->m_pTestPatternDlg));
    kavrino::ProcessUiEvents();
    EXPECT_EQ(PageBoxes(), std::vector<CString>{});
    ASSERT_NE(m_dlg->m_pResults, nullptr);
    EXPECT_EQ(m_dlg->m_pResults[0].strItem, L"디바이스 정보");
    EXPECT_EQ(m_dlg->m_pResults[0].strResult, L"PASS");
    EXPECT_TRUE(Visible(m_dlg->m_pTestPatternDlg));
}

TEST_F(RunnerTest, AKeyPadDriverInAnotherProgramRunsThePages) {
    // The key pad's driver posts to "the page shown now": the shown dialog child of the main window.
    posttest::ListenerScope listener(m_dir.filePath("post"));
    auto keypad = [&](int code) {
        const posttest::ClientRun run = posttest::Post(
            listener.Directory(), {"--caption", "Movrane", "--child", "--class", "#32770", "--visible",
                                   "--message", "WM_KEYPAD", "--lparam", QString::number(code)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out.rfind("ok posted to 0x", 0), 0u) << run.out;
    };
    OpenConnected({L"테스트 패턴", L"디바이스 정보", L"기타 체크 항목"});
    m_dlg->m_CheckItems[CNotSupportDlg::CHECK_BLOOMING] = 1;
    // What the main window's own code posts to it (the pixel-format warning of the grab hook, the end of
    // a run) is not taken from another program: no box for the operator, and the window stays.
    m_boxes.Clear();
    for (const char* message : {"WM_APP+0x101", "WM_APP+1"}) {
        const posttest::ClientRun run =
            posttest::Post(listener.Directory(), {"--caption", "Movrane", "--message", message});
        EXPECT_EQ(run.exitCode, 1) << message;
        EXPECT_EQ(run.out.rfind("error refused: ", 0), 0u) << run.out;
    }
    kavrino::ProcessUiEvents();
    EXPECT_TRUE(m_boxes.Texts().empty()) << m_boxes.Texts().front().ToUtf8();
    ASSERT_NE(m_dlg->GetSafeHwnd(), nullptr);
    Start(0);

    // Test pattern: 2 focuses "OFF", 4 presses it; 1 goes back to the ramp, 3 presses it with Space; 8
    // passes.
    CTestPatternDlg* pPattern = m_dlg->m_pTestPatternDlg;
    ASSERT_TRUE(WaitShown(pPattern));
    keypad(2);
    EXPECT_TRUE(kavrino::PumpUntil([] { return FocusId() == CTestPatternDlg::IDC_OFF; }));
    keypad(4);
    EXPECT_TRUE(
        kavrino::PumpUntil([&] { return pPattern->m_vecItems[CTestPatternDlg::ITEM_OFF].bTested == 1; }));
    keypad(1);
    EXPECT_TRUE(kavrino::PumpUntil([] { return FocusId() == CTestPatternDlg::IDC_HORIZONTAL_RAMP; }));
    keypad(3);
    EXPECT_TRUE(kavrino::PumpUntil([&] { return TextFeature(L"TestPattern") == L"GreyHorizontalRamp"; }));
    keypad(8);

    // Device information: 4 shows the values, 16 fails the item.
    CDeviceInfoDlg* pInfo = m_dlg->m_pDeviceInfoDlg;
    ASSERT_TRUE(WaitShown(pInfo));
    EXPECT_EQ(TextFeature(L"TestPattern"), L"Off"); // PASS restored the camera
    keypad(4);
    EXPECT_TRUE(
        kavrino::PumpUntil([&] { return ItemText(pInfo, CDeviceInfoDlg::IDC_MODEL_NAME) == L"KV-M640"; }));
    keypad(16);

    // The other checks: another program changed a verdict, and 0x464 shows it on the page.
    CNotSupportDlg* pChecks = m_dlg->m_pNotSupportDlg;
    ASSERT_TRUE(WaitShown(pChecks));
    pChecks->m_nBloomingRadio = 0;
    const posttest::ClientRun refresh =
        posttest::Post(listener.Directory(), {"--caption", "Movrane", "--child", "--class", "#32770",
                                              "--visible", "--message", "0x464"});
    EXPECT_EQ(refresh.exitCode, 0) << refresh.err;
    EXPECT_TRUE(kavrino::PumpUntil(
        [&] { return pChecks->IsDlgButtonChecked(CNotSupportDlg::IDC_BLOOMING_FAIL) == BST_CHECKED; }));
    Press(pChecks, IDOK);

    ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
    EXPECT_EQ(
        ReportRows(),
        (Rows{{L"테스트 패턴", L"PASS", L""}, {L"디바이스 정보", L"FAIL", L""}, {L"블루밍", L"FAIL", L""}}));
    EXPECT_TRUE(PageBoxes().empty()) << PageBoxes().front().ToUtf8();
}

namespace {

// One page as the runner shows it: its item, the page, its PASS button, and whether Enter there is the
// page's own verdict (the other-checks page's "확인" is its default button and always hands over).
struct KeyPage {
    const wchar_t* item;
    CTestPageDlg* (*page)(CKavrinoDlg&);
    int passId;
    bool enterGivesVerdict;
};

template <auto Member> CTestPageDlg* PageOf(CKavrinoDlg& dlg) {
    return dlg.*Member;
}

void PrintTo(const KeyPage& page, std::ostream* os) {
    *os << CString(page.item).ToUtf8();
}

class PageKeysTest : public RunnerTest, public ::testing::WithParamInterface<KeyPage> {
protected:
    // The first control of each kind that can take the focus: a one-line edit (the method text when the
    // page has no other), a check box, a radio button, a list, and a push button that is not a verdict.
    std::vector<std::pair<const char*, int>> FocusTargets(CTestPageDlg* pPage) const {
        const kavrino::DialogTemplate* t =
            kavrino::DialogTemplate::Find(static_cast<int>(pPage->m_nIDTemplate));
        std::vector<std::pair<const char*, int>> targets;
        if (!t)
            return targets;
        auto usable = [&](const kavrino::ControlTemplate& c) {
            CWnd* pControl = c.id > 0 ? pPage->GetDlgItem(c.id) : nullptr;
            return pControl && pControl->IsWindowVisible() && pControl->IsWindowEnabled();
        };
        auto first = [&](const char* name, auto&& match) {
            for (const kavrino::ControlTemplate& c : t->controls)
                if (match(c) && usable(c)) {
                    targets.emplace_back(name, c.id);
                    return true;
                }
            return false;
        };
        if (!first("edit", [](const auto& c) { return c.kind == "EDITTEXT" && !c.Has("WANTRETURN"); }))
            first("edit", [](const auto& c) { return c.kind == "EDITTEXT"; });
        first("check box", [](const auto& c) { return c.kind == "CHECKBOX"; });
        first("radio", [](const auto& c) { return c.kind == "RADIOBUTTON"; });
        first("list", [](const auto& c) { return c.kind == "COMBOBOX" || c.kind == "LISTBOX"; });
        const int passId = GetParam().passId;
        first("button", [&](const auto& c) {
            return (c.kind == "PUSHBUTTON" || c.kind == "DEFPUSHBUTTON") && c.id != IDOK &&
                   c.id != IDCANCEL && c.id != passId && c.id != 1032 && c.id != 1033;
        });
        return targets;
    }

    // A real key press and release on the focused control, through the window system's key path.
    static void PressKeyOn(CWnd* pControl, BYTE vk) {
        pControl->SetFocus();
        keybd_event(vk, 0, 0, 0);
        keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        kavrino::ProcessUiEvents();
    }

    // The page is still shown, its event is not set and the runner still waits on it.
    void ExpectWaiting(CTestPageDlg* pPage) {
        EXPECT_TRUE(Visible(pPage));
        EXPECT_FALSE(Signalled(pPage->m_hEvent));
        EXPECT_EQ(WaitForSingleObject(m_dlg->m_hTestThread, 0), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_FALSE(Visible(m_dlg->m_pReportDlg));
    }
};

} // namespace

// Enter and Esc from every kind of control of every page: the page is never hidden without a verdict.
// Where Enter means the page's default button, that button's handler runs (PASS lists the untried steps
// and stays; the other-checks page's "확인" hands its verdict over).
TEST_P(PageKeysTest, EnterAndEscNeverHideThePageWithoutAVerdict) {
    const KeyPage& param = GetParam();
    UseCamera(kavrino_test::CameraFile{m_serial, 320, 240, true, 8, 30.0});
    OpenConnected({param.item});
    kavrino::FileDialogAnswer cancelFileDialogs(L"");
    CTestPageDlg* pPage = param.page(*m_dlg);
    ASSERT_NE(pPage, nullptr);
    Start(0);
    ASSERT_TRUE(WaitShown(pPage));

    const auto targets = FocusTargets(pPage);
    ASSERT_FALSE(targets.empty());
    for (const auto& [kind, id] : targets) {
        SCOPED_TRACE(::testing::Message() << kind << " " << id);
        PressKeyOn(pPage->GetDlgItem(id), VK_ESCAPE);
        ExpectWaiting(pPage);
    }
    const kavrino::DialogTemplate* pTemplate =
        kavrino::DialogTemplate::Find(static_cast<int>(pPage->m_nIDTemplate));
    for (const auto& [kind, id] : targets) {
        SCOPED_TRACE(::testing::Message() << kind << " " << id);
        const CString strBefore = ItemText(pPage, id);
        PressKeyOn(pPage->GetDlgItem(id), VK_RETURN);
        // The method text takes Enter as a line break.
        if (pTemplate && pTemplate->Control(id) && pTemplate->Control(id)->Has("WANTRETURN")) {
            const CString strAfter = ItemText(pPage, id);
            EXPECT_EQ(strAfter.GetLength(), strBefore.GetLength() + 2) << strAfter.ToUtf8();
            EXPECT_NE(strAfter.Find(L"\r\n"), -1);
        }
        if (param.enterGivesVerdict && std::string(kind) != "button") {
            EXPECT_TRUE(Signalled(pPage->m_hEvent));
            ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
            return;
        }
        ExpectWaiting(pPage);
    }

    // PASS afterwards hands the verdict over and the runner goes on to the report.
    for (TestItem& item : pPage->m_vecItems)
        item.bTested = 1;
    m_boxes.SetAnswer(IDYES); // the alignment page asks whether the test was done
    Press(pPage, param.passId);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    ASSERT_TRUE(WaitShown(m_dlg->m_pReportDlg));
    ASSERT_EQ(ReportRows().size(), 1u);
    EXPECT_EQ(ReportRows()[0][1], L"PASS");
}

INSTANTIATE_TEST_SUITE_P(
    EveryPage, PageKeysTest,
    ::testing::Values(
        KeyPage{L"ROI", &PageOf<&CKavrinoDlg::m_pROIDlg>, IDOK, false},
        KeyPage{L"테스트 패턴", &PageOf<&CKavrinoDlg::m_pTestPatternDlg>, IDOK, false},
        KeyPage{L"픽셀 포맷", &PageOf<&CKavrinoDlg::m_pPixelFormatDlg>, IDOK, false},
        KeyPage{L"디바이스 정보", &PageOf<&CKavrinoDlg::m_pDeviceInfoDlg>, IDOK, false},
        KeyPage{L"프레임 레이트", &PageOf<&CKavrinoDlg::m_pFrameRateDlg>, IDOK, false},
        KeyPage{L"익스포즈", &PageOf<&CKavrinoDlg::m_pExposureDlg>, IDOK, false},
        KeyPage{L"게인", &PageOf<&CKavrinoDlg::m_pGainDlg>, IDOK, false},
        KeyPage{L"트리거와 지피아이오", &PageOf<&CKavrinoDlg::m_pTriggerIODlg>, IDOK, false},
        KeyPage{L"화이트 밸런스", &PageOf<&CKavrinoDlg::m_pWhiteBalanceDlg>, IDOK, false},
        KeyPage{L"얼라인검사", &PageOf<&CKavrinoDlg::m_pAlignDlg>, CAlignDlg::IDC_PASS, false},
        KeyPage{L"블랙 레벨", &PageOf<&CKavrinoDlg::m_pBlackLevelDlg>, CBlackLevelDlg::IDC_PASS, false},
        KeyPage{L"비닝", &PageOf<&CKavrinoDlg::m_pBinningDlg>, CBinningDlg::IDC_PASS, false},
        KeyPage{L"데시메이션", &PageOf<&CKavrinoDlg::m_pDecimationDlg>, CDecimationDlg::IDC_PASS, false},
        KeyPage{L"리버스", &PageOf<&CKavrinoDlg::m_pReverseXYDlg>, CReverseXYDlg::IDC_PASS, false},
        KeyPage{L"감마와 엘유티", &PageOf<&CKavrinoDlg::m_pGammaLUTDlg>, CGamma_LUTDlg::IDC_PASS, false},
        KeyPage{L"링크 컨피그", &PageOf<&CKavrinoDlg::m_pCXPLinkConfigDlg>, CCXPLinkConfigDlg::IDC_PASS,
                false},
        KeyPage{L"휘도편차", &PageOf<&CKavrinoDlg::m_pBrightDlg>, CBrightDlg::IDC_PASS, false},
        KeyPage{L"휘도", &PageOf<&CKavrinoDlg::m_pBrightCenterDlg>, CBrightCenterDlg::IDC_PASS, false},
        KeyPage{L"기타 체크 항목", &PageOf<&CKavrinoDlg::m_pNotSupportDlg>, IDOK, true},
        KeyPage{L"탭 밸런스", &PageOf<&CKavrinoDlg::m_pTapBalanceDlg>, IDOK, false}));
