#pragma once
// Drawing on the simulated camera's scene while it is made: filled rectangles and digit labels on a
// plane of floats, one value per sensor pixel. Everything is clipped to the plane: a label of a cell
// near the right edge (on the widest sensors the labels are wider than their cells) may start past it.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kavrino {

struct SimCanvas {
    std::vector<float>& v;
    int w, h;

    void Fill(int x0, int y0, int x1, int y1, float value) const {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, w);
        y1 = std::min(y1, h);
        if (x0 >= x1 || y0 >= y1)
            return;
        for (int y = y0; y < y1; ++y)
            std::fill(v.begin() + static_cast<std::ptrdiff_t>(y) * w + x0,
                      v.begin() + static_cast<std::ptrdiff_t>(y) * w + x1, value);
    }

    // Digits and commas of 5 x 7 cells of scale x scale pixels, 6 cells apart; other characters leave
    // their place empty.
    void Text(int x, int y, const std::string& text, int scale, float value) const {
        // 5 x 7 glyphs of the digits and the comma, one row per entry, the top bit of 5 on the left.
        static constexpr std::uint8_t kGlyphs[11][7] = {
            {14, 17, 19, 21, 25, 17, 14}, {4, 12, 4, 4, 4, 4, 14},  {14, 17, 1, 2, 4, 8, 31},
            {30, 1, 1, 14, 1, 1, 30},     {2, 6, 10, 18, 31, 2, 2}, {31, 16, 30, 1, 1, 17, 14},
            {6, 8, 16, 30, 17, 17, 14},   {31, 1, 2, 4, 8, 8, 8},   {14, 17, 17, 14, 17, 17, 14},
            {14, 17, 17, 15, 1, 2, 12},   {0, 0, 0, 0, 12, 4, 8}};
        for (char ch : text) {
            const int g = ch == ',' ? 10 : ch - '0';
            if (g < 0 || g > 10)
                continue;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (kGlyphs[g][row] & (16 >> col))
                        Fill(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale,
                             value);
            x += 6 * scale;
        }
    }
};

} // namespace kavrino
