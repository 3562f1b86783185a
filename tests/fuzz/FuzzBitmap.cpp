// A reference picture as a page loads it: any file into the bitmap holder (CCvImage::LoadImage), then what
// the page does with it: drawn scaled into the picture, copied out 1:1 as 24-bit rows for the full-size
// window, copied region by region, and cleared. The holder may already hold a picture (the last byte
// chooses its type), since a picture it does not accept keeps the holder's size and type.

#include "CCvImage.h"
#include "FuzzSupport.h"
#include "Steering.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace kavrino_fuzz;

namespace {

constexpr long long kWholePicturePixels = 4LL << 20;

// The full-size copy of the double-click: every row of the holder's size, read through a 24-bit lock.
void CopyOut(CCvImage& image) {
    if (!image.m_pBitmap || image.m_nWidth <= 0 || image.m_nHeight <= 0)
        return;
    Gdiplus::Rect area(0, 0, image.m_nWidth, image.m_nHeight);
    Gdiplus::BitmapData data{};
    if (image.m_pBitmap->LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) !=
        Gdiplus::Ok)
        return;
    const std::size_t row = static_cast<std::size_t>(image.m_nWidth) * 3;
    std::vector<BYTE> copy(row * static_cast<std::size_t>(image.m_nHeight));
    for (int y = 0; y < image.m_nHeight; ++y)
        std::memcpy(&copy[row * static_cast<std::size_t>(y)],
                    static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride, row);
    image.m_pBitmap->UnlockBits(&data);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = ScratchPath("reference.bmp");
    WriteFile(path, data, size);
    Steering steer(data, size);

    CCvImage image;
    if (const std::size_t type = steer.Pick(4))
        image.CreateImage(40, 30, static_cast<int>(type));
    const int loaded = image.LoadImage(WidePath(path));
    if (loaded && (!image.m_pBitmap || image.m_nWidth <= 0 || image.m_nHeight <= 0 || image.m_nType < 1 ||
                   image.m_nType > 3))
        Fail("a loaded picture has no usable size or type");

    // The whole-picture passes run per pixel; on a large picture they would only slow the search down
    // without reaching other code, so they run on pictures of up to 4 million pixels.
    if (static_cast<long long>(image.m_nWidth) * image.m_nHeight <= kWholePicturePixels) {
        CCvImage picture;
        picture.CreateImage(64, 48, 2);
        image.DrawImage(picture.m_pBitmap, 0.0f, 0.0f, 64.0f, 48.0f);
        CopyOut(image);
    }
    if (image.m_nType == 2 && image.m_pBitmap) {
        // A corner of at most 64 x 64 pixels that lies inside both the holder's size and its bitmap.
        const int w = std::min({image.m_nWidth, static_cast<int>(image.m_pBitmap->GetWidth()), 64});
        const int h = std::min({image.m_nHeight, static_cast<int>(image.m_pBitmap->GetHeight()), 64});
        CCvImage box;
        if (w > 0 && h > 0 && box.CreateImage(w, h, 2))
            image.DrawImage(box.m_pBitmap, 0, 0, w, h);
    }
    if (image.m_pBitmap)
        image.ClearImage();
    return 0;
}
