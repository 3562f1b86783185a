#pragma once
// A solid brush.

#include "CGdiObject.h"

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) {
        m_color = color;
        m_created = true;
        return TRUE;
    }
    operator HBRUSH() const { return reinterpret_cast<HBRUSH>(GetSafeHandle()); }

    COLORREF Color() const { return m_color; }

private:
    COLORREF m_color = 0;
};
