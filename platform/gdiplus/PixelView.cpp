#include "PixelView.h"
#include "PaletteMatcher.h"

#include <climits>
#include <cstring>

namespace kavrino::gdip {

namespace {

constexpr ARGB kOpaque = 0xFF000000u;

inline ARGB Pack(unsigned a, unsigned r, unsigned g, unsigned b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}
inline unsigned A(ARGB c) {
    return c >> 24;
}
inline unsigned R(ARGB c) {
    return (c >> 16) & 0xFF;
}
inline unsigned G(ARGB c) {
    return (c >> 8) & 0xFF;
}
inline unsigned B(ARGB c) {
    return c & 0xFF;
}

inline unsigned Load16(const BYTE* p) {
    return static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8);
}
inline void Store16(BYTE* p, unsigned v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}

inline ARGB PaletteEntry(const PixelView& v, unsigned index) {
    return static_cast<int>(index) < v.paletteCount ? v.palette[index] : kOpaque;
}

inline unsigned Expand5(unsigned v) {
    return (v << 3) | (v >> 2);
}
inline unsigned Expand6(unsigned v) {
    return (v << 2) | (v >> 4);
}

inline unsigned Luma(ARGB c) {
    return (R(c) * 77 + G(c) * 150 + B(c) * 29 + 128) >> 8;
}

ARGB Premultiply(ARGB c) {
    const unsigned a = A(c);
    if (a == 255)
        return c;
    return Pack(a, (R(c) * a + 127) / 255, (G(c) * a + 127) / 255, (B(c) * a + 127) / 255);
}

ARGB Unpremultiply(ARGB c) {
    const unsigned a = A(c);
    if (a == 255 || a == 0)
        return a == 0 ? 0 : c;
    auto un = [a](unsigned v) {
        const unsigned r = (v * 255 + a / 2) / a;
        return r > 255 ? 255u : r;
    };
    return Pack(a, un(R(c)), un(G(c)), un(B(c)));
}

} // namespace

bool IsKnownFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat1bppIndexed:
    case PixelFormat4bppIndexed:
    case PixelFormat8bppIndexed:
    case PixelFormat16bppGrayScale:
    case PixelFormat16bppRGB555:
    case PixelFormat16bppRGB565:
    case PixelFormat24bppRGB:
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
        return true;
    default:
        return false;
    }
}

int RowBytes(PixelFormat format, int width) {
    const long long bits = static_cast<long long>(width) * Gdiplus::GetPixelFormatSize(format);
    if (width <= 0 || bits <= 0)
        return -1;
    const long long bytes = ((bits + 31) / 32) * 4;
    return bytes > INT_MAX ? -1 : static_cast<int>(bytes);
}

void ReadRow(const PixelView& v, int x, int y, int count, ARGB* out) {
    const BYTE* row = v.Row(y);
    switch (v.format) {
    case PixelFormat1bppIndexed:
        for (int i = 0; i < count; ++i) {
            const int c = x + i;
            out[i] = PaletteEntry(v, (row[c >> 3] >> (7 - (c & 7))) & 1);
        }
        break;
    case PixelFormat4bppIndexed:
        for (int i = 0; i < count; ++i) {
            const int c = x + i;
            const BYTE b = row[c >> 1];
            out[i] = PaletteEntry(v, (c & 1) ? (b & 0x0F) : (b >> 4));
        }
        break;
    case PixelFormat8bppIndexed:
        for (int i = 0; i < count; ++i)
            out[i] = PaletteEntry(v, row[x + i]);
        break;
    case PixelFormat16bppGrayScale:
        for (int i = 0; i < count; ++i) {
            const unsigned g = Load16(row + 2 * (x + i)) >> 8;
            out[i] = Pack(255, g, g, g);
        }
        break;
    case PixelFormat16bppRGB555:
        for (int i = 0; i < count; ++i) {
            const unsigned p = Load16(row + 2 * (x + i));
            out[i] = Pack(255, Expand5((p >> 10) & 31), Expand5((p >> 5) & 31), Expand5(p & 31));
        }
        break;
    case PixelFormat16bppRGB565:
        for (int i = 0; i < count; ++i) {
            const unsigned p = Load16(row + 2 * (x + i));
            out[i] = Pack(255, Expand5((p >> 11) & 31), Expand6((p >> 5) & 63), Expand5(p & 31));
        }
        break;
    case PixelFormat24bppRGB:
        for (int i = 0; i < count; ++i) {
            const BYTE* p = row + 3 * (x + i);
            out[i] = Pack(255, p[2], p[1], p[0]);
        }
        break;
    case PixelFormat32bppRGB:
        for (int i = 0; i < count; ++i)
            out[i] = Load32(row + 4 * (x + i)) | kOpaque;
        break;
    case PixelFormat32bppARGB:
        std::memcpy(out, row + 4 * x, static_cast<std::size_t>(count) * 4);
        break;
    case PixelFormat32bppPARGB:
        for (int i = 0; i < count; ++i)
            out[i] = Unpremultiply(Load32(row + 4 * (x + i)));
        break;
    default:
        for (int i = 0; i < count; ++i)
            out[i] = kOpaque;
        break;
    }
}

