#pragma once
// Reading picture files. Qt's image reader decodes the pixels, but it converts some formats while
// loading (1-, 4- and 16-bit BMPs come back as 8- or 32-bit images), so the pixel format a bitmap gets
// is taken from the BMP header itself. The header is also checked against the file's length: Qt
// quietly returns a partly filled picture for a truncated file, which must not pass as a good one.

#include "GdiplusTypes.h"
#include "PixelFormats.h"
#include "PixelView.h"

#include <QImage>
#include <QString>
#include <vector>

namespace kavrino::gdip {

struct DecodedImage {
    QImage image;
    PixelFormat format = PixelFormatUndefined;
};

// FileNotFound, AccessDenied, UnknownImageFormat (empty or not a picture), InvalidParameter (a damaged
// or truncated file) or OutOfMemory (a picture of more than 32768 pixels a side or 64 million pixels)
// when the file gives no picture.
Gdiplus::Status DecodeImageFile(const QString& path, DecodedImage& out);
// Copies the decoded pixels into a bitmap of the decoded size and format, and its palette.
void CopyDecoded(const DecodedImage& decoded, const PixelView& target, std::vector<ARGB>& palette);

} // namespace kavrino::gdip
