#pragma once
// The synthetic scene the simulated camera looks at, computed once per sensor size and colour and
// shared: a centred cross, edge marks and a border (alignment), a grid labelled with pixel coordinates
// (region of interest, offsets), fine line patches and a grey wedge (detail, gamma and LUT), colour
// patches on colour sensors, all under a fall-off towards the corners (brightness deviation).
// Samples are 12-bit (0 to 4095) scene radiance; the camera's settings turn them into pixel values.

#include <cstdint>
#include <memory>
#include <vector>

namespace kavrino {

class SimScene {
public:
    enum Plane { Red = 0, Green = 1, Blue = 2, Luma = 3 };

    static std::shared_ptr<const SimScene> Get(int width, int height, bool color);

    SimScene(int width, int height, bool color);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Color() const { return m_color; }
    // A mono scene has only the Luma plane.
    const std::uint16_t* Row(Plane plane, int y) const {
        const std::size_t p = m_color ? static_cast<std::size_t>(plane) : 0;
        return m_planes[p].data() + static_cast<std::size_t>(y) * m_width;
    }
    // The cell size of the labelled grid, in sensor pixels.
    int GridStep() const { return m_grid; }

private:
    void Draw(std::vector<float>& level) const;

    int m_width;
    int m_height;
    bool m_color;
    int m_grid;
    std::vector<std::vector<std::uint16_t>> m_planes;
};

} // namespace kavrino
