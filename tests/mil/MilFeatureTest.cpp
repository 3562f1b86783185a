// Feature access by name: types, typed values, enumeration entries, refusals, state kept across
// re-allocation, fault injection and the digitizer window.
#include "MilTestCamera.h"

#include <thread>
#include <vector>

using namespace kavrino;

namespace {

MIL_INT64 TypeOf(MIL_ID dig, const wchar_t* name) {
    MIL_INT64 type = 0;
    MdigInquireFeature(dig, M_FEATURE_TYPE, name, M_DEFAULT, &type);
    return type;
}

std::wstring TextOf(MIL_ID dig, const wchar_t* name, MIL_INT64 access = M_FEATURE_VALUE_AS_STRING) {
    MIL_TEXT_CHAR text[100] = {};
    MdigInquireFeature(dig, access, name, M_TYPE_STRING, text, 100);
    return text;
}

MIL_INT Error() {
    return MappGetError(M_DEFAULT, M_CURRENT, M_NULL);
}

} // namespace

using MilFeatureTest = MilTestCamera;

TEST_F(MilFeatureTest, TypeInquiryReportsEveryKindAndFailsForUnknownNames) {
    Connect(Camera(true));
    EXPECT_EQ(TypeOf(dig, L"AcquisitionStop"), M_TYPE_COMMAND);
    EXPECT_EQ(TypeOf(dig, L"ExposureTime"), M_TYPE_DOUBLE);
    EXPECT_EQ(TypeOf(dig, L"DeviceModelName"), M_TYPE_STRING);
    EXPECT_EQ(TypeOf(dig, L"ReverseX"), M_TYPE_BOOLEAN);
    EXPECT_EQ(TypeOf(dig, L"PixelFormat"), M_TYPE_ENUMERATION);
    EXPECT_EQ(TypeOf(dig, L"BalanceRatioSelector"), M_TYPE_ENUMERATION);
    EXPECT_EQ(TypeOf(dig, L"BlackLevelRaw"), M_TYPE_INT64);
    EXPECT_EQ(Error(), 0);
    MIL_INT64 type = 0;
    MdigInquireFeature(dig, M_FEATURE_TYPE, MIL_TEXT("NoSuchFeature"), M_DEFAULT, &type);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(Error(), kMilErrorFeatureUnknown);
    MdigInquireFeature(0, M_FEATURE_TYPE, MIL_TEXT("Gain"), M_DEFAULT, &type); // no digitizer
    EXPECT_EQ(type, 0);
    EXPECT_EQ(Error(), kMilErrorInvalidId);
    // A mono camera has no white balance.
    Disconnect();
    Connect(Camera(false));
    EXPECT_EQ(TypeOf(dig, L"BalanceRatio"), 0);
}

TEST_F(MilFeatureTest, ValuesAndLimitsComeInTheFeaturesOwnType) {
    Connect(Camera());
    EXPECT_EQ(TextOf(dig, L"DeviceModelName", M_FEATURE_VALUE), L"TestCam");
    EXPECT_EQ(TextOf(dig, L"DeviceSerialNumber", M_FEATURE_VALUE), L"M1");
    MIL_DOUBLE lo = 0, hi = 0;
    MdigInquireFeature(dig, M_FEATURE_MIN, MIL_TEXT("ExposureTime"), M_TYPE_DOUBLE, &lo);
    MdigInquireFeature(dig, M_FEATURE_MAX, MIL_TEXT("ExposureTime"), &hi);
    EXPECT_GT(hi, lo);
    MIL_INT64 min = -1, max = -1, inc = -1;
    MdigInquireFeature(dig, M_FEATURE_MIN, MIL_TEXT("Width"), &min);
    MdigInquireFeature(dig, M_FEATURE_MAX, MIL_TEXT("Width"), &max);
    MdigInquireFeature(dig, M_FEATURE_INCREMENT, MIL_TEXT("Width"), &inc);
    EXPECT_EQ(max, 256);
    EXPECT_GT(inc, 0);
    EXPECT_EQ((max - min) % inc, 0);
    EXPECT_EQ(Error(), 0);
    // A float has no increment; a command no value.
    MIL_DOUBLE d = 5.0;
    MdigInquireFeature(dig, M_FEATURE_INCREMENT, MIL_TEXT("Gain"), &d);
    EXPECT_NE(Error(), 0);
    EXPECT_EQ(d, 5.0);
    // A read in a type that would lose the value is refused and writes nothing.
    MIL_BOOL b = 7;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ExposureTime"), &b);
    EXPECT_EQ(Error(), kMilErrorFeatureType);
    EXPECT_EQ(b, 7);
}

