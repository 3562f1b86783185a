#include "SimCamera.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>

namespace kavrino {

namespace {

// The exposure at which the scene fills about half of the range at gain 1.
constexpr double kReferenceExposure = 10000.0;
// The colour cast of the colour models' scene (red, green, blue); white balance divides it out.
constexpr double kCast[3] = {1.25, 1.0, 0.7};

std::wstring Lower(std::wstring s) {
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

std::wstring FormatDouble(double v) {
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.15g", v);
    return buf;
}

// Link bandwidth in bytes per second: lanes x line rate, 8b/10b coded.
double LinkBytesPerSecond(const std::wstring& link) {
    int speed = 6, lanes = 1;
    if (std::swscanf(link.c_str(), L"CXP%d_X%d", &speed, &lanes) != 2)
        return 1e12;
    const double gbps = speed == 1 ? 1.25 : speed == 2 ? 2.5 : speed == 3 ? 3.125 : speed == 5 ? 5.0 : 6.25;
    return lanes * gbps * 1e9 * 0.8 / 8.0;
}

int FormatBits(const std::wstring& format) {
    if (format.size() >= 2 && format.compare(format.size() - 2, 2, L"12") == 0)
        return 12;
    if (format.size() >= 2 && format.compare(format.size() - 2, 2, L"10") == 0)
        return 10;
    return 8;
}

} // namespace

SimCamera::SimCamera(const SimCameraConfig& config) : m_config(config) {
    AddFeatures();
    UpdateGeometry(true);
    m_factory = m_features;
}

SimFeature& SimCamera::Add(SimFeature::Type type, const std::wstring& name) {
    SimFeature& f = m_features[name];
    f.type = type;
    f.name = name;
    return f;
}

void SimCamera::AddFeatures() {
    using F = SimFeature;
    auto text = [this](const std::wstring& name, const std::wstring& value) {
        F& f = Add(F::String, name);
        f.writable = false;
        f.affectsImage = false;
        f.value = SimValue::OfText(value);
    };
    auto enumeration = [this](const std::wstring& name, std::vector<std::wstring> entries,
                              const std::wstring& v, bool image = true) -> F& {
        F& f = Add(F::Enumeration, name);
        f.entries = std::move(entries);
        f.value = SimValue::OfText(v);
        f.affectsImage = image;
        return f;
    };
    auto number = [this](const std::wstring& name, double lo, double hi, double v, bool image = true) -> F& {
        F& f = Add(F::Float, name);
        f.dMin = lo;
        f.dMax = hi;
        f.value = SimValue::OfDouble(v);
        f.affectsImage = image;
        return f;
    };
    auto integer = [this](const std::wstring& name, std::int64_t lo, std::int64_t hi, std::int64_t inc,
                          std::int64_t v, bool image = true) -> F& {
        F& f = Add(F::Integer, name);
        f.iMin = lo;
        f.iMax = hi;
        f.iInc = inc;
        f.value = SimValue::OfInt(v);
        f.affectsImage = image;
        return f;
    };
    auto boolean = [this](const std::wstring& name, bool v) -> F& {
        if (m_config.integerBooleans.count(name)) {
            F& f = Add(F::Integer, name);
            f.iMin = 0;
            f.iMax = 1;
            f.value = SimValue::OfInt(v ? 1 : 0);
            return f;
        }
        F& f = Add(F::Boolean, name);
        f.value = SimValue::OfBool(v);
        return f;
    };
    auto command = [this](const std::wstring& name) {
        F& f = Add(F::Command, name);
        f.readable = false;
        f.affectsImage = false;
    };
    const SimCameraConfig& c = m_config;

    text(L"DeviceVendorName", c.vendor);
    text(L"DeviceModelName", c.model);
    text(L"DeviceSerialNumber", c.serial);
    text(L"DeviceVersion", c.version);
    text(L"DeviceFirmwareVersion", c.version);

    enumeration(L"AcquisitionMode", {L"Continuous"}, L"Continuous", false);
    command(L"AcquisitionStart");
    command(L"AcquisitionStop");
    number(L"AcquisitionFrameRate", c.frameRateMin, c.frameRateMax, c.frameRateMax, false);
    enumeration(L"AcquisitionFrameRateEnable", {L"Off", L"On"}, L"Off", false);
    F& clock = integer(L"PixelClockReg", c.pixelClock, c.pixelClock, 1, c.pixelClock, false);
    clock.writable = false;

    enumeration(L"TriggerSelector", {L"FrameStart"}, L"FrameStart", false);
    enumeration(L"TriggerMode", {L"Off", L"On"}, L"Off", false);
    enumeration(L"TriggerSource", {L"CXP_Trigger", L"Line4", L"Software"}, L"CXP_Trigger", false);
    command(L"TriggerSoftware");

    enumeration(L"LineSelector", {L"Line1", L"Line4", L"Line5", L"Line6"}, L"Line1", false);
    F& lineMode = enumeration(L"LineMode", {L"Input", L"Output"}, L"Input", false);
    lineMode.writable = false;
    lineMode.selector = L"LineSelector";
    F& inverter = boolean(L"LineInverter", false);
    inverter.selector = L"LineSelector";
    inverter.affectsImage = false;

    F& format = enumeration(L"PixelFormat", c.pixelFormats, c.pixelFormats.front());
    format.lockedWhileAcquiring = true;

    const int w = c.sensorWidth, h = c.sensorHeight;
    integer(L"SensorWidth", w, w, 1, w).writable = false;
    integer(L"SensorHeight", h, h, 1, h).writable = false;
    integer(L"WidthMax", w, w, 1, w).writable = false;
    integer(L"HeightMax", h, h, 1, h).writable = false;
    integer(L"Width", 64, w, 8, w).lockedWhileAcquiring = true;
    integer(L"Height", 64, h, 2, h).lockedWhileAcquiring = true;
    integer(L"OffsetX", 0, 0, 8, 0).lockedWhileAcquiring = true;
    integer(L"OffsetY", 0, 0, 2, 0).lockedWhileAcquiring = true;

    enumeration(L"ImageModeSelector", {L"ROI", L"BinningVertical", L"DecimationHorizontalVertical"}, L"ROI")
        .lockedWhileAcquiring = true;
    integer(L"BinningVertical", 1, 4, 1, 1).lockedWhileAcquiring = true;
    integer(L"DecimationHorizontalVertical", 1, 4, 1, 1).lockedWhileAcquiring = true;
    boolean(L"ReverseX", false);
    boolean(L"ReverseY", false);
    enumeration(L"TestPattern", {L"Off", L"GreyHorizontalRamp", L"GreyVerticalRamp"}, L"Off");
    enumeration(L"CxpLinkConfiguration", SimCameraConfig::LinkConfigurations(), c.link, false)
        .lockedWhileAcquiring = true;

    number(L"ExposureTime", 4.0, 1000000.0, kReferenceExposure);
    enumeration(L"ExposureAuto", {L"Off", L"Once", L"Continuous"}, L"Off");
    number(L"Gain", 1.0, 16.0, 1.0);
    enumeration(L"GainAuto", {L"Off", L"Once", L"Continuous"}, L"Off");
    command(L"GainUpdateFeature");
    if (c.color) {
        enumeration(L"BalanceRatioSelector", {L"Red", L"Green", L"Blue"}, L"Red", false);
        number(L"BalanceRatio", 0.125, 8.0, 1.0).selector = L"BalanceRatioSelector";
        enumeration(L"BalanceWhiteAuto", {L"Off", L"Once", L"Continuous"}, L"Off");
    }
    integer(L"BlackLevelRaw", 0, 1023, 1, 0);
    boolean(L"GammaEnable", false);
    number(L"Gamma", 0.1, 4.0, 1.0);
    boolean(L"LUTEnable", false);
    const std::int64_t lutMax = c.lutSize - 1;
    integer(L"LUTIndex", 0, lutMax, 1, 0, false);
    integer(L"LUTValue", 0, lutMax, 1, 0).selector = L"LUTIndex";

    enumeration(L"UserSetSelector", {L"Default", L"UserSet0", L"UserSet1", L"UserSet2"}, L"Default", false);
    command(L"UserSetSave");
    command(L"UserSetLoad");
    for (const wchar_t* name : {L"BlackCalibration", L"WhiteCalibration", L"BlackBalance", L"WhiteBlalance"})
        command(name);
    // The vendor's text command channel ("WAGCMODE 0x1", "WFREERUN 7D0").
    F& channel = Add(F::String, L"Command");
    channel.affectsImage = false;
    channel.value = SimValue::OfText(L"");
}

void SimCamera::ApplyFaults(const std::set<std::wstring>& missing, const std::set<std::wstring>& refused) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_missing = missing;
    m_refused = refused;
}

void SimCamera::SetMissing(const std::wstring& name, bool missing) {
    std::lock_guard<std::mutex> lock(m_mutex);
    missing ? void(m_missing.insert(name)) : void(m_missing.erase(name));
}

void SimCamera::SetRefused(const std::wstring& name, bool refused) {
    std::lock_guard<std::mutex> lock(m_mutex);
    refused ? void(m_refused.insert(name)) : void(m_refused.erase(name));
}

bool SimCamera::SetIntegerRange(const std::wstring& name, std::int64_t min, std::int64_t max,
                                std::int64_t inc) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_features.find(name);
    if (it == m_features.end() || it->second.type != SimFeature::Integer)
        return false;
    it->second.iMin = min;
    it->second.iMax = max;
    it->second.iInc = inc;
    return true;
}

