#pragma once
// The description of a simulated camera and of the digitizer that grabs it, read from the configuration
// file given to MdigAlloc ("key = value" lines, '#' comments; samples/README.md lists the keys).

#include <set>
#include <string>
#include <vector>

namespace kavrino {

class SimCameraConfig {
public:
    // Camera description, taken when the camera is first seen.
    std::wstring vendor = L"Kavrino Vision";
    std::wstring model;
    std::wstring serial;
    std::wstring version = L"1.0.0";
    int sensorWidth = 0;
    int sensorHeight = 0;
    bool color = false;
    std::vector<std::wstring> pixelFormats;
    double frameRateMin = 1.0;
    double frameRateMax = 0.0;
    std::wstring link = L"CXP6_X1";
    long long pixelClock = 100000;
    int lutSize = 4096;
    // Digitizer: bits per sample it grabs (8, 10 or 12).
    int bits = 0;
    // Fault injection, applied at every allocation: features the camera lacks, and features whose
    // writes (or execution) it refuses.
    std::set<std::wstring> missing;
    std::set<std::wstring> refused;
    // Booleans the camera reports as 64-bit integers running from 0 to 1, as some cameras describe
    // "ReverseX" and the like; taken when the camera is first seen.
    std::set<std::wstring> integerBooleans;
    // The camera's boolean features.
    static const std::vector<std::wstring>& BooleanFeatures();

    // Reads and checks a file. On failure returns false and puts the reason, with the line number where
    // one applies, into error; the configuration is then unusable.
    bool Load(const std::wstring& path, std::wstring& error);
    // The same for text already in memory (UTF-8).
    bool Parse(const std::string& text, std::wstring& error);
    // The link configurations a camera offers.
    static const std::vector<std::wstring>& LinkConfigurations();
    // The pixel formats a camera may offer: Mono8/10/12, and BayerRG8/10/12 on colour cameras.
    static bool IsKnownPixelFormat(const std::wstring& name, bool color);
    // Whole texts only: a number and nothing after it. Integers in the given base (0: C prefixes).
    static bool ParseInteger(const std::wstring& text, long long& out, int base = 10);
    static bool ParseReal(const std::wstring& text, double& out);

private:
    bool SetKey(const std::wstring& key, const std::wstring& value, std::wstring& error);
};

} // namespace kavrino