TEST_F(MilFeatureTest, EnumerationsAreWrittenFromTheirEntryNamesAndUnknownEntriesRefused) {
    Connect(Camera(true));
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerMode"), M_TYPE_STRING,
                       MIL_TEXT("On"));
    EXPECT_EQ(Error(), 0);
    EXPECT_EQ(TextOf(dig, L"TriggerMode"), L"On");
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerSource"), M_TYPE_ENUMERATION,
                       MIL_TEXT("Software"));
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("PixelFormat"), MIL_TEXT("BayerRG8"));
    EXPECT_EQ(Error(), 0);
    EXPECT_EQ(TextOf(dig, L"TriggerSource", M_FEATURE_VALUE), L"Software");
    EXPECT_EQ(TextOf(dig, L"PixelFormat"), L"BayerRG8");
    for (const wchar_t* bad : {L"on", L"Line2", L""}) {
        MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TriggerSource"), bad);
        EXPECT_EQ(Error(), kMilErrorFeatureEntry) << bad;
    }
    EXPECT_EQ(TextOf(dig, L"TriggerSource"), L"Software");
    // Selected features keep one value per selector entry.
    const wchar_t* colours[] = {L"Red", L"Green", L"Blue"};
    for (int i = 0; i < 3; ++i) {
        MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("BalanceRatioSelector"), colours[i]);
        MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BalanceRatio"), 1.0 + i);
    }
    for (int i = 0; i < 3; ++i) {
        MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("BalanceRatioSelector"), colours[i]);
        MIL_DOUBLE ratio = 0;
        MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BalanceRatio"), &ratio);
        EXPECT_EQ(ratio, 1.0 + i);
    }
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("LineSelector"), MIL_TEXT("Line5"));
    EXPECT_EQ(TextOf(dig, L"LineMode"), L"Output");
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("LineSelector"), MIL_TEXT("Line1"));
    EXPECT_EQ(TextOf(dig, L"LineMode"), L"Input");
    EXPECT_EQ(Error(), 0);
}

TEST_F(MilFeatureTest, TypedAndTextWritesConvertOnlyWithoutLoss) {
    Connect(Camera());
    MIL_BOOL inverter = 1; // the 32-bit value of a boolean, through the C-style form
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("LineInverter"), M_TYPE_BOOLEAN, &inverter);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BinningVertical"), 2); // an int literal
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BlackLevelRaw"), MIL_INT64(204));
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("GammaEnable"), M_TYPE_BOOLEAN,
                       MIL_TEXT("1"));
    EXPECT_EQ(Error(), 0);
    MIL_BOOL b = 0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("LineInverter"), M_TYPE_BOOLEAN, &b);
    EXPECT_EQ(b, 1);
    MIL_INT64 binning = 0, black = 0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BinningVertical"), &binning);
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BlackLevelRaw"), M_TYPE_INT64, &black);
    EXPECT_EQ(binning, 2);
    EXPECT_EQ(black, 204);
    EXPECT_EQ(TextOf(dig, L"GammaEnable"), L"1");
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseX"), 2);
    EXPECT_EQ(Error(), kMilErrorFeatureType);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BlackLevelRaw"), 2.5);
    EXPECT_EQ(Error(), kMilErrorFeatureType);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("Gain"), MIL_TEXT("2.0x"));
    EXPECT_EQ(Error(), kMilErrorFeatureType);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), M_DEFAULT, nullptr);
    EXPECT_EQ(Error(), kMilErrorInvalidParameter);
    // A number is never taken for the characters of a text, either way.
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("Gain"), 2.0);
    EXPECT_EQ(Error(), kMilErrorInvalidParameter);
    MIL_DOUBLE gain = -1.0;
    MdigInquireFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("Gain"), &gain);
    EXPECT_NE(Error(), 0);
    EXPECT_EQ(gain, -1.0);
}