const SimFeature* SimCamera::Find(const std::wstring& name, std::wstring& why) const {
    const auto it = m_features.find(name);
    if (it == m_features.end() || m_missing.count(name)) {
        why = L"the camera has no feature '" + name + L"'";
        return nullptr;
    }
    return &it->second;
}

std::wstring SimCamera::SelectorKey(const SimFeature& f) const {
    const SimFeature& sel = m_features.at(f.selector);
    return sel.type == SimFeature::Integer ? std::to_wstring(sel.value.i) : sel.value.s;
}

SimValue SimCamera::DefaultSelected(const SimFeature& f, const std::wstring& key) const {
    if (f.name == L"LUTValue")
        return SimValue::OfInt(std::stoll(key));
    if (f.name == L"LineMode")
        return SimValue::OfText(key == L"Line5" || key == L"Line6" ? L"Output" : L"Input");
    return f.value;
}

SimValue SimCamera::Current(const SimFeature& f) const {
    if (f.selector.empty())
        return f.value;
    const std::wstring key = SelectorKey(f);
    const auto it = f.selected.find(key);
    return it != f.selected.end() ? it->second : DefaultSelected(f, key);
}

void SimCamera::Store(SimFeature& f, const SimValue& v) {
    if (f.selector.empty())
        f.value = v;
    else
        f.selected[SelectorKey(f)] = v;
}

