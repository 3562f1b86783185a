// The whole road as an operator takes it, from the program's start-up to the log's report block: the set-up
// window, the log file, the test set, "검사 시작", the main window on the simulated camera, the pages, the
// report page's "검사 종료" and the set-up window back again.

#include "CAlignDlg.h"
#include "CBinningDlg.h"
#include "CBlackLevelDlg.h"
#include "CBrightCenterDlg.h"
#include "CBrightDlg.h"
#include "CCXPLinkConfigDlg.h"
#include "CDecimationDlg.h"
#include "CDeviceInfoDlg.h"
#include "CExposureDlg.h"
#include "CFrameRateDlg.h"
#include "CGainDlg.h"
#include "CGamma_LUTDlg.h"
#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"
#include "CLoginDlg.h"
#include "CNotSupportDlg.h"
#include "CPixelFormatDlg.h"
#include "CROIDlg.h"
#include "CReportDlg.h"
#include "CReverseXYDlg.h"
#include "CTestPatternDlg.h"
#include "CTriggerIODlg.h"
#include "CWhiteBalanceDlg.h"
#include "PostListener.h"
#include "SimCameraRegistry.h"
#include "TestHooks.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

const char kBanner[] =
    "\r\n\r\n------------------------------ Log File Start------------------------------\r\n";
const char kStamp[] = R"(\d{4}\.\d{2}\.\d{2} - \d{2}:\d{2}:\d{2}:\d{3} : )";
const char kSourceDir[] = KAVRINO_SOURCE_DIR;
// Page changes come from the runner thread; this bounds the waiting, it does not time anything.
constexpr int kPatience = 50000;

QString Escaped(const char* text) {
    return QRegularExpression::escape(QString::fromUtf8(text));
}

