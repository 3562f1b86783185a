// Grabbing: the hook on the library's thread, halt, software triggers, and the effects of the camera's
// settings on the frames.
#include "MilTestCamera.h"
#include "SimCanvas.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

using namespace kavrino;

namespace {

struct HookLog {
    std::atomic<int> calls{0};
    std::atomic<bool> otherThread{true};
    std::atomic<bool> afterHalt{false};
    std::atomic<bool> halted{false};
    std::thread::id caller;
    static MIL_INT Hook(MIL_INT type, MIL_ID, void* user) {
        auto* log = static_cast<HookLog*>(user);
        if (type != M_GRAB_FRAME_END || std::this_thread::get_id() == log->caller)
            log->otherThread = false;
        if (log->halted)
            log->afterHalt = true;
        ++log->calls;
        return 0;
    }
};

void WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

std::uint8_t At(const std::vector<std::uint8_t>& f, MIL_INT w, MIL_INT x, MIL_INT y) {
    return f[y * w + x];
}

} // namespace

using MilGrabTest = MilTestCamera;

TEST_F(MilGrabTest, TheHookRunsOnTheLibrarysThreadUntilHaltReturns) {
    Connect(Camera());
    HookLog log;
    log.caller = std::this_thread::get_id();
    MdigHookFunction(dig, M_GRAB_FRAME_END, &HookLog::Hook, &log);
    MdigGrabContinuous(dig, buf);
    WaitFor([&] { return log.calls >= 3; });
    EXPECT_GE(log.calls, 3);
    MdigHalt(dig);
    log.halted = true;
    const int calls = log.calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(log.calls, calls);
    EXPECT_FALSE(log.afterHalt);
    EXPECT_TRUE(log.otherThread);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);

    // After removal the hook is not called again; removing it twice is an error.
    MdigHookFunction(dig, M_GRAB_FRAME_END + M_UNHOOK, &HookLog::Hook, &log);
    MdigGrabContinuous(dig, buf);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    MdigHalt(dig);
    EXPECT_EQ(log.calls, calls);
    MdigHookFunction(dig, M_GRAB_FRAME_END + M_UNHOOK, &HookLog::Hook, &log);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), kMilErrorInvalidParameter);
    MdigHalt(dig); // halting a stopped digitizer does nothing
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
}

TEST_F(MilGrabTest, InTriggerModeFramesComeOnlyWithSoftwareTriggers) {
    Connect(Camera());
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerMode"), MIL_TEXT("On"));
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerSource"), MIL_TEXT("Software"));
    HookLog log;
    MdigHookFunction(dig, M_GRAB_FRAME_END, &HookLog::Hook, &log);
    MdigGrabContinuous(dig, buf);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(log.calls, 0);
    for (int i = 0; i < 3; ++i)
        MdigControlFeature(dig, M_FEATURE_EXECUTE, MIL_TEXT("TriggerSoftware"));
    WaitFor([&] { return log.calls >= 3; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(log.calls, 3);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerMode"), MIL_TEXT("Off"));
    WaitFor([&] { return log.calls >= 6; });
    EXPECT_GE(log.calls, 6);
    MdigHalt(dig);
    MdigHookFunction(dig, M_GRAB_FRAME_END + M_UNHOOK, &HookLog::Hook, &log);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
}

TEST_F(MilGrabTest, TheSceneShowsItsMarksAndReverseMirrorsIt) {
    Connect(Camera());
    const auto plain = Grab();
    ASSERT_EQ(plain.size(), static_cast<std::size_t>(width * height));
    // The centred cross is brighter than the background beside it, and the corners darker than the centre.
    EXPECT_GT(At(plain, width, width / 2, 20), At(plain, width, width / 2 + 20, 20) + 40);
    EXPECT_GT(At(plain, width, width / 2 + 20, height / 2 + 20), At(plain, width, 20, height - 20) + 10);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseX"), 1);
    const auto mirrored = Grab();
    for (MIL_INT y = 0; y < height; y += 7)
        for (MIL_INT x = 0; x < width; x += 5)
            ASSERT_EQ(At(mirrored, width, x, y), At(plain, width, width - 1 - x, y)) << x << "," << y;
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseX"), 0);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseY"), 1);
    const auto flipped = Grab();
    for (MIL_INT y = 0; y < height; y += 3)
        ASSERT_EQ(At(flipped, width, 33, y), At(plain, width, 33, height - 1 - y)) << y;
    EXPECT_NE(flipped, plain);
}

// The scene's grid labels grow with the sensor: on sensors of 10000 pixels a side and more a label is
// wider than its cell, and the label of the last cell in a row starts past the right edge. It is clipped
// there; no pixel outside the plane is drawn (the 16384 x 16384 camera crashed at its first frame).
TEST(SimCanvas, DrawingIsClippedToThePlane) {
    std::vector<float> plane(16 * 4 + 1, 0.0f); // one guard value after the plane
    const SimCanvas canvas{plane, 16, 4};
    canvas.Fill(20, 0, 30, 4, 1.0f);
    canvas.Fill(-5, -5, 0, 10, 1.0f);
    canvas.Fill(3, 2, 3, 4, 1.0f);
    EXPECT_EQ(std::count(plane.begin(), plane.end(), 1.0f), 0);
    canvas.Text(17, 0, "10240,10240", 1, 1.0f);
    canvas.Text(14, 1, "8", 1, 1.0f); // the glyph's first two columns only
    EXPECT_EQ(plane.back(), 0.0f);
    EXPECT_GT(std::count(plane.begin(), plane.end() - 1, 1.0f), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 14; ++x)
            EXPECT_EQ(plane[static_cast<std::size_t>(y) * 16 + x], 0.0f) << x << "," << y;
}