std::wstring SimCamera::Text(const std::wstring& name) const {
    return Current(m_features.at(name)).s;
}

bool SimCamera::Flag(const std::wstring& name) const {
    const SimValue& v = m_features.at(name).value;
    return v.kind == SimValue::Int ? v.i != 0 : v.b;
}

void SimCamera::ClearFlag(const std::wstring& name) {
    SimFeature& f = m_features.at(name);
    f.value = f.type == SimFeature::Integer ? SimValue::OfInt(0) : SimValue::OfBool(false);
}

double SimCamera::Number(const std::wstring& name) const {
    const SimValue v = Current(m_features.at(name));
    return v.kind == SimValue::Int ? static_cast<double>(v.i) : v.d;
}

MIL_INT SimCamera::Type(const std::wstring& name, MIL_INT64& type, std::wstring& why) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const SimFeature* f = Find(name, why);
    if (!f)
        return kMilErrorFeatureUnknown;
    static const MIL_INT64 codes[] = {M_TYPE_COMMAND, M_TYPE_DOUBLE,      M_TYPE_STRING,
                                      M_TYPE_BOOLEAN, M_TYPE_ENUMERATION, M_TYPE_INT64};
    type = codes[f->type];
    return kMilErrorNone;
}

bool SimCamera::Describe(const std::wstring& name, SimFeature::Type& type, bool& readable, bool& writable,
                         std::vector<std::wstring>* entries) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::wstring why;
    const SimFeature* f = Find(name, why);
    if (!f)
        return false;
    type = f->type;
    readable = f->readable;
    writable = f->writable && !(f->lockedWhileAcquiring && m_acquiring);
    if (entries)
        *entries = f->entries;
    return true;
}

