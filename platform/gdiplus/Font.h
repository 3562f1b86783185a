#pragma once
// A font: a family, an em size in a unit (points are converted at 96 dots per inch) and a style.

#include "FontFamily.h"
#include "GdiplusTypes.h"

#include <QFont>

#include <memory>

namespace kavrino::gdip {
class GlyphCache;
}

namespace Gdiplus {

class Font {
public:
    Font(const FontFamily* family, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);
    Font(const WCHAR* familyName, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);
    Font* Clone() const { return new Font(*this); }

    REAL GetSize() const { return m_emSize; }
    INT GetStyle() const { return m_style; }
    Unit GetUnit() const { return m_unit; }
    Status GetFamily(FontFamily* family) const;
    BOOL IsAvailable() const { return m_lastStatus == Ok; }
    Status GetLastStatus() const { return m_lastStatus; }

    // The font in the painter's terms, sized in pixels.
    const QFont& ToQFont() const { return m_font; }
    // The font's glyphs for drawing short texts without allocating; looked up on first use and shared by
    // the font's copies.
    kavrino::gdip::GlyphCache& Glyphs() const;

private:
    void Init(const FontFamily& family, REAL emSize, INT style, Unit unit);

    FontFamily m_family;
    REAL m_emSize = 0;
    INT m_style = FontStyleRegular;
    Unit m_unit = UnitPoint;
    QFont m_font;
    mutable std::shared_ptr<kavrino::gdip::GlyphCache> m_glyphs;
    mutable Status m_lastStatus = Ok;
};

} // namespace Gdiplus
