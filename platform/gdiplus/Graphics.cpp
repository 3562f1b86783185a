#include "Graphics.h"
#include "DeviceSurface.h"
#include "GlyphCache.h"
#include "ImageBlit.h"

#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <memory>
#include <vector>

namespace Gdiplus {

namespace {

using kavrino::gdip::PixelView;

PixelFormat SurfaceFormat(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
        return PixelFormat32bppRGB;
    case QImage::Format_ARGB32:
        return PixelFormat32bppARGB;
    case QImage::Format_ARGB32_Premultiplied:
        return PixelFormat32bppPARGB;
    default:
        return PixelFormatUndefined;
    }
}

QImage::Format PainterFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat24bppRGB:
        return QImage::Format_BGR888;
    case PixelFormat32bppRGB:
        return QImage::Format_RGB32;
    case PixelFormat32bppARGB:
        return QImage::Format_ARGB32;
    case PixelFormat32bppPARGB:
        return QImage::Format_ARGB32_Premultiplied;
    default:
        return QImage::Format_Invalid;
    }
}

// One axis of an image drawn into a rectangle: the target pixels covered by [pos, pos + size) (those
// whose leading edge lies inside), clipped to [0, limit), and the source pixel each takes, sampled at
// `sampleOffset` into the target pixel. False when nothing is covered.
bool MapAxis(double pos, double size, double src, double srcSize, int srcLimit, int limit,
             double sampleOffset, std::vector<int>& map, int& first) {
    const bool flip = size < 0;
    if (flip) {
        pos += size;
        size = -size;
    }
    if (!(size > 0) || !(srcSize > 0) || !std::isfinite(pos + size))
        return false;
    const double lo = std::max(std::ceil(pos), 0.0);
    const double hi = std::min(std::ceil(pos + size), static_cast<double>(limit));
    const int sourceLo = static_cast<int>(std::max(std::floor(src), 0.0));
    const int sourceHi =
        static_cast<int>(std::min(std::ceil(src + srcSize), static_cast<double>(srcLimit))) - 1;
    if (lo >= hi || sourceLo > sourceHi)
        return false;
    first = static_cast<int>(lo);
    const int count = static_cast<int>(hi) - first;
    map.resize(static_cast<std::size_t>(count));
    const double scale = srcSize / size;
    for (int i = 0; i < count; ++i) {
        double u = (first + i + sampleOffset - pos) * scale;
        if (flip)
            u = srcSize - u;
        const int index = static_cast<int>(std::floor(src + u));
        map[static_cast<std::size_t>(i)] = std::clamp(index, sourceLo, sourceHi);
    }
    return true;
}

bool StepsByOne(const std::vector<int>& map) {
    for (std::size_t i = 1; i < map.size(); ++i)
        if (map[i] != map[0] + static_cast<int>(i))
            return false;
    return true;
}

QImage ToArgbImage(const PixelView& view) {
    QImage image(view.width, view.height, QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < view.height; ++y)
        kavrino::gdip::ReadRow(view, 0, y, view.width, reinterpret_cast<ARGB*>(image.scanLine(y)));
    return image;
}

constexpr double kUnbounded = 1 << 22;

// The painter's span for one axis of a layout rectangle; a size of 0 leaves the text unbounded in that
// direction, aligned on the position.
void LayoutAxis(double pos, double size, StringAlignment align, double& start, double& extent) {
    if (size > 0) {
        start = pos;
        extent = size;
        return;
    }
    extent = kUnbounded;
    start = align == StringAlignmentNear     ? pos
            : align == StringAlignmentCenter ? pos - extent / 2
                                             : pos - extent;
}

} // namespace

Graphics::Graphics(HDC hdc) : m_surface(kavrino::FromHdc(hdc)) {
    m_initStatus = m_surface ? Ok : InvalidParameter;
    SetStatus(m_initStatus);
}

Graphics::Graphics(Image* image) : m_image(image) {
    if (!image)
        m_initStatus = InvalidParameter;
    else if (image->Usable() != Ok)
        m_initStatus = image->Usable();
    else if (!kavrino::gdip::CanBlitInto(image->m_format))
        m_initStatus = InvalidParameter;
    SetStatus(m_initStatus);
}

Graphics::~Graphics() {
    if (m_painter && m_painter->isActive())
        m_painter->end();
    if (m_surface)
        m_surface->Flush();
}

Status Graphics::SetPixelOffsetMode(PixelOffsetMode mode) {
    if (mode < PixelOffsetModeDefault || mode > PixelOffsetModeHalf)
        return SetStatus(InvalidParameter);
    m_pixelOffsetMode = mode;
    return SetStatus(Ok);
}

