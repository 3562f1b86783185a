#pragma once
// A grab buffer: one band of 8- or 16-bit unsigned samples, rows without padding.

#include "MilObject.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace kavrino {

class SimBuffer : public MilObject {
public:
    SimBuffer(MIL_ID system, int width, int height, int bits)
        : MilObject(Buffer, system), m_width(width), m_height(height), m_bits(bits),
          m_data(static_cast<std::size_t>(width) * height * (bits > 8 ? 2 : 1), 0) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Bits() const { return m_bits; }
    int BytesPerSample() const { return m_bits > 8 ? 2 : 1; }
    std::size_t Pitch() const { return static_cast<std::size_t>(m_width) * BytesPerSample(); }
    std::uint8_t* Data() { return m_data.data(); }
    const std::uint8_t* Data() const { return m_data.data(); }
    // Set while a digitizer grabs into the buffer; such a buffer cannot be freed.
    std::atomic<bool> inUse{false};

private:
    int m_width;
    int m_height;
    int m_bits;
    std::vector<std::uint8_t> m_data;
};

} // namespace kavrino
