#include "RunnerLink.h"

#include <deque>
#include <map>
#include <mutex>

namespace {

// A runner wakes this often while it waits, to notice a cancelled run or a closing window even when its
// page's event can no longer be signalled (an event reset by a newer run, or a page destroyed meanwhile).
constexpr DWORD kWaitSliceMs = 50;
// Upper bound of the wait for the runners when the window goes: far beyond the one wait slice and the
// one user-interface step a runner needs to end.
constexpr int kEndRounds = 20000;

// Runs offered by the user-interface thread to the threads it starts, by window.
std::mutex g_offersMutex;
std::map<const CKavrinoDlg*, std::deque<RunnerLink::Ticket>>& Offers() {
    static auto* offers = new std::map<const CKavrinoDlg*, std::deque<RunnerLink::Ticket>>;
    return *offers;
}

} // namespace

std::shared_ptr<RunnerLink> RunnerLink::Create(CKavrinoDlg* pDlg) {
    std::shared_ptr<RunnerLink> pLink(new RunnerLink(pDlg));
    pLink->m_pSelf = pLink;
    // The window's reference has a control block of its own: when the window releases it, the runners
    // (which hold the other one) are ended before the window's memory goes.
    return std::shared_ptr<RunnerLink>(pLink.get(), [pLink](RunnerLink* p) {
        p->BeginCleanup();
        p->WaitForRunners();
    });
}

RunnerLink::~RunnerLink() = default;

std::shared_ptr<RunnerLink::Run> RunnerLink::BeginRun(HANDLE hStopEvent) {
    auto pRun = std::make_shared<Run>();
    pRun->hStopEvent = hStopEvent;
    m_pCurrentRun = pRun;
    ++m_nRunners;
    std::lock_guard<std::mutex> lock(g_offersMutex);
    Offers()[m_pDlg].push_back(Ticket{m_pSelf.lock(), pRun});
    return pRun;
}

void RunnerLink::AbandonRun(const std::shared_ptr<Run>& pRun) {
    {
        std::lock_guard<std::mutex> lock(g_offersMutex);
        auto it = Offers().find(m_pDlg);
        if (it != Offers().end()) {
            auto& queue = it->second;
            for (auto t = queue.begin(); t != queue.end(); ++t) {
                if (t->pRun == pRun) {
                    queue.erase(t);
                    break;
                }
            }
            if (queue.empty())
                Offers().erase(it);
        }
    }
    if (m_pCurrentRun == pRun)
        m_pCurrentRun.reset();
    --m_nRunners;
}

RunnerLink::Ticket RunnerLink::Claim(const CKavrinoDlg* pDlg) {
    std::lock_guard<std::mutex> lock(g_offersMutex);
    auto it = Offers().find(pDlg);
    if (it == Offers().end() || it->second.empty())
        return {};
    Ticket ticket = std::move(it->second.front());
    it->second.pop_front();
    if (it->second.empty())
        Offers().erase(it);
    return ticket;
}

void RunnerLink::CancelCurrentRun() {
    if (m_pCurrentRun)
        m_pCurrentRun->bCancelled = true;
}

bool RunnerLink::IsCurrent(const Run& run) const {
    return m_pCurrentRun.get() == &run;
}

void RunnerLink::BeginCleanup() {
    m_bCleanup = true;
}

void RunnerLink::WaitForRunners() {
    for (int i = 0; m_nRunners.load() > 0 && i < kEndRounds; ++i) {
        kavrino::ProcessUiEvents();
        if (m_nRunners.load() > 0)
            Sleep(1);
    }
}

bool RunnerLink::RunStep(const std::function<void(CKavrinoDlg&)>& step) {
    if (CleanupBegun())
        return false;
    bool bRan = false;
    kavrino::RunOnUiThread([&] {
        if (CleanupBegun())
            return;
        bRan = true;
        step(*m_pDlg);
    });
    return bRan;
}

bool RunnerLink::WaitForVerdict(HANDLE hEvent, const Run& run) const {
    for (;;) {
        const DWORD dwWait = WaitForSingleObject(hEvent, kWaitSliceMs);
        if (dwWait == WAIT_OBJECT_0)
            return true;
        if (dwWait != WAIT_TIMEOUT || CleanupBegun())
            return false;
        // A cancel signals every event before it marks the run, so the event decides.
        if (run.bCancelled)
            return WaitForSingleObject(hEvent, 0) == WAIT_OBJECT_0;
    }
}

void RunnerLink::RunnerEnded() {
    --m_nRunners;
}