Status Graphics::SetInterpolationMode(InterpolationMode mode) {
    if (mode < InterpolationModeDefault || mode > InterpolationModeHighQualityBicubic)
        return SetStatus(InvalidParameter);
    m_interpolationMode = mode;
    return SetStatus(Ok);
}

Status Graphics::SetSmoothingMode(SmoothingMode mode) {
    if (mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias)
        return SetStatus(InvalidParameter);
    m_smoothingMode = mode;
    return SetStatus(Ok);
}

Status Graphics::SetTextRenderingHint(TextRenderingHint hint) {
    if (hint < TextRenderingHintSystemDefault || hint > TextRenderingHintClearTypeGridFit)
        return SetStatus(InvalidParameter);
    m_textRenderingHint = hint;
    return SetStatus(Ok);
}

Status Graphics::Ready() const {
    if (m_initStatus != Ok)
        return m_initStatus;
    if (m_image) {
        if (m_image->Usable() != Ok)
            return m_image->Usable();
        if (m_image->m_locked)
            return WrongState;
    }
    return Ok;
}

void Graphics::ApplyHints(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, m_smoothingMode == SmoothingModeAntiAlias ||
                                                      m_smoothingMode == SmoothingModeHighQuality);
    painter.setRenderHint(QPainter::TextAntialiasing,
                          m_textRenderingHint != TextRenderingHintSingleBitPerPixel &&
                              m_textRenderingHint != TextRenderingHintSingleBitPerPixelGridFit);
}

QPainter* Graphics::ImagePainter() {
    // Drawing writes the pixels: pixels shared with a clone are copied first, and a painter begun on the
    // memory they had is begun again on the copy.
    if (m_image->OwnPixels() != Ok)
        return nullptr;
    if (m_painter && m_painter->isActive()) {
        if (m_imageView.constBits() == m_image->m_scan0)
            return m_painter.get();
        m_painter->end();
    }
    // Paints straight into the bitmap's memory: the view does not copy it.
    m_imageView = QImage(m_image->m_scan0, m_image->m_width, m_image->m_height, m_image->m_stride,
                         PainterFormat(m_image->m_format));
    if (!m_painter)
        m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&m_imageView))
        return nullptr;
    return m_painter.get();
}

template <class PaintFn> Status Graphics::Paint(PaintFn&& paint) {
    const Status ready = Ready();
    if (ready != Ok)
        return SetStatus(ready);
    if (!m_surface) {
        QPainter* painter = ImagePainter();
        if (!painter)
            return SetStatus(GenericError);
        ApplyHints(*painter);
        paint(*painter);
        return SetStatus(Ok);
    }
    // A window's surface may be replaced between drawings (the window was resized): a painter per call.
    QImage* device = &m_surface->Image();
    if (device->isNull())
        return SetStatus(Ok);
    QPainter painter;
    if (!painter.begin(device))
        return SetStatus(GenericError);
    painter.translate(m_surface->origin);
    ApplyHints(painter);
    paint(painter);
    painter.end();
    return SetStatus(Ok);
}

Status Graphics::Clear(const Color& color) {
    return Paint([&](QPainter& painter) {
        painter.resetTransform();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(0, 0, painter.device()->width(), painter.device()->height()),
                         QColor(color.GetR(), color.GetG(), color.GetB(), color.GetA()));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    });
}