MIL_INT SimCamera::Read(const std::wstring& name, Query query, bool asText, SimValue& out,
                        std::wstring& why) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const SimFeature* f = Find(name, why);
    if (!f)
        return kMilErrorFeatureUnknown;
    if (!f->readable) {
        why = L"'" + name + L"' cannot be read";
        return kMilErrorFeatureAccess;
    }
    SimValue v;
    if (query == Value) {
        v = Current(*f);
        if (f->type == SimFeature::Enumeration) {
            const auto it = std::find(f->entries.begin(), f->entries.end(), v.s);
            v.i = it - f->entries.begin();
        }
    } else if (f->type == SimFeature::Integer) {
        v = SimValue::OfInt(query == Min ? f->iMin : query == Max ? f->iMax : f->iInc);
    } else if (f->type == SimFeature::Float && query != Increment) {
        v = SimValue::OfDouble(query == Min ? f->dMin : f->dMax);
    } else {
        why = L"'" + name + L"' has no " + (query == Increment ? L"increment" : L"limits");
        return kMilErrorFeatureType;
    }
    if (asText && v.kind != SimValue::Text) {
        std::wstring t = v.kind == SimValue::Double ? FormatDouble(v.d)
                         : v.kind == SimValue::Int  ? std::to_wstring(v.i)
                                                    : std::wstring(v.b ? L"1" : L"0");
        v = SimValue::OfText(t);
    }
    out = v;
    return kMilErrorNone;
}

MIL_INT SimCamera::Convert(const SimFeature& f, const SimValue& in, SimValue& out, std::wstring& why) const {
    const std::wstring bad = L"value of the wrong kind for '" + f.name + L"'";
    switch (f.type) {
    case SimFeature::Enumeration:
        if (in.kind == SimValue::Text) {
            out = in;
        } else if (in.kind == SimValue::Int && in.i >= 0 &&
                   in.i < static_cast<std::int64_t>(f.entries.size())) {
            out = SimValue::OfText(f.entries[static_cast<std::size_t>(in.i)]);
        } else {
            why = bad;
            return in.kind == SimValue::Int ? kMilErrorFeatureEntry : kMilErrorFeatureType;
        }
        return kMilErrorNone;
    case SimFeature::String:
        if (in.kind != SimValue::Text) {
            why = bad;
            return kMilErrorFeatureType;
        }
        out = in;
        return kMilErrorNone;
    case SimFeature::Boolean: {
        if (in.kind == SimValue::Text) {
            const std::wstring t = Lower(in.s);
            if (t == L"1" || t == L"true" || t == L"on")
                out = SimValue::OfBool(true);
            else if (t == L"0" || t == L"false" || t == L"off")
                out = SimValue::OfBool(false);
            else
                break;
            return kMilErrorNone;
        }
        const double d = in.kind == SimValue::Int      ? static_cast<double>(in.i)
                         : in.kind == SimValue::Double ? in.d
                                                       : -1;
        if (in.kind == SimValue::Bool)
            out = in;
        else if (d == 0.0 || d == 1.0)
            out = SimValue::OfBool(d == 1.0);
        else
            break;
        return kMilErrorNone;
    }
    case SimFeature::Integer: {
        long long v = 0;
        if (in.kind == SimValue::Int)
            v = in.i;
        else if (in.kind == SimValue::Bool)
            v = in.b ? 1 : 0;
        else if (in.kind == SimValue::Double && std::floor(in.d) == in.d && std::fabs(in.d) < 9e18)
            v = static_cast<std::int64_t>(in.d);
        else if (in.kind != SimValue::Text || !SimCameraConfig::ParseInteger(in.s, v, 0))
            break;
        out = SimValue::OfInt(v);
        return kMilErrorNone;
    }
    case SimFeature::Float: {
        double v = 0.0;
        if (in.kind == SimValue::Double)
            v = in.d;
        else if (in.kind == SimValue::Int)
            v = static_cast<double>(in.i);
        else if (in.kind != SimValue::Text || !SimCameraConfig::ParseReal(in.s, v))
            break;
        if (!std::isfinite(v))
            break;
        out = SimValue::OfDouble(v);
        return kMilErrorNone;
    }
    case SimFeature::Command:
        why = L"'" + f.name + L"' is a command: execute it";
        return kMilErrorFeatureType;
    }
    why = bad;
    return kMilErrorFeatureType;
}