QByteArray ReadBytes(const CString& path) {
    QFile file(QString::fromStdWString(path.str()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The log's bytes are in the Korean code page.
bool Matches(const QByteArray& bytes, const QString& pattern) {
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern))
        .match(QString::fromStdWString(kavrino::Cp949ToWide(bytes.toStdString())))
        .hasMatch();
}

void Click(CWnd* pDlg, int id) {
    ASSERT_NE(pDlg, nullptr);
    auto* pButton = static_cast<CButton*>(pDlg->GetDlgItem(id));
    ASSERT_NE(pButton, nullptr) << id;
    ASSERT_TRUE(pButton->IsWindowEnabled()) << id;
    pButton->Click();
}

std::string Utf8(const CString& text) {
    return kavrino::WideToUtf8(std::wstring(text.GetString()));
}

bool Shown(CWnd* pPage) {
    return pPage && pPage->GetSafeHwnd() && pPage->IsWindowVisible();
}

struct ReportRow {
    CString item, result, comment;
    bool operator==(const ReportRow& o) const {
        return item == o.item && result == o.result && comment == o.comment;
    }
};

class SetupToReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        kavrino::SimCameraRegistry::Reset();
        ASSERT_TRUE(m_dir.isValid());
        // The program's endpoint for other programs, in a directory of this test's own.
        qputenv("KAVRINO_POST_DIR", m_dir.filePath("post").toUtf8());
        // The sample test set names its configuration files relative to the repository root, where the
        // program is started.
        m_oldDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(kSourceDir));
        kavrino::SetFileDialogHandler([this](kavrino::FileDialogRequest& request) {
            m_fileRequests.push_back(request.filter);
            for (const auto& answer : m_fileAnswers) {
                if (request.filter.Find(answer.first) >= 0) {
                    request.path = answer.second;
                    return true;
                }
            }
            return false;
        });
    }

    void TearDown() override {
        qunsetenv("KAVRINO_POST_DIR");
        kavrino::SetFileDialogHandler(nullptr);
        QDir::setCurrent(m_oldDir);
        theApp.m_LogFile.m_strPath.Empty();
        theApp.g_strIniPath.Empty();
        theApp.g_bEditMode = 0;
    }

    // Starts the program as main does; the hooks drive the set-up window and every main window.
    void RunProgram(std::function<void(CLoginDlg&)> setup, std::function<void(CKavrinoDlg&)> run) {
        kavrino::ModalDialogScope scope([&](CDialog* dialog) {
            if (auto* pSetup = dynamic_cast<CLoginDlg*>(dialog)) {
                ++m_nSetupWindows;
                EXPECT_EQ(AfxGetApp()->m_pMainWnd, pSetup);
                setup(*pSetup);
                // The close box ends the window and with it the program.
                pSetup->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            } else if (auto* pMain = dynamic_cast<CKavrinoDlg*>(dialog)) {
                ++m_nRuns;
                run(*pMain);
            }
        });
        EXPECT_EQ(kavrino::RunApplication(), 0);
    }

    // The operator's name, the administrator's login and a new log file.
    void RegisterLog(CLoginDlg& dlg) {
        dlg.SetDlgItemText(CLoginDlg::IDC_NAME, L"홍길동");
        Click(&dlg, CLoginDlg::IDC_ADMINISTRATOR);
        dlg.SetDlgItemText(CLoginDlg::IDC_PASSWORD, L"plomek472");
        Click(&dlg, CLoginDlg::IDC_ADMIN_LOGIN);
        Click(&dlg, CLoginDlg::IDC_REGISTER_LOG);
    }

    // Connect, live, "검사 시작"; then each page in turn, and the report's "검사 종료".
    void StartRun(CKavrinoDlg& main) {
        Click(&main, CKavrinoDlg::IDC_CONNECT);
        ASSERT_TRUE(main.m_bConnected);
        Click(&main, CKavrinoDlg::IDC_LIVE);
        ASSERT_TRUE(main.m_bLive);
        EXPECT_TRUE(kavrino::PumpUntil([&] { return main.m_nFrameCount.load() > 0; }, kPatience));
        Click(&main, CKavrinoDlg::IDC_START_TEST);
        ASSERT_TRUE(main.m_bTesting);
    }
    void WaitForPage(CWnd* pPage) {
        ASSERT_TRUE(kavrino::PumpUntil([&] { return Shown(pPage); }, kPatience));
    }
    void RunBinning(CKavrinoDlg& main, bool pass) {
        ASSERT_NO_FATAL_FAILURE(WaitForPage(main.m_pBinningDlg));
        Click(main.m_pBinningDlg, CBinningDlg::IDC_ON);
        Click(main.m_pBinningDlg, CBinningDlg::IDC_OFF);
        Click(main.m_pBinningDlg, pass ? CBinningDlg::IDC_PASS : CBinningDlg::IDC_FAIL);
    }
    // The operator tries the page's controls in this order and gives PASS; the page then goes.
    void TryAndPass(CWnd* pPage, std::initializer_list<int> controls, int nPassId) {
        if (HasFatalFailure()) // a page before kept the run from coming here
            return;
        ASSERT_NO_FATAL_FAILURE(WaitForPage(pPage));
        for (int id : controls)
            ASSERT_NO_FATAL_FAILURE(Click(pPage, id));
        ASSERT_NO_FATAL_FAILURE(Click(pPage, nPassId));
        std::string boxes;
        for (const CString& box : m_boxes.Texts())
            boxes += Utf8(box) + " | ";
        ASSERT_FALSE(Shown(pPage)) << "the page kept its verdict back: " << boxes;
    }
    void FinishReport(CKavrinoDlg& main) {
        ASSERT_NO_FATAL_FAILURE(WaitForPage(main.m_pReportDlg));
        CListCtrl& table = main.m_pReportDlg->m_listReport;
        for (int i = 0; i < table.GetItemCount(); ++i)
            m_report.push_back({table.GetItemText(i, 0), table.GetItemText(i, 1), table.GetItemText(i, 2)});
        Click(main.m_pReportDlg, IDOK);
        // The runner's end-of-run message closes the main window.
        EXPECT_TRUE(kavrino::PumpUntil([&] { return main.m_pReportDlg == nullptr; }, kPatience));
    }

    // Every start of live acquisition, also a page's restart, shows the frame size; nothing else may come.
    void ExpectOnlyLiveStartBoxes() const {
        EXPECT_GT(m_boxes.Count(), 0u);
        for (const CString& box : m_boxes.Texts())
            EXPECT_EQ(box, L"width = 2448  height = 2048");
    }

    CString LogPath() const { return CString(m_dir.filePath("bench.log").toStdWString()); }

    QTemporaryDir m_dir;
    QString m_oldDir;
    kavrino::MessageBoxRecorder m_boxes{IDOK};
    std::vector<std::pair<CString, CString>> m_fileAnswers; // filter part -> chosen path
    std::vector<CString> m_fileRequests;
    int m_nSetupWindows = 0;
    int m_nRuns = 0;
    std::vector<ReportRow> m_report;
};

} // namespace

