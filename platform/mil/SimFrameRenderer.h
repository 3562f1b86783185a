#pragma once
// Turns the scene and the camera's settings into frames. A change of the settings rebuilds the camera
// image once (mirror, binning or decimation, Bayer mosaic, brightness tables, pixel depth); each frame is
// then only the digitizer window copied out of it, so a frame costs about one copy of its bytes and
// allocates nothing.

#include "SimImageSettings.h"
#include "SimScene.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavrino {

class SimFrameRenderer {
public:
    // Prepares frames of a sensor of this size, grabbed at digitizerBits into samples of bufferBits.
    void Configure(int sensorWidth, int sensorHeight, bool color, int digitizerBits, int bufferBits);
    // Renders the camera image of these settings into the received image (the camera image at the
    // top left of a sensor-sized frame, black beside and below it).
    void Rebuild(const SimImageSettings& settings);
    // Copies the window (inside the sensor) into rows of dstPitch bytes, at most dstWidth x dstHeight.
    void Deliver(int x, int y, int width, int height, std::uint8_t* dst, std::size_t dstPitch, int dstWidth,
                 int dstHeight) const;
    int BytesPerSample() const { return m_bytes; }
    // The received image, for tests and the benchmark.
    const std::uint8_t* Received() const { return m_received.data(); }

private:
    template <typename T> void RenderRows(const SimImageSettings& s);
    void BuildTables(const SimImageSettings& s);
    std::uint16_t Convert(double x, int formatBits) const;

    std::shared_ptr<const SimScene> m_scene;
    int m_width = 0;
    int m_height = 0;
    int m_digitizerBits = 8;
    int m_bufferBits = 8;
    int m_bytes = 1;
    std::vector<std::uint8_t> m_received;
    std::vector<std::uint16_t> m_tables[4]; // red, green, blue, luma: scene sample -> pixel value
    std::vector<int> m_columns;             // sensor column of each camera image column
};

} // namespace kavrino
