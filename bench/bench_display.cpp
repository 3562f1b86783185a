// One display tick (frame conversion, frame-rate text, overlay, view copy, painting into the window) at
// 2448 x 2048 and 5120 x 5120 for Mono8, Mono10, BayerRG8 and BayerRG10, in each of the display's modes:
// plain, the alignment overlay with its edge boxes, the centre-brightness window and the five
// brightness-deviation windows (measured per colour channel under the Bayer formats, as on a colour
// camera). Each is printed as a ratio to a memcpy of the 24-bit display image's bytes measured in the
// same run, with the milliseconds per tick beside it (the timer's budget is 33 ms).
#include "AlignParameters.h"
#include "BrightWindows.h"
#include "CDisplayDlg.h"
#include "CKavrinoDlg.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

struct Size {
    int width;
    int height;
};
const Size kSizes[] = {{2448, 2048}, {5120, 5120}};
const wchar_t* const kFormats[] = {L"Mono8", L"Mono10", L"BayerRG8", L"BayerRG10"};

// The display under test: a main-window record that is never shown, and the display window with a
// 1920 x 1080 client area.
struct Bench {
    CKavrinoDlg main;
    CDisplayDlg* disp = nullptr;

    Bench() {
        disp = new CDisplayDlg;
        disp->Create(CDisplayDlg::IDD, &main);
        disp->ShowWindow(SW_RESTORE);
        int width = 1960;
        int height = 1120;
        for (int attempt = 0; attempt < 4; ++attempt) {
            disp->MoveWindow(0, 0, width, height);
            QCoreApplication::processEvents();
            CRect client;
            disp->GetClientRect(&client);
            width += 1920 - client.Width();
            height += 1080 - client.Height();
        }
        disp->KillTimer(CDisplayDlg::TIMER_DRAW); // the benchmark drives the ticks itself
    }
    ~Bench() {
        disp->DestroyWindow();
        delete disp;
    }

    void Prepare(Size size, const wchar_t* format, const char* mode) {
        const bool deep = std::wcschr(format, L'1') != nullptr;
        const int bytes = deep ? 2 : 1;
        // The frame buffer as connection allocates it for the frame size.
        main.m_nWidth = size.width;
        main.m_nHeight = size.height;
        main.AllocateFrameBuffer();
        BYTE* frame = main.m_pFrameBuf;
        const size_t frameBytes = static_cast<size_t>(size.width) * size.height * bytes;
        // A scene with texture: every sample differs from its neighbours.
        unsigned seed = 12345;
        for (size_t i = 0; i < frameBytes; ++i) {
            seed = seed * 1103515245u + 12345u;
            frame[i] = static_cast<BYTE>(seed >> 16);
        }
        if (deep)
            for (size_t i = 1; i < frameBytes; i += 2)
                frame[i] &= 0x03;
        main.m_strPixelFormat = format;
        main.m_bNewFrame = TRUE;
        main.m_dFrameRate = 30.0;
        disp->SetImageFormat(size.width, size.height, format);
        g_nAlignCenterX = size.width / 2;
        g_nAlignCenterY = size.height / 2;
        // The brightness pages' default windows for the frame size (100 x 100 each).
        g_nImageWidth = size.width;
        g_nImageHeight = size.height;
        for (int window = 0; window < 5; ++window)
            for (int field = 0; field < 4; ++field)
                g_rcBrightWindow[window][field] = BrightWindowDefault(window, field);
        main.m_bColorCamera = std::wcsncmp(format, L"Bayer", 5) == 0 ? TRUE : FALSE;
        const std::string m = mode;
        disp->m_bShowAlign = m == "align" ? TRUE : FALSE;
        disp->m_bShowEdgeBoxes = m == "align";
        disp->m_bCenterMode = m == "centre";
        disp->m_bBrightMode = m == "bright";
    }
};

Bench* g_bench = nullptr;

std::string SizeName(Size s) {
    return std::to_string(s.width) + "x" + std::to_string(s.height);
}

std::string Narrow(const wchar_t* text) {
    return CString(text).ToUtf8();
}

void Memcpy(benchmark::State& state, Size size) {
    const size_t bytes = static_cast<size_t>((size.width + 3) & ~3) * 3 * size.height;
    std::vector<BYTE> from(bytes, 1);
    std::vector<BYTE> to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

const char* const kModes[] = {"plain", "align", "centre", "bright"};

void Tick(benchmark::State& state, Size size, const wchar_t* format, const char* mode) {
    g_bench->Prepare(size, format, mode);
    for (auto _ : state)
        g_bench->disp->DrawFrame();
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
    }
};

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Bench bench;
    g_bench = &bench;

    for (const Size size : kSizes) {
        benchmark::RegisterBenchmark(("Memcpy/" + SizeName(size)).c_str(), Memcpy, size)
            ->Unit(benchmark::kMillisecond);
        for (const wchar_t* format : kFormats)
            for (const char* mode : kModes)
                benchmark::RegisterBenchmark(
                    ("Tick/" + SizeName(size) + "/" + Narrow(format) + "/" + mode).c_str(), Tick, size,
                    format, mode)
                    ->Unit(benchmark::kMillisecond);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf(
        "\nOne display tick against a memcpy of the 24-bit display image (goal: mono <= 3x, Bayer <= 5x)\n");
    std::printf("%-12s %-10s %-6s %10s %10s %8s\n", "size", "format", "mode", "tick ms", "memcpy ms",
                "ratio");
    for (const Size size : kSizes) {
        const auto base = reporter.seconds.find("Memcpy/" + SizeName(size));
        if (base == reporter.seconds.end() || base->second <= 0)
            continue;
        for (const wchar_t* format : kFormats) {
            for (const char* mode : kModes) {
                const auto tick =
                    reporter.seconds.find("Tick/" + SizeName(size) + "/" + Narrow(format) + "/" + mode);
                if (tick == reporter.seconds.end())
                    continue;
                std::printf("%-12s %-10s %-6s %10.2f %10.2f %8.2f\n", SizeName(size).c_str(),
                            Narrow(format).c_str(), mode, tick->second * 1e3, base->second * 1e3,
                            tick->second / base->second);
            }
        }
    }
    g_bench = nullptr;
    benchmark::Shutdown();
    return 0;
}
