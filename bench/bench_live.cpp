// Live acquisition through the program's own main window and display window on the simulated camera:
// the frames the camera delivered, the frames the grab hook counted and the frame-rate read-out (the
// main window's timer 1034), with the display's 33 ms ticks on, printed as ratios to the same camera
// with the display's ticks off, measured in the same run. Beside them the time the grab thread spends in
// the main window's hook per frame (its copy of the frame and the hand-over to the display; on few cores
// it shares them with the ticks), and the longest wait for the frame lock that the hook takes for its
// hand-over, probed every millisecond from a thread of its own.
//
//     taskset -c 0,1 build/bench/bench_live [seconds per phase, default 10] [case name filter]
//
// Each case runs its phases one after the other on one connection: ticks off, then on.

#include "CDisplayDlg.h"
#include "CKavrinoDlg.h"
#include "Mil.h"
#include "SimCameraRegistry.h"
#include "TestHooks.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    const char* name;
    int width;
    int height;
    double fps;
    const wchar_t* format;
};

const Case kCases[] = {
    {"5120x5120@30/BayerRG10", 5120, 5120, 30.0, L"BayerRG10"},
    {"2448x2048@60/BayerRG10", 2448, 2048, 60.0, L"BayerRG10"},
    {"5120x5120@30/Mono8", 5120, 5120, 30.0, L"Mono8"},
};

// The grab thread's time in the main window's hook: one hook of ours just before it and one just after
// it (the digitizer calls its hooks in the order they were installed).
struct HookTimes {
    std::mutex mutex;
    Clock::time_point start;
    std::vector<double> ms;

    void Reset() {
        std::lock_guard<std::mutex> lock(mutex);
        ms.clear();
    }
    std::vector<double> Take() {
        std::lock_guard<std::mutex> lock(mutex);
        return ms;
    }
};
HookTimes g_hookTimes;

MIL_INT BeforeHook(MIL_INT, MIL_ID, void*) {
    std::lock_guard<std::mutex> lock(g_hookTimes.mutex);
    g_hookTimes.start = Clock::now();
    return 0;
}

MIL_INT AfterHook(MIL_INT, MIL_ID, void*) {
    const Clock::time_point end = Clock::now();
    std::lock_guard<std::mutex> lock(g_hookTimes.mutex);
    g_hookTimes.ms.push_back(std::chrono::duration<double, std::milli>(end - g_hookTimes.start).count());
    return 0;
}

CString WriteDcf(const QTemporaryDir& dir, const Case& c, int bits) {
    const QString path = dir.filePath(QString("live_%1x%2_%3.dcf").arg(c.width).arg(c.height).arg(bits));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QString("model = KV-BENCH\nserial = L%1x%2\nsensor = %1 x %2\ncolor = yes\n"
                           "pixel_formats = Mono8, Mono10, BayerRG8, BayerRG10\nfps_max = %3\nbits = %4\n"
                           "link = CXP6_X4\n")
                       .arg(c.width)
                       .arg(c.height)
                       .arg(c.fps)
                       .arg(bits)
                       .toUtf8());
    return CString(path.toStdWString());
}

struct PhaseResult {
    double seconds = 0;
    double delivered = 0; // frames per second the camera delivered (calls of the hooks)
    double counted = 0;   // frames per second the main window counted
    double readoutMean = 0;
    double readoutMin = 0;
    int readouts = 0;
    double hookMean = 0;
    double hookMax = 0;
    double hookP99 = 0;
    double lockP99 = 0;
    double lockMax = 0;
};

// A thread that takes the main window's frame lock every millisecond, as the grab hook does for its
// hand-over, and keeps how long each take waited: the longest any thread waits for the lock.
class LockProbe {
public:
    explicit LockProbe(CKavrinoDlg& dlg) : m_dlg(dlg), m_thread([this] { Run(); }) {}
    ~LockProbe() {
        m_stop = true;
        m_thread.join();
    }
    std::vector<double> Take() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<double> waits;
        waits.swap(m_waits);
        return waits;
    }

private:
    void Run() {
        while (!m_stop) {
            const Clock::time_point t = Clock::now();
            m_dlg.m_csFrame.Lock();
            m_dlg.m_csFrame.Unlock();
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t).count();
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_waits.push_back(ms);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    CKavrinoDlg& m_dlg;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<double> m_waits;
    std::thread m_thread;
};

// The program's own event loop for a while, as the operator's session runs it (it sleeps while nothing
// is due), with look every 50 ms.
template <typename Look> void RunEventLoop(double seconds, const Look& look) {
    QEventLoop loop;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, look);
    sampler.start(50);
    QTimer::singleShot(static_cast<int>(seconds * 1000.0), &loop, &QEventLoop::quit);
    loop.exec();
}

