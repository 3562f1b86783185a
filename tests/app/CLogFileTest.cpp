#include "CLogFile.h"

#include "StringConv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <regex>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}
// The log's text as UTF-8, for matching; the file is in the Korean code page.
std::string AsUtf8(const std::string& cp949) {
    return kavrino::WideToUtf8(kavrino::Cp949ToWide(cp949));
}
const std::string kBanner =
    "\r\n\r\n------------------------------ Log File Start------------------------------\r\n";
const char* kStamp = "\\d{4}\\.\\d{2}\\.\\d{2} - \\d{2}:\\d{2}:\\d{2}:\\d{3} : ";
} // namespace

TEST(CLogFile, RegisterWritesBannerThenOperatorLineAppendingToWhatIsThere) {
    QTemporaryDir dir;
    const QString path = dir.filePath("run.log");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old line\r\n");
    }
    CLogFile log;
    log.m_strPath = CString(path.toStdWString());
    EXPECT_EQ(kBanner.size(), 81u);
    ASSERT_TRUE(log.Start());
    ASSERT_TRUE(log.Write(true, " 작업자 [%s] ", static_cast<const char*>(CT2A(L"홍길동"))));
    const std::string all = ReadAll(path);
    ASSERT_EQ(all.substr(0, 10 + kBanner.size()), "old line\r\n" + kBanner);
    const std::string line = all.substr(10 + kBanner.size());
    // The operator's name is written in the Korean code page.
    EXPECT_NE(line.find(kavrino::WideToCp949(L" 작업자 [홍길동] ") + "\r\n"), std::string::npos);
    EXPECT_TRUE(std::regex_match(AsUtf8(line), std::regex(std::string(kStamp) + " 작업자 \\[홍길동\\] \r\n")))
        << AsUtf8(line);
}

TEST(CLogFile, ReopenAndReportLinesAreWrittenWithoutTimestamp) {
    QTemporaryDir dir;
    CLogFile log;
    log.m_strPath = CString(dir.filePath("x.log").toStdWString());
    log.Write(false, "\r\n\r\n");
    log.Write(true, "\r\n<===== 디바이스 정보 : [%s_%s_%s] =====>", "", "", "");
    log.Write(false, "비    고 : %s", "");
    const std::string all = AsUtf8(ReadAll(dir.filePath("x.log")));
    EXPECT_TRUE(
        std::regex_match(all, std::regex("\r\n\r\n\r\n" + std::string(kStamp) +
                                         "\r\n<===== 디바이스 정보 : \\[__\\] =====>\r\n비    고 : \r\n")))
        << all;
}

TEST(CLogFile, TextIsWrittenInTheKoreanCodePageWithQuestionMarksForWhatItCannotHold) {
    QTemporaryDir dir;
    CLogFile log;
    log.m_strPath = CString(dir.filePath("cp.log").toStdWString());
    ASSERT_TRUE(log.Write(false, "검사항목 : %s", static_cast<const char*>(CT2A(L"비닝 ☃ é 😀 ß"))));
    EXPECT_EQ(ReadAll(dir.filePath("cp.log")), kavrino::WideToCp949(L"검사항목 : 비닝 ? ? ? ß") + "\r\n");
}

TEST(CLogFile, ALongTextIsCutToTheBufferAtACharacterBoundary) {
    QTemporaryDir dir;
    CLogFile log;
    log.m_strPath = CString(dir.filePath("long.log").toStdWString());
    // Two bytes each in the file: "한" ends at byte 1023, "글" would not fit.
    ASSERT_TRUE(log.Write(false, "%s", (std::string(1021, 'a') + "한글").c_str()));
    std::string all = ReadAll(dir.filePath("long.log"));
    EXPECT_EQ(all, std::string(1021, 'a') + kavrino::WideToCp949(L"한") + "\r\n");
    // A character is never cut in half.
    ASSERT_TRUE(log.Write(false, "%s", (std::string(1022, 'a') + "한").c_str()));
    EXPECT_EQ(ReadAll(dir.filePath("long.log")).substr(all.size()), std::string(1022, 'a') + "\r\n");
    all = ReadAll(dir.filePath("long.log"));
    std::string exact(1023, 'b');
    log.Write(false, "%s", (exact + "cut").c_str());
    EXPECT_EQ(ReadAll(dir.filePath("long.log")).substr(all.size()), exact + "\r\n");
}

