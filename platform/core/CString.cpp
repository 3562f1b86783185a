#include "CString.h"
#include "StringConv.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

namespace kavrino {

namespace {

struct FormatSpec {
    std::string flags;
    int width = -1;
    int precision = -1;
    bool narrow = false; // 'h' modifier: a narrow string or character
    bool wide = false;   // 'l' or 'w' modifier: a wide string or character
};

void Pad(std::wstring& out, const std::wstring& body, const FormatSpec& fs) {
    const int pad = fs.width - static_cast<int>(body.size());
    const bool left = fs.flags.find('-') != std::string::npos;
    if (pad > 0 && !left)
        out.append(static_cast<std::size_t>(pad), L' ');
    out += body;
    if (pad > 0 && left)
        out.append(static_cast<std::size_t>(pad), L' ');
}

std::string NarrowSpec(const FormatSpec& fs, const char* length, char conversion) {
    std::string f = "%" + fs.flags;
    if (fs.width >= 0)
        f += std::to_string(fs.width);
    if (fs.precision >= 0)
        f += "." + std::to_string(fs.precision);
    f += length;
    f += conversion;
    return f;
}

template <typename T> std::wstring PrintNumber(const std::string& format, T value) {
    char buffer[512];
    int n = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
    if (n < 0)
        return std::wstring();
    if (static_cast<std::size_t>(n) < sizeof buffer)
        return std::wstring(buffer, buffer + n);
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(&big[0], big.size(), format.c_str(), value);
    big.resize(static_cast<std::size_t>(n));
    return std::wstring(big.begin(), big.end());
}

std::wstring TextOf(const FormatArg& a) {
    if (a.kind == FormatArg::WideText)
        return a.ws ? std::wstring(a.ws) : std::wstring(L"(null)");
    if (a.kind == FormatArg::NarrowText)
        return a.s ? Utf8ToWide(a.s) : std::wstring(L"(null)");
    return L"?";
}

long long SignedOf(const FormatArg& a, bool& ok) {
    ok = true;
    switch (a.kind) {
    case FormatArg::Signed:
        return a.i;
    case FormatArg::Unsigned:
        return static_cast<long long>(a.u);
    case FormatArg::Double:
        return static_cast<long long>(a.d);
    default:
        ok = false;
        return 0;
    }
}

double DoubleOf(const FormatArg& a, bool& ok) {
    ok = true;
    switch (a.kind) {
    case FormatArg::Signed:
        return static_cast<double>(a.i);
    case FormatArg::Unsigned:
        return static_cast<double>(a.u);
    case FormatArg::Double:
        return a.d;
    default:
        ok = false;
        return 0.0;
    }
}

} // namespace

std::wstring FormatWide(const wchar_t* fmt, const FormatArg* args, std::size_t count) {
    std::wstring out;
    if (!fmt)
        return out;
    std::size_t next = 0;
    auto take = [&]() -> const FormatArg* { return next < count ? &args[next++] : nullptr; };

    for (const wchar_t* p = fmt; *p; ++p) {
        if (*p != L'%') {
            out.push_back(*p);
            continue;
        }
        ++p;
        if (*p == L'%') {
            out.push_back(L'%');
            continue;
        }
        FormatSpec fs;
        while (*p && std::wcschr(L"-+ #0", *p)) {
            fs.flags.push_back(static_cast<char>(*p));
            ++p;
        }
        if (*p == L'*') {
            const FormatArg* a = take();
            bool ok = false;
            const long long w = a ? SignedOf(*a, ok) : 0;
            if (w < 0) {
                fs.flags.push_back('-');
                fs.width = static_cast<int>(std::min<long long>(-w, 4096));
            } else {
                fs.width = static_cast<int>(std::min<long long>(w, 4096));
            }
            ++p;
        } else {
            while (*p >= L'0' && *p <= L'9') {
                fs.width = std::min((fs.width < 0 ? 0 : fs.width) * 10 + (*p - L'0'), 4096);
                ++p;
            }
        }
        if (*p == L'.') {
            ++p;
            fs.precision = 0;
            if (*p == L'*') {
                const FormatArg* a = take();
                bool ok = false;
                const long long v = a ? SignedOf(*a, ok) : 0;
                fs.precision = v < 0 ? -1 : static_cast<int>(std::min<long long>(v, 4096));
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9') {
                    fs.precision = std::min(fs.precision * 10 + (*p - L'0'), 4096);
                    ++p;
                }
            }
        }
        // Length modifiers: the argument's type is known, so they only choose narrow or wide text.
        for (;;) {
            if (*p == L'h') {
                fs.narrow = true;
                ++p;
            } else if (*p == L'l' || *p == L'w') {
                fs.wide = true;
                ++p;
            } else if (*p == L'L' || *p == L'q' || *p == L'j' || *p == L'z' || *p == L't') {
                ++p;
            } else if (*p == L'I') {
                ++p;
                if ((p[0] == L'6' && p[1] == L'4') || (p[0] == L'3' && p[1] == L'2'))
                    p += 2;
            } else {
                break;
            }
        }
        const wchar_t conv = *p;
        if (!conv)
            break;
        const FormatArg* a = take();
        if (!a)
            continue;
        bool ok = false;
        switch (conv) {
        case L'd':
        case L'i': {
            const long long v = SignedOf(*a, ok);
            out += ok ? PrintNumber(NarrowSpec(fs, "ll", 'd'), v) : L"?";
            break;
        }
        case L'u':
        case L'o':
        case L'x':
        case L'X': {
            const long long v = SignedOf(*a, ok);
            const unsigned long long u =
                a->kind == FormatArg::Unsigned ? a->u : static_cast<unsigned long long>(v);
            out += ok ? PrintNumber(NarrowSpec(fs, "ll", static_cast<char>(conv)), u) : L"?";
            break;
        }
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A': {
            const double v = DoubleOf(*a, ok);
            out += ok ? PrintNumber(NarrowSpec(fs, "", static_cast<char>(conv)), v) : L"?";
            break;
        }
        case L'c':
        case L'C': {
            const long long v = SignedOf(*a, ok);
            Pad(out, ok ? std::wstring(1, static_cast<wchar_t>(v)) : L"?", fs);
            break;
        }
        case L's':
        case L'S': {
            std::wstring text = TextOf(*a);
            if (fs.precision >= 0 && static_cast<std::size_t>(fs.precision) < text.size())
                text.resize(static_cast<std::size_t>(fs.precision));
            Pad(out, text, fs);
            break;
        }
        case L'p': {
            const void* v = a->kind == FormatArg::Pointer ? a->p : nullptr;
            out += PrintNumber(NarrowSpec(fs, "", 'p'), v);
            break;
        }
        default:
            // An unknown conversion (or %n, which writes through a pointer) prints nothing.
            break;
        }
    }
    return out;
}

