// The test runner: starting and cancelling a run, and the runner thread that shows each item's page,
// waits for its verdict and records the result rows, then hands them to the report page.

#include "CKavrinoDlg.h"

#include "CBinningDlg.h"
#include "CDecimationDlg.h"
#include "CDisplayDlg.h"
#include "CReportDlg.h"
#include "CReverseXYDlg.h"
#include "RunnerLink.h"

#include <type_traits>
#include <utility>

namespace {

const wchar_t kOtherChecks[] = L"기타 체크 항목";

// Where the pages are shown, inside the main window.
constexpr int kPageX = 200;
constexpr int kPageY = 20;
constexpr int kPageWidth = 1050;
constexpr int kPageHeight = 410;

template <class T, class = void> struct HasErrorItems : std::false_type {};
template <class T>
struct HasErrorItems<T, std::void_t<decltype(std::declval<T&>().GetErrorItems(std::declval<CString&>()))>>
    : std::true_type {};
template <class T, class = void> struct HasResult : std::false_type {};
template <class T>
struct HasResult<T, std::void_t<decltype(std::declval<T&>().m_bResult)>> : std::true_type {};
template <class T, class = void> struct HasLoadParameters : std::false_type {};
template <class T>
struct HasLoadParameters<T, std::void_t<decltype(std::declval<T&>().LoadParameters())>> : std::true_type {};
template <class T, class = void> struct HasShowParameters : std::false_type {};
template <class T>
struct HasShowParameters<T, std::void_t<decltype(std::declval<T&>().ShowParameters())>> : std::true_type {};

// What the runner uses of a page, read on the user-interface thread.
struct PageRef {
    CDialog* pPage = nullptr;
    HANDLE hEvent = nullptr;
    BYTE bResult = 0;
    std::function<void(CString&)> getErrorItems;
    std::function<void()> loadParameters;
    std::function<void()> showParameters;
};

template <class TPage> PageRef RefOf(TPage* pPage) {
    PageRef ref;
    if (!pPage || !pPage->GetSafeHwnd())
        return ref;
    ref.pPage = pPage;
    ref.hEvent = pPage->m_hEvent;
    if constexpr (HasResult<TPage>::value)
        ref.bResult = pPage->m_bResult;
    if constexpr (HasErrorItems<TPage>::value)
        ref.getErrorItems = [pPage](CString& str) { pPage->GetErrorItems(str); };
    if constexpr (HasLoadParameters<TPage>::value)
        ref.loadParameters = [pPage] { pPage->LoadParameters(); };
    if constexpr (HasShowParameters<TPage>::value)
        ref.showParameters = [pPage] { pPage->ShowParameters(); };
    return ref;
}

using PageAccessor = PageRef (*)(CKavrinoDlg&);

template <auto Member> PageRef PageOf(CKavrinoDlg& dlg) {
    return RefOf(dlg.*Member);
}

enum class CommentKind { None, ErrorItems, Align, Bright, BrightCenter };

// Preparation steps, before or after the page is shown.
enum : unsigned {
    PREP_RESET_SCROLL = 1u << 0,    // before: the display's scroll bars
    PREP_LOAD_PARAMETERS = 1u << 1, // before: the page's LoadParameters
    PREP_SHOW_PARAMETERS = 1u << 2, // before: the page's ShowParameters
    PREP_ALIGN_OVERLAY = 1u << 3,   // after: the display's alignment overlay and edge boxes
    PREP_CENTER_MODE = 1u << 4,     // after: the display's centre-brightness mode
    PREP_BAYER_FORMAT = 1u << 5,    // after: the white-balance page's format edit := "BayerRG8"
};

struct RunItem {
    const wchar_t* name;
    PageAccessor page; // null while the item's page is not built in: the item is skipped then
    unsigned prep;
    CommentKind comment;
};

// The items a test list may name, compared exactly. "전압전류" and names not in this table are skipped,
// and so is "기타 체크 항목" while its page is not built in (its rows come with that page).
const RunItem kRunItems[] = {
    {L"ROI", nullptr, 0, CommentKind::ErrorItems},
    {L"테스트 패턴", nullptr, 0, CommentKind::ErrorItems},
    {L"픽셀 포맷", nullptr, 0, CommentKind::ErrorItems},
    {L"탭 밸런스", nullptr, 0, CommentKind::None},
    {L"디바이스 정보", nullptr, 0, CommentKind::None},
    {L"프레임 레이트", nullptr, 0, CommentKind::ErrorItems},
    {L"익스포즈", nullptr, 0, CommentKind::ErrorItems},
    {L"게인", nullptr, 0, CommentKind::ErrorItems},
    {L"트리거와 지피아이오", nullptr, 0, CommentKind::ErrorItems},
    {L"화이트 밸런스", nullptr, PREP_BAYER_FORMAT, CommentKind::ErrorItems},
    {L"얼라인검사", nullptr, PREP_RESET_SCROLL | PREP_LOAD_PARAMETERS | PREP_ALIGN_OVERLAY,
     CommentKind::Align},
    {L"블랙 레벨", nullptr, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"리버스", &PageOf<&CKavrinoDlg::m_pReverseXYDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"감마와 엘유티", nullptr, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"링크 컨피그", nullptr, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"비닝", &PageOf<&CKavrinoDlg::m_pBinningDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"데시메이션", &PageOf<&CKavrinoDlg::m_pDecimationDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"휘도편차", nullptr, PREP_RESET_SCROLL | PREP_LOAD_PARAMETERS, CommentKind::Bright},
    {L"휘도", nullptr, PREP_RESET_SCROLL | PREP_LOAD_PARAMETERS | PREP_SHOW_PARAMETERS | PREP_CENTER_MODE,
     CommentKind::BrightCenter},
    {kOtherChecks, nullptr, 0, CommentKind::None},
};

const RunItem* FindRunItem(const CString& strName) {
    for (const RunItem& item : kRunItems) {
        if (strName == item.name)
            return &item;
    }
    return nullptr;
}

// Every page in the order the main window knows them, the report page included; a page that is not
// built in has no accessor.
const PageAccessor kEveryPage[] = {
    nullptr,                                 // region of interest
    nullptr,                                 // test pattern
    nullptr,                                 // pixel format
    nullptr,                                 // tap balance
    nullptr,                                 // device information
    nullptr,                                 // frame rate
    nullptr,                                 // exposure
    nullptr,                                 // gain
    nullptr,                                 // trigger and I/O
    nullptr,                                 // other checks
    &PageOf<&CKavrinoDlg::m_pReportDlg>,     // report
    nullptr,                                 // white balance
    nullptr,                                 // alignment
    nullptr,                                 // black level
    &PageOf<&CKavrinoDlg::m_pReverseXYDlg>,  // reverse X/Y
    nullptr,                                 // gamma and LUT
    nullptr,                                 // link configuration
    &PageOf<&CKavrinoDlg::m_pBinningDlg>,    // binning
    &PageOf<&CKavrinoDlg::m_pDecimationDlg>, // decimation
    nullptr,                                 // brightness deviation
    nullptr,                                 // centre brightness
};

// Calls fn with every page that exists, in the order above.
template <class Fn> void ForEachPage(CKavrinoDlg& dlg, Fn fn) {
    for (PageAccessor access : kEveryPage) {
        if (!access)
            continue;
        PageRef page = access(dlg);
        if (page.pPage)
            fn(page);
    }
}

CString BuildComment(CKavrinoDlg& dlg, const RunItem& item, const PageRef& page) {
    CString strComment;
    CString strErrors;
    switch (item.comment) {
    case CommentKind::None:
        break;
    case CommentKind::ErrorItems:
        if (page.getErrorItems)
            page.getErrorItems(strComment);
        break;
    case CommentKind::Align:
        strComment.Format(L"Left: %d Top: %d Right: %d Bottom: %d", dlg.m_nAlignEdge[5], dlg.m_nAlignEdge[0],
                          dlg.m_nAlignEdge[7], dlg.m_nAlignEdge[2]);
        break;
    case CommentKind::Bright:
        strComment.Format(
            L"편차 기준값: %d    Center<->LeftTop: %d  Center<->RightTop: %d  Center<->LeftBottom: %d  "
            L"Center<->RightBottom: %d",
            dlg.m_nDeviationLimit, dlg.m_nBrightDev[0], dlg.m_nBrightDev[2], dlg.m_nBrightDev[1],
            dlg.m_nBrightDev[3]);
        if (page.getErrorItems)
            page.getErrorItems(strErrors);
        strComment.AppendFormat(L" %s", strErrors);
        break;
    case CommentKind::BrightCenter:
        strComment.Format(L"Average: %d", dlg.m_nBrightAverage);
        break;
    }
    return strComment;
}

void SetStartButton(CKavrinoDlg& dlg, bool bTesting) {
    dlg.m_bTesting = bTesting;
    dlg.SetDlgItemText(CKavrinoDlg::IDC_START_TEST, bTesting ? L"검사 취소" : L"검사 시작");
}

} // namespace