TEST_F(SetupToReportTest, OperatorRunsTheSampleTestSetAndTheLogHoldsTheReport) {
    const CString samplePath = CString(kSourceDir) + L"/samples/testset/sample.ini";
    m_fileAnswers = {{L"*.log", LogPath()}, {L"*.ini", samplePath}};
    std::vector<CString> itemsBefore;

    auto setup = [&](CLoginDlg& dlg) {
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ(caption, L"검사항목 편집 창");
        // The administrator registers the log file for the operator, then hands over.
        RegisterLog(dlg);
        Click(&dlg, CLoginDlg::IDC_OPERATOR);
        EXPECT_EQ(theApp.g_bEditMode, 0);

        Click(&dlg, CLoginDlg::IDC_LOAD_TEST_FILE);
        EXPECT_EQ(theApp.g_strIniPath, samplePath);
        for (int i = 0; i < dlg.m_listTestItems.GetCount(); ++i) {
            CString text;
            dlg.m_listTestItems.GetText(i, text);
            itemsBefore.push_back(text);
        }
        Click(&dlg, IDOK);

        // Back with everything as it was.
        EXPECT_EQ(m_nRuns, 1);
        EXPECT_TRUE(dlg.IsWindowVisible());
        EXPECT_EQ(dlg.m_listTestItems.GetCount(), static_cast<int>(itemsBefore.size()));
        CString text;
        dlg.GetDlgItemText(CLoginDlg::IDC_TEST_FILE_NAME, text);
        EXPECT_EQ(text, L"sample.ini");
        dlg.GetDlgItemText(CLoginDlg::IDC_LOG_NAME, text);
        EXPECT_EQ(text, L"bench.log");
        dlg.GetDlgItemText(CLoginDlg::IDC_DCF8_PATH, text);
        EXPECT_EQ(text, L"samples/mono_8bit.dcf");
        EXPECT_EQ(theApp.m_LogFile.GetLogPath(), LogPath());
    };

    auto run = [&](CKavrinoDlg& main) {
        EXPECT_EQ(main.m_listTest.GetCount(), 3);
        EXPECT_FALSE(main.m_listTest.IsWindowEnabled()); // an operator cannot reorder here
        ASSERT_NO_FATAL_FAILURE(StartRun(main));
        // The sample set's method text reaches the page.
        CString method;
        main.m_pBinningDlg->GetDlgItemText(1078, method);
        EXPECT_NE(method.Find(L"ON"), -1);

        ASSERT_NO_FATAL_FAILURE(RunBinning(main, true));
        ASSERT_NO_FATAL_FAILURE(WaitForPage(main.m_pDecimationDlg));
        Click(main.m_pDecimationDlg, CDecimationDlg::IDC_ON);
        Click(main.m_pDecimationDlg, CDecimationDlg::IDC_OFF);
        Click(main.m_pDecimationDlg, CDecimationDlg::IDC_FAIL);
        ASSERT_NO_FATAL_FAILURE(WaitForPage(main.m_pReverseXYDlg));
        for (int id : {CReverseXYDlg::IDC_REVERSE_X, CReverseXYDlg::IDC_REVERSE_X,
                       CReverseXYDlg::IDC_REVERSE_Y, CReverseXYDlg::IDC_REVERSE_Y})
            Click(main.m_pReverseXYDlg, id);
        Click(main.m_pReverseXYDlg, CReverseXYDlg::IDC_PASS);
        ASSERT_NO_FATAL_FAILURE(FinishReport(main));
    };

    RunProgram(setup, run);

    EXPECT_EQ(m_nSetupWindows, 1);
    EXPECT_EQ(m_nRuns, 1);
    ExpectOnlyLiveStartBoxes();
    EXPECT_EQ(m_report,
              (std::vector<ReportRow>{
                  {L"비닝", L"PASS", L""}, {L"데시메이션", L"FAIL", L""}, {L"리버스", L"PASS", L""}}));
    const QString stamp = kStamp;
    const QString expected = Escaped(kBanner) + stamp + Escaped(" 작업자 [홍길동] \r\n") + stamp +
                             Escaped("\r\n<===== 디바이스 정보 : [KVC-5M-CXP-M_22M05117_2.3.1] =====>\r\n"
                                     "검사항목 : 비닝\r\n결    과 : PASS\r\n비    고 : \r\n"
                                     "검사항목 : 데시메이션\r\n결    과 : FAIL\r\n비    고 : \r\n"
                                     "검사항목 : 리버스\r\n결    과 : PASS\r\n비    고 : \r\n"
                                     "\r\n\r\n");
    const QByteArray log = ReadBytes(LogPath());
    EXPECT_TRUE(Matches(log, expected)) << log.toStdString();
}