std::string FormatNarrow(const char* fmt, const FormatArg* args, std::size_t count) {
    if (!fmt)
        return std::string();
    return WideToUtf8(FormatWide(Utf8ToWide(fmt).c_str(), args, count));
}

} // namespace kavrino

CString::CString(const wchar_t* s, int length) {
    if (s && length > 0)
        m_str.assign(s, static_cast<std::size_t>(length));
}

CString::CString(const char* utf8) : m_str(kavrino::Utf8ToWide(utf8 ? utf8 : "")) {}

std::string CString::ToUtf8() const {
    return kavrino::WideToUtf8(m_str);
}

wchar_t CString::GetAt(int i) const {
    return (i >= 0 && i < GetLength()) ? m_str[static_cast<std::size_t>(i)] : L'\0';
}

void CString::SetAt(int i, wchar_t ch) {
    if (i >= 0 && i < GetLength())
        m_str[static_cast<std::size_t>(i)] = ch;
}

wchar_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_str.resize(static_cast<std::size_t>(minLength), L'\0');
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        m_str.resize(std::wcslen(m_str.c_str()));
    } else {
        m_str.resize(std::min<std::size_t>(static_cast<std::size_t>(newLength), m_str.size()));
    }
}

CString& CString::operator=(const wchar_t* s) {
    m_str = s ? s : L"";
    return *this;
}

CString& CString::operator=(wchar_t ch) {
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& s) {
    m_str += s.m_str;
    return *this;
}

CString& CString::operator+=(const wchar_t* s) {
    if (s)
        m_str += s;
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    m_str.push_back(ch);
    return *this;
}

