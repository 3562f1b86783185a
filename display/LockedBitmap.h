#pragma once
// A lock of a rectangle of a GDI+ bitmap in one pixel format, released when it goes out of scope. The
// display reads and writes its holders' pixels through these, one row pointer at a time.

#include "Platform.h"

#include <cstddef>

class LockedBitmap {
public:
    LockedBitmap(Gdiplus::Bitmap* bitmap, int x, int y, int width, int height, PixelFormat format)
        : m_bitmap(bitmap) {
        if (!m_bitmap || width <= 0 || height <= 0)
            return;
        Gdiplus::Rect rc(x, y, width, height);
        m_locked = m_bitmap->LockBits(&rc, 0, format, &m_data) == Gdiplus::Ok;
        m_ok = m_locked && m_data.Stride > 0 && m_data.Scan0 != nullptr;
    }
    ~LockedBitmap() {
        if (m_locked)
            m_bitmap->UnlockBits(&m_data);
    }
    LockedBitmap(const LockedBitmap&) = delete;
    LockedBitmap& operator=(const LockedBitmap&) = delete;

    // True when the rectangle is locked with rows running downwards.
    bool Ok() const { return m_ok; }
    BYTE* Row(int y) const {
        return static_cast<BYTE*>(m_data.Scan0) + static_cast<std::ptrdiff_t>(y) * m_data.Stride;
    }
    int Stride() const { return m_data.Stride; }

private:
    Gdiplus::Bitmap* m_bitmap;
    Gdiplus::BitmapData m_data{};
    bool m_locked = false;
    bool m_ok = false;
};
