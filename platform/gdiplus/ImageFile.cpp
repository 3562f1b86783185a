#include "ImageFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cstring>

namespace kavrino::gdip {

using Gdiplus::Status;

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// The largest picture read: 32768 pixels a side and 64 million pixels (8192 x 8192), far above any
// reference picture of an area camera. A header may announce any size, and a compressed file of a few
// bytes may fill it, so a larger picture is refused before its pixels are allocated.
constexpr int kMaxSide = 32768;
constexpr long long kMaxPixels = 1LL << 26;

// The largest file read: room for such a picture at 32 bits per pixel and more.
constexpr qint64 kMaxFileBytes = 512LL << 20;

// Zeros after a BMP file's bytes, for the decoder to read where a header makes it read past the end:
// more than a header, its colour masks and a whole colour table.
constexpr int kReadPastEndBytes = 4096;

bool TooLarge(const QSize& size) {
    return size.width() > kMaxSide || size.height() > kMaxSide ||
           static_cast<long long>(size.width()) * size.height() > kMaxPixels;
}

std::uint32_t U16(const QByteArray& b, int at) {
    return static_cast<std::uint8_t>(b[at]) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8);
}
std::uint32_t U32(const QByteArray& b, int at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

// The pixel format a BMP file's header describes, after checking that the header is whole and that the
// file holds all the pixel rows it announces. PixelFormatUndefined with *damaged set for a bad file.
PixelFormat BmpFormat(const QByteArray& bytes, bool* damaged) {
    *damaged = true;
    const long long size = bytes.size();
    if (size < 26)
        return PixelFormatUndefined;
    const std::uint32_t offBits = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, 14);
    long long width = 0, height = 0;
    std::uint32_t bitCount = 0, compression = kBiRgb;
    std::uint32_t redMask = 0, greenMask = 0, alphaMask = 0;
    if (headerSize == 12) {
        width = U16(bytes, 18);
        height = U16(bytes, 20);
        bitCount = U16(bytes, 24);
    } else if (headerSize >= 40 && size >= 14 + 40) {
        width = static_cast<std::int32_t>(U32(bytes, 18));
        height = static_cast<std::int32_t>(U32(bytes, 22));
        bitCount = U16(bytes, 28);
        compression = U32(bytes, 30);
        // The colour masks follow a 40-byte header, or are part of a longer one.
        if ((compression == kBiBitfields || compression == kBiAlphaBitfields || headerSize >= 52) &&
            size >= 66) {
            redMask = U32(bytes, 54);
            greenMask = U32(bytes, 58);
        }
        if ((compression == kBiAlphaBitfields || headerSize >= 56) && size >= 70)
            alphaMask = U32(bytes, 66);
    } else {
        return PixelFormatUndefined;
    }
    if (width <= 0 || height == 0 || offBits > size)
        return PixelFormatUndefined;
    if (compression == kBiRgb || compression == kBiBitfields || compression == kBiAlphaBitfields) {
        // Only the depths a bitmap can have; the row size then stays far inside 64 bits, and the rows are
        // compared with the bytes there are by division, so that no header can overflow the sum.
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
            bitCount != 32)
            return PixelFormatUndefined;
        // The rows start at the header's offset, but never inside the colour masks and the colour table
        // before it: the decoder reads those first and takes the rows from where they end. A header
        // whose offset points into them describes rows that may run past the file's end.
        const std::uint32_t colours = headerSize >= 40 && size >= 50 ? U32(bytes, 46) : 0;
        const long long tableEntries = colours != 0 ? colours : (bitCount <= 8 ? 1LL << bitCount : 0);
        const long long masks = headerSize == 40 ? (compression == kBiBitfields        ? 12
                                                    : compression == kBiAlphaBitfields ? 16
                                                                                       : 0)
                                                 : 0;
        const long long tableEnd = 14LL + headerSize + masks + tableEntries * (headerSize == 12 ? 3 : 4);
        const long long rowsStart = std::max<long long>(offBits, tableEnd);
        const long long rowBytes = ((width * bitCount + 31) / 32) * 4;
        if (rowsStart > size || rowBytes > (size - rowsStart) / std::llabs(height))
            return PixelFormatUndefined;
    } else if (compression != kBiRle8 && compression != kBiRle4) {
        *damaged = false; // JPEG or PNG inside a BMP: left to the decoder
        return PixelFormatUndefined;
    }
    *damaged = false;
    switch (bitCount) {
    case 1:
        return PixelFormat1bppIndexed;
    case 4:
        return PixelFormat4bppIndexed;
    case 8:
        return PixelFormat8bppIndexed;
    case 16:
        return (compression == kBiBitfields && redMask == 0xF800 && greenMask == 0x07E0)
                   ? PixelFormat16bppRGB565
                   : PixelFormat16bppRGB555;
    case 24:
        return PixelFormat24bppRGB;
    case 32:
        return (compression != kBiRgb && alphaMask != 0) ? PixelFormat32bppARGB : PixelFormat32bppRGB;
    default:
        *damaged = true;
        return PixelFormatUndefined;
    }
}

// Whether a BMP file's pixels are run-length encoded (8 or 4 bits).
bool IsRunLength(const QByteArray& bytes) {
    if (bytes.size() < 34 || U32(bytes, 14) < 40)
        return false;
    const std::uint32_t compression = U32(bytes, 30);
    return compression == kBiRle8 || compression == kBiRle4;
}

