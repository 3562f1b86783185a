#pragma once
// A point of the window system: a POINT with arithmetic.

#include "WinTypes.h"

class CSize;

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x_, int y_) : POINT{x_, y_} {}
    CPoint(POINT p) : POINT(p) {}
    // A point packed into an LPARAM as the mouse messages carry it (signed low and high words).
    explicit CPoint(LPARAM packed)
        : POINT{static_cast<std::int16_t>(LOWORD(static_cast<DWORD_PTR>(packed))),
                static_cast<std::int16_t>(HIWORD(static_cast<DWORD_PTR>(packed)))} {}

    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    void SetPoint(int x_, int y_) {
        x = x_;
        y = y_;
    }
    operator LPPOINT() { return this; }

    CPoint operator+(const CPoint& o) const { return CPoint(x + o.x, y + o.y); }
    CPoint operator-(const CPoint& o) const { return CPoint(x - o.x, y - o.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint& operator+=(const CPoint& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    CPoint& operator-=(const CPoint& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
};