void ReadGreyRow(const PixelView& v, int x, int y, int count, BYTE* out) {
    // In pieces through a small buffer on the stack: no allocation however long the row.
    constexpr int kPiece = 64;
    ARGB colours[kPiece];
    for (int done = 0; done < count; done += kPiece) {
        const int n = count - done < kPiece ? count - done : kPiece;
        ReadRow(v, x + done, y, n, colours);
        for (int i = 0; i < n; ++i)
            out[done + i] = static_cast<BYTE>(Luma(colours[i]));
    }
}

void WriteRow(const PixelView& v, int x, int y, int count, const ARGB* in, PaletteMatcher* matcher) {
    BYTE* row = v.Row(y);
    switch (v.format) {
    case PixelFormat1bppIndexed:
        for (int i = 0; i < count; ++i) {
            const int c = x + i;
            const BYTE bit = static_cast<BYTE>(0x80 >> (c & 7));
            if (matcher->Nearest(in[i]) & 1)
                row[c >> 3] |= bit;
            else
                row[c >> 3] &= static_cast<BYTE>(~bit);
        }
        break;
    case PixelFormat4bppIndexed:
        for (int i = 0; i < count; ++i) {
            const int c = x + i;
            const BYTE index = matcher->Nearest(in[i]) & 0x0F;
            BYTE& b = row[c >> 1];
            b = (c & 1) ? static_cast<BYTE>((b & 0xF0) | index)
                        : static_cast<BYTE>((b & 0x0F) | (index << 4));
        }
        break;
    case PixelFormat8bppIndexed:
        for (int i = 0; i < count; ++i)
            row[x + i] = matcher->Nearest(in[i]);
        break;
    case PixelFormat16bppGrayScale:
        for (int i = 0; i < count; ++i)
            Store16(row + 2 * (x + i), Luma(in[i]) * 257);
        break;
    case PixelFormat16bppRGB555:
        for (int i = 0; i < count; ++i)
            Store16(row + 2 * (x + i), ((R(in[i]) >> 3) << 10) | ((G(in[i]) >> 3) << 5) | (B(in[i]) >> 3));
        break;
    case PixelFormat16bppRGB565:
        for (int i = 0; i < count; ++i)
            Store16(row + 2 * (x + i), ((R(in[i]) >> 3) << 11) | ((G(in[i]) >> 2) << 5) | (B(in[i]) >> 3));
        break;
    case PixelFormat24bppRGB:
        for (int i = 0; i < count; ++i) {
            BYTE* p = row + 3 * (x + i);
            p[0] = static_cast<BYTE>(B(in[i]));
            p[1] = static_cast<BYTE>(G(in[i]));
            p[2] = static_cast<BYTE>(R(in[i]));
        }
        break;
    case PixelFormat32bppRGB:
        for (int i = 0; i < count; ++i)
            Store32(row + 4 * (x + i), in[i] | kOpaque);
        break;
    case PixelFormat32bppARGB:
        std::memcpy(row + 4 * x, in, static_cast<std::size_t>(count) * 4);
        break;
    case PixelFormat32bppPARGB:
        for (int i = 0; i < count; ++i)
            Store32(row + 4 * (x + i), Premultiply(in[i]));
        break;
    default:
        break;
    }
}

std::vector<ARGB> DefaultPalette(PixelFormat format) {
    std::vector<ARGB> palette;
    if (format == PixelFormat1bppIndexed) {
        palette = {0xFF000000u, 0xFFFFFFFFu};
    } else if (format == PixelFormat4bppIndexed) {
        palette = {0xFF000000u, 0xFF800000u, 0xFF008000u, 0xFF808000u, 0xFF000080u, 0xFF800080u,
                   0xFF008080u, 0xFF808080u, 0xFFC0C0C0u, 0xFFFF0000u, 0xFF00FF00u, 0xFFFFFF00u,
                   0xFF0000FFu, 0xFFFF00FFu, 0xFF00FFFFu, 0xFFFFFFFFu};
    } else if (format == PixelFormat8bppIndexed) {
        // A 6 x 6 x 6 colour cube followed by a ramp of 40 greys.
        for (unsigned r = 0; r < 6; ++r)
            for (unsigned g = 0; g < 6; ++g)
                for (unsigned b = 0; b < 6; ++b)
                    palette.push_back(Pack(255, r * 51, g * 51, b * 51));
        for (unsigned i = 0; i < 40; ++i) {
            const unsigned level = (i * 255) / 39;
            palette.push_back(Pack(255, level, level, level));
        }
    }
    return palette;
}

} // namespace kavrino::gdip
