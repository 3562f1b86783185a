// The test runner: starting and cancelling a run, and the runner thread that shows each item's page,
// waits for its verdict and records the result rows, then hands them to the report page.

#include "CKavrinoDlg.h"

#include "CAlignDlg.h"
#include "CBinningDlg.h"
#include "CBlackLevelDlg.h"
#include "CBrightCenterDlg.h"
#include "CBrightDlg.h"
#include "CCXPLinkConfigDlg.h"
#include "CDecimationDlg.h"
#include "CDeviceInfoDlg.h"
#include "CDisplayDlg.h"
#include "CExposureDlg.h"
#include "CFrameRateDlg.h"
#include "CGainDlg.h"
#include "CGamma_LUTDlg.h"
#include "CNotSupportDlg.h"
#include "CPixelFormatDlg.h"
#include "CROIDlg.h"
#include "CReportDlg.h"
#include "CReverseXYDlg.h"
#include "CTapBalanceDlg.h"
#include "CTestPatternDlg.h"
#include "CTriggerIODlg.h"
#include "CWhiteBalanceDlg.h"
#include "RunnerLink.h"

#include <type_traits>
#include <utility>
#include <vector>

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
    std::function<void()> forgetTriedSteps;
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
    if constexpr (std::is_base_of_v<CTestPageDlg, TPage>)
        ref.forgetTriedSteps = [pPage] { pPage->ForgetTriedSteps(); };
    return ref;
}

using PageAccessor = PageRef (*)(CKavrinoDlg&);

template <auto Member> PageRef PageOf(CKavrinoDlg& dlg) {
    return RefOf(dlg.*Member);
}

enum class CommentKind { None, ErrorItems, Align, Bright, BrightCenter, OtherChecks };

// Preparation steps, before or after the page is shown.
enum : unsigned {
    PREP_RESET_SCROLL = 1u << 0,    // before: the display's scroll bars
    PREP_LOAD_PARAMETERS = 1u << 1, // before: the page's LoadParameters
    PREP_SHOW_PARAMETERS = 1u << 2, // before: the page's ShowParameters
    PREP_ALIGN_OVERLAY = 1u << 3,   // after: the display's alignment overlay and edge boxes
    PREP_CENTER_MODE = 1u << 4,     // after: the display's centre-brightness mode
    PREP_BAYER_FORMAT = 1u << 5,    // after: the white-balance page's format edit := "BayerRG8"
    PREP_CHECK_ITEMS = 1u << 6,     // before: the other-checks page takes the run's chosen checks
};

struct RunItem {
    const wchar_t* name;
    PageAccessor page;
    unsigned prep;
    CommentKind comment;
};

// The items a test list may name, compared exactly. "전압전류" and names not in this table are skipped.
const RunItem kRunItems[] = {
    {L"ROI", &PageOf<&CKavrinoDlg::m_pROIDlg>, 0, CommentKind::ErrorItems},
    {L"테스트 패턴", &PageOf<&CKavrinoDlg::m_pTestPatternDlg>, 0, CommentKind::ErrorItems},
    {L"픽셀 포맷", &PageOf<&CKavrinoDlg::m_pPixelFormatDlg>, 0, CommentKind::ErrorItems},
    {L"탭 밸런스", &PageOf<&CKavrinoDlg::m_pTapBalanceDlg>, 0, CommentKind::None},
    {L"디바이스 정보", &PageOf<&CKavrinoDlg::m_pDeviceInfoDlg>, 0, CommentKind::None},
    {L"프레임 레이트", &PageOf<&CKavrinoDlg::m_pFrameRateDlg>, 0, CommentKind::ErrorItems},
    {L"익스포즈", &PageOf<&CKavrinoDlg::m_pExposureDlg>, 0, CommentKind::ErrorItems},
    {L"게인", &PageOf<&CKavrinoDlg::m_pGainDlg>, 0, CommentKind::ErrorItems},
    {L"트리거와 지피아이오", &PageOf<&CKavrinoDlg::m_pTriggerIODlg>, 0, CommentKind::ErrorItems},
    {L"화이트 밸런스", &PageOf<&CKavrinoDlg::m_pWhiteBalanceDlg>, PREP_BAYER_FORMAT, CommentKind::ErrorItems},
    {L"얼라인검사", &PageOf<&CKavrinoDlg::m_pAlignDlg>,
     PREP_RESET_SCROLL | PREP_LOAD_PARAMETERS | PREP_ALIGN_OVERLAY, CommentKind::Align},
    {L"블랙 레벨", &PageOf<&CKavrinoDlg::m_pBlackLevelDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"리버스", &PageOf<&CKavrinoDlg::m_pReverseXYDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"감마와 엘유티", &PageOf<&CKavrinoDlg::m_pGammaLUTDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"링크 컨피그", &PageOf<&CKavrinoDlg::m_pCXPLinkConfigDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"비닝", &PageOf<&CKavrinoDlg::m_pBinningDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"데시메이션", &PageOf<&CKavrinoDlg::m_pDecimationDlg>, PREP_RESET_SCROLL, CommentKind::ErrorItems},
    {L"휘도편차", &PageOf<&CKavrinoDlg::m_pBrightDlg>, PREP_RESET_SCROLL | PREP_LOAD_PARAMETERS,
     CommentKind::Bright},
    {L"휘도", &PageOf<&CKavrinoDlg::m_pBrightCenterDlg>,
     PREP_RESET_SCROLL | PREP_LOAD_PARAMETERS | PREP_SHOW_PARAMETERS | PREP_CENTER_MODE,
     CommentKind::BrightCenter},
    {kOtherChecks, &PageOf<&CKavrinoDlg::m_pNotSupportDlg>, PREP_CHECK_ITEMS, CommentKind::OtherChecks},
};