TEST_F(MilFeatureTest, WhatARealCameraRefusesRaisesTheErrorAndChangesNothing) {
    Connect(Camera());
    struct Case {
        const wchar_t* name;
        double value;
        MIL_INT code;
    } numeric[] = {
        {L"Gain", 0.5, kMilErrorFeatureRange},         {L"ExposureTime", 2e6, kMilErrorFeatureRange},
        {L"Width", 100, kMilErrorFeatureRange}, // off the increment of 8
        {L"Width", 264, kMilErrorFeatureRange}, // wider than the sensor
        {L"BlackLevelRaw", -1, kMilErrorFeatureRange}, {L"SensorWidth", 128, kMilErrorFeatureAccess},
        {L"PixelClockReg", 5, kMilErrorFeatureAccess}, {L"NoSuchFeature", 1, kMilErrorFeatureUnknown},
    };
    for (const auto& c : numeric) {
        MdigControlFeature(dig, M_FEATURE_VALUE, c.name, c.value);
        EXPECT_EQ(Error(), c.code) << c.name;
    }
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("DeviceModelName"), MIL_TEXT("Other"));
    EXPECT_EQ(Error(), kMilErrorFeatureAccess);
    MdigControlFeature(dig, M_FEATURE_EXECUTE, MIL_TEXT("Gain"));
    EXPECT_EQ(Error(), kMilErrorFeatureType);
    MIL_INT64 width = 0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Width"), &width);
    EXPECT_EQ(width, 256);

    // Geometry and format are locked while the camera acquires; brightness is not.
    MdigGrabContinuous(dig, buf);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("PixelFormat"), MIL_TEXT("Mono10"));
    EXPECT_EQ(Error(), kMilErrorFeatureAccess);
    for (const wchar_t* locked : {L"ImageModeSelector", L"CxpLinkConfiguration"}) {
        MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, locked, locked[0] == L'I' ? L"ROI" : L"CXP1_X1");
        EXPECT_EQ(Error(), kMilErrorFeatureAccess);
    }
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BinningVertical"), MIL_INT64(2));
    EXPECT_EQ(Error(), kMilErrorFeatureAccess);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 2.0);
    EXPECT_EQ(Error(), 0);
    MdigHalt(dig);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("PixelFormat"), MIL_TEXT("Mono10"));
    EXPECT_EQ(Error(), 0);

    // An automatic mode that runs continuously owns its value.
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("GainAuto"), MIL_TEXT("Continuous"));
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 3.0);
    EXPECT_EQ(Error(), kMilErrorFeatureAccess);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("GainAuto"), MIL_TEXT("Off"));
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 3.0);
    EXPECT_EQ(Error(), 0);
}

TEST_F(MilFeatureTest, TheDigitizerWindowStaysInsideTheSensor) {
    Connect(Camera());
    EXPECT_EQ(width, 256);
    EXPECT_EQ(height, 128);
    MdigControl(dig, M_SIZE_X, 128);
    MdigControl(dig, M_SOURCE_OFFSET_X, 128);
    EXPECT_EQ(Error(), 0);
    MdigControl(dig, M_SOURCE_OFFSET_X, 132);
    EXPECT_EQ(Error(), kMilErrorWindow);
    MdigControl(dig, M_SIZE_X, 160);
    EXPECT_EQ(Error(), kMilErrorWindow);
    MdigControl(dig, M_SIZE_Y, 0);
    EXPECT_EQ(Error(), kMilErrorWindow);
    MdigControl(dig, M_SIZE_Y, 64.5);
    EXPECT_EQ(Error(), kMilErrorInvalidParameter);
    MdigControl(dig, M_SOURCE_OFFSET_X, -8); // a negative start
    EXPECT_NE(Error(), 0);
    EXPECT_EQ(MdigInquire(dig, M_SIZE_X), 128);
    EXPECT_EQ(MdigInquire(dig, M_SOURCE_OFFSET_X), 128);
    // Offsets may move while grabbing, the size may not.
    MdigGrabContinuous(dig, buf);
    MdigControl(dig, M_SOURCE_OFFSET_X, 0);
    EXPECT_EQ(Error(), 0);
    MdigControl(dig, M_SIZE_Y, 64);
    EXPECT_EQ(Error(), kMilErrorBusy);
    MdigHalt(dig);
    MdigControl(dig, M_SIZE_Y, 64);
    EXPECT_EQ(Error(), 0);
    MIL_INT h = 0;
    EXPECT_EQ(MdigInquire(dig, M_SIZE_Y, &h), 64);
    EXPECT_EQ(h, 64);
}

TEST_F(MilFeatureTest, TheCameraKeepsItsValuesWhileTheGrabberIsAllocatedAgain) {
    Connect(Camera(false, 8));
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("PixelFormat"), MIL_TEXT("Mono10"));
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ExposureTime"), 4000.0);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseY"), 1);
    Disconnect();
    Connect(Camera(false, 10), 16); // the 10-bit file of the same camera
    EXPECT_EQ(MdigInquire(dig, M_SIZE_BIT), 10);
    EXPECT_EQ(TextOf(dig, L"PixelFormat"), L"Mono10");
    MIL_DOUBLE exposure = 0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ExposureTime"), &exposure);
    EXPECT_EQ(exposure, 4000.0);
    EXPECT_EQ(TextOf(dig, L"ReverseY"), L"1");
    // The digitizer window is the grabber's, so it starts again at the full sensor.
    EXPECT_EQ(width, 256);
}

