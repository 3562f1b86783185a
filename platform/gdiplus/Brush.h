#pragma once
// What fills areas and text.

#include "Color.h"
#include "GdiplusTypes.h"

#include <QBrush>
#include <QPen>

namespace Gdiplus {

class Brush {
public:
    virtual ~Brush() = default;
    virtual Brush* Clone() const = 0;
    BrushType GetType() const { return m_type; }
    Status GetLastStatus() const { return m_lastStatus; }

    // The brush in the painter's terms, and the pen that draws text in it, for the graphics object; kept
    // with the brush, so that drawing with it makes nothing new.
    const QBrush& ToQBrush() const { return m_brush; }
    const QPen& TextPen() const { return m_textPen; }

protected:
    explicit Brush(BrushType type) : m_type(type) {}
    void SetQBrush(const QBrush& brush) {
        m_brush = brush;
        m_textPen = QPen(brush, 0);
    }
    Status SetStatus(Status status) const {
        m_lastStatus = status;
        return status;
    }

private:
    BrushType m_type;
    QBrush m_brush;
    QPen m_textPen;
    mutable Status m_lastStatus = Ok;
};

} // namespace Gdiplus
