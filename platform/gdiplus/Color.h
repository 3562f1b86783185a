#pragma once
// A colour as alpha, red, green and blue bytes, packed 0xAARRGGBB.

#include "GdiplusTypes.h"

namespace Gdiplus {

class Color {
public:
    enum : ARGB {
        Black = 0xFF000000,
        White = 0xFFFFFFFF,
        Red = 0xFFFF0000,
        Green = 0xFF008000,
        Lime = 0xFF00FF00,
        Blue = 0xFF0000FF,
        Yellow = 0xFFFFFF00,
        Cyan = 0xFF00FFFF,
        Magenta = 0xFFFF00FF,
        Gray = 0xFF808080,
        Transparent = 0x00FFFFFF,
    };
    static constexpr int AlphaShift = 24;
    static constexpr int RedShift = 16;
    static constexpr int GreenShift = 8;
    static constexpr int BlueShift = 0;

    constexpr Color() : m_argb(Black) {}
    constexpr Color(ARGB argb) : m_argb(argb) {}
    constexpr Color(BYTE r, BYTE g, BYTE b) : m_argb(MakeARGB(255, r, g, b)) {}
    constexpr Color(BYTE a, BYTE r, BYTE g, BYTE b) : m_argb(MakeARGB(a, r, g, b)) {}

    constexpr BYTE GetA() const { return static_cast<BYTE>(m_argb >> AlphaShift); }
    constexpr BYTE GetR() const { return static_cast<BYTE>(m_argb >> RedShift); }
    constexpr BYTE GetG() const { return static_cast<BYTE>(m_argb >> GreenShift); }
    constexpr BYTE GetB() const { return static_cast<BYTE>(m_argb >> BlueShift); }
    constexpr BYTE GetAlpha() const { return GetA(); }
    constexpr BYTE GetRed() const { return GetR(); }
    constexpr BYTE GetGreen() const { return GetG(); }
    constexpr BYTE GetBlue() const { return GetB(); }
    constexpr ARGB GetValue() const { return m_argb; }
    void SetValue(ARGB argb) { m_argb = argb; }
    constexpr COLORREF ToCOLORREF() const { return RGB(GetR(), GetG(), GetB()); }
    void SetFromCOLORREF(COLORREF c) { m_argb = MakeARGB(255, GetRValue(c), GetGValue(c), GetBValue(c)); }

    static constexpr ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b) {
        return (static_cast<ARGB>(a) << AlphaShift) | (static_cast<ARGB>(r) << RedShift) |
               (static_cast<ARGB>(g) << GreenShift) | static_cast<ARGB>(b);
    }

private:
    ARGB m_argb;
};

} // namespace Gdiplus