MIL_INT SimCamera::Check(const SimFeature& f, const SimValue& v, std::wstring& why) const {
    if (f.type == SimFeature::Enumeration &&
        std::find(f.entries.begin(), f.entries.end(), v.s) == f.entries.end()) {
        why = L"'" + v.s + L"' is not an entry of '" + f.name + L"'";
        return kMilErrorFeatureEntry;
    }
    if (f.type == SimFeature::Integer) {
        if (v.i < f.iMin || v.i > f.iMax) {
            why = L"'" + f.name + L"' " + std::to_wstring(v.i) + L" is outside " + std::to_wstring(f.iMin) +
                  L" to " + std::to_wstring(f.iMax);
            return kMilErrorFeatureRange;
        }
        if (f.iInc > 1 && (v.i - f.iMin) % f.iInc != 0) {
            why = L"'" + f.name + L"' " + std::to_wstring(v.i) + L" is not a step of " +
                  std::to_wstring(f.iInc);
            return kMilErrorFeatureRange;
        }
    }
    if (f.type == SimFeature::Float && (v.d < f.dMin || v.d > f.dMax)) {
        why = L"'" + f.name + L"' " + FormatDouble(v.d) + L" is outside " + FormatDouble(f.dMin) + L" to " +
              FormatDouble(f.dMax);
        return kMilErrorFeatureRange;
    }
    return kMilErrorNone;
}

MIL_INT SimCamera::Write(const std::wstring& name, const SimValue& value, std::wstring& why) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const SimFeature* found = Find(name, why);
        if (!found)
            return kMilErrorFeatureUnknown;
        SimFeature& f = m_features.at(name);
        if (m_refused.count(name)) {
            why = L"the camera refused the write of '" + name + L"'";
            return kMilErrorFeatureRefused;
        }
        if (f.type == SimFeature::Command) {
            why = L"'" + name + L"' is a command: execute it";
            return kMilErrorFeatureType;
        }
        if (!f.writable) {
            why = L"'" + name + L"' is read-only";
            return kMilErrorFeatureAccess;
        }
        if (f.lockedWhileAcquiring && m_acquiring) {
            why = L"'" + name + L"' cannot change while the camera acquires";
            return kMilErrorFeatureAccess;
        }
        const bool autoLocked = (name == L"ExposureTime" && Text(L"ExposureAuto") == L"Continuous") ||
                                (name == L"Gain" && Text(L"GainAuto") == L"Continuous") ||
                                (name == L"BalanceRatio" && Text(L"BalanceWhiteAuto") == L"Continuous");
        if (autoLocked) {
            why = L"'" + name + L"' is set by the camera's automatic mode";
            return kMilErrorFeatureAccess;
        }
        SimValue v;
        MIL_INT code = Convert(f, value, v, why);
        if (code == kMilErrorNone)
            code = Check(f, v, why);
        if (code == kMilErrorNone && name == L"Command")
            code = RunVendorCommand(v.s, why);
        if (code != kMilErrorNone)
            return code;
        Store(f, v);
        AfterWrite(name);
        if (f.affectsImage)
            ++m_imageGeneration;
        ++m_generation;
    }
    return kMilErrorNone;
}