TEST_F(MilGrabTest, BinningAndDecimationShrinkTheImageInsideTheFixedWindow) {
    Connect(Camera());
    const auto plain = Grab();
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("ImageModeSelector"),
                       MIL_TEXT("BinningVertical"));
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BinningVertical"), MIL_INT64(2));
    ASSERT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
    MIL_INT64 rows = 0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Height"), &rows);
    EXPECT_EQ(rows, height / 2);
    const auto binned = Grab();
    for (MIL_INT x = 0; x < width; x += 9) {
        EXPECT_EQ(At(binned, width, x, 10), At(plain, width, x, 20));
        EXPECT_EQ(At(binned, width, x, height - 1), 0); // below the camera image
    }
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("ImageModeSelector"),
                       MIL_TEXT("DecimationHorizontalVertical"));
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("DecimationHorizontalVertical"), MIL_INT64(2));
    const auto decimated = Grab();
    EXPECT_EQ(At(decimated, width, 30, 11), At(plain, width, 60, 22));
    EXPECT_EQ(At(decimated, width, width - 1, 5), 0); // beside the camera image
    // The selector "ROI" ends both.
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("ImageModeSelector"), MIL_TEXT("ROI"));
    EXPECT_EQ(Grab(), plain);
}

TEST_F(MilGrabTest, TestPatternReplacesTheSceneAndBrightnessFeaturesChangeTheMean) {
    Connect(Camera());
    const auto plain = Grab();
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TestPattern"),
                       MIL_TEXT("GreyHorizontalRamp"));
    const auto ramp = Grab();
    for (MIL_INT y = 0; y < height; y += 13) {
        EXPECT_EQ(At(ramp, width, 0, y), 0);
        EXPECT_EQ(At(ramp, width, width - 1, y), 255);
        EXPECT_LE(At(ramp, width, 100, y), At(ramp, width, 101, y));
    }
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TestPattern"), MIL_TEXT("Off"));
    EXPECT_EQ(Grab(), plain);

    const double base = Mean(plain);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ExposureTime"), 20000.0);
    const double exposed = Mean(Grab());
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ExposureTime"), 4000.0);
    const double dark = Mean(Grab());
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 2.0);
    const double gained = Mean(Grab());
    EXPECT_GT(exposed, base + 20);
    EXPECT_LT(dark, base - 20);
    EXPECT_GT(gained, dark + 15);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BlackLevelRaw"), MIL_INT64(818));
    EXPECT_GT(Mean(Grab()), gained + 30);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gamma"), 0.4);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("GammaEnable"), 1);
    const double gamma = Mean(Grab());
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("GammaEnable"), 0);
    EXPECT_GT(gamma, Mean(Grab()) + 20);
    // An inverting LUT turns the image over.
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BlackLevelRaw"), MIL_INT64(0));
    const double before = Mean(Grab());
    for (MIL_INT64 i = 0; i < 4096; ++i) {
        MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("LUTIndex"), i);
        MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("LUTValue"), MIL_INT64(4095 - i));
    }
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("LUTEnable"), 1);
    EXPECT_NEAR(Mean(Grab()), 255 - before, 2.0);
    EXPECT_EQ(MappGetError(M_DEFAULT, M_CURRENT, M_NULL), 0);
}

TEST_F(MilGrabTest, DeepFormatsAndBayerMosaicArriveAsTheDepthsSay) {
    Connect(Camera(true, 10), 16);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("PixelFormat"), MIL_TEXT("Mono10"));
    auto bytes = Grab();
    ASSERT_EQ(bytes.size(), static_cast<std::size_t>(width * height * 2));
    std::vector<std::uint16_t> mono(bytes.size() / 2);
    std::memcpy(mono.data(), bytes.data(), bytes.size());
    const auto top = *std::max_element(mono.begin(), mono.end());
    EXPECT_LE(top, 1023);
    EXPECT_GT(top, 255); // the value sits in the low 10 bits and uses them

    // Into an 8-bit buffer the same frame keeps the top 8 of its 10 bits.
    const MIL_ID deep = buf;
    buf = MbufAlloc2d(sys, width, height, 8 + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC);
    const auto narrow = Grab();
    MbufFree(buf);
    buf = deep;
    ASSERT_EQ(narrow.size(), mono.size());
    for (std::size_t i = 0; i < mono.size(); i += 7)
        ASSERT_EQ(narrow[i], mono[i] >> 2) << "sample " << i;

    // A colour camera in BayerRG: on the red patch R sites are bright and B sites dark, and white
    // balance evens out the cast of the background.
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("PixelFormat"), MIL_TEXT("BayerRG10"));
    bytes = Grab();
    std::vector<std::uint16_t> raw(bytes.size() / 2);
    std::memcpy(raw.data(), bytes.data(), bytes.size());
    auto site = [&](MIL_INT x, MIL_INT y) { return raw[y * width + x]; };
    // Plain background at (104, 100): R is the cast's 1.25 and B its 0.7 of G.
    EXPECT_GT(site(104, 100), site(105, 100) + 20);
    EXPECT_LT(site(105, 101), site(104, 101) - 20);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("BalanceWhiteAuto"), MIL_TEXT("Once"));
    bytes = Grab();
    std::memcpy(raw.data(), bytes.data(), bytes.size());
    EXPECT_NEAR(site(104, 100), site(105, 100), 4);
    EXPECT_NEAR(site(105, 101), site(104, 101), 4);
}
