#pragma once
// What a device context draws on. A window's device context (made by the window system) draws into the
// window's backing image, which the window shows when the context is released; a memory context draws into
// an image of its own. GDI and GDI+ drawing on an HDC both go through this surface.

#include "WinTypes.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

namespace kavrino {

class DeviceSurface {
public:
    virtual ~DeviceSurface() = default;
    // The pixels, QImage::Format_RGB32 (bytes blue, green, red, 0xFF per pixel).
    virtual QImage& Image() = 0;
    // Called after drawing so that the pixels reach the screen.
    virtual void Flush() {}

    // The viewport origin: device point = logical point + origin.
    QPoint origin;
    // The font a context on this surface draws text with until another is selected: the control's own font
    // where the control hands the context out (owner-drawn items), the application's font when unset.
    std::optional<QFont> font;
};

inline HDC ToHdc(DeviceSurface* surface) {
    return reinterpret_cast<HDC>(surface);
}
inline DeviceSurface* FromHdc(HDC hdc) {
    return reinterpret_cast<DeviceSurface*>(hdc);
}

// A surface over an image of its own, for drawing off screen and for tests.
class ImageSurface : public DeviceSurface {
public:
    ImageSurface(int width, int height) : m_image(width, height, QImage::Format_RGB32) { m_image.fill(0); }
    QImage& Image() override { return m_image; }

private:
    QImage m_image;
};

} // namespace kavrino
