// The simulated camera's configuration file (the ".dcf" files chosen in the set-up window). Any file is
// either refused with a reason or gives a configuration within the documented limits; reading it from
// the file gives the same answer as parsing its text; and a camera built from an accepted configuration
// answers every feature the program uses, accepts each of its own pixel formats and gives its settings.

#include "FuzzSupport.h"
#include "SimCamera.h"
#include "SimCameraConfig.h"

using namespace kavrino_fuzz;
using kavrino::SimCamera;
using kavrino::SimCameraConfig;

namespace {

const wchar_t* const kFeatures[] = {
    L"AcquisitionFrameRate",
    L"BalanceRatio",
    L"BinningVertical",
    L"BlackLevelRaw",
    L"CxpLinkConfiguration",
    L"DecimationHorizontalVertical",
    L"DeviceModelName",
    L"DeviceSerialNumber",
    L"DeviceVersion",
    L"ExposureTime",
    L"Gain",
    L"Gamma",
    L"Height",
    L"HeightMax",
    L"LUTIndex",
    L"LUTValue",
    L"OffsetX",
    L"OffsetY",
    L"PixelClockReg",
    L"PixelFormat",
    L"ReverseX",
    L"SensorHeight",
    L"SensorWidth",
    L"TestPattern",
    L"TriggerMode",
    L"UserSetSelector",
    L"Width",
    L"WidthMax",
};

bool WithinLimits(const SimCameraConfig& c) {
    return c.sensorWidth >= 64 && c.sensorWidth <= 16384 && c.sensorWidth % 8 == 0 && c.sensorHeight >= 64 &&
           c.sensorHeight <= 16384 && c.sensorHeight % 2 == 0 &&
           (c.bits == 8 || c.bits == 10 || c.bits == 12) && !c.pixelFormats.empty() && !c.model.empty() &&
           !c.serial.empty() && c.frameRateMin > 0.0 && c.frameRateMin <= c.frameRateMax &&
           c.frameRateMax <= 10000.0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SimCameraConfig parsed;
    std::wstring why;
    const bool accepted = parsed.Parse(std::string(reinterpret_cast<const char*>(data), size), why);
    if (!accepted && why.empty())
        Fail("a refused configuration gives no reason");

    const std::string path = ScratchPath("camera.dcf");
    WriteFile(path, data, size);
    SimCameraConfig loaded;
    std::wstring whyLoaded;
    if (loaded.Load(WidePath(path).str(), whyLoaded) != accepted)
        Fail("reading the file and parsing its text disagree");
    if (!accepted)
        return 0;
    if (!WithinLimits(parsed))
        Fail("an accepted configuration is outside the limits");

    SimCamera camera(parsed);
    camera.ApplyFaults(parsed.missing, parsed.refused);
    for (const wchar_t* name : kFeatures) {
        MIL_INT64 type = 0;
        camera.Type(name, type, why);
        for (SimCamera::Query query :
             {SimCamera::Value, SimCamera::Min, SimCamera::Max, SimCamera::Increment}) {
            kavrino::SimValue value;
            camera.Read(name, query, true, value, why);
        }
    }
    for (const std::wstring& format : parsed.pixelFormats) {
        const kavrino::SimValue value = kavrino::SimValue::OfText(format);
        const bool missingOrRefused =
            parsed.missing.count(L"PixelFormat") || parsed.refused.count(L"PixelFormat");
        if (camera.Write(L"PixelFormat", value, why) != kavrino::kMilErrorNone && !missingOrRefused)
            Fail("the camera refuses one of its own pixel formats");
    }
    camera.Snapshot();
    return 0;
}
