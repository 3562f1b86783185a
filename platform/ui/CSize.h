#pragma once
// A size of the window system: a SIZE with arithmetic.

#include "WinTypes.h"

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
    CSize(SIZE s) : SIZE(s) {}

    CSize operator+(const CSize& o) const { return CSize(cx + o.cx, cy + o.cy); }
    CSize operator-(const CSize& o) const { return CSize(cx - o.cx, cy - o.cy); }
    bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const CSize& o) const { return !(*this == o); }
};