TEST_F(MilFeatureTest, FaultInjectionRemovesFeaturesAndRefusesWrites) {
    Connect(Camera(false, 8, "missing = LineInverter, Gain\nrefuse = ReverseY, TriggerSoftware\n"));
    EXPECT_EQ(TypeOf(dig, L"LineInverter"), 0);
    EXPECT_EQ(Error(), kMilErrorFeatureUnknown);
    EXPECT_EQ(TypeOf(dig, L"ReverseY"), M_TYPE_BOOLEAN);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseY"), 1);
    EXPECT_EQ(Error(), kMilErrorFeatureRefused);
    MdigControlFeature(dig, M_FEATURE_EXECUTE, MIL_TEXT("TriggerSoftware"), M_TYPE_COMMAND, M_NULL);
    EXPECT_EQ(Error(), kMilErrorFeatureRefused);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseX"), 1);
    EXPECT_EQ(Error(), 0);
    // Faults come from every allocation's file, and the test interface switches them directly.
    Disconnect();
    Connect(Camera());
    EXPECT_EQ(TypeOf(dig, L"Gain"), M_TYPE_DOUBLE);
    auto camera = SimCameraRegistry::Find(L"M1");
    ASSERT_TRUE(camera);
    camera->SetRefused(L"TestPattern", true);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TestPattern"),
                       MIL_TEXT("GreyHorizontalRamp"));
    EXPECT_EQ(Error(), kMilErrorFeatureRefused);
    camera->SetMissing(L"DeviceVersion", true);
    MIL_TEXT_CHAR text[100] = {L'x', 0};
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("DeviceVersion"), M_TYPE_STRING, text, 100);
    EXPECT_EQ(Error(), kMilErrorFeatureUnknown);
    EXPECT_EQ(std::wstring(text), L"x");
}

// Some cameras describe their booleans as 64-bit integers from 0 to 1; the camera acts on them the same.
TEST_F(MilFeatureTest, ACameraMayReportItsBooleansAsIntegers) {
    // Only the camera's booleans can be named.
    app = MappAlloc(MIL_TEXT("M_DEFAULT"), M_DEFAULT);
    sys = MsysAlloc(M_DEFAULT, M_SYSTEM_RADIENTCXP, M_DEFAULT, M_DEFAULT);
    const std::wstring gain = Write("gain.dcf", Camera(false, 8, "integer_booleans = Gain\n"));
    EXPECT_EQ(MdigAlloc(sys, M_DEV0, gain.c_str(), M_DEFAULT), 0);
    EXPECT_NE(MilLastErrorText().find(L"'integer_booleans' names 'Gain'"), std::wstring::npos);
    MsysFree(sys);
    MappFree(app);
    Connect(Camera(false, 8, "integer_booleans = ReverseX, GammaEnable\n"));
    EXPECT_EQ(TypeOf(dig, L"ReverseX"), M_TYPE_INT64);
    EXPECT_EQ(TypeOf(dig, L"ReverseY"), M_TYPE_BOOLEAN);
    MIL_INT64 max = 0;
    MdigInquireFeature(dig, M_FEATURE_MAX, MIL_TEXT("ReverseX"), &max);
    EXPECT_EQ(max, 1);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseX"), MIL_INT64{2});
    EXPECT_EQ(Error(), kMilErrorFeatureRange);

    const std::vector<std::uint8_t> straight = Grab();
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ReverseX"), MIL_INT64{1});
    EXPECT_EQ(Error(), 0);
    const std::vector<std::uint8_t> mirrored = Grab();
    ASSERT_EQ(mirrored.size(), straight.size());
    const std::size_t w = static_cast<std::size_t>(width);
    for (std::size_t x = 0; x < w; ++x)
        ASSERT_EQ(mirrored[x], straight[w - 1 - x]) << x;

    // Gamma and the LUT still exclude each other, whatever type each has.
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("GammaEnable"), MIL_INT64{1});
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("LUTEnable"), MIL_BOOL{1});
    EXPECT_EQ(Error(), 0);
    EXPECT_EQ(TextOf(dig, L"GammaEnable"), L"0");
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("GammaEnable"), MIL_INT64{1});
    EXPECT_EQ(TextOf(dig, L"LUTEnable"), L"0");
}