PhaseResult RunPhase(CKavrinoDlg& dlg, bool ticks, double seconds) {
    CDisplayDlg* disp = dlg.m_pDisplayDlg;
    if (ticks)
        disp->SetTimer(CDisplayDlg::TIMER_DRAW, CDisplayDlg::DRAW_PERIOD_MS, nullptr);
    else
        disp->KillTimer(CDisplayDlg::TIMER_DRAW);
    // Two read-outs to settle (the first after a change of phase still counts the one before).
    RunEventLoop(2.1, [] {});

    g_hookTimes.Reset();
    LockProbe probe(dlg);
    const ULONGLONG count0 = dlg.m_nFrameCount.load();
    const Clock::time_point t0 = Clock::now();
    // A new read-out: the frame-rate timer moved the primed count on.
    std::vector<double> readouts;
    ULONGLONG lastPrimed = dlg.m_nLastFrameCount.load();
    RunEventLoop(seconds, [&] {
        const ULONGLONG primed = dlg.m_nLastFrameCount.load();
        if (primed != lastPrimed) {
            lastPrimed = primed;
            readouts.push_back(dlg.m_dFrameRate);
        }
    });
    const double elapsed = std::chrono::duration<double>(Clock::now() - t0).count();
    const ULONGLONG count1 = dlg.m_nFrameCount.load();
    std::vector<double> hook = g_hookTimes.Take();
    std::vector<double> waits = probe.Take();

    PhaseResult r;
    r.seconds = elapsed;
    r.delivered = static_cast<double>(hook.size()) / elapsed;
    r.counted = static_cast<double>(count1 - count0) / elapsed;
    if (!readouts.empty()) {
        double sum = 0;
        for (double v : readouts)
            sum += v;
        r.readoutMean = sum / static_cast<double>(readouts.size());
        r.readoutMin = *std::min_element(readouts.begin(), readouts.end());
        r.readouts = static_cast<int>(readouts.size());
    }
    if (!hook.empty()) {
        double sum = 0;
        for (double v : hook)
            sum += v;
        r.hookMean = sum / static_cast<double>(hook.size());
        std::sort(hook.begin(), hook.end());
        r.hookMax = hook.back();
        r.hookP99 = hook[std::min(hook.size() - 1, hook.size() * 99 / 100)];
    }
    if (!waits.empty()) {
        std::sort(waits.begin(), waits.end());
        r.lockMax = waits.back();
        r.lockP99 = waits[std::min(waits.size() - 1, waits.size() * 99 / 100)];
    }
    return r;
}

void Print(const char* label, const PhaseResult& r) {
    std::printf(
        "  %-12s %6.1f s  delivered %6.2f fps  counted %6.2f fps  read-out mean %6.2f min %6.2f (%d)"
        "\n               hook ms mean %5.2f p99 %5.2f max %5.2f   frame-lock wait ms p99 %6.3f max %6.3f\n",
        label, r.seconds, r.delivered, r.counted, r.readoutMean, r.readoutMin, r.readouts, r.hookMean,
        r.hookP99, r.hookMax, r.lockP99, r.lockMax);
}

double Ratio(double on, double off) {
    return off > 0 ? on / off : 0.0;
}

bool RunCase(const Case& c, double seconds) {
    kavrino::SimCameraRegistry::Reset();
    QTemporaryDir dir;
    CStringList items;
    CStringList frameRates;
    CStringList dcfs;
    dcfs.AddTail(WriteDcf(dir, c, 8));
    dcfs.AddTail(WriteDcf(dir, c, 10));
    dcfs.AddTail(CString());

    CKavrinoDlg dlg;
    dlg.m_pTestItemList = &items;
    dlg.m_pFrameRateList = &frameRates;
    dlg.m_pDcfList = &dcfs;
    dlg.m_bColorCamera = TRUE;
    if (!dlg.Create(CKavrinoDlg::IDD, nullptr)) {
        std::printf("%s: the main window could not be created\n", c.name);
        return false;
    }
    dlg.ShowWindow(SW_SHOW);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(CKavrinoDlg::IDC_CONNECT, BN_CLICKED), 0);
    const int index = dlg.m_cmbPixelFormat.FindStringExact(-1, c.format);
    bool ok = dlg.m_bConnected && index >= 0;
    if (ok) {
        // The combo reconnects with the format's file and starts live, as the operator's choice does.
        dlg.m_cmbPixelFormat.SetCurSel(index);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(CKavrinoDlg::IDC_PIXEL_FORMAT, CBN_SELCHANGE), 0);
        ok = dlg.m_bLive && dlg.m_pDisplayDlg != nullptr;
    }
    if (!ok) {
        std::printf("%s: the simulated camera did not start live\n", c.name);
        dlg.SendMessage(WM_CLOSE);
        return false;
    }
    // Live again with our two hooks around the main window's.
    dlg.StopLive();
    MdigHookFunction(dlg.m_milDigitizer, M_GRAB_FRAME_END, BeforeHook, nullptr);
    dlg.StartLive();
    MdigHookFunction(dlg.m_milDigitizer, M_GRAB_FRAME_END, AfterHook, nullptr);

    const PhaseResult off = RunPhase(dlg, false, seconds);
    const PhaseResult on = RunPhase(dlg, true, seconds);

    MdigHookFunction(dlg.m_milDigitizer, M_GRAB_FRAME_END + M_UNHOOK, AfterHook, nullptr);
    dlg.StopLive();
    MdigHookFunction(dlg.m_milDigitizer, M_GRAB_FRAME_END + M_UNHOOK, BeforeHook, nullptr);
    dlg.SendMessage(WM_CLOSE);
    dlg.DestroyWindow();

    std::printf("%s (camera %.0f fps)\n", c.name, c.fps);
    Print("ticks off", off);
    Print("ticks on", on);
    std::printf("  on/off: delivered %.3f  counted %.3f  read-out %.3f\n\n",
                Ratio(on.delivered, off.delivered), Ratio(on.counted, off.counted),
                Ratio(on.readoutMean, off.readoutMean));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // The live start announces the frame size in a box: answered here.
    kavrino::SetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 10.0;
    const std::string filter = argc > 2 ? argv[2] : "";

    std::printf("Live acquisition, display ticks off then on, %.0f s each\n\n", seconds);
    int failed = 0;
    for (const Case& c : kCases)
        if (filter.empty() || std::string(c.name).find(filter) != std::string::npos)
            failed += RunCase(c, seconds) ? 0 : 1;
    kavrino::SimCameraRegistry::Reset();
    return failed ? 1 : 0;
}
