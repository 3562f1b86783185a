// The report page: its table, the report block it appends to the log, and its key filter.

#include "CKavrinoApp.h"
#include "CReportDlg.h"
#include "TestHooks.h"
#include "WindowState.h"

#include <QDir>
#include <QFile>
#include <QStyle>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <regex>

namespace {

const char kStamp[] = R"(\d{4}\.\d{2}\.\d{2} - \d{2}:\d{2}:\d{2}:\d{3} : )";

class ReportPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_host.Create(100, nullptr));
        m_host.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_report.Create(CReportDlg::IDD, &m_host));
        m_logPath = m_dir.filePath("report.log");
        theApp.m_LogFile.m_strPath = CString(m_logPath.toStdWString());
    }
    void TearDown() override {
        m_report.DestroyWindow();
        m_host.DestroyWindow();
        theApp.m_LogFile.m_strPath.Empty();
    }
    // The log as UTF-8 text; the file itself is in the Korean code page.
    std::string Log() const {
        QFile file(m_logPath);
        return file.open(QIODevice::ReadOnly)
                   ? kavrino::WideToUtf8(kavrino::Cp949ToWide(file.readAll().toStdString()))
                   : std::string();
    }

    QTemporaryDir m_dir;
    QString m_logPath;
    CDialog m_host;
    CReportDlg m_report;
};

} // namespace