TEST_F(MilFeatureTest, TextReadsNeverWritePastTheBuffer) {
    const std::string longModel(80, 'K');
    std::string config = Camera();
    config.replace(config.find("TestCam"), 7, longModel.substr(0, 63));
    Connect(config);
    MIL_TEXT_CHAR small[8];
    std::fill(std::begin(small), std::end(small), L'#');
    MIL_TEXT_CHAR guard[4] = {L'g', L'g', L'g', 0};
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("DeviceModelName"), M_TYPE_STRING, small, 5);
    EXPECT_EQ(std::wstring(small), L"KKKK");
    EXPECT_EQ(small[5], L'#');
    EXPECT_EQ(std::wstring(guard), L"ggg");
    // The form without a length writes at most the documented size.
    MIL_TEXT_CHAR full[M_FEATURE_TEXT_SIZE + 8];
    std::fill(std::begin(full), std::end(full), L'#');
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("DeviceModelName"), M_TYPE_STRING, full);
    EXPECT_EQ(std::wstring(full).size(), 63u);
    EXPECT_EQ(full[M_FEATURE_TEXT_SIZE], L'#');
}

TEST_F(MilFeatureTest, CommandsAutomaticFunctionsAndTheVendorChannelAct) {
    Connect(Camera(true));
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 2.0);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("ExposureAuto"), MIL_TEXT("Once"));
    EXPECT_EQ(TextOf(dig, L"ExposureAuto"), L"Off"); // Once falls back to Off
    MIL_DOUBLE exposure = 0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ExposureTime"), &exposure);
    EXPECT_DOUBLE_EQ(exposure, 5000.0);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("BalanceWhiteAuto"), MIL_TEXT("Once"));
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("BalanceRatioSelector"), MIL_TEXT("Blue"));
    MIL_DOUBLE blue = 0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("BalanceRatio"), &blue);
    EXPECT_GT(blue, 1.0);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("LUTEnable"), 1);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("GammaEnable"), 1);
    EXPECT_EQ(TextOf(dig, L"LUTEnable"), L"0"); // one correction stage at a time
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("Command"), MIL_TEXT("WFREERUN 7D0"));
    MIL_DOUBLE rate = 0;
    MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("AcquisitionFrameRate"), &rate);
    EXPECT_DOUBLE_EQ(rate, 50.0); // the pixel clock 100000 over 2000
    EXPECT_EQ(TextOf(dig, L"AcquisitionFrameRateEnable"), L"On");
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("Command"), MIL_TEXT("WAGCMODE 0x2"));
    EXPECT_EQ(TextOf(dig, L"GainAuto"), L"Continuous");
    EXPECT_EQ(Error(), 0);
    MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("Command"), MIL_TEXT("REBOOT"));
    EXPECT_EQ(Error(), kMilErrorFeatureRefused);
    MdigControlFeature(dig, M_FEATURE_EXECUTE, MIL_TEXT("AcquisitionStop"), M_TYPE_COMMAND, M_NULL);
    MdigControlFeature(dig, M_FEATURE_EXECUTE, MIL_TEXT("GainUpdateFeature"));
    EXPECT_EQ(Error(), 0);
    EXPECT_EQ(SimCameraRegistry::Find(L"C1")->Executions(L"AcquisitionStop"), 1);
}

// The library's callers (the user interface, the grab thread and tests) share one camera: every call
// must see it whole. Lost counts or failed calls here mean a call ran without the camera's lock.
TEST_F(MilFeatureTest, CallsFromManyThreadsAtOnceAreEachCountedAndAnswered) {
    Connect(Camera());
    MdigGrabContinuous(dig, buf); // the grab thread reads the camera for every frame meanwhile
    constexpr int kThreads = 8;
    constexpr int kCalls = 4000;
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kCalls; ++i) {
                MdigControlFeature(dig, M_FEATURE_EXECUTE, MIL_TEXT("GainUpdateFeature"));
                MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), 1.0 + (t + i) % 8);
                MdigControlFeature(dig, M_FEATURE_VALUE_AS_STRING, MIL_TEXT("TestPattern"),
                                   (t + i) % 2 ? MIL_TEXT("GreyHorizontalRamp")
                                               : MIL_TEXT("GreyVerticalRamp"));
                MIL_DOUBLE gain = 0.0;
                MdigInquireFeature(dig, M_FEATURE_VALUE, MIL_TEXT("Gain"), &gain);
                const std::wstring pattern = TextOf(dig, L"TestPattern");
                if (MappGetError(M_DEFAULT, M_CURRENT, M_NULL) != 0 || gain < 1.0 || gain > 8.0 ||
                    (pattern != L"GreyHorizontalRamp" && pattern != L"GreyVerticalRamp"))
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    MdigHalt(dig);
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
    EXPECT_EQ(SimCameraRegistry::Find(L"M1")->Executions(L"GainUpdateFeature"), kThreads * kCalls);
}
