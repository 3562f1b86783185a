// The set-up window: what the operator and the administrator may use, the login, the log file, the lists
// and what "검사 시작" refuses or hands over to the main window.

#include "CKavrinoDlg.h"
#include "CLoginDlgTestFixture.h"

#include <QRegularExpression>

using kavrino_test::AdministratorSet;
using kavrino_test::SetupWindowTest;

namespace {

const char kBanner[] =
    "\r\n\r\n------------------------------ Log File Start------------------------------\r\n";
const char kStamp[] = R"(\d{4}\.\d{2}\.\d{2} - \d{2}:\d{2}:\d{2}:\d{3} : )";

// What the main window was handed when "검사 시작" opened it.
struct HandOver {
    int nRuns = 0;
    bool bSetupVisible = true;
    std::vector<CString> items;
    std::vector<CString> frames;
    std::vector<CString> dcf;
    int checks[5] = {};
    int nColor = -1;
    int nDeviation = -1;
    int nCurrent = -1;
    int nVoltage = -1;
};

// The log's bytes are in the Korean code page.
bool Matches(const QByteArray& bytes, const QString& pattern) {
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    return re.match(QString::fromStdWString(kavrino::Cp949ToWide(bytes.toStdString()))).hasMatch();
}

} // namespace

class SetupWindowStartTest : public SetupWindowTest {
protected:
    // Records the hand-over and closes the main window as its close box does.
    kavrino::ModalDialogScope RecordRuns(CLoginDlg* pSetup) {
        return kavrino::ModalDialogScope([this, pSetup](CDialog* dialog) {
            auto* pMain = dynamic_cast<CKavrinoDlg*>(dialog);
            if (!pMain)
                return;
            ++m_run.nRuns;
            m_run.bSetupVisible = pSetup->IsWindowVisible() != FALSE;
            m_run.items = Entries(pMain->m_pTestItemList);
            m_run.frames = Entries(pMain->m_pFrameRateList);
            m_run.dcf = Entries(pMain->m_pDcfList);
            for (int i = 0; i < 5; ++i)
                m_run.checks[i] = pMain->m_CheckItems[i];
            m_run.nColor = pMain->m_bColorCamera;
            m_run.nDeviation = pMain->m_nDeviationLimit;
            m_run.nCurrent = pMain->m_nCurrentRef;
            m_run.nVoltage = pMain->m_nVoltageRef;
            pMain->SendMessage(WM_CLOSE);
        });
    }
    HandOver m_run;
};

