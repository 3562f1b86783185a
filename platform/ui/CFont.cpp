#include "CFont.h"

#include "QtText.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace kavrino {

QString HangulFontFamily() {
    static const QString family = [] {
        const QStringList families = QFontDatabase().families();
        for (const char* name :
             {"NanumGothic", "Nanum Gothic", "NanumBarunGothic", "Noto Sans CJK KR", "UnDotum"})
            if (families.contains(QString::fromLatin1(name)))
                return QString::fromLatin1(name);
        return QGuiApplication::font().family();
    }();
    return family;
}

QFont DialogFont() {
    QFont font(HangulFontFamily());
    font.setPixelSize(11); // 8 points at 96 dots per inch, rounded as the platform rounds a point size
    return font;
}

} // namespace kavrino

BOOL CFont::CreateFont(int height, int, int, int, int weight, BYTE italic, BYTE underline, BYTE strikeOut,
                       BYTE charSet, BYTE, BYTE, BYTE, BYTE, LPCTSTR faceName) {
    const QString face = kavrino::ToQString(faceName);
    QFont font;
    // A face that is not installed, or a request for Hangul, gets the installed Hangul font.
    const bool installed = !face.isEmpty() && QFontDatabase().families().contains(face, Qt::CaseInsensitive);
    QStringList families;
    if (charSet == HANGEUL_CHARSET || !installed)
        families << kavrino::HangulFontFamily();
    else
        families << face << kavrino::HangulFontFamily();
    font.setFamily(families.first());
    font.setFamilies(families);
    font.setPixelSize(std::max(1, height < 0 ? -height : (height == 0 ? 12 : height)));
    if (weight > 0)
        font.setWeight(std::max(0, std::min(99, weight / 10)));
    font.setItalic(italic != 0);
    font.setUnderline(underline != 0);
    font.setStrikeOut(strikeOut != 0);
    m_font = font;
    m_created = true;
    return TRUE;
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC*) {
    // Tenths of a point at 96 pixels per inch.
    const int pixels = std::max(1, pointSize * 96 / 720);
    return CreateFont(-pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, faceName);
}