void SimCamera::AfterWrite(const std::wstring& name) {
    if (name == L"ImageModeSelector" || name == L"BinningVertical" ||
        name == L"DecimationHorizontalVertical") {
        UpdateGeometry(true);
    } else if (name == L"Width" || name == L"Height" || name == L"OffsetX" || name == L"OffsetY") {
        UpdateGeometry(false);
    } else if (name == L"GammaEnable" && Flag(name)) {
        // The camera has one correction stage: gamma and the LUT exclude each other.
        ClearFlag(L"LUTEnable");
    } else if (name == L"LUTEnable" && Flag(name)) {
        ClearFlag(L"GammaEnable");
    } else if (name == L"ExposureAuto" || (name == L"Gain" && Text(L"ExposureAuto") == L"Continuous")) {
        AutoAdjust(L"ExposureAuto", L"ExposureTime", L"Gain");
    } else if (name == L"GainAuto" || (name == L"ExposureTime" && Text(L"GainAuto") == L"Continuous")) {
        AutoAdjust(L"GainAuto", L"Gain", L"ExposureTime");
    } else if (name == L"BalanceWhiteAuto") {
        AutoBalance();
    }
}

// Exposure and gain make up for each other: the automatic one brings the product back to the reference
// brightness. Once: adjust, then fall back to Off. Continuous: adjust and stay.
void SimCamera::AutoAdjust(const wchar_t* modeName, const wchar_t* valueName, const wchar_t* otherName) {
    SimFeature& mode = m_features.at(modeName);
    if (mode.value.s == L"Off")
        return;
    SimFeature& f = m_features.at(valueName);
    f.value.d = std::clamp(kReferenceExposure / Number(otherName), f.dMin, f.dMax);
    if (mode.value.s == L"Once")
        mode.value.s = L"Off";
    ++m_imageGeneration;
}

void SimCamera::AutoBalance() {
    SimFeature& mode = m_features.at(L"BalanceWhiteAuto");
    if (mode.value.s == L"Off")
        return;
    SimFeature& ratio = m_features.at(L"BalanceRatio");
    const wchar_t* colours[3] = {L"Red", L"Green", L"Blue"};
    for (int c = 0; c < 3; ++c)
        ratio.selected[colours[c]] = SimValue::OfDouble(std::clamp(1.0 / kCast[c], ratio.dMin, ratio.dMax));
    if (mode.value.s == L"Once")
        mode.value.s = L"Off";
    ++m_imageGeneration;
}

MIL_INT SimCamera::RunVendorCommand(const std::wstring& text, std::wstring& why) {
    unsigned mode = 0, period = 0;
    if (std::swscanf(text.c_str(), L"WAGCMODE %x", &mode) == 1 && mode <= 2) {
        static const wchar_t* modes[] = {L"Off", L"Once", L"Continuous"};
        m_features.at(L"GainAuto").value.s = modes[mode];
        AutoAdjust(L"GainAuto", L"Gain", L"ExposureTime");
        return kMilErrorNone;
    }
    if (std::swscanf(text.c_str(), L"WFREERUN %x", &period) == 1 && period > 0) {
        SimFeature& rate = m_features.at(L"AcquisitionFrameRate");
        rate.value.d = std::clamp(static_cast<double>(m_config.pixelClock) / period, rate.dMin, rate.dMax);
        m_features.at(L"AcquisitionFrameRateEnable").value.s = L"On";
        return kMilErrorNone;
    }
    why = L"the camera does not know the command '" + text + L"'";
    return kMilErrorFeatureRefused;
}