TEST_F(SetupWindowTest, OperatorStartsWithTheTwentyControlsLockedAndTheSupportedItems) {
    for (int id : AdministratorSet())
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(CLoginDlg::IDC_PASSWORD));
    EXPECT_FALSE(Enabled(CLoginDlg::IDC_ADMIN_LOGIN));
    // What an operator can always use; the 12-bit button stays disabled for good.
    for (int id : {1059, 1060, 1062, 1032, 1064, 1067, 1070, 1074, 1034, IDOK})
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(CLoginDlg::IDC_DCF12));

    EXPECT_EQ(Text(CLoginDlg::IDC_NAME), L"이름입력");
    EXPECT_EQ(Text(CLoginDlg::IDC_PASSWORD), L"패스워드입력");
    EXPECT_EQ(m_dlg->m_nUserType, 0);
    EXPECT_TRUE(Checked(CLoginDlg::IDC_OPERATOR));
    EXPECT_EQ(FocusId(), CLoginDlg::IDC_NAME);
    // The name is typed in Hangul.
    const HWND hName = m_dlg->GetDlgItem(CLoginDlg::IDC_NAME)->GetSafeHwnd();
    EXPECT_EQ(kavrino::GetImeConversionStatus(hName), IME_CMODE_NATIVE);
    EXPECT_EQ(kavrino::GetImeSentenceStatus(hName), IME_SMODE_CONVERSATION);

    EXPECT_EQ(
        Entries(m_dlg->m_listSupported),
        Names({L"ROI", L"테스트 패턴", L"픽셀 포맷", L"디바이스 정보", L"프레임 레이트", L"익스포즈", L"게인",
               L"트리거와 지피아이오", L"화이트 밸런스", L"얼라인검사", L"블랙 레벨", L"비닝", L"데시메이션",
               L"리버스", L"감마와 엘유티", L"링크 컨피그", L"휘도편차", L"휘도", L"기타 체크 항목"}));
    for (int id : {1078, 1079, 1058, 1142, 1143})
        EXPECT_TRUE(Checked(id)) << id;
    EXPECT_FALSE(Checked(CLoginDlg::IDC_COLOR_CAMERA));
    EXPECT_EQ(m_dlg->m_listTestItems.GetCount(), 0);
    EXPECT_EQ(theApp.g_bEditMode, 0);

    // Enter and Esc reach neither "검사 시작" nor the close box.
    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
        MSG msg{};
        msg.hwnd = hName;
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        EXPECT_TRUE(static_cast<CWnd*>(m_dlg.get())->PreTranslateMessage(&msg));
    }
    EXPECT_TRUE(m_dlg->IsWindowVisible());
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(SetupWindowTest, WrongPasswordIsRetriedAndTheOperatorRadioLocksAgain) {
    Click(CLoginDlg::IDC_ADMINISTRATOR);
    EXPECT_EQ(m_dlg->m_nUserType, 1);
    EXPECT_TRUE(Enabled(CLoginDlg::IDC_PASSWORD));
    EXPECT_TRUE(Enabled(CLoginDlg::IDC_ADMIN_LOGIN));
    EXPECT_EQ(FocusId(), CLoginDlg::IDC_PASSWORD);
    for (int id : AdministratorSet())
        EXPECT_FALSE(Enabled(id)) << id;

    // Exact and with case; the placeholder and a longer text are wrong too; attempts are not counted.
    for (const wchar_t* wrong : {L"패스워드입력", L"PLOMEK472", L"plomek472 ", L"plomek47"}) {
        SetText(CLoginDlg::IDC_PASSWORD, wrong);
        Click(CLoginDlg::IDC_ADMIN_LOGIN);
        EXPECT_EQ(Text(CLoginDlg::IDC_PASSWORD), wrong);
    }
    EXPECT_EQ(m_boxes.Texts(), std::vector<CString>(4, L"패스워드가 틀립니다."));
    EXPECT_EQ(theApp.g_bEditMode, 0);
    for (int id : AdministratorSet())
        EXPECT_FALSE(Enabled(id)) << id;

    m_boxes.Clear();
    SetText(CLoginDlg::IDC_PASSWORD, L"plomek472");
    Click(CLoginDlg::IDC_ADMIN_LOGIN);
    EXPECT_EQ(m_boxes.Count(), 0u);
    EXPECT_EQ(theApp.g_bEditMode, 1);
    for (int id : AdministratorSet())
        EXPECT_TRUE(Enabled(id)) << id;

    // Back to the operator: everything locked, the edit mode off, the contents kept.
    Click(CLoginDlg::IDC_ADD_ALL);
    Check(CLoginDlg::IDC_COLOR_CAMERA, true);
    Click(CLoginDlg::IDC_OPERATOR);
    EXPECT_EQ(m_dlg->m_nUserType, 0);
    EXPECT_EQ(theApp.g_bEditMode, 0);
    for (int id : AdministratorSet())
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(CLoginDlg::IDC_PASSWORD));
    EXPECT_FALSE(Enabled(CLoginDlg::IDC_ADMIN_LOGIN));
    EXPECT_EQ(m_dlg->m_listTestItems.GetCount(), 19);
    EXPECT_TRUE(Checked(CLoginDlg::IDC_COLOR_CAMERA));
}

