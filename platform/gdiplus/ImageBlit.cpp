#include "ImageBlit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kavrino::gdip {

namespace {

constexpr ARGB kOpaque = 0xFF000000u;

// How source pixels are fetched by the opaque loops.
struct FromBgr24 {
    static ARGB Fetch(const BYTE* row, int x, const ARGB*) {
        const BYTE* p = row + 3 * x;
        return kOpaque | (static_cast<ARGB>(p[2]) << 16) | (static_cast<ARGB>(p[1]) << 8) | p[0];
    }
};
struct FromRgb32 {
    static ARGB Fetch(const BYTE* row, int x, const ARGB*) { return Load32(row + 4 * x) | kOpaque; }
};
struct FromPalette8 {
    static ARGB Fetch(const BYTE* row, int x, const ARGB* lut) { return lut[row[x]]; }
};

template <int Bpp> inline void Put(BYTE* row, int i, ARGB c) {
    if constexpr (Bpp == 4) {
        Store32(row + 4 * i, c);
    } else {
        BYTE* p = row + 3 * i;
        p[0] = static_cast<BYTE>(c);
        p[1] = static_cast<BYTE>(c >> 8);
        p[2] = static_cast<BYTE>(c >> 16);
    }
}

template <class Src, int Bpp>
void CopyOpaqueRow(const BYTE* source, BYTE* target, const int* xmap, int n, int identityStart,
                   const ARGB* lut) {
    if (identityStart >= 0) {
        for (int i = 0; i < n; ++i)
            Put<Bpp>(target, i, Src::Fetch(source, identityStart + i, lut));
    } else {
        // Magnified columns come in runs of one source pixel: fetch it once per run.
        for (int i = 0; i < n;) {
            const int x = xmap[i];
            const ARGB c = Src::Fetch(source, x, lut);
            do
                Put<Bpp>(target, i++, c);
            while (i < n && xmap[i] == x);
        }
    }
}

// 24-bit to 32-bit 1:1, four pixels (three whole words) at a time.
void ExpandBgr24Row(const BYTE* source, BYTE* target, int n) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const ARGB a = Load32(source + 3 * i), b = Load32(source + 3 * i + 4), c = Load32(source + 3 * i + 8);
        Store32(target + 4 * i, kOpaque | (a & 0xFFFFFF));
        Store32(target + 4 * i + 4, kOpaque | (a >> 24) | ((b & 0xFFFF) << 8));
        Store32(target + 4 * i + 8, kOpaque | (b >> 16) | ((c & 0xFF) << 16));
        Store32(target + 4 * i + 12, kOpaque | (c >> 8));
    }
    for (; i < n; ++i)
        Put<4>(target, i, FromBgr24::Fetch(source, i, nullptr));
}

template <class Src>
void CopyOpaqueRowTo(int bpp, const BYTE* source, BYTE* target, const int* xmap, int n, int identityStart,
                     const ARGB* lut) {
    if (bpp == 4)
        CopyOpaqueRow<Src, 4>(source, target, xmap, n, identityStart, lut);
    else
        CopyOpaqueRow<Src, 3>(source, target, xmap, n, identityStart, lut);
}

inline unsigned Ch(ARGB c, int shift) {
    return (c >> shift) & 0xFF;
}

// Source-over of one non-opaque pixel onto the target pixel.
void BlendPixel(BYTE* p, int bpp, PixelFormat targetFormat, ARGB c) {
    const unsigned a = c >> 24;
    const unsigned inv = 255 - a;
    unsigned db = p[0], dg = p[1], dr = p[2];
    unsigned da = bpp == 4 ? p[3] : 255;
    unsigned rb, rg, rr, ra;
    if (targetFormat == PixelFormat32bppPARGB) {
        rb = (Ch(c, 0) * a + 127) / 255 + (db * inv + 127) / 255;
        rg = (Ch(c, 8) * a + 127) / 255 + (dg * inv + 127) / 255;
        rr = (Ch(c, 16) * a + 127) / 255 + (dr * inv + 127) / 255;
        ra = a + (da * inv + 127) / 255;
    } else if (targetFormat == PixelFormat32bppARGB) {
        const unsigned dw = (da * inv + 127) / 255; // the target's share, premultiplied by its alpha
        ra = a + dw;
        if (ra == 0)
            return;
        rb = (Ch(c, 0) * a + db * dw + ra / 2) / ra;
        rg = (Ch(c, 8) * a + dg * dw + ra / 2) / ra;
        rr = (Ch(c, 16) * a + dr * dw + ra / 2) / ra;
    } else {
        rb = (Ch(c, 0) * a + db * inv + 127) / 255;
        rg = (Ch(c, 8) * a + dg * inv + 127) / 255;
        rr = (Ch(c, 16) * a + dr * inv + 127) / 255;
        ra = 255;
    }
    p[0] = static_cast<BYTE>(std::min(rb, 255u));
    p[1] = static_cast<BYTE>(std::min(rg, 255u));
    p[2] = static_cast<BYTE>(std::min(rr, 255u));
    if (bpp == 4)
        p[3] = static_cast<BYTE>(std::min(ra, 255u));
}

