#include "SimScene.h"

#include "SimCanvas.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

namespace kavrino {

namespace {

constexpr float kBackground = 0.5f;
constexpr float kBright = 0.95f;
constexpr float kDark = 0.15f;

} // namespace

std::shared_ptr<const SimScene> SimScene::Get(int width, int height, bool color) {
    static std::mutex mutex;
    static std::map<std::tuple<int, int, bool>, std::shared_ptr<const SimScene>> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto& entry = cache[std::make_tuple(width, height, color)];
    if (!entry) {
        // Scenes are large; keep only the few sizes in use.
        if (cache.size() > 4)
            for (auto it = cache.begin(); it != cache.end();)
                it = it->second && it->second.use_count() == 1 ? cache.erase(it) : std::next(it);
        entry = std::make_shared<SimScene>(width, height, color);
    }
    return cache[std::make_tuple(width, height, color)];
}

SimScene::SimScene(int width, int height, bool color)
    : m_width(width), m_height(height), m_color(color),
      m_grid(std::max(64, std::min(width, height) / 16 / 8 * 8)) {
    const std::size_t n = static_cast<std::size_t>(width) * height;
    std::vector<float> level(n, kBackground);
    Draw(level);

    // Fall-off towards the corners, a third darker there than in the centre.
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    const double k = 0.33 / (cx * cx + cy * cy);
    std::vector<std::uint16_t> luma(n);
    for (int y = 0; y < height; ++y) {
        const double dy2 = (y - cy) * (y - cy);
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            const double f = 1.0 - k * ((x - cx) * (x - cx) + dy2);
            level[i] = static_cast<float>(level[i] * f);
            luma[i] = static_cast<std::uint16_t>(std::lround(std::clamp(level[i], 0.0f, 1.0f) * 4095.0f));
        }
    }
    if (!color) {
        m_planes.push_back(std::move(luma));
        return;
    }
    m_planes.assign(3, luma);
    // Three colour patches left of the centre: red, green and blue.
    const int s = m_grid;
    for (int c = 0; c < 3; ++c) {
        const int x0 = width / 2 - 5 * s + c * s * 3 / 2, y0 = height / 2 - 2 * s;
        for (int y = std::max(y0, 0); y < std::min(y0 + s, height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x0 + s, width); ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * width + x;
                const float bright = level[i] * 1.6f, dim = level[i] * 0.2f;
                for (int p = 0; p < 3; ++p)
                    m_planes[p][i] =
                        static_cast<std::uint16_t>(std::lround(std::min(p == c ? bright : dim, 1.0f) * 4095));
            }
    }
    m_planes.push_back(luma);
    for (std::size_t i = 0; i < n; ++i)
        m_planes[Luma][i] = static_cast<std::uint16_t>(
            (m_planes[Red][i] + 2u * m_planes[Green][i] + m_planes[Blue][i] + 2u) / 4u);
}

void SimScene::Draw(std::vector<float>& level) const {
    const int w = m_width, h = m_height, g = m_grid;
    const SimCanvas canvas{level, w, h};
    // Grid with the pixel coordinates of each cell's corner.
    const int scale = std::max(1, g / 64);
    for (int x = 0; x < w; x += g)
        canvas.Fill(x, 0, x + 2, h, kDark + 0.1f);
    for (int y = 0; y < h; y += g)
        canvas.Fill(0, y, w, y + 2, kDark + 0.1f);
    for (int y = 0; y + g <= h; y += g)
        for (int x = 0; x + g <= w; x += g)
            canvas.Text(x + 4 * scale, y + 4 * scale, std::to_string(x) + "," + std::to_string(y), scale,
                        kBright);

    // Fine detail: one-pixel vertical and horizontal lines, a one-pixel checkerboard, and rings.
    const int p = g;
    const int qx[4] = {w / 4, 3 * w / 4, w / 4, 3 * w / 4}, qy[4] = {h / 4, h / 4, 3 * h / 4, 3 * h / 4};
    for (int q = 0; q < 4; ++q)
        for (int y = std::max(qy[q] - p / 2, 0); y < std::min(qy[q] + p / 2, h); ++y)
            for (int x = std::max(qx[q] - p / 2, 0); x < std::min(qx[q] + p / 2, w); ++x) {
                bool on = false;
                if (q == 0)
                    on = x & 1;
                else if (q == 1)
                    on = y & 1;
                else if (q == 2)
                    on = (x + y) & 1;
                else
                    on = static_cast<int>(std::hypot(x - qx[q], y - qy[q]) / 3) & 1;
                level[static_cast<std::size_t>(y) * w + x] = on ? kBright : kDark;
            }

    // Grey wedge of sixteen steps above the bottom edge.
    for (int step = 0; step < 16; ++step)
        canvas.Fill(w / 4 + step * (w / 32), h - 3 * g / 2, w / 4 + (step + 1) * (w / 32), h - g,
                    step / 15.0f);

    // Centred cross, border and marks at the middle of each edge.
    const int t = std::max(3, std::min(w, h) / 400) | 1;
    canvas.Fill(w / 2 - t / 2, 0, w / 2 + t / 2 + 1, h, kBright);
    canvas.Fill(0, h / 2 - t / 2, w, h / 2 + t / 2 + 1, kBright);
    canvas.Fill(0, 0, w, 2, kBright);
    canvas.Fill(0, h - 2, w, h, kBright);
    canvas.Fill(0, 0, 2, h, kBright);
    canvas.Fill(w - 2, 0, w, h, kBright);
    const int mark = std::min(w, h) / 16, half = 2 * t;
    canvas.Fill(w / 2 - half, 0, w / 2 + half + 1, mark, kBright);
    canvas.Fill(w / 2 - half, h - mark, w / 2 + half + 1, h, kBright);
    canvas.Fill(0, h / 2 - half, mark, h / 2 + half + 1, kBright);
    canvas.Fill(w - mark, h / 2 - half, w, h / 2 + half + 1, kBright);
}

} // namespace kavrino