TEST_F(SetupWindowTest, LogButtonsRefuseABlankNameAndThePlaceholder) {
    kavrino::FileDialogAnswer files(PathOf("refused.log"));
    LoginAsAdministrator();
    for (const wchar_t* name : {L"", L"   \t ", L"이름입력", L"  이름입력  "}) {
        for (int id : {CLoginDlg::IDC_REGISTER_LOG, CLoginDlg::IDC_LOAD_LOG}) {
            m_boxes.Clear();
            SetText(CLoginDlg::IDC_NAME, name);
            m_dlg->GetDlgItem(CLoginDlg::IDC_DCF8)->SetFocus();
            Click(id);
            EXPECT_EQ(m_boxes.Texts(), Names({L"이름을 입력하세요"})) << id;
            EXPECT_EQ(FocusId(), CLoginDlg::IDC_NAME) << id;
        }
    }
    EXPECT_TRUE(files.Requests().empty());
    EXPECT_TRUE(theApp.m_LogFile.GetLogPath().IsEmpty());
    EXPECT_TRUE(Text(CLoginDlg::IDC_LOG_NAME).IsEmpty());
    EXPECT_FALSE(QFile::exists(m_dir.filePath("refused.log")));
}

TEST_F(SetupWindowTest, RegisterWritesTheBannerAndReopenOnlyTheOperatorLine) {
    const CString path = PathOf("bench.log");
    kavrino::FileDialogAnswer files(path);
    LoginAsAdministrator();

    SetText(CLoginDlg::IDC_NAME, L"  홍길동 ");
    Click(CLoginDlg::IDC_REGISTER_LOG);
    ASSERT_EQ(files.Requests().size(), 1u);
    const kavrino::FileDialogRequest& save = files.Requests()[0];
    EXPECT_FALSE(save.open);
    EXPECT_EQ(save.defaultExtension, L"LOG file");
    EXPECT_TRUE(save.fileName.IsEmpty());
    EXPECT_EQ(save.flags, OFN_ENABLESIZING);
    EXPECT_EQ(save.filter, L"LOG File (*.log)|*.log|");
    EXPECT_EQ(Text(CLoginDlg::IDC_LOG_NAME), L"bench.log");
    EXPECT_EQ(theApp.m_LogFile.GetLogPath(), path);
    const QString line1 = QString(kStamp) + QRegularExpression::escape(" 작업자 [홍길동] ") + "\r\n";
    EXPECT_TRUE(Matches(ReadBytes(path), QRegularExpression::escape(kBanner) + line1));

    // Reopening as the operator: three line ends and the operator line, no banner.
    Click(CLoginDlg::IDC_OPERATOR);
    SetText(CLoginDlg::IDC_NAME, L"김철수");
    Click(CLoginDlg::IDC_LOAD_LOG);
    ASSERT_EQ(files.Requests().size(), 2u);
    EXPECT_TRUE(files.Requests()[1].open);
    EXPECT_EQ(files.Requests()[1].defaultExtension, L"LOG file");
    EXPECT_EQ(files.Requests()[1].flags, OFN_ENABLESIZING);
    const QString line2 = QString(kStamp) + QRegularExpression::escape(" 작업자 [김철수] ") + "\r\n";
    EXPECT_TRUE(
        Matches(ReadBytes(path), QRegularExpression::escape(kBanner) + line1 + "\r\n\r\n\r\n" + line2));

    // Registering an existing file appends after its last byte.
    LoginAsAdministrator();
    Click(CLoginDlg::IDC_REGISTER_LOG);
    EXPECT_TRUE(Matches(ReadBytes(path), QRegularExpression::escape(kBanner) + line1 + "\r\n\r\n\r\n" +
                                             line2 + QRegularExpression::escape(kBanner) + line2));

    // A cancelled dialog changes nothing.
    const QByteArray before = ReadBytes(path);
    files.SetPath(CString());
    Click(CLoginDlg::IDC_REGISTER_LOG);
    Click(CLoginDlg::IDC_LOAD_LOG);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(theApp.m_LogFile.GetLogPath(), path);
    EXPECT_EQ(Text(CLoginDlg::IDC_LOG_NAME), L"bench.log");
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(SetupWindowTest, LogThatCannotBeCreatedIsReportedAndStaysRegistered) {
    const CString path = PathOf("no-such-folder/bench.log");
    kavrino::FileDialogAnswer files(path);
    LoginAsAdministrator();
    SetText(CLoginDlg::IDC_NAME, L"홍길동");
    Click(CLoginDlg::IDC_REGISTER_LOG);
    EXPECT_EQ(m_boxes.Texts(), Names({L"로그파일 생성 실패"}));
    EXPECT_EQ(theApp.m_LogFile.GetLogPath(), path);
    EXPECT_EQ(Text(CLoginDlg::IDC_LOG_NAME), L"bench.log");
    EXPECT_FALSE(QFile::exists(QString::fromStdWString(path.str())));

    // Reopening a log the program cannot write to is told at once, before a run's report is lost.
    m_boxes.Clear();
    Click(CLoginDlg::IDC_LOAD_LOG);
    EXPECT_EQ(m_boxes.Texts(), Names({L"로그파일 기록 실패"}));
    EXPECT_EQ(theApp.m_LogFile.GetLogPath(), path);
}

TEST_F(SetupWindowTest, ListButtonsAddOnceAndKeepASelectionAfterDeleting) {
    LoginAsAdministrator();
    CListBox& items = m_dlg->m_listTestItems;
    CListBox& frames = m_dlg->m_listFrames;

    Click(CLoginDlg::IDC_ADD_ITEM); // nothing selected
    Click(CLoginDlg::IDC_REMOVE_ITEM);
    EXPECT_EQ(items.GetCount(), 0);
    m_dlg->m_listSupported.SetCurSel(11);
    Click(CLoginDlg::IDC_ADD_ITEM);
    Click(CLoginDlg::IDC_ADD_ITEM);
    EXPECT_EQ(Entries(items), Names({L"비닝"}));
    // "전체" appends every supported item not yet there, in the supported order.
    Click(CLoginDlg::IDC_ADD_ALL);
    Click(CLoginDlg::IDC_ADD_ALL);
    ASSERT_EQ(items.GetCount(), 19);
    EXPECT_EQ(Entries(items)[0], L"비닝");
    EXPECT_EQ(Entries(items)[1], L"ROI");
    EXPECT_EQ(Entries(items)[18], L"기타 체크 항목");

    // Deleting in the middle selects the entry now at that place, deleting the last the new last.
    items.SetCurSel(5);
    Click(CLoginDlg::IDC_REMOVE_ITEM);
    EXPECT_EQ(items.GetCount(), 18);
    EXPECT_EQ(items.GetCurSel(), 5);
    items.SetCurSel(17);
    Click(CLoginDlg::IDC_REMOVE_ITEM);
    EXPECT_EQ(items.GetCurSel(), 16);
    while (items.GetCount() > 1) {
        items.SetCurSel(0);
        Click(CLoginDlg::IDC_REMOVE_ITEM);
    }
    EXPECT_EQ(items.GetCurSel(), 0);
    Click(CLoginDlg::IDC_REMOVE_ITEM);
    EXPECT_EQ(items.GetCount(), 0);
    EXPECT_EQ(items.GetCurSel(), LB_ERR);

    // Frame values: trimmed, once each; the edit keeps its text, selected, also for a repeated value.
    SetText(CLoginDlg::IDC_FRAME_VALUE, L"   ");
    Click(CLoginDlg::IDC_ADD_FRAME);
    EXPECT_EQ(frames.GetCount(), 0);
    for (const wchar_t* value : {L" 30 ", L"60", L"30"}) {
        SetText(CLoginDlg::IDC_FRAME_VALUE, value);
        m_dlg->GetDlgItem(CLoginDlg::IDC_DCF8)->SetFocus();
        Click(CLoginDlg::IDC_ADD_FRAME);
        EXPECT_EQ(FocusId(), CLoginDlg::IDC_FRAME_VALUE);
        int start = -1, end = -1;
        static_cast<CEdit*>(m_dlg->GetDlgItem(CLoginDlg::IDC_FRAME_VALUE))->GetSel(start, end);
        EXPECT_EQ(start, 0);
        EXPECT_EQ(end, Text(CLoginDlg::IDC_FRAME_VALUE).GetLength());
    }
    EXPECT_EQ(Entries(frames), Names({L"30", L"60"}));
    frames.SetCurSel(1);
    Click(CLoginDlg::IDC_DELETE_FRAME);
    EXPECT_EQ(frames.GetCurSel(), 0);
    Click(CLoginDlg::IDC_DELETE_FRAME);
    EXPECT_EQ(frames.GetCount(), 0);
    EXPECT_EQ(frames.GetCurSel(), LB_ERR);
    EXPECT_EQ(m_boxes.Count(), 0u);
}

TEST_F(SetupWindowStartTest, StartRefusesInOrderWithTheFocusOnWhatIsMissing) {
    auto scope = RecordRuns(m_dlg.get());
    Click(IDOK);
    EXPECT_EQ(m_boxes.Texts(), Names({L"검사 할 항목을 추가하세요."}));
    EXPECT_EQ(FocusId(), CLoginDlg::IDC_LOAD_TEST_FILE);

    // An operator has the item list filled from a test set; the log is still missing.
    m_dlg->m_listTestItems.AddString(L"비닝");
    m_boxes.Clear();
    Click(IDOK);
    EXPECT_EQ(m_boxes.Texts(), Names({L"로그파일을 등록하세요."}));
    EXPECT_EQ(FocusId(), CLoginDlg::IDC_REGISTER_LOG);

    // The name is not looked at; every configuration file is still missing.
    theApp.m_LogFile.m_strPath = PathOf("bench.log");
    m_boxes.Clear();
    m_dlg->GetDlgItem(CLoginDlg::IDC_DCF8)->SetFocus();
    Click(IDOK);
    EXPECT_EQ(m_boxes.Texts(), Names({L"픽셀포맷 DCF파일을 등록하세요."}));
    EXPECT_EQ(FocusId(), CLoginDlg::IDC_DCF8);

    EXPECT_EQ(m_run.nRuns, 0);
    EXPECT_TRUE(m_dlg->IsWindowVisible());

    // Any one configuration file is enough, the 12-bit one too.
    SetText(CLoginDlg::IDC_DCF12_PATH, PathOf("camera_12bit.dcf"));
    m_boxes.Clear();
    Click(IDOK);
    EXPECT_EQ(m_boxes.Count(), 0u);
    EXPECT_EQ(m_run.nRuns, 1);
    EXPECT_EQ(m_run.dcf, std::vector<CString>({CString(), CString(), PathOf("camera_12bit.dcf")}));
}

TEST_F(SetupWindowStartTest, StartHandsEverythingOverAndComesBackUnchanged) {
    auto scope = RecordRuns(m_dlg.get());
    kavrino::FileDialogAnswer files(PathOf("camera_10bit.dcf"));
    LoginAsAdministrator();
    // Only the 10-bit file: the first entry of the configuration list stays empty.
    Click(CLoginDlg::IDC_DCF10);
    ASSERT_EQ(files.Requests().size(), 1u);
    EXPECT_TRUE(files.Requests()[0].open);
    EXPECT_EQ(files.Requests()[0].defaultExtension, L"DCF file");
    EXPECT_EQ(files.Requests()[0].flags, OFN_ENABLESIZING);
    EXPECT_EQ(files.Requests()[0].filter, L"DCF File (*.dcf)|*.dcf|");
    EXPECT_EQ(Text(CLoginDlg::IDC_DCF10_PATH), PathOf("camera_10bit.dcf"));
    EXPECT_EQ(m_dlg->m_strDcf10, PathOf("camera_10bit.dcf"));

    m_dlg->m_listTestItems.AddString(L"리버스");
    m_dlg->m_listTestItems.AddString(L"탭 밸런스"); // from a file: handed over as it is
    m_dlg->m_listTestItems.AddString(L"비닝");
    SetText(CLoginDlg::IDC_FRAME_VALUE, L"30");
    Click(CLoginDlg::IDC_ADD_FRAME);
    Check(CLoginDlg::IDC_COLOR_CAMERA, true);
    Check(CLoginDlg::IDC_BLOOMING, false);
    Check(CLoginDlg::IDC_CURRENT, false);
    SetText(CLoginDlg::IDC_DEVIATION_LIMIT, L"12a");
    SetText(CLoginDlg::IDC_CURRENT_REF, L"-350");
    SetText(CLoginDlg::IDC_VOLTAGE_REF, L" 12 ");
    theApp.m_LogFile.m_strPath = PathOf("bench.log");

    Click(IDOK);
    ASSERT_EQ(m_run.nRuns, 1);
    EXPECT_FALSE(m_run.bSetupVisible);
    EXPECT_EQ(m_run.items, Names({L"리버스", L"탭 밸런스", L"비닝"}));
    EXPECT_EQ(m_run.frames, Names({L"30"}));
    EXPECT_EQ(m_run.dcf, std::vector<CString>({CString(), PathOf("camera_10bit.dcf"), CString()}));
    // Noise, blooming, resolution, current, voltage.
    EXPECT_EQ(std::vector<int>(m_run.checks, m_run.checks + 5), std::vector<int>({1, 0, 1, 0, 1}));
    EXPECT_EQ(m_run.nColor, 1);
    EXPECT_EQ(m_run.nDeviation, 0);
    EXPECT_EQ(m_run.nCurrent, -350);
    EXPECT_EQ(m_run.nVoltage, 12);
    EXPECT_EQ(m_boxes.Count(), 0u);

    // Back again with everything as it was; a second run hands the same over.
    EXPECT_TRUE(m_dlg->IsWindowVisible());
    EXPECT_EQ(Entries(m_dlg->m_listTestItems), m_run.items);
    EXPECT_EQ(Text(CLoginDlg::IDC_DEVIATION_LIMIT), L"12a");
    EXPECT_EQ(theApp.g_bEditMode, 1);
    SetText(CLoginDlg::IDC_DEVIATION_LIMIT, L"15");
    Click(IDOK);
    EXPECT_EQ(m_run.nRuns, 2);
    EXPECT_EQ(m_run.dcf[1], PathOf("camera_10bit.dcf"));
    EXPECT_EQ(m_run.nDeviation, 15);
}

TEST_F(SetupWindowStartTest, DraggedOrderIsTheOrderHandedOver) {
    auto scope = RecordRuns(m_dlg.get());
    CDragAndDropListBox& list = m_dlg->m_listTestItems;
    for (const wchar_t* item : {L"ROI", L"비닝", L"데시메이션", L"리버스"})
        list.AddString(item);
    auto mouse = [&](UINT message, CPoint point, UINT flags) {
        list.SendMessage(message, flags, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    };
    auto entry = [&](int i) {
        CRect rc;
        list.GetItemRect(i, &rc);
        return rc.CenterPoint();
    };
    auto drag = [&](CPoint from, CPoint to, CPoint release) {
        mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
        mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
        mouse(WM_LBUTTONUP, release, 0);
    };

    // "ROI" down before "리버스", then "비닝" below the last entry, then a release outside the list.
    drag(entry(0), entry(3), entry(3));
    EXPECT_EQ(Entries(list), Names({L"비닝", L"데시메이션", L"ROI", L"리버스"}));
    CRect rcClient;
    list.GetClientRect(&rcClient);
    const CPoint below(entry(3).x, entry(3).y + 2 * list.GetItemHeight(0));
    ASSERT_LT(below.y, rcClient.bottom);
    drag(entry(0), below, below);
    EXPECT_EQ(Entries(list), Names({L"데시메이션", L"ROI", L"리버스", L"비닝"}));
    drag(entry(1), entry(3), CPoint(rcClient.right + 40, entry(3).y));
    EXPECT_EQ(Entries(list), Names({L"데시메이션", L"ROI", L"리버스", L"비닝"}));

    theApp.m_LogFile.m_strPath = PathOf("bench.log");
    m_dlg->SetDlgItemText(CLoginDlg::IDC_DCF8_PATH, L"samples/mono_8bit.dcf");
    Click(IDOK);
    ASSERT_EQ(m_run.nRuns, 1);
    EXPECT_EQ(m_run.items, Names({L"데시메이션", L"ROI", L"리버스", L"비닝"}));
    EXPECT_EQ(m_run.dcf[0], L"samples/mono_8bit.dcf");
    EXPECT_TRUE(m_run.frames.empty());
}
