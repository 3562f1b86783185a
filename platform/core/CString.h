#pragma once
// The framework's wide string: a value type with the operations the system's code uses. Format follows
// the wide printf rules of the original platform: %s takes a wide string (a CString or a wchar_t
// pointer), %S and %hs a narrow UTF-8 string. Arguments are checked by type, so a mismatch between the
// format and an argument prints a placeholder instead of reading the wrong memory.

#include "WinTypes.h"

#include <string>
#include <type_traits>

class CString;

namespace kavrino {

// One argument of a printf-style format, captured with its type.
struct FormatArg {
    enum Kind { Signed, Unsigned, Double, WideText, NarrowText, Pointer } kind;
    union {
        long long i;
        unsigned long long u;
        double d;
        const wchar_t* ws;
        const char* s;
        const void* p;
    };
    FormatArg(int v) : kind(Signed), i(v) {}
    FormatArg(long v) : kind(Signed), i(v) {}
    FormatArg(long long v) : kind(Signed), i(v) {}
    FormatArg(short v) : kind(Signed), i(v) {}
    FormatArg(signed char v) : kind(Signed), i(v) {}
    FormatArg(char v) : kind(Signed), i(static_cast<unsigned char>(v)) {}
    FormatArg(wchar_t v) : kind(Unsigned), u(static_cast<unsigned long long>(v)) {}
    FormatArg(bool v) : kind(Signed), i(v ? 1 : 0) {}
    FormatArg(unsigned int v) : kind(Unsigned), u(v) {}
    FormatArg(unsigned long v) : kind(Unsigned), u(v) {}
    FormatArg(unsigned long long v) : kind(Unsigned), u(v) {}
    FormatArg(unsigned short v) : kind(Unsigned), u(v) {}
    FormatArg(unsigned char v) : kind(Unsigned), u(v) {}
    FormatArg(float v) : kind(Double), d(v) {}
    FormatArg(double v) : kind(Double), d(v) {}
    FormatArg(const wchar_t* v) : kind(WideText), ws(v) {}
    FormatArg(wchar_t* v) : kind(WideText), ws(v) {}
    FormatArg(const char* v) : kind(NarrowText), s(v) {}
    FormatArg(char* v) : kind(NarrowText), s(v) {}
    FormatArg(const CString& v);
    FormatArg(const std::wstring& v) : kind(WideText), ws(v.c_str()) {}
    FormatArg(const std::string& v) : kind(NarrowText), s(v.c_str()) {}
    template <typename T, typename = std::enable_if_t<std::is_enum<T>::value>>
    FormatArg(T v) : kind(Signed), i(static_cast<long long>(v)) {}
    template <typename T> FormatArg(T* v) : kind(Pointer), p(v) {}
};

std::wstring FormatWide(const wchar_t* fmt, const FormatArg* args, std::size_t count);
std::string FormatNarrow(const char* fmt, const FormatArg* args, std::size_t count);

template <typename... Args> std::wstring Sprintf(const wchar_t* fmt, const Args&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatWide(fmt, list, sizeof...(Args));
}

} // namespace kavrino

class CString {
public:
    CString() = default;
    CString(const wchar_t* s) : m_str(s ? s : L"") {}
    CString(const wchar_t* s, int length);
    CString(wchar_t ch, int repeat = 1) : m_str(repeat > 0 ? static_cast<std::size_t>(repeat) : 0, ch) {}
    CString(const std::wstring& s) : m_str(s) {}
    CString(std::wstring&& s) : m_str(std::move(s)) {}
    // Narrow text is UTF-8.
    explicit CString(const char* utf8);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    wchar_t GetAt(int i) const;
    wchar_t operator[](int i) const { return GetAt(i); }
    void SetAt(int i, wchar_t ch);
    const wchar_t* GetString() const { return m_str.c_str(); }
    operator const wchar_t*() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }
    std::string ToUtf8() const;

    // A writable buffer of at least minLength characters; ReleaseBuffer ends the text at its first zero
    // (or at newLength) again.
    wchar_t* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

    CString& operator=(const wchar_t* s);
    CString& operator=(wchar_t ch);
    CString& operator+=(const CString& s);
    CString& operator+=(const wchar_t* s);
    CString& operator+=(wchar_t ch);
    void Append(const wchar_t* s) { *this += s; }
    void AppendChar(wchar_t ch) { m_str.push_back(ch); }

    int Compare(const wchar_t* s) const;
    int CompareNoCase(const wchar_t* s) const;

    template <typename... Args> void Format(const wchar_t* fmt, const Args&... args) {
        m_str = kavrino::Sprintf(fmt, args...);
    }
    template <typename... Args> void AppendFormat(const wchar_t* fmt, const Args&... args) {
        m_str += kavrino::Sprintf(fmt, args...);
    }

    CString& Trim();
    CString& Trim(wchar_t target);
    CString& Trim(const wchar_t* targets);
    CString& TrimLeft();
    CString& TrimLeft(const wchar_t* targets);
    CString& TrimRight();
    CString& TrimRight(const wchar_t* targets);

    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Remove(wchar_t ch);
    int Insert(int index, const wchar_t* s);
    int Delete(int index, int count = 1);

    int Find(const wchar_t* sub, int start = 0) const;
    int Find(wchar_t ch, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* chars) const;

    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Tokenize(const wchar_t* delimiters, int& start) const;

    CString& MakeUpper();
    CString& MakeLower();

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const wchar_t* b) { return CString(a.m_str + (b ? b : L"")); }
    friend CString operator+(const wchar_t* a, const CString& b) { return CString((a ? a : L"") + b.m_str); }
    friend CString operator+(const CString& a, wchar_t b) { return CString(a.m_str + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_str == (b ? b : L""); }
    friend bool operator==(const wchar_t* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator!=(const wchar_t* a, const CString& b) { return !(b == a); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

private:
    std::wstring m_str;
};

inline kavrino::FormatArg::FormatArg(const CString& v) : kind(WideText), ws(v.GetString()) {}