Status Graphics::DrawImageArea(Image* image, double x, double y, double width, double height, double srcx,
                               double srcy, double srcwidth, double srcheight) {
    const Status ready = Ready();
    if (ready != Ok)
        return SetStatus(ready);
    if (!image)
        return SetStatus(InvalidParameter);
    if (image->Usable() != Ok)
        return SetStatus(image->Usable());
    if (image->m_locked)
        return SetStatus(WrongState);

    PixelView target;
    QPoint origin;
    if (m_surface) {
        QImage& surface = m_surface->Image();
        if (surface.isNull())
            return SetStatus(Ok);
        target.scan0 = surface.bits();
        target.stride = surface.bytesPerLine();
        target.width = surface.width();
        target.height = surface.height();
        target.format = SurfaceFormat(surface);
        origin = m_surface->origin;
    } else {
        const Status owned = m_image->OwnPixels();
        if (owned != Ok)
            return SetStatus(owned);
        target = m_image->View();
    }

    const bool half =
        m_pixelOffsetMode == PixelOffsetModeHalf || m_pixelOffsetMode == PixelOffsetModeHighQuality;
    const double sampleOffset = half ? 0.5 : 0.0;
    // The maps keep their memory between drawings: copying a frame allocates nothing once they have
    // grown to its size.
    thread_local std::vector<int> xmap, ymap;
    int x0 = 0, y0 = 0;
    if (!MapAxis(x + origin.x(), width, srcx, srcwidth, image->m_width, target.width, sampleOffset, xmap,
                 x0) ||
        !MapAxis(y + origin.y(), height, srcy, srcheight, image->m_height, target.height, sampleOffset, ymap,
                 y0))
        return SetStatus(Ok);

    const bool nearest = m_interpolationMode == InterpolationModeNearestNeighbor;
    const bool unscaled = width == srcwidth && height == srcheight && StepsByOne(xmap) && StepsByOne(ymap);
    if (kavrino::gdip::CanBlitInto(target.format) && (nearest || unscaled)) {
        PixelView source = image->View();
        std::unique_ptr<BYTE[]> copy;
        if (image == m_image) {
            // Drawing a bitmap onto itself reads from a copy, so that no pixel is read after it was written.
            const std::size_t bytes = static_cast<std::size_t>(source.stride) * source.height;
            copy.reset(new BYTE[bytes]);
            std::memcpy(copy.get(), source.scan0, bytes);
            source.scan0 = copy.get();
        }
        kavrino::gdip::BlitNearest(source, target, x0, y0, xmap.data(), static_cast<int>(xmap.size()),
                                   ymap.data(), static_cast<int>(ymap.size()));
        return SetStatus(Ok);
    }

    // Smoothed scaling, or a surface of another format: through the painter.
    const QImage source = ToArgbImage(image->View());
    if (source.isNull())
        return SetStatus(OutOfMemory);
    const double shift = half ? 0.0 : 0.5;
    return Paint([&](QPainter& painter) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, !nearest);
        painter.drawImage(QRectF(x + shift, y + shift, width, height), source,
                          QRectF(srcx, srcy, srcwidth, srcheight));
    });
}

Status Graphics::DrawImage(Image* image, const RectF& rect) {
    return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawImage(Image* image, const Rect& rect) {
    return DrawImage(image, RectF(rect));
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y, REAL width, REAL height) {
    if (!image)
        return SetStatus(InvalidParameter);
    return DrawImageArea(image, x, y, width, height, 0, 0, image->m_width, image->m_height);
}

Status Graphics::DrawImage(Image* image, INT x, INT y, INT width, INT height) {
    return DrawImage(image, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                     static_cast<REAL>(height));
}

Status Graphics::DrawImage(Image* image, REAL x, REAL y) {
    if (!image)
        return SetStatus(InvalidParameter);
    return DrawImageArea(image, x, y, image->m_width, image->m_height, 0, 0, image->m_width, image->m_height);
}

Status Graphics::DrawImage(Image* image, INT x, INT y) {
    return DrawImage(image, static_cast<REAL>(x), static_cast<REAL>(y));
}

Status Graphics::DrawImage(Image* image, const RectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                           REAL srcheight, Unit srcUnit) {
    if (srcUnit != UnitPixel)
        return SetStatus(NotImplemented);
    return DrawImageArea(image, destRect.X, destRect.Y, destRect.Width, destRect.Height, srcx, srcy, srcwidth,
                         srcheight);
}

Status Graphics::DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
    if (!pen)
        return SetStatus(InvalidParameter);
    return Paint([&](QPainter& painter) {
        painter.setPen(pen->ToQPen());
        painter.drawLine(QLineF(x1, y1, x2, y2));
    });
}

Status Graphics::DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2) {
    return DrawLine(pen, static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2),
                    static_cast<REAL>(y2));
}

Status Graphics::DrawLine(const Pen* pen, const Point& p1, const Point& p2) {
    return DrawLine(pen, p1.X, p1.Y, p2.X, p2.Y);
}

Status Graphics::DrawLine(const Pen* pen, const PointF& p1, const PointF& p2) {
    return DrawLine(pen, p1.X, p1.Y, p2.X, p2.Y);
}

Status Graphics::DrawRectangle(const Pen* pen, REAL x, REAL y, REAL width, REAL height) {
    if (!pen)
        return SetStatus(InvalidParameter);
    return Paint([&](QPainter& painter) {
        painter.setPen(pen->ToQPen());
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(x, y, width, height));
    });
}

Status Graphics::DrawRectangle(const Pen* pen, INT x, INT y, INT width, INT height) {
    return DrawRectangle(pen, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                         static_cast<REAL>(height));
}

