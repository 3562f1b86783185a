#pragma once
// What fills areas and text.

#include "Color.h"
#include "GdiplusTypes.h"

#include <QBrush>

namespace Gdiplus {

class Brush {
public:
    virtual ~Brush() = default;
    virtual Brush* Clone() const = 0;
    BrushType GetType() const { return m_type; }
    Status GetLastStatus() const { return m_lastStatus; }

    // The brush in the painter's terms, for the graphics object.
    virtual QBrush ToQBrush() const = 0;

protected:
    explicit Brush(BrushType type) : m_type(type) {}
    Status SetStatus(Status status) const {
        m_lastStatus = status;
        return status;
    }

private:
    BrushType m_type;
    mutable Status m_lastStatus = Ok;
};

} // namespace Gdiplus
