#pragma once
// A font. Faces that are not installed, and every request for the Hangul character set, fall back to an
// installed Hangul font so that Korean text renders.

#include "CGdiObject.h"

#include <QFont>

constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE HANGEUL_CHARSET = 129;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_STROKE_PRECIS = 3;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_STROKE_PRECIS = 2;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;

class CDC;

class CFont : public CGdiObject {
public:
    CFont() = default;
    // height: cell height in pixels (negative: character height); width 0: proportional.
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName);
    // pointSize in tenths of a point.
    BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc = nullptr);
    operator HFONT() const { return reinterpret_cast<HFONT>(GetSafeHandle()); }

    const QFont& Font() const { return m_font; }

private:
    QFont m_font;
};

namespace kavrino {
// The installed font that renders Korean text ("NanumGothic" when installed).
QString HangulFontFamily();
// The font of every dialog made from a template: "MS Shell Dlg" 8, that is 11 pixels at 96 dots per inch,
// rendered with the installed Hangul font.
QFont DialogFont();
} // namespace kavrino