const RunItem* FindRunItem(const CString& strName) {
    for (const RunItem& item : kRunItems) {
        if (strName == item.name)
            return &item;
    }
    return nullptr;
}

// Every page in the order the main window knows them, the report page included.
const PageAccessor kEveryPage[] = {
    &PageOf<&CKavrinoDlg::m_pROIDlg>,           &PageOf<&CKavrinoDlg::m_pTestPatternDlg>,
    &PageOf<&CKavrinoDlg::m_pPixelFormatDlg>,   &PageOf<&CKavrinoDlg::m_pTapBalanceDlg>,
    &PageOf<&CKavrinoDlg::m_pDeviceInfoDlg>,    &PageOf<&CKavrinoDlg::m_pFrameRateDlg>,
    &PageOf<&CKavrinoDlg::m_pExposureDlg>,      &PageOf<&CKavrinoDlg::m_pGainDlg>,
    &PageOf<&CKavrinoDlg::m_pTriggerIODlg>,     &PageOf<&CKavrinoDlg::m_pNotSupportDlg>,
    &PageOf<&CKavrinoDlg::m_pReportDlg>,        &PageOf<&CKavrinoDlg::m_pWhiteBalanceDlg>,
    &PageOf<&CKavrinoDlg::m_pAlignDlg>,         &PageOf<&CKavrinoDlg::m_pBlackLevelDlg>,
    &PageOf<&CKavrinoDlg::m_pReverseXYDlg>,     &PageOf<&CKavrinoDlg::m_pGammaLUTDlg>,
    &PageOf<&CKavrinoDlg::m_pCXPLinkConfigDlg>, &PageOf<&CKavrinoDlg::m_pBinningDlg>,
    &PageOf<&CKavrinoDlg::m_pDecimationDlg>,    &PageOf<&CKavrinoDlg::m_pBrightDlg>,
    &PageOf<&CKavrinoDlg::m_pBrightCenterDlg>,
};

// Calls fn with every page that exists, in the order above.
template <class Fn> void ForEachPage(CKavrinoDlg& dlg, Fn fn) {
    for (PageAccessor access : kEveryPage) {
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
    case CommentKind::OtherChecks:
        break;
    }
    return strComment;
}

// The rows of one executed item: one, or one per chosen check of the other-checks page.
std::vector<TestResult> ItemRows(CKavrinoDlg& dlg, const RunItem& item, const PageRef& page) {
    std::vector<TestResult> rows;
    if (item.comment != CommentKind::OtherChecks) {
        rows.push_back(
            TestResult{item.name, page.bResult ? L"PASS" : L"FAIL", BuildComment(dlg, item, page)});
        return rows;
    }
    const CNotSupportDlg* pChecks = dlg.m_pNotSupportDlg;
    if (!pChecks)
        return rows;
    const struct {
        const wchar_t* name;
        int bPass;
        CString strComment;
    } checks[] = {
        {L"노이즈", pChecks->m_bNoisePass, CString()},
        {L"블루밍", pChecks->m_bBloomingPass, CString()},
        {L"해상력", pChecks->m_bResolutionPass, CString()},
        {L"전류", pChecks->m_bCurrentPass, pChecks->m_strCurrentReport},
        {L"전압", pChecks->m_bVoltagePass, pChecks->m_strVoltageReport},
    };
    for (std::size_t k = 0; k < std::size(checks); ++k) {
        if (dlg.m_CheckItems[k])
            rows.push_back(
                TestResult{checks[k].name, checks[k].bPass ? L"PASS" : L"FAIL", checks[k].strComment});
    }
    return rows;
}

// The other-checks page takes the run's chosen checks before it is shown.
void PrepareCheckItems(CKavrinoDlg& dlg) {
    if (dlg.m_pNotSupportDlg)
        dlg.m_pNotSupportDlg->SetCheckItems(dlg.m_CheckItems);
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
            // Steps tried at an earlier showing (a cancelled run) do not count for this one.
            if (page.forgetTriedSteps)
                page.forgetTriedSteps();
            if (pFound->prep & PREP_CHECK_ITEMS)
                PrepareCheckItems(dlg);
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
                if (!link.IsCurrent(run) || !run.pRows || dlg.m_pResults != run.pRows)
                    return;
                PageRef page = pItem->page(dlg);
                if (!page.pPage)
                    return;
                for (TestResult& row : ItemRows(dlg, *pItem, page)) {
                    if (nRow < run.nRows)
                        run.pRows[nRow++] = row;
                }
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
        if (link.IsCurrent(run) && dlg.m_pReportDlg) {
            link.RequestFinish();
            dlg.PostMessage(WM_TEST_FINISHED, 0, 0);
        }
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
    // Only the runner's own request closes the window: the same number posted by another program may
    // come while a page's step waits for its message box, and the page must not go under it.
    if (!m_pRunnerLink || !m_pRunnerLink->TakeFinishRequest())
        return 0;
    OnOK();
    OnClose();
    return 0;
}