Status Graphics::DrawRectangle(const Pen* pen, const Rect& rect) {
    return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawRectangle(const Pen* pen, const RectF& rect) {
    return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height) {
    if (!brush)
        return SetStatus(InvalidParameter);
    return Paint(
        [&](QPainter& painter) { painter.fillRect(QRectF(x, y, width, height), brush->ToQBrush()); });
}

Status Graphics::FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height) {
    return FillRectangle(brush, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                         static_cast<REAL>(height));
}

Status Graphics::FillRectangle(const Brush* brush, const Rect& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::FillRectangle(const Brush* brush, const RectF& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                            const Brush* brush) {
    return DrawString(string, length, font, origin, nullptr, brush);
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                            const StringFormat* format, const Brush* brush) {
    if (string && font && brush && length >= -1 && font->GetLastStatus() == Ok &&
        DrawCachedText(string, length, font, origin, format, brush))
        return GetLastStatus();
    return DrawText(string, length, font, RectF(origin.X, origin.Y, 0, 0), format, brush, true);
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                            const StringFormat* format, const Brush* brush) {
    return DrawText(string, length, font, layoutRect, format, brush, false);
}

Status Graphics::DrawText(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                          const StringFormat* format, const Brush* brush, bool unbounded) {
    if (!string || !font || !brush || length < -1)
        return SetStatus(InvalidParameter);
    if (font->GetLastStatus() != Ok)
        return SetStatus(InvalidParameter);
    QString text = length < 0 ? QString::fromWCharArray(string) : QString::fromWCharArray(string, length);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    const StringAlignment align = format ? format->GetAlignment() : StringAlignmentNear;
    const StringAlignment lineAlign = format ? format->GetLineAlignment() : StringAlignmentNear;
    const INT formatFlags = format ? format->GetFormatFlags() : 0;
    int flags = align == StringAlignmentNear     ? Qt::AlignLeft
                : align == StringAlignmentCenter ? Qt::AlignHCenter
                                                 : Qt::AlignRight;
    flags |= lineAlign == StringAlignmentNear     ? Qt::AlignTop
             : lineAlign == StringAlignmentCenter ? Qt::AlignVCenter
                                                  : Qt::AlignBottom;
    double left, top, width, height;
    LayoutAxis(layoutRect.X, unbounded ? 0 : layoutRect.Width, align, left, width);
    LayoutAxis(layoutRect.Y, unbounded ? 0 : layoutRect.Height, lineAlign, top, height);
    const bool bounded = !unbounded && layoutRect.Width > 0 && layoutRect.Height > 0;
    if (bounded && !(formatFlags & StringFormatFlagsNoWrap))
        flags |= Qt::TextWordWrap;
    if (!bounded || (formatFlags & StringFormatFlagsNoClip))
        flags |= Qt::TextDontClip;

    const bool singleBit = m_textRenderingHint == TextRenderingHintSingleBitPerPixel ||
                           m_textRenderingHint == TextRenderingHintSingleBitPerPixelGridFit;
    QFont qfont = font->ToQFont();
    if (singleBit)
        qfont.setStyleStrategy(QFont::NoAntialias);
    return Paint([&](QPainter& painter) {
        painter.setFont(qfont);
        painter.setPen(brush->TextPen());
        painter.drawText(QRectF(left, top, width, height), flags, text);
    });
}

bool Graphics::DrawCachedText(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                              const StringFormat* format, const Brush* brush) {
    // A text at a point, left and top aligned, smoothed: the painter's layout would place it the same.
    if (format && (format->GetAlignment() != StringAlignmentNear ||
                   format->GetLineAlignment() != StringAlignmentNear || format->GetFormatFlags() != 0))
        return false;
    if (m_textRenderingHint == TextRenderingHintSingleBitPerPixel ||
        m_textRenderingHint == TextRenderingHintSingleBitPerPixelGridFit)
        return false;
    const INT count = length < 0 ? static_cast<INT>(std::wcslen(string)) : length;
    if (count > kavrino::gdip::GlyphCache::kMaxGlyphs)
        return false;
    bool drawn = false;
    const Status status = Paint([&](QPainter& painter) {
        painter.setPen(brush->TextPen());
        drawn = font->Glyphs().Draw(painter, string, count, QPointF(origin.X, origin.Y));
    });
    return status != Ok || drawn;
}

Status Graphics::Flush(FlushIntention) {
    if (m_surface)
        m_surface->Flush();
    return SetStatus(m_initStatus);
}

} // namespace Gdiplus
