#pragma once
// Conversions between wide text and the narrow encodings: UTF-8, which is also this platform's ANSI
// code page (the log's narrow text), and CP949, the Korean code page of files made on the original
// platform.

#include "CString.h"

#include <string>

namespace kavrino {

std::string WideToUtf8(const std::wstring& wide);
std::wstring Utf8ToWide(const std::string& utf8);
// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(const std::string& bytes);
std::wstring Cp949ToWide(const std::string& bytes);
std::string WideToCp949(const std::wstring& wide);

} // namespace kavrino

// Narrow text in the ANSI code page, as CT2A gives it to the log.
class CT2A {
public:
    explicit CT2A(const wchar_t* text) : m_text(kavrino::WideToUtf8(text ? text : L"")) {}
    operator const char*() const { return m_text.c_str(); }
    const char* c_str() const { return m_text.c_str(); }

private:
    std::string m_text;
};
using CW2A = CT2A;

class CA2T {
public:
    explicit CA2T(const char* text) : m_text(kavrino::Utf8ToWide(text ? text : "")) {}
    operator const wchar_t*() const { return m_text.c_str(); }

private:
    std::wstring m_text;
};
using CA2W = CA2T;
