#pragma once
// Points, sizes and rectangles in integer and floating-point coordinates.

#include "GdiplusTypes.h"

namespace Gdiplus {

class Point {
public:
    Point() : X(0), Y(0) {}
    Point(INT x, INT y) : X(x), Y(y) {}
    bool Equals(const Point& p) const { return X == p.X && Y == p.Y; }
    INT X, Y;
};

class PointF {
public:
    PointF() : X(0), Y(0) {}
    PointF(REAL x, REAL y) : X(x), Y(y) {}
    PointF(const Point& p) : X(static_cast<REAL>(p.X)), Y(static_cast<REAL>(p.Y)) {}
    bool Equals(const PointF& p) const { return X == p.X && Y == p.Y; }
    REAL X, Y;
};

class Size {
public:
    Size() : Width(0), Height(0) {}
    Size(INT w, INT h) : Width(w), Height(h) {}
    bool Empty() const { return Width == 0 && Height == 0; }
    INT Width, Height;
};

class SizeF {
public:
    SizeF() : Width(0), Height(0) {}
    SizeF(REAL w, REAL h) : Width(w), Height(h) {}
    bool Empty() const { return Width == 0 && Height == 0; }
    REAL Width, Height;
};

class Rect {
public:
    Rect() : X(0), Y(0), Width(0), Height(0) {}
    Rect(INT x, INT y, INT w, INT h) : X(x), Y(y), Width(w), Height(h) {}
    Rect(const Point& location, const Size& size)
        : X(location.X), Y(location.Y), Width(size.Width), Height(size.Height) {}
    INT GetLeft() const { return X; }
    INT GetTop() const { return Y; }
    INT GetRight() const { return X + Width; }
    INT GetBottom() const { return Y + Height; }
    BOOL IsEmptyArea() const { return Width <= 0 || Height <= 0; }
    BOOL Contains(INT x, INT y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
    bool Equals(const Rect& r) const {
        return X == r.X && Y == r.Y && Width == r.Width && Height == r.Height;
    }
    INT X, Y, Width, Height;
};

class RectF {
public:
    RectF() : X(0), Y(0), Width(0), Height(0) {}
    RectF(REAL x, REAL y, REAL w, REAL h) : X(x), Y(y), Width(w), Height(h) {}
    RectF(const Rect& r)
        : X(static_cast<REAL>(r.X)), Y(static_cast<REAL>(r.Y)), Width(static_cast<REAL>(r.Width)),
          Height(static_cast<REAL>(r.Height)) {}
    REAL GetLeft() const { return X; }
    REAL GetTop() const { return Y; }
    REAL GetRight() const { return X + Width; }
    REAL GetBottom() const { return Y + Height; }
    BOOL IsEmptyArea() const { return Width <= 0 || Height <= 0; }
    bool Equals(const RectF& r) const {
        return X == r.X && Y == r.Y && Width == r.Width && Height == r.Height;
    }
    REAL X, Y, Width, Height;
};

} // namespace Gdiplus
