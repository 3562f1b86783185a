#include "CLogFile.h"

#include "StringConv.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {
const char kBanner[] =
    "\r\n\r\n------------------------------ Log File Start------------------------------\r\n";
// The formatted text of one line, as the file holds it, with its terminating zero.
constexpr std::size_t kTextBuffer = 1024;

// The caller's narrow text (this platform's code page, UTF-8) in the Korean code page the log is kept
// in, as the original writes it: a character the code page cannot hold becomes '?'. A text longer than
// the buffer is cut after its last whole character.
std::string ToLogText(const std::string& text) {
    std::string out = kavrino::WideToCp949(kavrino::Utf8ToWide(text));
    if (out.size() < kTextBuffer)
        return out;
    std::size_t end = 0;
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t length = static_cast<unsigned char>(out[i]) >= 0x81 ? 2 : 1;
        if (i + length > kTextBuffer - 1)
            break;
        i += length;
        end = i;
    }
    out.resize(end);
    return out;
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

// Appends the bytes whole or not at all: a part the disk took before it refused the rest is cut off
// again, so that the next line does not run on from half a line.
bool CLogFile::Append(const std::string& bytes) {
    const ULONGLONG nEnd = GetLength();
    if (CFile::Write(bytes.data(), static_cast<UINT>(bytes.size())))
        return true;
    SetLength(nEnd);
    return false;
}

BOOL CLogFile::Start() {
    if (m_strPath.IsEmpty())
        m_strPath.Format(L"%s/LogFile.log", GetExeDir());
    if (!OpenForAppend())
        return FALSE;
    const bool bWritten = Append(std::string(kBanner, sizeof kBanner - 1));
    Close();
    return bWritten ? TRUE : FALSE;
}

BOOL CLogFile::Write(bool bTimestamp, const char* fmt, ...) {
    if (!OpenForAppend())
        return FALSE;

    std::string text;
    va_list args;
    va_start(args, fmt);
    va_list measure;
    va_copy(measure, args);
    const char* format = fmt ? fmt : "";
    const int n = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (n > 0) {
        text.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(n));
    }
    va_end(args);
    // The text up to its first zero, as the original writes it.
    text.resize(std::char_traits<char>::length(text.c_str()));
    const std::string line = ToLogText(text);

    // The prefix, the text and the line end go to the file in one write: a full disk is told, not
    // reported as a line written.
    std::string record;
    if (bTimestamp) {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        char prefix[64];
        const int p = std::snprintf(prefix, sizeof prefix, "%04d.%02d.%02d - %02d:%02d:%02d:%03d : ", t.wYear,
                                    t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
        record.assign(prefix, static_cast<std::size_t>(p));
    }
    record += line;
    record += "\r\n";
    const bool bWritten = Append(record);
    Close();
    return bWritten ? TRUE : FALSE;
}
