// Image drawing of the live display against memcpy of the same bytes, measured in the same run:
// the 1:1 copy of a full frame into the display image, the copy of a screen-sized view into a window's
// surface, and the 4x magnification of an edge box. Prints each as a ratio to its memcpy.

#include "Gdiplus.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace Gdiplus;

namespace {

std::unique_ptr<Bitmap> Filled(int w, int h, PixelFormat format) {
    auto bitmap = std::make_unique<Bitmap>(w, h, format);
    BitmapData data{};
    bitmap->LockBits(nullptr, ImageLockModeWrite, format, &data);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < data.Stride; ++i)
            static_cast<BYTE*>(data.Scan0)[static_cast<std::size_t>(y) * data.Stride + i] = BYTE(i * 7 + y);
    bitmap->UnlockBits(&data);
    return bitmap;
}

void MemcpyBytes(benchmark::State& state, std::size_t bytes) {
    std::vector<BYTE> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

template <class Target> void DrawScaled(benchmark::State& state, Bitmap& source, Target target, int k) {
    const REAL w = static_cast<REAL>(source.GetWidth()), h = static_cast<REAL>(source.GetHeight());
    for (auto _ : state) {
        Graphics graphics(target);
        graphics.SetPixelOffsetMode(PixelOffsetModeHalf);
        graphics.SetInterpolationMode(InterpolationModeNearestNeighbor);
        graphics.DrawImage(&source, RectF(-0.5f, -0.5f, k * w + 0.5f, k * h + 0.5f));
        benchmark::ClobberMemory();
    }
}

constexpr int kFrameW = 2448, kFrameH = 2048, kViewW = 1920, kViewH = 1080, kBoxW = 76, kBoxH = 56, kZoom = 4;

void BM_Frame24_Memcpy(benchmark::State& state) {
    MemcpyBytes(state, std::size_t(kFrameW) * 3 * kFrameH);
}
void BM_Frame24_DrawImage(benchmark::State& state) {
    auto source = Filled(kFrameW, kFrameH, PixelFormat24bppRGB);
    auto target = Filled(kFrameW, kFrameH, PixelFormat24bppRGB);
    DrawScaled(state, *source, static_cast<Image*>(target.get()), 1);
}

void BM_View32_Memcpy(benchmark::State& state) {
    MemcpyBytes(state, std::size_t(kViewW) * 4 * kViewH);
}
void BM_View32_DrawImage(benchmark::State& state) {
    auto source = Filled(kViewW, kViewH, PixelFormat24bppRGB);
    kavrino::ImageSurface surface(kViewW, kViewH);
    DrawScaled(state, *source, kavrino::ToHdc(&surface), 1);
}

void BM_Box4x_Memcpy(benchmark::State& state) {
    MemcpyBytes(state, std::size_t(kBoxW) * kZoom * 3 * kBoxH * kZoom);
}
void BM_Box4x_DrawImage(benchmark::State& state) {
    auto source = Filled(kBoxW, kBoxH, PixelFormat24bppRGB);
    auto target = Filled(kBoxW * kZoom, kBoxH * kZoom, PixelFormat24bppRGB);
    DrawScaled(state, *source, static_cast<Image*>(target.get()), kZoom);
}

BENCHMARK(BM_Frame24_Memcpy);
BENCHMARK(BM_Frame24_DrawImage);
BENCHMARK(BM_View32_Memcpy);
BENCHMARK(BM_View32_DrawImage);
BENCHMARK(BM_Box4x_Memcpy);
BENCHMARK(BM_Box4x_DrawImage);

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nTime of each drawing as a multiple of a memcpy of the bytes it writes:\n");
    for (const char* name : {"Frame24", "View32", "Box4x"}) {
        const std::string base = std::string("BM_") + name;
        auto copy = reporter.times.find(base + "_Memcpy");
        auto draw = reporter.times.find(base + "_DrawImage");
        if (copy != reporter.times.end() && draw != reporter.times.end() && copy->second > 0)
            std::printf("  %-8s %6.2f x memcpy  (%.3f ms vs %.3f ms)\n", name, draw->second / copy->second,
                        draw->second * 1e3, copy->second * 1e3);
    }
    benchmark::Shutdown();
    return 0;
}
