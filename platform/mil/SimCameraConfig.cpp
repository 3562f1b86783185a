#include "SimCameraConfig.h"

#include "StringConv.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kavrino {

namespace {

constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;

std::wstring Trim(const std::wstring& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::iswspace(s[b]))
        ++b;
    while (e > b && std::iswspace(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::wstring Lower(std::wstring s) {
    for (auto& c : s)
        c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

std::vector<std::wstring> SplitList(const std::wstring& value) {
    std::vector<std::wstring> items;
    std::wstring item;
    std::wstringstream in(value);
    while (std::getline(in, item, L',')) {
        item = Trim(item);
        if (!item.empty())
            items.push_back(item);
    }
    return items;
}

// "2448 x 2048" or "2448x2048".
bool ParseSize(const std::wstring& text, int& w, int& h) {
    const std::size_t x = Lower(text).find(L'x');
    if (x == std::wstring::npos)
        return false;
    long long a = 0, b = 0;
    if (!SimCameraConfig::ParseInteger(Trim(text.substr(0, x)), a) ||
        !SimCameraConfig::ParseInteger(Trim(text.substr(x + 1)), b))
        return false;
    if (a < 64 || b < 64 || a > 16384 || b > 16384 || a % 8 != 0 || b % 2 != 0)
        return false;
    w = static_cast<int>(a);
    h = static_cast<int>(b);
    return true;
}

} // namespace

bool SimCameraConfig::ParseInteger(const std::wstring& text, long long& out, int base) {
    if (text.empty())
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long long v = std::wcstoll(text.c_str(), &end, base);
    if (errno != 0 || end == text.c_str() || *end != L'\0')
        return false;
    out = v;
    return true;
}

bool SimCameraConfig::ParseReal(const std::wstring& text, double& out) {
    if (text.empty())
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    const double v = std::wcstod(text.c_str(), &end);
    if (errno != 0 || end == text.c_str() || *end != L'\0' || !(v == v) || v == HUGE_VAL || v == -HUGE_VAL)
        return false;
    out = v;
    return true;
}

const std::vector<std::wstring>& SimCameraConfig::LinkConfigurations() {
    static const std::vector<std::wstring> links = {
        L"CXP1_X1", L"CXP2_X1", L"CXP3_X1", L"CXP5_X1", L"CXP6_X1", L"CXP1_X2", L"CXP2_X2", L"CXP3_X2",
        L"CXP5_X2", L"CXP6_X2", L"CXP1_X4", L"CXP2_X4", L"CXP3_X4", L"CXP5_X4", L"CXP6_X4"};
    return links;
}

bool SimCameraConfig::IsKnownPixelFormat(const std::wstring& name, bool color) {
    if (name == L"Mono8" || name == L"Mono10" || name == L"Mono12")
        return true;
    return color && (name == L"BayerRG8" || name == L"BayerRG10" || name == L"BayerRG12");
}

const std::vector<std::wstring>& SimCameraConfig::BooleanFeatures() {
    static const std::vector<std::wstring> names = {L"ReverseX", L"ReverseY", L"LineInverter", L"GammaEnable",
                                                    L"LUTEnable"};
    return names;
}

bool SimCameraConfig::Load(const std::wstring& path, std::wstring& error) {
    if (path.empty()) {
        error = L"no configuration file given";
        return false;
    }
    // A configuration file is a few hundred bytes of text; a device, a pipe or a large file named in its
    // place would be read without end or for nothing.
    const std::string name = WideToUtf8(path);
    std::error_code why;
    const auto status = std::filesystem::status(name, why);
    if (!std::filesystem::exists(status)) {
        error = L"configuration file not found: " + path;
        return false;
    }
    if (!std::filesystem::is_regular_file(status) || std::filesystem::file_size(name, why) > kMaxFileBytes) {
        error = L"not a configuration file: " + path;
        return false;
    }
    std::ifstream file(name, std::ios::binary);
    if (!file) {
        error = L"configuration file not readable: " + path;
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    if (!Parse(text.str(), error)) {
        error = path + L": " + error;
        return false;
    }
    return true;
}

bool SimCameraConfig::Parse(const std::string& bytes, std::wstring& error) {
    if (!IsValidUtf8(bytes)) {
        error = L"the file is not UTF-8 text";
        return false;
    }
    // A byte-order mark (Windows editors write one) is no part of the first key.
    const std::size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::wstringstream in(Utf8ToWide(bytes.substr(start)));
    std::wstring line;
    std::set<std::wstring> seen;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::size_t hash = line.find(L'#');
        if (hash != std::wstring::npos)
            line.erase(hash);
        line = Trim(line);
        if (line.empty())
            continue;
        const std::size_t eq = line.find(L'=');
        const std::wstring where = L"line " + std::to_wstring(number) + L": ";
        if (eq == std::wstring::npos) {
            error = where + L"expected 'key = value'";
            return false;
        }
        const std::wstring key = Lower(Trim(line.substr(0, eq)));
        const std::wstring value = Trim(line.substr(eq + 1));
        if (!seen.insert(key).second) {
            error = where + L"key '" + key + L"' given twice";
            return false;
        }
        std::wstring why;
        if (!SetKey(key, value, why)) {
            error = where + why;
            return false;
        }
    }
    static const wchar_t* const required[] = {L"model",         L"serial",  L"sensor", L"color",
                                              L"pixel_formats", L"fps_max", L"bits"};
    for (const wchar_t* key : required) {
        if (!seen.count(key)) {
            error = seen.empty() ? std::wstring(L"the configuration file is empty")
                                 : std::wstring(L"missing key '") + key + L"'";
            return false;
        }
    }
    for (const auto& format : pixelFormats) {
        if (!IsKnownPixelFormat(format, color)) {
            error = L"pixel format '" + format + L"' is not offered by a " + (color ? L"colour" : L"mono") +
                    L" camera";
            return false;
        }
    }
    if (frameRateMin > frameRateMax) {
        error = L"fps_min is above fps_max";
        return false;
    }
    return true;
}

bool SimCameraConfig::SetKey(const std::wstring& key, const std::wstring& value, std::wstring& error) {
    long long n = 0;
    if (key == L"vendor" || key == L"model" || key == L"serial" || key == L"version") {
        if (value.empty() || value.size() > 63) {
            error = L"'" + key + L"' needs a text of 1 to 63 characters";
            return false;
        }
        (key == L"vendor" ? vendor : key == L"model" ? model : key == L"serial" ? serial : version) = value;
    } else if (key == L"sensor") {
        if (!ParseSize(value, sensorWidth, sensorHeight)) {
            error = L"'sensor' needs 'width x height' (64 to 16384, width a multiple of 8, height even)";
            return false;
        }
    } else if (key == L"color") {
        const std::wstring v = Lower(value);
        if (v == L"yes" || v == L"true" || v == L"1")
            color = true;
        else if (v == L"no" || v == L"false" || v == L"0")
            color = false;
        else {
            error = L"'color' needs yes or no";
            return false;
        }
    } else if (key == L"pixel_formats") {
        pixelFormats = SplitList(value);
        if (pixelFormats.empty()) {
            error = L"'pixel_formats' needs at least one format";
            return false;
        }
    } else if (key == L"fps_min" || key == L"fps_max") {
        double v = 0.0;
        if (!ParseReal(value, v) || v <= 0.0 || v > 10000.0) {
            error = L"'" + key + L"' needs a frame rate above 0 and up to 10000";
            return false;
        }
        (key == L"fps_min" ? frameRateMin : frameRateMax) = v;
    } else if (key == L"link") {
        bool known = false;
        for (const auto& l : LinkConfigurations())
            known = known || l == value;
        if (!known) {
            error = L"unknown link configuration '" + value + L"'";
            return false;
        }
        link = value;
    } else if (key == L"pixel_clock") {
        if (!ParseInteger(value, n) || n <= 0 || n > 0x7fffffff) {
            error = L"'pixel_clock' needs a positive 32-bit number";
            return false;
        }
        pixelClock = n;
    } else if (key == L"lut_size") {
        if (!ParseInteger(value, n) || (n != 256 && n != 1024 && n != 4096)) {
            error = L"'lut_size' needs 256, 1024 or 4096";
            return false;
        }
        lutSize = static_cast<int>(n);
    } else if (key == L"bits") {
        if (!ParseInteger(value, n) || (n != 8 && n != 10 && n != 12)) {
            error = L"'bits' needs 8, 10 or 12";
            return false;
        }
        bits = static_cast<int>(n);
    } else if (key == L"missing" || key == L"refuse") {
        auto& target = key == L"missing" ? missing : refused;
        for (const auto& name : SplitList(value))
            target.insert(name);
    } else if (key == L"integer_booleans") {
        const auto& booleans = BooleanFeatures();
        for (const auto& name : SplitList(value)) {
            if (std::find(booleans.begin(), booleans.end(), name) == booleans.end()) {
                error = L"'integer_booleans' names '" + name + L"', which is not a boolean of the camera";
                return false;
            }
            integerBooleans.insert(name);
        }
    } else {
        error = L"unknown key '" + key + L"'";
        return false;
    }
    return true;
}

} // namespace kavrino
