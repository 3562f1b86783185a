#pragma once
// A drawing surface: a device context (a window's or a memory surface) or a 24- or 32-bit image.
//
// Images are drawn by the library's own loops. With nearest-neighbour interpolation a destination
// rectangle covers the target pixels whose left/top edge lies inside it, and each covered pixel takes the
// source pixel under its sampling point (its centre under PixelOffsetModeHalf, its corner otherwise). So
// (x - 0.5, y - 0.5, k*w + 0.5, k*h + 0.5) draws a w x h image as exact k x k blocks from (x, y), and
// k = 1 is the 1:1 copy. Other interpolation modes that scale go through the painter with smoothing.
// Lines, rectangles and text are painted with QPainter straight into the target's memory. On an image the
// painter is begun at the first drawing and kept until the graphics object goes, and short texts at a
// point are drawn from the font's glyph cache: a graphics object kept between frames draws with kept
// pens, brushes and fonts without allocating memory.

#include "Brush.h"
#include "Font.h"
#include "Geometry.h"
#include "GdiplusTypes.h"
#include "Image.h"
#include "Pen.h"
#include "StringFormat.h"

#include <QImage>
#include <QPoint>

#include <memory>

class QPainter;

namespace kavrino {
class DeviceSurface;
}

namespace Gdiplus {

class Graphics {
public:
    // Draws on the context's surface at its viewport origin; the surface is flushed to the screen when
    // the graphics object is destroyed.
    explicit Graphics(HDC hdc);
    // Only 24- and 32-bit images can be drawn on; others leave the graphics object failed.
    explicit Graphics(Image* image);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    static Graphics* FromHDC(HDC hdc) { return new Graphics(hdc); }
    static Graphics* FromImage(Image* image) { return new Graphics(image); }

    Status SetPixelOffsetMode(PixelOffsetMode mode);
    PixelOffsetMode GetPixelOffsetMode() const { return m_pixelOffsetMode; }
    Status SetInterpolationMode(InterpolationMode mode);
    InterpolationMode GetInterpolationMode() const { return m_interpolationMode; }
    Status SetSmoothingMode(SmoothingMode mode);
    SmoothingMode GetSmoothingMode() const { return m_smoothingMode; }
    Status SetTextRenderingHint(TextRenderingHint hint);
    TextRenderingHint GetTextRenderingHint() const { return m_textRenderingHint; }

    Status Clear(const Color& color);

    Status DrawImage(Image* image, const RectF& rect);
    Status DrawImage(Image* image, const Rect& rect);
    Status DrawImage(Image* image, REAL x, REAL y, REAL width, REAL height);
    Status DrawImage(Image* image, INT x, INT y, INT width, INT height);
    Status DrawImage(Image* image, REAL x, REAL y);
    Status DrawImage(Image* image, INT x, INT y);
    // The part (srcx, srcy, srcwidth, srcheight) of the image, in pixels, into the rectangle.
    Status DrawImage(Image* image, const RectF& destRect, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight,
                     Unit srcUnit);

    Status DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2);
    Status DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
    Status DrawLine(const Pen* pen, const Point& p1, const Point& p2);
    Status DrawLine(const Pen* pen, const PointF& p1, const PointF& p2);

    Status DrawRectangle(const Pen* pen, INT x, INT y, INT width, INT height);
    Status DrawRectangle(const Pen* pen, REAL x, REAL y, REAL width, REAL height);
    Status DrawRectangle(const Pen* pen, const Rect& rect);
    Status DrawRectangle(const Pen* pen, const RectF& rect);

    Status FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height);
    Status FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height);
    Status FillRectangle(const Brush* brush, const Rect& rect);
    Status FillRectangle(const Brush* brush, const RectF& rect);

    // length -1: up to the terminating zero. "\r\n" breaks the line.
    Status DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                      const Brush* brush);
    Status DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                      const StringFormat* format, const Brush* brush);
    Status DrawString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                      const StringFormat* format, const Brush* brush);

    Status Flush(FlushIntention intention = FlushIntentionFlush);
    Status GetLastStatus() const { return m_lastStatus; }

private:
    Status SetStatus(Status status) const {
        m_lastStatus = status;
        return status;
    }
    // Ok when the target can be drawn on now.
    Status Ready() const;
    template <class PaintFn> Status Paint(PaintFn&& paint);
    // The painter kept on the image, begun on first use; null when it cannot be begun.
    QPainter* ImagePainter();
    void ApplyHints(QPainter& painter) const;
    Status DrawImageArea(Image* image, double x, double y, double width, double height, double srcx,
                         double srcy, double srcwidth, double srcheight);
    Status DrawText(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                    const StringFormat* format, const Brush* brush, bool unbounded);
    // A text at a point through the font's glyph cache; false when the cache does not lay it out (the
    // painter's text layout then draws it).
    bool DrawCachedText(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                        const StringFormat* format, const Brush* brush);

    Image* m_image = nullptr;
    kavrino::DeviceSurface* m_surface = nullptr;
    // The image's pixels as the painter sees them (no copy), and the painter kept on them.
    QImage m_imageView;
    std::unique_ptr<QPainter> m_painter;
    Status m_initStatus = Ok;
    mutable Status m_lastStatus = Ok;
    PixelOffsetMode m_pixelOffsetMode = PixelOffsetModeDefault;
    InterpolationMode m_interpolationMode = InterpolationModeDefault;
    SmoothingMode m_smoothingMode = SmoothingModeDefault;
    TextRenderingHint m_textRenderingHint = TextRenderingHintSystemDefault;
};

} // namespace Gdiplus