MIL_INT SimCamera::Execute(const std::wstring& name, std::wstring& why) {
    std::function<void()> notify;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const SimFeature* f = Find(name, why);
        if (!f)
            return kMilErrorFeatureUnknown;
        if (f->type != SimFeature::Command) {
            why = L"'" + name + L"' is not a command";
            return kMilErrorFeatureType;
        }
        if (m_refused.count(name)) {
            why = L"the camera refused to execute '" + name + L"'";
            return kMilErrorFeatureRefused;
        }
        ++m_executions[name];
        ++m_generation;
        if (name == L"AcquisitionStop") {
            m_acquiring = false;
        } else if (name == L"AcquisitionStart") {
            m_acquiring = true;
        } else if (name == L"TriggerSoftware") {
            // Accepted in every mode; it makes a frame only when the camera waits for software triggers.
            if (m_acquiring && Text(L"TriggerMode") == L"On" && Text(L"TriggerSource") == L"Software") {
                ++m_triggers;
                notify = m_triggerListener;
            }
        } else if (name == L"UserSetSave") {
            m_userSets[Text(L"UserSetSelector")] = m_features;
        } else if (name == L"UserSetLoad") {
            if (m_acquiring) {
                why = L"a user set cannot be loaded while the camera acquires";
                return kMilErrorFeatureAccess;
            }
            const std::wstring set = Text(L"UserSetSelector");
            const auto it = m_userSets.find(set);
            if (it == m_userSets.end() && set != L"Default") {
                why = L"user set '" + set + L"' was never saved";
                return kMilErrorFeatureRefused;
            }
            const SimValue selector = m_features.at(L"UserSetSelector").value;
            m_features = it != m_userSets.end() ? it->second : m_factory;
            m_features.at(L"UserSetSelector").value = selector;
            ++m_imageGeneration;
        }
    }
    if (notify)
        notify();
    return kMilErrorNone;
}

void SimCamera::UpdateGeometry(bool resetWindow) {
    const std::wstring mode = Text(L"ImageModeSelector");
    const std::int64_t binning = m_features.at(L"BinningVertical").value.i;
    const std::int64_t decimation = m_features.at(L"DecimationHorizontalVertical").value.i;
    const std::int64_t fx = mode == L"DecimationHorizontalVertical" ? decimation : 1;
    const std::int64_t fy = mode == L"DecimationHorizontalVertical" ? decimation
                            : mode == L"BinningVertical"            ? binning
                                                                    : 1;
    const std::int64_t maxW = (m_config.sensorWidth / fx) / 8 * 8;
    const std::int64_t maxH = (m_config.sensorHeight / fy) / 2 * 2;
    SimFeature& w = m_features.at(L"Width");
    SimFeature& h = m_features.at(L"Height");
    SimFeature& x = m_features.at(L"OffsetX");
    SimFeature& y = m_features.at(L"OffsetY");
    m_features.at(L"WidthMax").value.i = m_features.at(L"WidthMax").iMin = m_features.at(L"WidthMax").iMax =
        maxW;
    m_features.at(L"HeightMax").value.i = m_features.at(L"HeightMax").iMin =
        m_features.at(L"HeightMax").iMax = maxH;
    if (resetWindow) {
        w.value.i = maxW;
        h.value.i = maxH;
        x.value.i = 0;
        y.value.i = 0;
    }
    w.iMax = maxW - x.value.i;
    h.iMax = maxH - y.value.i;
    x.iMax = maxW - w.value.i;
    y.iMax = maxH - h.value.i;
}

void SimCamera::SetAcquiring(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_acquiring = on;
    ++m_generation;
}

bool SimCamera::IsAcquiring() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_acquiring;
}

