#pragma once
// The runner thread's only way to the main window.
//
// The runner must never touch the main window, its pages, its report page or its result rows once the
// window has begun to clean up, and the user-interface thread must never block on the runner. So every
// step of the runner that reads or changes any of them runs on the user-interface thread (RunStep), and
// there it first checks that the window's clean-up has not begun. Waiting happens on the runner's own
// thread, on event handles copied in such a step; a handle closed meanwhile makes the wait fail instead
// of touching freed memory.
//
// The main window holds its link in m_pRunnerLink, made by Create on the first start of a run; the
// runner thread holds its own reference. When the window's reference goes (the window is destroyed) the
// link marks the clean-up as begun and keeps processing user-interface events until every runner thread
// has left the window's code; a runner ends promptly then, since each of its steps and waits checks that
// mark. OnClose may mark the clean-up earlier with BeginCleanup.
//
// Each start makes a new run current. StopTest cancels the current run; a runner whose run is no longer
// current (a newer run has started) changes nothing of the window any more.

#include "Platform.h"
#include "TestResult.h"

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

class CKavrinoDlg;

class RunnerLink {
public:
    // One run: what its runner thread needs besides the link.
    struct Run {
        HANDLE hStopEvent = nullptr; // the main window's stop event, copied at the start
        TestResult* pRows = nullptr; // the run's row array (user-interface thread only)
        int nRows = 0;
        std::atomic<bool> bCancelled{false};
    };
    // What a starting runner thread claims.
    struct Ticket {
        std::shared_ptr<RunnerLink> pLink;
        std::shared_ptr<Run> pRun;
    };

    // The window's reference: releasing it (with the window) ends the window's runners first.
    static std::shared_ptr<RunnerLink> Create(CKavrinoDlg* pDlg);
    ~RunnerLink();
    RunnerLink(const RunnerLink&) = delete;
    RunnerLink& operator=(const RunnerLink&) = delete;

    // User-interface thread. Makes a new current run and offers it to the thread about to start; the
    // thread is counted as running from here on.
    std::shared_ptr<Run> BeginRun(HANDLE hStopEvent);
    // The thread could not be started: takes the offer back.
    void AbandonRun(const std::shared_ptr<Run>& pRun);
    // Marks the current run cancelled (after its events were signalled).
    void CancelCurrentRun();
    bool IsCurrent(const Run& run) const;
    // From now on no runner step reaches the window.
    void BeginCleanup();
    bool CleanupBegun() const { return m_bCleanup.load(); }
    // Processes user-interface events until every runner thread has ended (bounded).
    void WaitForRunners();
    // The runner asks the window to close once its report page has been closed; the window takes the
    // request when the message comes. A message of the same number that no runner sent finds no request.
    void RequestFinish() { m_bFinishRequested = true; }
    bool TakeFinishRequest() { return std::exchange(m_bFinishRequested, false); }

    // Runner thread. Takes the run offered for this window (empty when there is none).
    static Ticket Claim(const CKavrinoDlg* pDlg);
    // Runs the step on the user-interface thread with the window, unless its clean-up has begun there;
    // false when it did not run.
    bool RunStep(const std::function<void(CKavrinoDlg&)>& step);
    // Waits without time-out on a page's event: true when it was signalled, false when the handle names
    // nothing (closed), the window is cleaning up, or the run was cancelled without the event.
    bool WaitForVerdict(HANDLE hEvent, const Run& run) const;
    // The thread has left the window's code.
    void RunnerEnded();

private:
    explicit RunnerLink(CKavrinoDlg* pDlg) : m_pDlg(pDlg) {}

    CKavrinoDlg* const m_pDlg;
    std::weak_ptr<RunnerLink> m_pSelf; // the threads' references (not the window's)
    std::atomic<bool> m_bCleanup{false};
    std::atomic<int> m_nRunners{0};
    std::shared_ptr<Run> m_pCurrentRun; // user-interface thread only
    bool m_bFinishRequested = false;    // user-interface thread only
};