void CKavrinoDlg::OnBnClickedStartTest() {
    if (!m_bConnected) {
        AfxMessageBox(L"연결이 아직 안되어있습니다.");
        return;
    }
    if (m_bTesting) {
        StopTest();
        SetStartButton(*this, false);
        return;
    }

    ResetTestEvents();
    if (!m_pRunnerLink)
        m_pRunnerLink = RunnerLink::Create(this);
    std::shared_ptr<RunnerLink::Run> pRun = m_pRunnerLink->BeginRun(m_hStopEvent);
    HANDLE hThread = CreateThread(nullptr, 0, TestThreadProc, this, 0, nullptr);
    if (!hThread) {
        m_pRunnerLink->AbandonRun(pRun);
        AfxMessageBox(L"Create thread failed.");
        return;
    }
    // Only the latest runner's handle is kept; the earlier one has ended or is ending by itself.
    if (m_hTestThread)
        CloseHandle(m_hTestThread);
    m_hTestThread = hThread;
    SetStartButton(*this, true);
}

DWORD WINAPI CKavrinoDlg::TestThreadProc(LPVOID param) {
    static_cast<CKavrinoDlg*>(param)->RunTests();
    return 0;
}

// Runs on the runner thread. The window itself is reached only inside RunStep, on the user-interface
// thread, and never once its clean-up has begun.
void CKavrinoDlg::RunTests() {
    RunnerLink::Ticket ticket = RunnerLink::Claim(this);
    if (!ticket.pLink)
        return;
    RunnerLink& link = *ticket.pLink;
    RunnerLink::Run& run = *ticket.pRun;
    struct EndGuard {
        RunnerLink& link;
        ~EndGuard() { link.RunnerEnded(); }
    } endGuard{link};

    int nCount = 0;
    int nStart = LB_ERR;
    link.RunStep([&](CKavrinoDlg& dlg) {
        if (!link.IsCurrent(run) || run.bCancelled)
            return;
        nCount = dlg.m_listTest.GetCount();
        nStart = dlg.m_listTest.GetCurSel();
        if (nStart < 0) {
            AfxMessageBox(L"시작 될 항목을 선택하세요");
            SetStartButton(dlg, false);
            return;
        }
        int nRows = nCount;
        for (int i = nStart; i < nCount; ++i) {
            CString strText;
            dlg.m_listTest.GetText(i, strText);
            if (strText == kOtherChecks) {
                nRows += 4;
                break;
            }
        }
        delete[] dlg.m_pResults;
        dlg.m_pResults = new TestResult[static_cast<std::size_t>(nRows)];
        run.pRows = dlg.m_pResults;
        run.nRows = nRows;
    });
    if (nStart < 0)
        return;

    int nRow = 0;
    for (int i = nStart; i < nCount; ++i) {
        const RunItem* pItem = nullptr;
        HANDLE hPageEvent = nullptr;
        link.RunStep([&](CKavrinoDlg& dlg) {
            // A cancelled run shows nothing more, also when the cancel came between two items.
            if (!link.IsCurrent(run) || run.bCancelled || i >= dlg.m_listTest.GetCount())
                return;
            CString strText;
            dlg.m_listTest.GetText(i, strText);
            const RunItem* pFound = FindRunItem(strText);
            if (!pFound || !pFound->page)
                return;
            PageRef page = pFound->page(dlg);
            if (!page.pPage)
                return;
            dlg.m_listTest.SetCurSel(i);
            if ((pFound->prep & PREP_RESET_SCROLL) && dlg.m_pDisplayDlg)
                dlg.m_pDisplayDlg->ResetScrollBars();
            if ((pFound->prep & PREP_LOAD_PARAMETERS) && page.loadParameters)
                page.loadParameters();
            if ((pFound->prep & PREP_SHOW_PARAMETERS) && page.showParameters)
                page.showParameters();
            page.pPage->MoveWindow(kPageX, kPageY, kPageWidth, kPageHeight, TRUE);
            page.pPage->ShowWindow(SW_SHOW);
            if ((pFound->prep & PREP_ALIGN_OVERLAY) && dlg.m_pDisplayDlg) {
                dlg.m_pDisplayDlg->m_bShowAlign = TRUE;
                dlg.m_pDisplayDlg->m_bShowEdgeBoxes = true;
            }
            if ((pFound->prep & PREP_CENTER_MODE) && dlg.m_pDisplayDlg)
                dlg.m_pDisplayDlg->m_bCenterMode = true;
            if (pFound->prep & PREP_BAYER_FORMAT)
                page.pPage->SetDlgItemText(1111, L"BayerRG8");
            pItem = pFound;
            hPageEvent = page.hEvent;
        });

        if (pItem && link.WaitForVerdict(hPageEvent, run)) {
            link.RunStep([&](CKavrinoDlg& dlg) {
                // Rows belong to this run's array only, and never past its end.
                if (!link.IsCurrent(run) || !run.pRows || dlg.m_pResults != run.pRows || nRow >= run.nRows)
                    return;
                PageRef page = pItem->page(dlg);
                if (!page.pPage)
                    return;
                TestResult& row = run.pRows[nRow++];
                row.strItem = pItem->name;
                row.strResult = page.bResult ? L"PASS" : L"FAIL";
                row.strComment = BuildComment(dlg, *pItem, page);
                // A page whose verdict was given at an earlier place in the list is not left on screen.
                if (page.pPage->IsWindowVisible())
                    page.pPage->ShowWindow(SW_HIDE);
            });
        }

        if (run.bCancelled || link.CleanupBegun() ||
            WaitForSingleObject(run.hStopEvent, 0) == WAIT_OBJECT_0) {
            link.RunStep([&](CKavrinoDlg& dlg) {
                if (link.IsCurrent(run))
                    SetStartButton(dlg, false);
            });
            return;
        }
    }

    HANDLE hReportEvent = nullptr;
    bool bReportShown = false;
    link.RunStep([&](CKavrinoDlg& dlg) {
        if (!link.IsCurrent(run) || run.bCancelled || !dlg.m_pReportDlg || !dlg.m_pReportDlg->GetSafeHwnd())
            return;
        CReportDlg& report = *dlg.m_pReportDlg;
        report.m_strModel = dlg.m_strModelName;
        report.m_strSerial = dlg.m_strSerialNumber;
        report.m_strVersion = dlg.m_strDeviceVersion;
        report.SetResults(dlg.m_pResults == run.pRows ? run.pRows : nullptr, nRow);
        report.MoveWindow(kPageX, kPageY, kPageWidth, kPageHeight, TRUE);
        report.ShowWindow(SW_SHOW);
        hReportEvent = report.m_hEvent;
        bReportShown = true;
    });
    if (!bReportShown || !link.WaitForVerdict(hReportEvent, run))
        return;
    link.RunStep([&](CKavrinoDlg& dlg) {
        // Without its report page the window has already been cleaned up.
        if (link.IsCurrent(run) && dlg.m_pReportDlg)
            dlg.PostMessage(WM_TEST_FINISHED, 0, 0);
    });
}