TEST(CLogFile, AnUnopenableFileLosesTheLineSilently) {
    QTemporaryDir dir;
    CLogFile log;
    log.m_strPath = CString(dir.filePath("missing/folder/x.log").toStdWString());
    EXPECT_FALSE(log.Start());
    EXPECT_FALSE(log.Write(true, "line"));
    log.m_strPath = CString(dir.path().toStdWString()); // a folder is no log file
    EXPECT_FALSE(log.Write(false, "line"));
    // A file another writer holds exclusively is skipped, and later lines are tried again.
    log.m_strPath = CString(dir.filePath("held.log").toStdWString());
    CFile holder;
    ASSERT_TRUE(holder.Open(log.m_strPath, CFile::modeCreate | CFile::modeWrite));
    EXPECT_FALSE(log.Write(false, "lost"));
    holder.Close();
    EXPECT_TRUE(log.Write(false, "kept"));
    EXPECT_EQ(ReadAll(dir.filePath("held.log")), "kept\r\n");
}

// A pipe or a device chosen as the log is no log file: opening it never waits for a reader, and no line
// is reported written that did not reach a file.
TEST(CLogFile, APipeOrADeviceIsRefusedWithoutWaiting) {
    QTemporaryDir dir;
    CLogFile log;
    const QString pipe = dir.filePath("pipe.log");
    ASSERT_EQ(::mkfifo(pipe.toUtf8().constData(), 0600), 0);
    log.m_strPath = CString(pipe.toStdWString());
    EXPECT_FALSE(log.Start()); // returns at once instead of waiting for a reader
    EXPECT_FALSE(log.Write(true, "line"));
    log.m_strPath = L"/dev/zero";
    EXPECT_FALSE(log.Write(false, "swallowed"));
    CFile device;
    EXPECT_FALSE(device.Open(L"/dev/null", CFile::modeRead));
    EXPECT_FALSE(device.IsOpen());
}

// A disk that takes only part of a line (here a file-size limit in place of a full disk): the line is
// told as not written and its part is taken back, so the log never holds half a line.
TEST(CLogFile, ALineTheDiskDoesNotTakeWholeIsToldAndLeavesNoPart) {
    QTemporaryDir dir;
    CLogFile log;
    log.m_strPath = CString(dir.filePath("full.log").toStdWString());
    ASSERT_TRUE(log.Write(false, "first"));
    const std::string before = ReadAll(dir.filePath("full.log"));

    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction old {};
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &old), 0);
    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    struct rlimit small = limit;
    small.rlim_cur = before.size() + 4;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL bWritten = log.Write(false, "%s", std::string(100, 'x').c_str());
    const BOOL bStarted = log.Start();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::sigaction(SIGXFSZ, &old, nullptr);

    EXPECT_FALSE(bWritten);
    EXPECT_FALSE(bStarted);
    EXPECT_EQ(ReadAll(dir.filePath("full.log")), before);
    EXPECT_TRUE(log.Write(false, "after"));
    EXPECT_EQ(ReadAll(dir.filePath("full.log")), before + "after\r\n");
}

TEST(CLogFile, StartWithoutPathUsesTheProgramFolder) {
    CLogFile log;
    const CString dir = log.GetExeDir();
    EXPECT_EQ(QString::fromStdWString(dir.str()), QCoreApplication::applicationDirPath());
    ASSERT_TRUE(log.Start());
    EXPECT_EQ(log.m_strPath, dir + L"/LogFile.log");
    QFile::remove(QString::fromStdWString(log.m_strPath.str()));
}
