#include "FontFamily.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

namespace kavrino {

namespace {
const char* const kHangulFamily = "NanumGothic";
} // namespace

QString ResolveFontFamily(const QString& requested) {
    static const QStringList windowsFamilies = {
        QStringLiteral("맑은고딕"),       QStringLiteral("맑은 고딕"),
        QStringLiteral("Malgun Gothic"),  QStringLiteral("굴림"),
        QStringLiteral("굴림체"),         QStringLiteral("Gulim"),
        QStringLiteral("GulimChe"),       QStringLiteral("돋움"),
        QStringLiteral("Dotum"),          QStringLiteral("바탕"),
        QStringLiteral("Batang"),         QStringLiteral("Arial"),
        QStringLiteral("Tahoma"),         QStringLiteral("MS Shell Dlg"),
        QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Microsoft Sans Serif")};
    const QString name = requested.trimmed();
    if (name.isEmpty() || windowsFamilies.contains(name, Qt::CaseInsensitive))
        return QString::fromLatin1(kHangulFamily);
    static const QStringList installed = QFontDatabase().families();
    if (installed.contains(name, Qt::CaseInsensitive))
        return name;
    return QString::fromLatin1(kHangulFamily);
}

} // namespace kavrino

namespace Gdiplus {

FontFamily::FontFamily() : m_lastStatus(InvalidParameter) {}

FontFamily::FontFamily(const WCHAR* name) {
    if (!name || !*name) {
        m_lastStatus = FontFamilyNotFound;
        return;
    }
    m_name = QString::fromWCharArray(name);
    m_resolved = kavrino::ResolveFontFamily(m_name);
}

Status FontFamily::GetFamilyName(WCHAR name[LF_FACESIZE], WORD) const {
    if (!name)
        return m_lastStatus = InvalidParameter;
    const int length = std::min(static_cast<int>(m_name.size()), LF_FACESIZE - 1);
    const int written = m_name.left(length).toWCharArray(name);
    name[written] = L'\0';
    return m_lastStatus = Ok;
}

const FontFamily* FontFamily::GenericSansSerif() {
    static const FontFamily family(L"Microsoft Sans Serif");
    return &family;
}

const FontFamily* FontFamily::GenericSerif() {
    static const FontFamily family(L"Times New Roman");
    return &family;
}

const FontFamily* FontFamily::GenericMonospace() {
    static const FontFamily family(L"Courier New");
    return &family;
}

} // namespace Gdiplus