void CKavrinoDlg::StopTest() {
    if (!m_hStopEvent)
        return;
    SetEvent(m_hStopEvent);
    ForEachPage(*this, [](PageRef& page) { SetEvent(page.hEvent); });
    if (m_pDisplayDlg) {
        m_pDisplayDlg->m_bShowAlign = FALSE;
        m_pDisplayDlg->m_bShowEdgeBoxes = false;
        m_pDisplayDlg->m_bBrightMode = false;
        m_pDisplayDlg->m_bCenterMode = false;
    }
    ForEachPage(*this, [](PageRef& page) { page.pPage->ShowWindow(SW_HIDE); });
    // After the events: a runner that sees the cancel finds its event signalled.
    if (m_pRunnerLink)
        m_pRunnerLink->CancelCurrentRun();
}

void CKavrinoDlg::ResetTestEvents() {
    if (m_hStopEvent)
        ResetEvent(m_hStopEvent);
    ForEachPage(*this, [](PageRef& page) { ResetEvent(page.hEvent); });
}

LRESULT CKavrinoDlg::OnTestFinished(WPARAM wParam, LPARAM lParam) {
    UNREFERENCED_PARAMETER(wParam);
    UNREFERENCED_PARAMETER(lParam);
    OnOK();
    OnClose();
    return 0;
}
