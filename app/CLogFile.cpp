#include "CLogFile.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
const char kBanner[] =
    "\r\n\r\n------------------------------ Log File Start------------------------------\r\n";
constexpr std::size_t kTextBuffer = 1024;

// A text cut to the buffer must not end inside a UTF-8 sequence.
std::size_t CutAtCharacter(const char* text, std::size_t length) {
    std::size_t end = length;
    while (end > 0 && (static_cast<unsigned char>(text[end - 1]) & 0xC0) == 0x80)
        --end;
    if (end > 0) {
        const auto lead = static_cast<unsigned char>(text[end - 1]);
        const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (end - 1 + need <= length)
            return length;
        return end - 1;
    }
    return length;
}
} // namespace

CLogFile::~CLogFile() = default;

CString CLogFile::GetExeDir() const {
    wchar_t name[300] = {};
    GetModuleFileName(nullptr, name, 300);
    CString path(name);
    // This platform separates folders with '/'; a name without one, or with only a leading one, is
    // returned whole.
    const int cut = path.ReverseFind(L'/');
    return cut > 0 ? path.Left(cut) : path;
}

BOOL CLogFile::OpenForAppend() {
    if (!Open(m_strPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite))
        return FALSE;
    SeekToEnd();
    return TRUE;
}

BOOL CLogFile::Start() {
    if (m_strPath.IsEmpty())
        m_strPath.Format(L"%s/LogFile.log", GetExeDir());
    if (!OpenForAppend())
        return FALSE;
    CFile::Write(kBanner, sizeof kBanner - 1);
    Close();
    return TRUE;
}

BOOL CLogFile::Write(bool bTimestamp, const char* fmt, ...) {
    if (!OpenForAppend())
        return FALSE;

    char text[kTextBuffer];
    va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(text, sizeof text, fmt ? fmt : "", args);
    va_end(args);
    std::size_t length = n < 0 ? 0 : std::strlen(text);
    if (n >= static_cast<int>(sizeof text))
        length = CutAtCharacter(text, length);

    if (bTimestamp) {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        char prefix[64];
        const int p = std::snprintf(prefix, sizeof prefix, "%04d.%02d.%02d - %02d:%02d:%02d:%03d : ", t.wYear,
                                    t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
        CFile::Write(prefix, static_cast<UINT>(p));
    }
    CFile::Write(text, static_cast<UINT>(length));
    CFile::Write("\r\n", 2);
    Close();
    return TRUE;
}
