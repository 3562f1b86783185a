#pragma once
// What draws lines and outlines: a colour, a width (0 draws the thinnest line, one pixel wide) and a
// dash style whose dashes scale with the width.

#include "Color.h"
#include "GdiplusTypes.h"

#include <QPen>

namespace Gdiplus {

class Pen {
public:
    explicit Pen(const Color& color, REAL width = 1.0f);
    Pen* Clone() const { return new Pen(*this); }

    Status SetColor(const Color& color);
    Status GetColor(Color* color) const;
    Status SetWidth(REAL width);
    REAL GetWidth() const { return m_width; }
    Status SetDashStyle(DashStyle style);
    DashStyle GetDashStyle() const { return m_dashStyle; }
    Status GetLastStatus() const { return m_lastStatus; }

    // The pen in the painter's terms, for the graphics object; kept with the pen, so that drawing with it
    // makes nothing new.
    const QPen& ToQPen() const { return m_pen; }

private:
    void UpdateQPen();

    Status SetStatus(Status status) const {
        m_lastStatus = status;
        return status;
    }

    Color m_color;
    REAL m_width;
    DashStyle m_dashStyle = DashStyleSolid;
    QPen m_pen;
    mutable Status m_lastStatus = Ok;
};

} // namespace Gdiplus
