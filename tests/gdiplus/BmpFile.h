#pragma once
// Writes bitmap files byte by byte for the tests: any bit count, an optional palette, optional colour
// masks (BI_BITFIELDS) and an optional longer header, so that every case the reader must tell apart can
// be made on the spot.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace bmptest {

struct BmpLayout {
    int width = 1;
    int height = 1; // positive: rows stored bottom-up
    int bitCount = 24;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::vector<std::uint32_t> masks;   // red, green, blue [, alpha]: written with BI_BITFIELDS
    std::uint32_t headerSize = 40;
    // The raw value of pixel (x, y), y counted from the top: an index, a 16-bit word, 0xRRGGBB or
    // 0xAARRGGBB.
    std::function<std::uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };
};

inline void Put16(QByteArray& b, std::uint32_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(QByteArray& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// Overwrites a little-endian field of a made file.
inline void Put16At(QByteArray& b, int at, std::uint32_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32At(QByteArray& b, int at, std::uint32_t v) {
    Put16At(b, at, v & 0xFFFF);
    Put16At(b, at + 2, v >> 16);
}

inline QByteArray MakeBmp(const BmpLayout& layout) {
    const bool bitfields = !layout.masks.empty();
    const std::uint32_t headerSize = layout.headerSize;
    const std::uint32_t extraMasks =
        (bitfields && headerSize == 40) ? static_cast<std::uint32_t>(layout.masks.size()) * 4 : 0;
    const std::uint32_t paletteBytes = static_cast<std::uint32_t>(layout.palette.size()) * 4;
    const std::uint32_t offBits = 14 + headerSize + extraMasks + paletteBytes;
    const int rowBytes = ((layout.width * layout.bitCount + 31) / 32) * 4;

    QByteArray pixels;
    for (int row = layout.height - 1; row >= 0; --row) {
        QByteArray line(rowBytes, '\0');
        for (int x = 0; x < layout.width; ++x) {
            const std::uint32_t v = layout.pixel(x, row);
            const int bit = x * layout.bitCount;
            switch (layout.bitCount) {
            case 1:
                if (v & 1)
                    line[bit / 8] = static_cast<char>(line[bit / 8] | (0x80 >> (bit % 8)));
                break;
            case 4:
                line[bit / 8] = static_cast<char>(line[bit / 8] | ((v & 0x0F) << ((x & 1) ? 0 : 4)));
                break;
            default:
                for (int k = 0; k < layout.bitCount / 8; ++k)
                    line[bit / 8 + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
                break;
            }
        }
        pixels.append(line);
    }

    QByteArray b;
    b.append("BM");
    Put32(b, offBits + static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 0);
    Put32(b, offBits);
    Put32(b, headerSize);
    Put32(b, static_cast<std::uint32_t>(layout.width));
    Put32(b, static_cast<std::uint32_t>(layout.height));
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(layout.bitCount));
    Put32(b, bitfields ? 3 : 0);
    Put32(b, static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, static_cast<std::uint32_t>(layout.palette.size()));
    Put32(b, 0);
    // Masks after a 40-byte header, or inside a longer one, whose remaining fields stay zero.
    for (std::uint32_t m : layout.masks)
        Put32(b, m);
    while (static_cast<std::uint32_t>(b.size()) < 14 + headerSize)
        Put32(b, 0);
    for (std::uint32_t c : layout.palette)
        Put32(b, c);
    b.append(pixels);
    return b;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline std::vector<std::uint32_t> GreyRamp(int count) {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t v = static_cast<std::uint32_t>(i * 255 / (count > 1 ? count - 1 : 1));
        palette.push_back((v << 16) | (v << 8) | v);
    }
    return palette;
}

} // namespace bmptest
