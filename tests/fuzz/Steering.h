#pragma once

#include <cstddef>
#include <cstdint>

namespace kavrino_fuzz {

// Choices taken from the input's last bytes, the last byte first; 0 when the input is used up.
class Steering {
public:
    Steering(const std::uint8_t* data, std::size_t size) : m_data(data), m_left(size) {}
    unsigned Next() { return m_left ? m_data[--m_left] : 0u; }
    // One of count choices (count > 0).
    std::size_t Pick(std::size_t count) { return Next() % count; }

private:
    const std::uint8_t* m_data;
    std::size_t m_left;
};

} // namespace kavrino_fuzz
