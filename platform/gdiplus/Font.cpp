#include "Font.h"

#include "GlyphCache.h"

#include <algorithm>
#include <cmath>

namespace Gdiplus {

namespace {

constexpr double kDpi = 96.0;

double EmPixels(REAL emSize, Unit unit) {
    switch (unit) {
    case UnitPoint:
        return emSize * kDpi / 72.0;
    case UnitInch:
        return emSize * kDpi;
    case UnitDocument:
        return emSize * kDpi / 300.0;
    case UnitMillimeter:
        return emSize * kDpi / 25.4;
    default: // world, display and pixel units are device pixels here
        return emSize;
    }
}

} // namespace

Font::Font(const FontFamily* family, REAL emSize, INT style, Unit unit) {
    if (!family) {
        m_lastStatus = InvalidParameter;
        return;
    }
    Init(*family, emSize, style, unit);
}

Font::Font(const WCHAR* familyName, REAL emSize, INT style, Unit unit) {
    Init(FontFamily(familyName), emSize, style, unit);
}

void Font::Init(const FontFamily& family, REAL emSize, INT style, Unit unit) {
    m_family = family;
    m_emSize = emSize;
    m_style = style;
    m_unit = unit;
    if (family.GetLastStatus() != Ok) {
        m_lastStatus = family.GetLastStatus();
        return;
    }
    if (!(emSize > 0) || unit < UnitWorld || unit > UnitMillimeter) {
        m_lastStatus = InvalidParameter;
        return;
    }
    m_font = QFont(family.ResolvedFamily());
    m_font.setPixelSize(std::max(1, static_cast<int>(std::lround(EmPixels(emSize, unit)))));
    m_font.setBold((style & FontStyleBold) != 0);
    m_font.setItalic((style & FontStyleItalic) != 0);
    m_font.setUnderline((style & FontStyleUnderline) != 0);
    m_font.setStrikeOut((style & FontStyleStrikeout) != 0);
}

kavrino::gdip::GlyphCache& Font::Glyphs() const {
    if (!m_glyphs)
        m_glyphs = std::make_shared<kavrino::gdip::GlyphCache>(m_font);
    return *m_glyphs;
}

Status Font::GetFamily(FontFamily* family) const {
    if (!family)
        return m_lastStatus = InvalidParameter;
    *family = m_family;
    return Ok;
}

} // namespace Gdiplus
