#pragma once
// Raw access to a bitmap's pixel memory in any of the formats a bitmap can hold: the layout (row
// length, bytes per pixel) and row conversions to and from 0xAARRGGBB values. Every format
// conversion of the library goes through here, so that the formats agree everywhere.

#include "GdiplusTypes.h"
#include "PixelFormats.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace kavrino::gdip {

using Gdiplus::ARGB;

class PaletteMatcher;

struct PixelView {
    BYTE* scan0 = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormatUndefined;
    const ARGB* palette = nullptr;
    int paletteCount = 0;

    BYTE* Row(int y) const { return scan0 + static_cast<std::ptrdiff_t>(y) * stride; }
};

// Unaligned 32-bit pixel access: callers' memory need not be aligned.
inline ARGB Load32(const BYTE* p) {
    ARGB v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void Store32(BYTE* p, ARGB v) {
    std::memcpy(p, &v, 4);
}

// Formats a bitmap can be made in and locked as.
bool IsKnownFormat(PixelFormat format);
// Bytes of one row of `width` pixels, padded to a multiple of 4; -1 when the width is out of range.
int RowBytes(PixelFormat format, int width);

// Reads `count` pixels of row y starting at column x as 0xAARRGGBB.
void ReadRow(const PixelView& view, int x, int y, int count, ARGB* out);
// Reads `count` pixels of row y starting at column x as grey levels, the luma of their colour.
void ReadGreyRow(const PixelView& view, int x, int y, int count, BYTE* out);
// Writes `count` pixels of row y starting at column x. Indexed formats take the nearest palette
// entry, found through `matcher` (required for them).
void WriteRow(const PixelView& view, int x, int y, int count, const ARGB* in, PaletteMatcher* matcher);

// The palette a new indexed bitmap starts with: for 8 bits a colour cube with a grey ramp, for 4 and
// 1 bits the corresponding standard colours.
std::vector<ARGB> DefaultPalette(PixelFormat format);

} // namespace kavrino::gdip