TEST_F(ReportPageTest, TableHasItsColumnsStylesAndTheRowsGiven) {
    CListCtrl& list = m_report.m_listReport;
    EXPECT_EQ(list.GetExtendedStyle(), 0x10221u);
    EXPECT_TRUE(list.GetStyle() & LVS_SINGLESEL);
    EXPECT_EQ(list.GetColumnWidth(2), 700);
    EXPECT_FALSE(m_report.m_hEvent == nullptr);
    EXPECT_EQ(m_report.m_pMainDlg, nullptr); // hosted by a window that is not the main window

    TestResult rows[3];
    rows[0] = {L"비닝", L"PASS", L""};
    rows[1] = {L"리버스", L"FAIL", L"에러항목: Resverse Y "};
    m_report.SetResults(rows, 2);
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(1, 0), L"리버스");
    EXPECT_EQ(list.GetItemText(1, 1), L"FAIL");
    EXPECT_EQ(list.GetItemText(1, 2), L"에러항목: Resverse Y ");
    m_report.SetResults(rows, 0);
    EXPECT_EQ(list.GetItemCount(), 0);
    m_report.SetResults(rows, 1);
    m_report.SetResults(nullptr, 3);
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ReportPageTest, EndReleasesTheRunnerHidesAndWritesTheBlock) {
    kavrino::MessageBoxRecorder boxes;
    TestResult row{L"비닝", L"PASS", L""};
    m_report.SetResults(&row, 1);
    m_report.ShowWindow(SW_SHOW);
    ASSERT_TRUE(m_report.IsWindowVisible());
    m_report.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(WaitForSingleObject(m_report.m_hEvent, 0), WAIT_OBJECT_0);
    EXPECT_FALSE(m_report.IsWindowVisible());
    // Device strings never read leave two underscores; an empty comment leaves the label alone.
    const std::string expected = std::string(kStamp) +
                                 "\r\n<===== 디바이스 정보 : \\[__\\] =====>\r\n"
                                 "검사항목 : 비닝\r\n결    과 : PASS\r\n비    고 : \r\n\r\n\r\n";
    EXPECT_TRUE(std::regex_match(Log(), std::regex(expected))) << Log();
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(ReportPageTest, EmptyTableWritesHeaderOnlyAndAnUnwritableLogIsToldWhileTheTableIsShown) {
    m_report.m_strModel = L"KV-M640";
    m_report.m_strSerial = L"S1";
    m_report.m_strVersion = L"1.0";
    m_report.WriteReport();
    EXPECT_TRUE(std::regex_match(
        Log(), std::regex(std::string(kStamp) +
                          "\r\n<===== 디바이스 정보 : \\[KV-M640_S1_1.0\\] =====>\r\n\r\n\r\n")))
        << Log();

    // A log that cannot take the block: the operator is told while the results are still on the page
    // and the runner still waits; then the page goes and the runner is released all the same.
    std::vector<CString> texts;
    bool shownAtTheBox = false;
    bool releasedAtTheBox = true;
    kavrino::SetMessageBoxHandler([&](const CString& text, const CString&, UINT) {
        texts.push_back(text);
        shownAtTheBox = m_report.IsWindowVisible() != FALSE;
        releasedAtTheBox = WaitForSingleObject(m_report.m_hEvent, 0) == WAIT_OBJECT_0;
        return IDOK;
    });
    theApp.m_LogFile.m_strPath = CString(m_dir.filePath("missing/folder/x.log").toStdWString());
    m_report.ShowWindow(SW_SHOW);
    m_report.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    kavrino::SetMessageBoxHandler(nullptr);
    EXPECT_EQ(texts, std::vector<CString>{L"로그파일 기록 실패"});
    EXPECT_TRUE(shownAtTheBox);
    EXPECT_FALSE(releasedAtTheBox);
    EXPECT_EQ(WaitForSingleObject(m_report.m_hEvent, 0), WAIT_OBJECT_0);
    EXPECT_FALSE(m_report.IsWindowVisible());
}

TEST_F(ReportPageTest, EnterAndEscDoNotEndThePage) {
    m_report.ShowWindow(SW_SHOW);
    for (UINT vk : {VK_RETURN, VK_ESCAPE}) {
        MSG msg{};
        msg.hwnd = m_report.GetSafeHwnd();
        msg.message = WM_KEYDOWN;
        msg.wParam = vk;
        EXPECT_TRUE(m_report.PreTranslateMessage(&msg));
    }
    EXPECT_TRUE(m_report.IsWindowVisible());
    EXPECT_NE(WaitForSingleObject(m_report.m_hEvent, 0), WAIT_OBJECT_0);
}

// Every cell shows its text whole on one line: the longest item name and the brightness-deviation
// comment included.
TEST_F(ReportPageTest, LongItemNamesAndCommentsShowWholeOnOneLine) {
    TestResult rows[3];
    rows[0] = {L"트리거와 지피아이오", L"PASS", L""};
    rows[1] = {
        L"휘도편차", L"FAIL",
        L"편차 기준값: 10    Center<->LeftTop: -128  Center<->RightTop: -128  Center<->LeftBottom: -128  "
        L"Center<->RightBottom: -128 "};
    rows[2] = {L"기타 체크 항목", L"PASS", L""};
    m_report.SetResults(rows, 3);
    m_report.MoveWindow(200, 20, 1050, 410, TRUE);
    m_report.ShowWindow(SW_SHOW);
    kavrino::ProcessUiEvents();
    auto* table = qobject_cast<QTableWidget*>(m_report.m_listReport.State()->widget.data());
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->wordWrap());
    // A cell's text is drawn between margins of the focus frame's margin plus one pixel; wider text is cut.
    const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
    const QFontMetrics fm(table->font());
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QString text = table->item(row, col) ? table->item(row, col)->text() : QString();
            const QRect cell = table->visualRect(table->model()->index(row, col));
            EXPECT_LE(fm.horizontalAdvance(text), cell.width() - 2 * margin)
                << row << " " << col << " " << text.toStdString();
            EXPECT_LE(fm.height(), cell.height()) << row << " " << col;
        }
    }
    const QString folder = QString(KAVRINO_BINARY_DIR) + "/screenshots";
    QDir().mkpath(folder);
    EXPECT_TRUE(m_report.State()->widget->grab().save(folder + "/149-CReportDlg-rows.png"));
}
