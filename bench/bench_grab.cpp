// The simulated grabber's frame delivery: the cost of producing one frame against a memcpy of its bytes,
// and the frames per second the grab thread sustains against the configured rate with a hook that copies
// every frame the way the main window's hook does (a temporary block, MbufGet2d, a copy into the frame
// buffer). Everything is measured in this run; only ratios are meaningful.

#include "Mil.h"
#include "SimCameraRegistry.h"
#include "SimFrameRenderer.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace kavrino;

namespace {

struct Size {
    int width, height;
    bool color;
};
const Size kSizes[] = {{2448, 2048, false}, {2448, 2048, true}, {5120, 5120, false}};

SimImageSettings Settings(const Size& s) {
    SimImageSettings settings;
    settings.sensorWidth = s.width;
    settings.sensorHeight = s.height;
    settings.color = s.color;
    settings.imageWidth = s.width;
    settings.imageHeight = s.height;
    settings.bayer = s.color;
    settings.lut.resize(4096);
    return settings;
}

void BM_Memcpy(benchmark::State& state) {
    const Size& s = kSizes[state.range(0)];
    const std::size_t bytes = static_cast<std::size_t>(s.width) * s.height;
    std::vector<std::uint8_t> src(bytes, 1), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}

// One frame of the grab thread: the digitizer window copied out of the rendered camera image.
void BM_ProduceFrame(benchmark::State& state) {
    const Size& s = kSizes[state.range(0)];
    SimFrameRenderer renderer;
    renderer.Configure(s.width, s.height, s.color, 8, 8);
    renderer.Rebuild(Settings(s));
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(s.width) * s.height);
    for (auto _ : state) {
        renderer.Deliver(0, 0, s.width, s.height, buffer.data(), s.width, s.width, s.height);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}

// What a feature change costs once: the camera image rendered again.
void BM_RebuildAfterChange(benchmark::State& state) {
    const Size& s = kSizes[state.range(0)];
    SimFrameRenderer renderer;
    renderer.Configure(s.width, s.height, s.color, 8, 8);
    SimImageSettings settings = Settings(s);
    for (auto _ : state) {
        settings.reverseX = !settings.reverseX;
        renderer.Rebuild(settings);
        benchmark::DoNotOptimize(renderer.Received());
    }
}

BENCHMARK(BM_Memcpy)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProduceFrame)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RebuildAfterChange)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            times[run.benchmark_name()] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

struct FrameSink {
    MIL_INT width = 0, height = 0;
    std::vector<std::uint8_t> frameBuffer;
    std::atomic<int> frames{0};
    static MIL_INT Hook(MIL_INT, MIL_ID event, void* user) {
        auto* sink = static_cast<FrameSink*>(user);
        MIL_ID buffer = 0;
        MdigGetHookInfo(event, M_MODIFIED_BUFFER + M_BUFFER_ID, &buffer);
        const std::size_t bytes = static_cast<std::size_t>(sink->width * sink->height);
        std::vector<std::uint8_t> block(bytes);
        MbufGet2d(buffer, 0, 0, sink->width, sink->height, block.data());
        std::memcpy(sink->frameBuffer.data(), block.data(), bytes);
        ++sink->frames;
        return 0;
    }
};

// Grabs for a few seconds and returns the frames per second delivered.
double MeasureDelivery(const std::string& config, const wchar_t* format, double seconds) {
    const std::string path = "/tmp/kavrino_bench_grab.dcf";
    FILE* f = std::fopen(path.c_str(), "w");
    std::fputs(config.c_str(), f);
    std::fclose(f);
    const MIL_ID app = MappAlloc(MIL_TEXT("M_DEFAULT"), M_DEFAULT);
    const MIL_ID sys = MsysAlloc(M_DEFAULT, M_SYSTEM_RADIENTCXP, M_DEFAULT, M_DEFAULT);
    const MIL_ID dig = MdigAlloc(sys, M_DEV0, std::wstring(path.begin(), path.end()).c_str(), M_DEFAULT);
    if (!dig) {
        std::fprintf(stderr, "MdigAlloc failed: %ls\n", MilLastErrorText().c_str());
        return 0.0;
    }
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("PixelFormat"), format);
    FrameSink sink;
    sink.width = MdigInquire(dig, M_SIZE_X);
    sink.height = MdigInquire(dig, M_SIZE_Y);
    sink.frameBuffer.resize(static_cast<std::size_t>(sink.width * sink.height * 2));
    const MIL_ID buf = MbufAlloc2d(sys, sink.width, sink.height, 8 + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC);
    MdigHookFunction(dig, M_GRAB_FRAME_END, &FrameSink::Hook, &sink);
    MdigGrabContinuous(dig, buf);
    // Let the first frame (which renders the camera image) pass, then count.
    while (sink.frames < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const int first = sink.frames;
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const int last = sink.frames;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    MdigHookFunction(dig, M_GRAB_FRAME_END + M_UNHOOK, &FrameSink::Hook, &sink);
    MdigHalt(dig);
    MbufFree(buf);
    MdigFree(dig);
    MsysFree(sys);
    MappFree(app);
    SimCameraRegistry::Reset();
    std::remove(path.c_str());
    return (last - first) / elapsed;
}

std::string Config(const char* sensor, bool color, const char* formats, int fps, const char* link) {
    return std::string("model = Bench\nserial = B") + sensor + "\nsensor = " + sensor +
           "\ncolor = " + (color ? "yes" : "no") + "\npixel_formats = " + formats +
           "\nfps_max = " + std::to_string(fps) + "\nlink = " + link + "\nbits = 8\n";
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    static const char* names[] = {"2448 x 2048 Mono8", "2448 x 2048 BayerRG8", "5120 x 5120 Mono8"};
    std::printf("\nFrame production (one frame of the grab thread) against a memcpy of the frame's bytes:\n");
    for (int i = 0; i < 3; ++i) {
        const std::string arg = "/" + std::to_string(i);
        const double copy = reporter.times["BM_Memcpy" + arg];
        const double produce = reporter.times["BM_ProduceFrame" + arg];
        const double rebuild = reporter.times["BM_RebuildAfterChange" + arg];
        if (copy > 0)
            std::printf(
                "  %-22s produce/memcpy = %.2f (goal <= 2.00); a feature change re-renders once = %.1f "
                "memcpy\n",
                names[i], produce / copy, rebuild / copy);
    }

    std::printf("\nFrame delivery with the copying hook (achieved / configured frame rate):\n");
    const struct {
        const char* name;
        std::string config;
        const wchar_t* format;
        double target;
    } runs[] = {
        {names[0], Config("2448 x 2048", false, "Mono8", 60, "CXP6_X1"), L"Mono8", 60},
        {names[1], Config("2448 x 2048", true, "Mono8, BayerRG8", 60, "CXP6_X1"), L"BayerRG8", 60},
        {names[2], Config("5120 x 5120", false, "Mono8", 30, "CXP6_X2"), L"Mono8", 30},
    };
    for (const auto& run : runs) {
        const double fps = MeasureDelivery(run.config, run.format, 3.0);
        std::printf("  %-22s %.1f fps of %.0f: ratio %.3f\n", run.name, fps, run.target, fps / run.target);
    }
    return 0;
}