int CString::Compare(const wchar_t* s) const {
    const int r = m_str.compare(s ? s : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* s) const {
    const wchar_t* a = m_str.c_str();
    const wchar_t* b = s ? s : L"";
    for (;; ++a, ++b) {
        const wint_t ca = std::towlower(static_cast<wint_t>(*a));
        const wint_t cb = std::towlower(static_cast<wint_t>(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (!*a)
            return 0;
    }
}

namespace {
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}
bool IsIn(wchar_t c, const wchar_t* set) {
    return set && c && std::wcschr(set, c) != nullptr;
}
} // namespace

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::Trim(wchar_t target) {
    const wchar_t set[] = {target, L'\0'};
    return Trim(set);
}

CString& CString::Trim(const wchar_t* targets) {
    return TrimRight(targets).TrimLeft(targets);
}

CString& CString::TrimLeft() {
    std::size_t i = 0;
    while (i < m_str.size() && IsBlank(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(const wchar_t* targets) {
    std::size_t i = 0;
    while (i < m_str.size() && IsIn(m_str[i], targets))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_str.empty() && IsBlank(m_str.back()))
        m_str.pop_back();
    return *this;
}

CString& CString::TrimRight(const wchar_t* targets) {
    while (!m_str.empty() && IsIn(m_str.back(), targets))
        m_str.pop_back();
    return *this;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    if (!oldText || !*oldText)
        return 0;
    const std::wstring from(oldText);
    const std::wstring to(newText ? newText : L"");
    int count = 0;
    std::wstring out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = m_str.find(from, pos);
        if (hit == std::wstring::npos)
            break;
        out.append(m_str, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++count;
    }
    if (count) {
        out.append(m_str, pos, std::wstring::npos);
        m_str.swap(out);
    }
    return count;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
    int count = 0;
    for (wchar_t& c : m_str) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Remove(wchar_t ch) {
    const std::size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int index, const wchar_t* s) {
    index = std::max(0, std::min(index, GetLength()));
    if (s)
        m_str.insert(static_cast<std::size_t>(index), s);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        m_str.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
    return GetLength();
}

int CString::Find(const wchar_t* sub, int start) const {
    if (!sub || start < 0 || start > GetLength())
        return -1;
    const std::size_t hit = m_str.find(sub, static_cast<std::size_t>(start));
    return hit == std::wstring::npos ? -1 : static_cast<int>(hit);
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    const std::size_t hit = m_str.find(ch, static_cast<std::size_t>(start));
    return hit == std::wstring::npos ? -1 : static_cast<int>(hit);
}

int CString::ReverseFind(wchar_t ch) const {
    const std::size_t hit = m_str.rfind(ch);
    return hit == std::wstring::npos ? -1 : static_cast<int>(hit);
}

int CString::FindOneOf(const wchar_t* chars) const {
    if (!chars)
        return -1;
    const std::size_t hit = m_str.find_first_of(chars);
    return hit == std::wstring::npos ? -1 : static_cast<int>(hit);
}

CString CString::Left(int count) const {
    count = std::max(0, std::min(count, GetLength()));
    return CString(m_str.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Right(int count) const {
    count = std::max(0, std::min(count, GetLength()));
    return CString(m_str.substr(m_str.size() - static_cast<std::size_t>(count)));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::max(0, first);
    if (first >= GetLength() || count <= 0)
        return CString();
    return CString(m_str.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Tokenize(const wchar_t* delimiters, int& start) const {
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return CString();
    }
    const std::wstring set(delimiters ? delimiters : L"");
    std::size_t from = m_str.find_first_not_of(set, static_cast<std::size_t>(start));
    if (from == std::wstring::npos) {
        start = -1;
        return CString();
    }
    std::size_t to = m_str.find_first_of(set, from);
    if (to == std::wstring::npos)
        to = m_str.size();
    start = static_cast<int>(std::min(to + 1, m_str.size() + 1));
    return CString(m_str.substr(from, to - from));
}

CString& CString::MakeUpper() {
    for (wchar_t& c : m_str)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return *this;
}

CString& CString::MakeLower() {
    for (wchar_t& c : m_str)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return *this;
}