// The pixel format for a picture that is not a BMP, from what the decoder made of it.
PixelFormat FormatOfDecoded(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return PixelFormat1bppIndexed;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return PixelFormat8bppIndexed;
    case QImage::Format_Grayscale16:
        return PixelFormat16bppGrayScale;
    default:
        return image.hasAlphaChannel() ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    }
}

void CopyRows(const QImage& image, const PixelView& target) {
    const int bytes = std::min(image.bytesPerLine(), target.stride);
    for (int y = 0; y < target.height; ++y)
        std::memcpy(target.Row(y), image.constScanLine(y), static_cast<std::size_t>(bytes));
}

std::vector<ARGB> GreyPalette() {
    std::vector<ARGB> palette(256);
    for (unsigned i = 0; i < 256; ++i)
        palette[i] = 0xFF000000u | (i << 16) | (i << 8) | i;
    return palette;
}

} // namespace

Status DecodeImageFile(const QString& path, DecodedImage& out) {
    QFile file(path);
    if (!file.exists())
        return Gdiplus::FileNotFound;
    // Only a regular file is read: a device or a pipe named as a picture would be read without end.
    const QFileInfo info(path);
    if (info.isDir())
        return Gdiplus::AccessDenied;
    if (!info.isFile())
        return Gdiplus::Win32Error;
    if (info.size() > kMaxFileBytes)
        return Gdiplus::OutOfMemory;
    if (!file.open(QIODevice::ReadOnly))
        return Gdiplus::Win32Error;
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.isEmpty())
        return Gdiplus::UnknownImageFormat;

    PixelFormat format = PixelFormatUndefined;
    const bool isBmp = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    if (isBmp) {
        bool damaged = false;
        format = BmpFormat(bytes, &damaged);
        if (damaged)
            return Gdiplus::InvalidParameter;
    }

    // No pixel may be left undefined: the decoder leaves a pixel it cannot read, or that a run-length
    // stream never reaches (an early end of the picture, a skip), as the memory held it. Past the file's
    // end it reads zeros, and a run-length picture is decoded into pixels that start as index 0, the
    // colour the original shows where the stream leaves one out.
    QBuffer buffer;
    buffer.setData(isBmp ? bytes + QByteArray(kReadPastEndBytes, '\0') : bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    if (reader.format().isEmpty())
        return Gdiplus::UnknownImageFormat;
    if (TooLarge(reader.size()))
        return Gdiplus::OutOfMemory;
    QImage image;
    const bool runLength = isBmp && IsRunLength(bytes);
    if (runLength) {
        image = QImage(reader.size(), QImage::Format_Indexed8);
        image.fill(0);
    }
    const uchar* prepared = image.constBits();
    if (!reader.read(&image) || image.isNull())
        return Gdiplus::InvalidParameter;
    // Decoded into other memory than the prepared pixels: nothing says every pixel was written.
    if (runLength && image.constBits() != prepared)
        return Gdiplus::InvalidParameter;
    if (TooLarge(image.size()))
        return Gdiplus::OutOfMemory;
    if (format == PixelFormatUndefined)
        format = FormatOfDecoded(image);

    switch (format) {
    case PixelFormat1bppIndexed:
        image = image.convertToFormat(QImage::Format_Mono);
        break;
    case PixelFormat4bppIndexed:
    case PixelFormat8bppIndexed:
        if (image.format() != QImage::Format_Indexed8 && image.format() != QImage::Format_Grayscale8)
            image = image.convertToFormat(QImage::Format_Indexed8);
        break;
    case PixelFormat16bppGrayScale:
        image = image.convertToFormat(QImage::Format_Grayscale16);
        break;
    case PixelFormat16bppRGB555:
        image = image.convertToFormat(QImage::Format_RGB555);
        break;
    case PixelFormat16bppRGB565:
        image = image.convertToFormat(QImage::Format_RGB16);
        break;
    case PixelFormat24bppRGB:
        image = image.convertToFormat(QImage::Format_BGR888);
        break;
    case PixelFormat32bppRGB:
        image = image.convertToFormat(QImage::Format_RGB32);
        break;
    default:
        image = image.convertToFormat(QImage::Format_ARGB32);
        break;
    }
    if (image.isNull())
        return Gdiplus::OutOfMemory;
    out.image = image;
    out.format = format;
    return Gdiplus::Ok;
}

void CopyDecoded(const DecodedImage& decoded, const PixelView& target, std::vector<ARGB>& palette) {
    const QImage& image = decoded.image;
    if (image.format() == QImage::Format_Grayscale8) {
        palette = GreyPalette();
    } else if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono) {
        const QVector<QRgb> table = image.colorTable();
        palette.assign(table.begin(), table.end());
        if (palette.empty())
            palette = GreyPalette();
        const std::size_t limit = std::size_t(1) << Gdiplus::GetPixelFormatSize(decoded.format);
        if (palette.size() > limit)
            palette.resize(limit);
    }
    if (decoded.format == PixelFormat4bppIndexed) {
        for (int y = 0; y < target.height; ++y) {
            const uchar* from = image.constScanLine(y);
            BYTE* to = target.Row(y);
            for (int x = 0; x < target.width; ++x) {
                const BYTE index = from[x] & 0x0F;
                to[x >> 1] = (x & 1) ? static_cast<BYTE>(to[x >> 1] | index) : static_cast<BYTE>(index << 4);
            }
        }
        return;
    }
    CopyRows(image, target);
}

} // namespace kavrino::gdip
