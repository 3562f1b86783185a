#pragma once
// Finds the palette entry nearest to a colour, remembering answers: converting a picture back into an
// indexed bitmap asks for the same few colours over and over.

#include "GdiplusTypes.h"

#include <unordered_map>

namespace kavrino::gdip {

class PaletteMatcher {
public:
    PaletteMatcher(const Gdiplus::ARGB* palette, int count) : m_palette(palette), m_count(count) {}
    BYTE Nearest(Gdiplus::ARGB color);

private:
    const Gdiplus::ARGB* m_palette;
    int m_count;
    std::unordered_map<Gdiplus::ARGB, BYTE> m_cache;
};

} // namespace kavrino::gdip