enum class Kind { Bgr24, Rgb32, Palette8, Blended };

} // namespace

bool CanBlitInto(PixelFormat target) {
    return target == PixelFormat24bppRGB || target == PixelFormat32bppRGB || target == PixelFormat32bppARGB ||
           target == PixelFormat32bppPARGB;
}

void BlitNearest(const PixelView& source, const PixelView& target, int x0, int y0, const int* xmap,
                 int columns, const int* ymap, int rows) {
    if (columns <= 0 || rows <= 0 || !CanBlitInto(target.format))
        return;
    const int bpp = target.format == PixelFormat24bppRGB ? 3 : 4;

    Kind kind = Kind::Blended;
    ARGB lut[256];
    if (source.format == PixelFormat24bppRGB) {
        kind = Kind::Bgr24;
    } else if (source.format == PixelFormat32bppRGB) {
        kind = Kind::Rgb32;
    } else if (source.format == PixelFormat8bppIndexed) {
        bool opaque = true;
        for (int i = 0; i < 256; ++i) {
            lut[i] = i < source.paletteCount ? source.palette[i] : kOpaque;
            opaque = opaque && (lut[i] >> 24) == 255;
        }
        if (opaque)
            kind = Kind::Palette8;
    }

    // A column map that steps by one is a straight copy of a run of source pixels.
    int identityStart = xmap[0];
    for (int i = 1; i < columns && identityStart >= 0; ++i)
        if (xmap[i] != xmap[0] + i)
            identityStart = -1;
    const bool sameLayout = identityStart >= 0 && kind == Kind::Bgr24 && bpp == 3;

    // Sources that are read through the general conversion: one row of them at a time.
    const auto [minX, maxX] = std::minmax_element(xmap, xmap + columns);
    std::vector<ARGB> sourceRow;
    if (kind == Kind::Blended)
        sourceRow.resize(static_cast<std::size_t>(*maxX - *minX + 1));

    const std::size_t rowBytes = static_cast<std::size_t>(columns) * bpp;
    if (sameLayout && rowBytes == static_cast<std::size_t>(source.stride) &&
        rowBytes == static_cast<std::size_t>(target.stride)) {
        bool consecutive = true;
        for (int j = 1; j < rows && consecutive; ++j)
            consecutive = ymap[j] == ymap[0] + j;
        if (consecutive) {
            // Whole rows without padding on both sides: the block is one run of memory.
            std::memcpy(target.Row(y0), source.Row(ymap[0]), rowBytes * static_cast<std::size_t>(rows));
            return;
        }
    }
    BYTE* previous = nullptr;
    for (int j = 0; j < rows; ++j) {
        BYTE* out = target.Row(y0 + j) + static_cast<std::ptrdiff_t>(x0) * bpp;
        if (previous && kind != Kind::Blended && ymap[j] == ymap[j - 1]) {
            std::memcpy(out, previous, rowBytes);
            previous = out;
            continue;
        }
        const BYTE* in = source.Row(ymap[j]);
        switch (kind) {
        case Kind::Bgr24:
            if (sameLayout)
                std::memcpy(out, in + 3 * identityStart, rowBytes);
            else if (identityStart >= 0 && bpp == 4)
                ExpandBgr24Row(in + 3 * identityStart, out, columns);
            else
                CopyOpaqueRowTo<FromBgr24>(bpp, in, out, xmap, columns, identityStart, lut);
            break;
        case Kind::Rgb32:
            CopyOpaqueRowTo<FromRgb32>(bpp, in, out, xmap, columns, identityStart, lut);
            break;
        case Kind::Palette8:
            CopyOpaqueRowTo<FromPalette8>(bpp, in, out, xmap, columns, identityStart, lut);
            break;
        case Kind::Blended:
            ReadRow(source, *minX, ymap[j], static_cast<int>(sourceRow.size()), sourceRow.data());
            for (int i = 0; i < columns; ++i) {
                const ARGB c = sourceRow[static_cast<std::size_t>(xmap[i] - *minX)];
                const unsigned a = c >> 24;
                if (a == 255)
                    bpp == 4 ? Put<4>(out, i, c) : Put<3>(out, i, c);
                else if (a != 0)
                    BlendPixel(out + static_cast<std::ptrdiff_t>(i) * bpp, bpp, target.format, c);
            }
            break;
        }
        previous = out;
    }
}

} // namespace kavrino::gdip
