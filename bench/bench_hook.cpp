// The per-frame work of the main window's grab hook (the library copy of the grabbed buffer and the copy
// into the frame buffer) at 2448 x 2048 and 5120 x 5120, Mono8 and Mono10, printed as a ratio to a plain
// memcpy of the same frame measured in the same run.

#include "CKavrinoDlg.h"
#include "SimCameraRegistry.h"
#include "TestHooks.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Case {
    int width;
    int height;
    int bits; // 8: Mono8, 10: Mono10
};

std::string CaseName(const Case& c) {
    return std::to_string(c.width) + "x" + std::to_string(c.height) + (c.bits == 8 ? "/Mono8" : "/Mono10");
}

CString WriteDcf(const Case& c) {
    const QString path = QDir::temp().filePath(
        QString("kavrino_bench_hook_%1x%2_%3.dcf").arg(c.width).arg(c.height).arg(c.bits));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QString("model = KV-BENCH\nserial = B%1x%2\nsensor = %1 x %2\ncolor = no\n"
                           "pixel_formats = Mono8, Mono10\nfps_max = 30\nbits = %3\n")
                       .arg(c.width)
                       .arg(c.height)
                       .arg(c.bits)
                       .toUtf8());
    return CString(path.toStdWString());
}

// A main window record connected to the simulated camera with its frame buffer and the hook's geometry,
// without a window and with acquisition stopped: the benchmark calls the hook's work directly.
std::unique_ptr<CKavrinoDlg> Connect(const Case& c) {
    auto dlg = std::make_unique<CKavrinoDlg>();
    dlg->m_strPixelFormat = c.bits == 8 ? L"Mono8" : L"Mono10";
    dlg->MilConnect(WriteDcf(c));
    if (dlg->m_milDigitizer == M_NULL)
        return nullptr;
    dlg->AllocateFrameBuffer();
    dlg->StartLive();
    dlg->StopLive();
    return dlg;
}

void BM_Hook(benchmark::State& state, Case c) {
    auto dlg = Connect(c);
    if (!dlg) {
        state.SkipWithError("the simulated camera could not be connected");
        return;
    }
    for (auto _ : state) {
        dlg->OnFrameGrabbed(dlg->m_milImage);
        benchmark::DoNotOptimize(dlg->m_pFrameBuf);
    }
    if (dlg->m_nFrameCount.load() == 0)
        state.SkipWithError("the hook copied no frame");
    dlg->MilDisconnect();
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(c.width) * c.height *
                            (c.bits == 8 ? 1 : 2));
}

// The sequence the hook once had, for comparison: a block allocated per frame, the library copy into it
// and a memcpy into the frame buffer.
void BM_BlockAndCopy(benchmark::State& state, Case c) {
    auto dlg = Connect(c);
    if (!dlg) {
        state.SkipWithError("the simulated camera could not be connected");
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(c.width) * c.height * (c.bits == 8 ? 1 : 2);
    for (auto _ : state) {
        std::unique_ptr<BYTE[]> block(new BYTE[bytes]);
        MbufGet2d(dlg->m_milImage, 0, 0, c.width, c.height, block.get());
        dlg->CopyFrame(block.get());
        benchmark::DoNotOptimize(dlg->m_pFrameBuf);
    }
    dlg->MilDisconnect();
}

void BM_Memcpy(benchmark::State& state, Case c) {
    const std::size_t bytes = static_cast<std::size_t>(c.width) * c.height * (c.bits == 8 ? 1 : 2);
    std::vector<unsigned char> src(bytes, 0x5A), dst(bytes, 0);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

// Keeps the time per iteration of every run for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred && run.iterations > 0)
                times[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // StartLive announces the frame size in a box: answered here.
    kavrino::SetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });

    const Case cases[] = {{2448, 2048, 8}, {2448, 2048, 10}, {5120, 5120, 8}, {5120, 5120, 10}};
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(("memcpy/" + CaseName(c)).c_str(), BM_Memcpy, c)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("hook/" + CaseName(c)).c_str(), BM_Hook, c)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("block/" + CaseName(c)).c_str(), BM_BlockAndCopy, c)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // CPU time per frame: on a shared machine the wall clock also counts other programs' turns.
    std::printf("\nGrab hook per frame (CPU time) as a ratio to a memcpy of the frame (goal: at most 3x)\n");
    for (const Case& c : cases) {
        const auto hook = reporter.times.find("hook/" + CaseName(c));
        const auto block = reporter.times.find("block/" + CaseName(c));
        const auto base = reporter.times.find("memcpy/" + CaseName(c));
        if (hook == reporter.times.end() || block == reporter.times.end() || base == reporter.times.end() ||
            base->second <= 0.0)
            continue;
        std::printf("  %-20s memcpy %8.1f us  hook %8.1f us = %.2fx   block+copy %8.1f us = %.2fx\n",
                    CaseName(c).c_str(), base->second, hook->second, hook->second / base->second,
                    block->second, block->second / base->second);
    }
    kavrino::SimCameraRegistry::Reset();
    return 0;
}
