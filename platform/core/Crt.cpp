#include "Crt.h"

#include <climits>
#include <cstdlib>
#include <cwctype>
#include <locale.h>
#include <wchar.h>

namespace {
const wchar_t* SkipBlanks(const wchar_t* p) {
    while (*p == L' ' || *p == L'\t' || *p == L'\n' || *p == L'\r' || *p == L'\v' || *p == L'\f')
        ++p;
    return p;
}
} // namespace

long long _wtoi64(const wchar_t* text) {
    if (!text)
        return 0;
    const wchar_t* p = SkipBlanks(text);
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = *p == L'-';
        ++p;
    }
    unsigned long long value = 0;
    const unsigned long long limit = negative ? static_cast<unsigned long long>(LLONG_MAX) + 1ULL : LLONG_MAX;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        const unsigned digit = static_cast<unsigned>(*p - L'0');
        if (value > (limit - digit) / 10) {
            value = limit;
            while (*p >= L'0' && *p <= L'9')
                ++p;
            break;
        }
        value = value * 10 + digit;
    }
    if (negative)
        return value == static_cast<unsigned long long>(LLONG_MAX) + 1ULL ? LLONG_MIN
                                                                          : -static_cast<long long>(value);
    return static_cast<long long>(value);
}

int _wtoi(const wchar_t* text) {
    const long long v = _wtoi64(text);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

double _wtof(const wchar_t* text) {
    if (!text)
        return 0.0;
    const wchar_t* p = SkipBlanks(text);
    // Only a plain decimal number is read: no hexadecimal, infinity or NaN forms.
    const wchar_t* q = p;
    if (*q == L'+' || *q == L'-')
        ++q;
    if (!((*q >= L'0' && *q <= L'9') || (*q == L'.' && q[1] >= L'0' && q[1] <= L'9')))
        return 0.0;
    if (*q == L'0' && (q[1] == L'x' || q[1] == L'X'))
        return 0.0;
    // Always the C locale's decimal point, whatever locale the process runs in.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c ? wcstod_l(p, nullptr, c) : std::wcstod(p, nullptr);
}
