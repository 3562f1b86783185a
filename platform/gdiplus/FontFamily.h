#pragma once
// A font family by name. The families the system's dialogs and drawings name are Windows fonts
// ("맑은고딕", "굴림", "Arial" ...) that are not installed here; they resolve to an installed font that
// has Hangul, so that Korean text renders.

#include "GdiplusTypes.h"

#include <QString>

namespace Gdiplus {

constexpr int LF_FACESIZE = 32;

class FontFamily {
public:
    FontFamily();
    explicit FontFamily(const WCHAR* name);

    // The name as asked for, cut to LF_FACESIZE - 1 characters.
    Status GetFamilyName(WCHAR name[LF_FACESIZE], WORD language = 0) const;
    BOOL IsAvailable() const { return m_lastStatus == Ok; }
    Status GetLastStatus() const { return m_lastStatus; }

    static const FontFamily* GenericSansSerif();
    static const FontFamily* GenericSerif();
    static const FontFamily* GenericMonospace();

    // The installed family that draws this one.
    const QString& ResolvedFamily() const { return m_resolved; }

private:
    QString m_name;
    QString m_resolved;
    mutable Status m_lastStatus = Ok;
};

} // namespace Gdiplus

namespace kavrino {

// The installed font family used for a family name of the original platform: the Windows families
// the system uses map to the installed Hangul font; a family that is installed is used as it is; any
// other name also falls back to the Hangul font.
QString ResolveFontFamily(const QString& requested);

} // namespace kavrino
