#include "Pen.h"

#include <QVector>

namespace Gdiplus {

Pen::Pen(const Color& color, REAL width) : m_color(color), m_width(width) {
    if (!(width >= 0)) {
        m_width = 0;
        SetStatus(InvalidParameter);
    }
    UpdateQPen();
}

Status Pen::SetColor(const Color& color) {
    m_color = color;
    UpdateQPen();
    return SetStatus(Ok);
}

Status Pen::GetColor(Color* color) const {
    if (!color)
        return SetStatus(InvalidParameter);
    *color = m_color;
    return SetStatus(Ok);
}

Status Pen::SetWidth(REAL width) {
    if (!(width >= 0))
        return SetStatus(InvalidParameter);
    m_width = width;
    UpdateQPen();
    return SetStatus(Ok);
}

Status Pen::SetDashStyle(DashStyle style) {
    if (style < DashStyleSolid || style > DashStyleCustom)
        return SetStatus(InvalidParameter);
    m_dashStyle = style;
    UpdateQPen();
    return SetStatus(Ok);
}

void Pen::UpdateQPen() {
    QPen pen(QColor(m_color.GetR(), m_color.GetG(), m_color.GetB(), m_color.GetA()));
    // Up to one pixel the line is drawn one pixel wide whatever the scale, with both end points.
    if (m_width <= 1.0f) {
        pen.setWidth(0);
        pen.setCapStyle(Qt::SquareCap);
    } else {
        pen.setWidthF(m_width);
        pen.setCapStyle(Qt::FlatCap);
    }
    pen.setJoinStyle(Qt::MiterJoin);
    // Dash and gap lengths in line widths.
    switch (m_dashStyle) {
    case DashStyleDash:
        pen.setDashPattern(QVector<qreal>{3, 1});
        break;
    case DashStyleDot:
        pen.setDashPattern(QVector<qreal>{1, 1});
        break;
    case DashStyleDashDot:
        pen.setDashPattern(QVector<qreal>{3, 1, 1, 1});
        break;
    case DashStyleDashDotDot:
        pen.setDashPattern(QVector<qreal>{3, 1, 1, 1, 1, 1});
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    m_pen = pen;
}

} // namespace Gdiplus
