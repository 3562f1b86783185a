#pragma once
// Conversions between the framework's wide text and Qt's strings.

#include "CString.h"

#include <QString>

namespace kavrino {

inline QString ToQString(const wchar_t* text) {
    return text ? QString::fromWCharArray(text) : QString();
}
inline QString ToQString(const CString& text) {
    return QString::fromWCharArray(text.GetString(), text.GetLength());
}
inline CString FromQString(const QString& text) {
    return CString(text.toStdWString());
}

} // namespace kavrino
