#pragma once
// Everything the simulated grabber needs from the camera to deliver a frame: the geometry, the pixel
// format, the brightness chain and the timing, taken from the camera's features at one moment.

#include <cstdint>
#include <vector>

namespace kavrino {

struct SimImageSettings {
    int sensorWidth = 0;
    int sensorHeight = 0;
    bool color = false;
    // The camera image, in its own pixels (after binning or decimation): its size and where it lies.
    int imageWidth = 0;
    int imageHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    int factorX = 1; // sensor columns per image column
    int factorY = 1; // sensor rows per image row
    bool reverseX = false;
    bool reverseY = false;
    int formatBits = 8;
    bool bayer = false;
    enum Pattern { PatternOff, PatternHorizontalRamp, PatternVerticalRamp } pattern = PatternOff;
    // Brightness chain: signal = scene x exposure / reference x gain x balance, plus the black level,
    // then gamma or the LUT.
    double exposureScale = 1.0;
    double gain = 1.0;
    double balance[3] = {1.0, 1.0, 1.0}; // red, green, blue
    double blackLevel = 0.0;             // fraction of full scale
    bool gammaEnable = false;
    double gamma = 1.0;
    bool lutEnable = false;
    std::vector<std::uint16_t> lut; // LUTValue per LUTIndex, 0 to lut.size() - 1
    // Timing.
    double frameRate = 30.0;     // frames per second the camera delivers free-running
    bool triggered = false;      // trigger mode on: a frame per trigger only
    bool softwareSource = false; // the trigger source is "Software"
    bool acquiring = false;
};

} // namespace kavrino
