#pragma once
// The C runtime's wide-text conversions as the original platform defines them.

#include "WinTypes.h"

// Leading blanks and one sign are accepted, reading stops at the first other character; 0 when no digit
// follows. Values beyond the range of int are clamped.
int _wtoi(const wchar_t* text);
long long _wtoi64(const wchar_t* text);
// The leading decimal number of the text (with fraction and exponent); 0.0 when there is none.
double _wtof(const wchar_t* text);