// The README's first run with the full sample set on the colour camera: every step of every page tried, and
// every item passes with nothing in its comment (a step the sample camera refused would be named there).
TEST_F(SetupToReportTest, TheFullSampleSetRunsCleanOnTheColourCamera) {
    // A copy, so that nothing a page saves reaches the sample; its configuration files are found from the
    // repository root as the sample's are.
    const CString testSet = CString(m_dir.filePath("full.ini").toStdWString());
    ASSERT_TRUE(QFile::copy(QString(kSourceDir) + "/samples/testset/full.ini",
                            QString::fromStdWString(testSet.GetString())));
    m_fileAnswers = {{L"*.log", LogPath()}, {L"*.ini", testSet}};

    auto setup = [&](CLoginDlg& dlg) {
        RegisterLog(dlg);
        Click(&dlg, CLoginDlg::IDC_LOAD_TEST_FILE);
        EXPECT_EQ(dlg.m_listTestItems.GetCount(), 19);
        Click(&dlg, IDOK);
    };
    auto run = [&](CKavrinoDlg& main) {
        ASSERT_NO_FATAL_FAILURE(StartRun(main));
        TryAndPass(main.m_pROIDlg,
                   {CROIDlg::IDC_WIDTH_25, CROIDlg::IDC_WIDTH_50, CROIDlg::IDC_OFFSETX_20,
                    CROIDlg::IDC_OFFSETX_80, CROIDlg::IDC_HEIGHT_75, CROIDlg::IDC_HEIGHT_50,
                    CROIDlg::IDC_OFFSETY_20, CROIDlg::IDC_OFFSETY_80},
                   IDOK);
        TryAndPass(main.m_pTestPatternDlg, {CTestPatternDlg::IDC_HORIZONTAL_RAMP, CTestPatternDlg::IDC_OFF},
                   IDOK);
        TryAndPass(main.m_pPixelFormatDlg,
                   {CPixelFormatDlg::IDC_MONO8, CPixelFormatDlg::IDC_MONO10, CPixelFormatDlg::IDC_MONO12,
                    CPixelFormatDlg::IDC_BAYER_RG8, CPixelFormatDlg::IDC_BAYER_RG10,
                    CPixelFormatDlg::IDC_BAYER_RG12},
                   IDOK);
        TryAndPass(main.m_pDeviceInfoDlg, {CDeviceInfoDlg::IDC_CHECK}, IDOK);
        {
            ASSERT_NO_FATAL_FAILURE(WaitForPage(main.m_pFrameRateDlg));
            CFrameRateDlg* pPage = main.m_pFrameRateDlg;
            static_cast<CComboBox*>(pPage->GetDlgItem(CFrameRateDlg::IDC_FRAME_RATE))->SetCurSel(1);
            pPage->SendMessage(
                WM_COMMAND, MAKEWPARAM(CFrameRateDlg::IDC_FRAME_RATE, CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(pPage->GetDlgItem(CFrameRateDlg::IDC_FRAME_RATE)->GetSafeHwnd()));
            TryAndPass(pPage, {CFrameRateDlg::IDC_FRAME_MODE}, IDOK);
        }
        TryAndPass(main.m_pExposureDlg,
                   {CExposureDlg::IDC_EXPOSURE_4000, CExposureDlg::IDC_EXPOSURE_20000,
                    CExposureDlg::IDC_AUTO_ONCE, CExposureDlg::IDC_AUTO_OFF},
                   IDOK);
        TryAndPass(
            main.m_pGainDlg,
            {CGainDlg::IDC_GAIN_2X, CGainDlg::IDC_GAIN_6X, CGainDlg::IDC_AUTO_ONCE, CGainDlg::IDC_AUTO_OFF},
            IDOK);
        TryAndPass(main.m_pTriggerIODlg,
                   {CTriggerIODlg::IDC_TRIGGER_ON, CTriggerIODlg::IDC_SOURCE_SOFTWARE,
                    CTriggerIODlg::IDC_SOFTWARE_TRIGGER, CTriggerIODlg::IDC_TRIGGER_OFF},
                   IDOK);
        // The page switches the camera to its colour format as it comes up.
        ASSERT_NO_FATAL_FAILURE(WaitForPage(main.m_pWhiteBalanceDlg));
        ASSERT_TRUE(kavrino::PumpUntil([&] { return main.m_strPixelFormat == L"BayerRG8"; }, kPatience));
        TryAndPass(main.m_pWhiteBalanceDlg,
                   {CWhiteBalanceDlg::IDC_ONCE, CWhiteBalanceDlg::IDC_CONTINUOUS, CWhiteBalanceDlg::IDC_OFF},
                   IDOK);
        m_boxes.SetAnswer(IDYES); // "검사를 진행하였습니까?"
        TryAndPass(main.m_pAlignDlg, {CAlignDlg::IDC_OVERLAY}, CAlignDlg::IDC_PASS);
        m_boxes.SetAnswer(IDOK);
        TryAndPass(main.m_pBlackLevelDlg, {CBlackLevelDlg::IDC_20, CBlackLevelDlg::IDC_80},
                   CBlackLevelDlg::IDC_PASS);
        TryAndPass(main.m_pBinningDlg, {CBinningDlg::IDC_ON, CBinningDlg::IDC_OFF}, CBinningDlg::IDC_PASS);
        TryAndPass(main.m_pDecimationDlg, {CDecimationDlg::IDC_ON, CDecimationDlg::IDC_OFF},
                   CDecimationDlg::IDC_PASS);
        TryAndPass(main.m_pReverseXYDlg,
                   {CReverseXYDlg::IDC_REVERSE_X, CReverseXYDlg::IDC_REVERSE_X, CReverseXYDlg::IDC_REVERSE_Y,
                    CReverseXYDlg::IDC_REVERSE_Y},
                   CReverseXYDlg::IDC_PASS);
        TryAndPass(main.m_pGammaLUTDlg,
                   {CGamma_LUTDlg::IDC_GAMMA_ENABLE, CGamma_LUTDlg::IDC_GAMMA_04,
                    CGamma_LUTDlg::IDC_LUT_ENABLE, CGamma_LUTDlg::IDC_LUT_25},
                   CGamma_LUTDlg::IDC_PASS);
        TryAndPass(main.m_pCXPLinkConfigDlg, {CCXPLinkConfigDlg::IDC_CXP1_X1, CCXPLinkConfigDlg::IDC_CXP1_X6},
                   CCXPLinkConfigDlg::IDC_PASS);
        TryAndPass(main.m_pBrightDlg, {CBrightDlg::IDC_CHANNEL_G, CBrightDlg::IDC_CHANNEL_B},
                   CBrightDlg::IDC_PASS);
        TryAndPass(main.m_pBrightCenterDlg, {}, CBrightCenterDlg::IDC_PASS);
        {
            // The supply as the meters read it, at the test set's references.
            ASSERT_NO_FATAL_FAILURE(WaitForPage(main.m_pNotSupportDlg));
            main.m_pNotSupportDlg->SetDlgItemText(CNotSupportDlg::IDC_CURRENT, L"500");
            main.m_pNotSupportDlg->SetDlgItemText(CNotSupportDlg::IDC_VOLTAGE, L"12");
            TryAndPass(main.m_pNotSupportDlg,
                       {CNotSupportDlg::IDC_NOISE_PASS, CNotSupportDlg::IDC_BLOOMING_PASS,
                        CNotSupportDlg::IDC_RESOLUTION_PASS},
                       IDOK);
        }
        ASSERT_NO_FATAL_FAILURE(FinishReport(main));
    };

    RunProgram(setup, run);

    EXPECT_EQ(m_nRuns, 1);
    ASSERT_EQ(m_report.size(), 23u); // the nineteen items and the other checks' four more rows
    for (const ReportRow& row : m_report) {
        const std::string line = Utf8(row.item) + ": " + Utf8(row.result) + ", " + Utf8(row.comment);
        EXPECT_EQ(row.result, L"PASS") << line;
        EXPECT_EQ(row.comment.Find(L"에러항목"), -1) << line;
    }
    for (const CString& box : m_boxes.Texts())
        EXPECT_EQ(box.Find(L"ERROR"), -1) << Utf8(box);
    const QByteArray log = ReadBytes(LogPath());
    const QString text = QString::fromStdWString(kavrino::Cp949ToWide(log.toStdString()));
    const QString pixelFormatRow =
        QString::fromUtf8("검사항목 : 픽셀 포맷\r\n결    과 : PASS\r\n비    고 : \r\n");
    EXPECT_TRUE(text.contains(pixelFormatRow)) << log.toStdString();
    EXPECT_FALSE(text.contains(QString::fromUtf8("에러항목"))) << log.toStdString();
}

TEST_F(SetupToReportTest, RunWithoutATestSetReadsNothingAndWritesNothing) {
    const CString dcf = CString(kSourceDir) + L"/samples/mono_8bit.dcf";
    m_fileAnswers = {{L"*.log", LogPath()}, {L"*.dcf", dcf}};
    CString method = L"<unread>";

    auto setup = [&](CLoginDlg& dlg) {
        Click(&dlg, CLoginDlg::IDC_ADMINISTRATOR);
        dlg.SetDlgItemText(CLoginDlg::IDC_PASSWORD, L"plomek472");
        Click(&dlg, CLoginDlg::IDC_ADMIN_LOGIN);
        dlg.m_listSupported.SetCurSel(dlg.m_listSupported.FindStringExact(-1, L"비닝"));
        Click(&dlg, CLoginDlg::IDC_ADD_ITEM);
        Click(&dlg, CLoginDlg::IDC_DCF8);
        dlg.SetDlgItemText(CLoginDlg::IDC_NAME, L"Kim");
        Click(&dlg, CLoginDlg::IDC_LOAD_LOG);
        Click(&dlg, IDOK);
        EXPECT_TRUE(dlg.IsWindowVisible());
    };
    std::string endpoint;
    auto run = [&](CKavrinoDlg& main) {
        // Other programs reach the program while it runs.
        endpoint = kavrino::PostListenerEndpoint();
        EXPECT_TRUE(QFile::exists(QString::fromStdString(endpoint))) << endpoint;
        EXPECT_TRUE(main.m_listTest.IsWindowEnabled()); // edit mode lets the list be used
        EXPECT_TRUE(main.m_pFrameRateList->IsEmpty());
        ASSERT_NO_FATAL_FAILURE(StartRun(main));
        main.m_pBinningDlg->GetDlgItemText(1078, method);
        ASSERT_NO_FATAL_FAILURE(RunBinning(main, false));
        ASSERT_NO_FATAL_FAILURE(FinishReport(main));
    };

    RunProgram(setup, run);

    EXPECT_EQ(m_nRuns, 1);
    EXPECT_FALSE(kavrino::IsPostListening());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(endpoint)));
    EXPECT_TRUE(theApp.g_strIniPath.IsEmpty());
    EXPECT_TRUE(method.IsEmpty());
    ExpectOnlyLiveStartBoxes();
    EXPECT_EQ(m_report, (std::vector<ReportRow>{{L"비닝", L"FAIL", L""}}));
    const QString stamp = kStamp;
    const QString expected = Escaped("\r\n\r\n\r\n") + stamp + Escaped(" 작업자 [Kim] \r\n") + stamp +
                             Escaped("\r\n<===== 디바이스 정보 : [KVC-5M-CXP-M_22M05117_2.3.1] =====>\r\n"
                                     "검사항목 : 비닝\r\n결    과 : FAIL\r\n비    고 : \r\n\r\n\r\n");
    const QByteArray log = ReadBytes(LogPath());
    EXPECT_TRUE(Matches(log, expected)) << log.toStdString();
}
