#pragma once
// A brush of one colour.

#include "Brush.h"

namespace Gdiplus {

class SolidBrush : public Brush {
public:
    explicit SolidBrush(const Color& color) : Brush(BrushTypeSolidColor), m_color(color) {
        SetQBrush(MakeQBrush());
    }
    Brush* Clone() const override { return new SolidBrush(m_color); }

    Status GetColor(Color* color) const {
        if (!color)
            return SetStatus(InvalidParameter);
        *color = m_color;
        return SetStatus(Ok);
    }
    Status SetColor(const Color& color) {
        m_color = color;
        SetQBrush(MakeQBrush());
        return SetStatus(Ok);
    }

private:
    QBrush MakeQBrush() const {
        return QBrush(QColor(m_color.GetR(), m_color.GetG(), m_color.GetB(), m_color.GetA()));
    }

    Color m_color;
};

} // namespace Gdiplus