void SimCamera::SetTriggerListener(std::function<void()> listener) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_triggerListener = std::move(listener);
}

int SimCamera::Executions(const std::wstring& name) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_executions.find(name);
    return it == m_executions.end() ? 0 : it->second;
}

SimImageSettings SimCamera::Snapshot() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    SimImageSettings s;
    s.sensorWidth = m_config.sensorWidth;
    s.sensorHeight = m_config.sensorHeight;
    s.color = m_config.color;
    s.imageWidth = static_cast<int>(m_features.at(L"Width").value.i);
    s.imageHeight = static_cast<int>(m_features.at(L"Height").value.i);
    s.offsetX = static_cast<int>(m_features.at(L"OffsetX").value.i);
    s.offsetY = static_cast<int>(m_features.at(L"OffsetY").value.i);
    const std::wstring mode = Text(L"ImageModeSelector");
    const int decimation = static_cast<int>(m_features.at(L"DecimationHorizontalVertical").value.i);
    s.factorX = mode == L"DecimationHorizontalVertical" ? decimation : 1;
    s.factorY = mode == L"DecimationHorizontalVertical" ? decimation
                : mode == L"BinningVertical" ? static_cast<int>(m_features.at(L"BinningVertical").value.i)
                                             : 1;
    s.reverseX = Flag(L"ReverseX");
    s.reverseY = Flag(L"ReverseY");
    const std::wstring format = Text(L"PixelFormat");
    s.formatBits = FormatBits(format);
    s.bayer = format.rfind(L"Bayer", 0) == 0;
    const std::wstring pattern = Text(L"TestPattern");
    s.pattern = pattern == L"GreyHorizontalRamp" ? SimImageSettings::PatternHorizontalRamp
                : pattern == L"GreyVerticalRamp" ? SimImageSettings::PatternVerticalRamp
                                                 : SimImageSettings::PatternOff;
    const double exposure = Number(L"ExposureTime");
    s.exposureScale = exposure / kReferenceExposure;
    s.gain = Number(L"Gain");
    if (m_config.color) {
        const SimFeature& ratio = m_features.at(L"BalanceRatio");
        const wchar_t* colours[3] = {L"Red", L"Green", L"Blue"};
        for (int c = 0; c < 3; ++c) {
            const auto it = ratio.selected.find(colours[c]);
            s.balance[c] = (it != ratio.selected.end() ? it->second.d : 1.0) * kCast[c];
        }
    }
    s.blackLevel = static_cast<double>(m_features.at(L"BlackLevelRaw").value.i) / 4095.0;
    s.gammaEnable = Flag(L"GammaEnable");
    s.gamma = Number(L"Gamma");
    s.lutEnable = Flag(L"LUTEnable");
    const SimFeature& lut = m_features.at(L"LUTValue");
    s.lut.resize(static_cast<std::size_t>(lut.iMax + 1));
    for (std::size_t i = 0; i < s.lut.size(); ++i)
        s.lut[i] = static_cast<std::uint16_t>(i);
    for (const auto& entry : lut.selected)
        s.lut[static_cast<std::size_t>(std::stoll(entry.first))] = static_cast<std::uint16_t>(entry.second.i);

    double rate = m_config.frameRateMax;
    if (Text(L"AcquisitionFrameRateEnable") == L"On")
        rate = std::min(rate, Number(L"AcquisitionFrameRate"));
    rate = std::min(rate, 1e6 / std::max(exposure, 1.0));
    const double frameBytes = static_cast<double>(s.imageWidth) * s.imageHeight * s.formatBits / 8.0;
    rate = std::min(rate, LinkBytesPerSecond(Text(L"CxpLinkConfiguration")) / std::max(frameBytes, 1.0));
    s.frameRate = rate;
    s.triggered = Text(L"TriggerMode") == L"On";
    s.softwareSource = Text(L"TriggerSource") == L"Software";
    s.acquiring = m_acquiring;
    return s;
}

} // namespace kavrino
