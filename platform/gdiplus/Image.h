#pragma once
// The base of every picture the library draws: size, pixel format, palette and the status of the last
// call. The pixels live here so that a graphics object can draw from and into any image.

#include "Color.h"
#include "Geometry.h"
#include "GdiplusTypes.h"
#include "PixelFormats.h"
#include "PixelView.h"

#include <memory>
#include <vector>

namespace Gdiplus {

class Image {
public:
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Decodes a picture file into a new bitmap; check GetLastStatus() of the result.
    static Image* FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
    // A new bitmap with this image's size, format, palette and pixels. The pixels are shared until one of
    // the images writes to them (a lock that allows writing, SetPixel, drawing into it): that one takes a
    // copy of its own first. So a picture held by many owners takes its memory once, and none of them
    // sees another's changes. An image over the caller's memory, or one locked now, is copied at once.
    Image* Clone();

    UINT GetWidth() const;
    UINT GetHeight() const;
    // 0 (PixelFormatUndefined) for an image that could not be made or loaded.
    PixelFormat GetPixelFormat() const;
    ImageType GetType() const;
    // Bytes needed for GetPalette: the header and Count entries (Count is 0 for formats without one).
    INT GetPaletteSize() const;
    Status GetPalette(ColorPalette* palette, INT size) const;
    Status SetPalette(const ColorPalette* palette);
    // The status of the last call on this image.
    Status GetLastStatus() const { return m_lastStatus; }

protected:
    Image() = default;
    Status SetStatus(Status status) const {
        m_lastStatus = status;
        return status;
    }
    // Ok for a usable image, otherwise why it is not usable.
    Status Usable() const { return m_scan0 ? Ok : (m_initStatus == Ok ? InvalidParameter : m_initStatus); }
    // Gives the image zeroed memory of its own; rows are padded to a multiple of 4 bytes. The memory is
    // taken zeroed from the system, so the pages of a large image cost nothing until they are written.
    Status Allocate(int width, int height, PixelFormat format);
    // Called before the pixels are written: pixels shared with a clone are copied first, so that the
    // write stays with this image. OutOfMemory when no copy can be made.
    Status OwnPixels();
    // Takes another image's size, format, palette and pixels, sharing them where that image owns them.
    Status ShareFrom(const Image& source);
    // Uses the caller's memory (not owned) with the caller's row stride.
    Status Wrap(int width, int height, int stride, PixelFormat format, BYTE* scan0);
    Status Adopt(int width, int height, int stride, PixelFormat format, BYTE* scan0);
    kavrino::gdip::PixelView View() const;

    int m_width = 0;
    int m_height = 0;
    PixelFormat m_format = PixelFormatUndefined;
    int m_stride = 0;
    BYTE* m_scan0 = nullptr;
    std::shared_ptr<BYTE> m_owned; // shared with the clones that have not written yet
    std::vector<ARGB> m_palette;
    UINT m_paletteFlags = 0;
    Status m_initStatus = Ok;
    mutable Status m_lastStatus = Ok;
    bool m_locked = false;

    friend class Graphics;
};

} // namespace Gdiplus
