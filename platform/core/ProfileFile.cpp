#include "ProfileFile.h"

#include "StringConv.h"

#include <QChar>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrino {

namespace {

// Test sets are a few KB and a few hundred lines; anything this large is not one, and reading it whole
// would only hurt. Every line costs some hundred bytes in memory whatever its length: 8 MB of empty lines
// took 2 GB.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;
constexpr std::size_t kMaxLines = 1 << 18;

bool IsAscii(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f';
}

std::wstring Trim(const std::wstring& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

char32_t Fold(wchar_t c) {
    if (c < 0x80)
        return (c >= L'A' && c <= L'Z') ? static_cast<char32_t>(c + 32) : static_cast<char32_t>(c);
    return QChar::toCaseFolded(static_cast<uint>(c));
}

bool NamesEqual(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && Fold(a[i]) != Fold(b[i]))
            return false;
    }
    return true;
}

void AppendUnit(std::string& out, unsigned unit, bool bigEndian) {
    const char lo = static_cast<char>(unit & 0xFF);
    const char hi = static_cast<char>((unit >> 8) & 0xFF);
    out.push_back(bigEndian ? hi : lo);
    out.push_back(bigEndian ? lo : hi);
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a write must replace: a symbolic link is followed, so that the link stays a link.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

std::int64_t Nanoseconds(const struct timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

ProfileFile::Stamp StampFromStat(const struct stat& st) {
    ProfileFile::Stamp stamp;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::int64_t>(st.st_size);
    stamp.modifiedNs = Nanoseconds(st.st_mtim);
    stamp.changedNs = Nanoseconds(st.st_ctim);
    return stamp;
}

} // namespace

ProfileFile::LoadStatus ProfileFile::Load(const std::string& path) {
    Parse(std::string());
    std::string bytes;
    const LoadStatus status = ReadBytes(path, bytes);
    if (status == LoadStatus::Loaded)
        Parse(bytes);
    return status;
}

ProfileFile::LoadStatus ProfileFile::ReadBytes(const std::string& path, std::string& bytes, Stamp* stamp) {
    bytes.clear();
    // Opened without waiting: a pipe named as the file would otherwise hold the program until another
    // one opened its other end. Reading a regular file is not changed by it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return (errno == ENOENT || errno == ENOTDIR) ? LoadStatus::Missing : LoadStatus::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
        ::close(fd);
        return LoadStatus::Failed;
    }
    if (stamp)
        *stamp = StampFromStat(st);
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return LoadStatus::Failed;
        }
        if (n == 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(n));
        if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
            ::close(fd);
            return LoadStatus::Failed;
        }
    }
    ::close(fd);
    // Line feeds counted as bytes: in a UTF-16 file a few other characters count too, which only errs on
    // the safe side.
    if (static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) >= kMaxLines)
        return LoadStatus::Failed;
    return LoadStatus::Loaded;
}

std::optional<ProfileFile::Stamp> ProfileFile::StampOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!regular)
        return std::nullopt;
    return StampFromStat(st);
}

ProfileFile::Encoding ProfileFile::EncodingOf(const std::string& bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return Encoding::Utf8Bom;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0)
        return Encoding::Utf16Le;
    if (bytes.compare(0, 2, "\xFE\xFF") == 0)
        return Encoding::Utf16Be;
    // A file made on the original platform is in the Korean code page, and so is a new one, written as
    // its private-profile functions write one, so that a station running the original reads it. Its
    // Korean keys never form UTF-8, so a test set from such a station never reads as UTF-8.
    if (IsAscii(bytes) || !IsValidUtf8(bytes))
        return Encoding::Cp949;
    return Encoding::Utf8;
}

void ProfileFile::Parse(const std::string& bytes) {
    m_lines.clear();
    std::size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        m_encoding = Encoding::Utf8Bom;
        start = 3;
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
        m_encoding = Encoding::Utf16Le;
        start = 2;
    } else if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
        m_encoding = Encoding::Utf16Be;
        start = 2;
    } else {
        m_encoding = EncodingOf(bytes);
    }

    // Lines are split on the line-feed code unit; a carriage return just before it belongs to the line
    // end. In UTF-8 and CP949 the byte 0x0A never occurs inside a character.
    const bool wide = m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be;
    const std::size_t unit = wide ? 2 : 1;
    const std::size_t lowByte = m_encoding == Encoding::Utf16Be ? 1 : 0;
    auto unitIs = [&](std::size_t at, char c) {
        if (!wide)
            return bytes[at] == c;
        return bytes[at + lowByte] == c && bytes[at + 1 - lowByte] == '\0';
    };
    bool styleKnown = false;
    bool crlf = true;
    std::size_t lineStart = start;
    std::size_t i = start;
    while (i + unit <= bytes.size()) {
        if (!unitIs(i, '\n')) {
            i += unit;
            continue;
        }
        std::size_t contentEnd = i;
        if (contentEnd >= lineStart + unit && unitIs(contentEnd - unit, '\r'))
            contentEnd -= unit;
        if (!styleKnown) {
            crlf = contentEnd != i;
            styleKnown = true;
        }
        Line line;
        SetRaw(line, bytes.substr(lineStart, contentEnd - lineStart));
        line.end = bytes.substr(contentEnd, i + unit - contentEnd);
        Classify(line, Decode(line.raw));
        m_lines.push_back(std::move(line));
        i += unit;
        lineStart = i;
    }
    if (lineStart < bytes.size()) {
        Line line;
        SetRaw(line, bytes.substr(lineStart));
        Classify(line, Decode(line.raw));
        m_lines.push_back(std::move(line));
    }
    // New lines end like the file's first line (in its code units); a new file uses "\r\n".
    m_newline = *Encode(crlf ? L"\r\n" : L"\n");
}

void ProfileFile::SetRaw(Line& line, std::string raw) {
    line.raw = std::move(raw);
    line.ascii = IsAscii(line.raw);
    line.utf8 = line.ascii || IsValidUtf8(line.raw);
}

void ProfileFile::Classify(Line& line, const std::wstring& text) {
    line.name.clear();
    line.value.clear();
    const std::wstring t = Trim(text);
    if (t.empty()) {
        line.kind = Kind::Blank;
    } else if (t[0] == L';' || t[0] == L'#') {
        line.kind = Kind::Comment;
    } else if (t[0] == L'[') {
        line.kind = Kind::Section;
        const std::size_t close = t.find(L']');
        line.name = Trim(close == std::wstring::npos ? t.substr(1) : t.substr(1, close - 1));
    } else if (const std::size_t eq = t.find(L'='); eq != std::wstring::npos) {
        line.kind = Kind::Key;
        line.name = Trim(t.substr(0, eq));
        line.value = ValueAsRead(t.substr(eq + 1));
    } else {
        line.kind = Kind::Other;
    }
}

bool ProfileFile::SameName(const std::wstring& a, const std::wstring& b) {
    return NamesEqual(Trim(a), Trim(b));
}

std::wstring ProfileFile::ValueAsRead(const std::wstring& text) {
    std::wstring value = Trim(text);
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
        value = value.substr(1, value.size() - 2);
    return value;
}

std::wstring ProfileFile::Decode(const std::string& raw, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8Bom:
    case Encoding::Utf8:
        return Utf8ToWide(raw);
    case Encoding::Cp949:
        return Cp949ToWide(raw);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        break;
    }
    const bool be = encoding == Encoding::Utf16Be;
    std::wstring out;
    out.reserve(raw.size() / 2);
    auto unitAt = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(raw[at]);
        const auto b = static_cast<unsigned char>(raw[at + 1]);
        return be ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const unsigned u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < raw.size()) {
            const unsigned low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00)));
                i += 2;
                continue;
            }
        }
        out.push_back((u >= 0xD800 && u <= 0xDFFF) ? L'\xFFFD' : static_cast<wchar_t>(u));
    }
    return out;
}

std::optional<std::string> ProfileFile::Encode(const std::wstring& text, Encoding encoding) {
    std::string out;
    switch (encoding) {
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        out = WideToUtf8(text);
        break;
    case Encoding::Cp949:
        out = WideToCp949(text);
        break;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool be = encoding == Encoding::Utf16Be;
        out.reserve(text.size() * 2);
        for (wchar_t wc : text) {
            auto c = static_cast<std::uint32_t>(wc);
            if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
                c = 0xFFFD;
            if (c >= 0x10000) {
                c -= 0x10000;
                AppendUnit(out, 0xD800 + (c >> 10), be);
                AppendUnit(out, 0xDC00 + (c & 0x3FF), be);
            } else {
                AppendUnit(out, c, be);
            }
        }
        break;
    }
    }
    // Text that would not read back as itself is refused: the legacy code page has no room for most of
    // Unicode, and a '?' in place of the operator's text would be silent data loss.
    if (Decode(out, encoding) != text)
        return std::nullopt;
    return out;
}

std::optional<ProfileFile::Line> ProfileFile::MakeLine(const std::wstring& text) const {
    std::optional<std::string> raw = Encode(text);
    // Whether UTF-8 may take it is for SettleChange to say, which sees the whole changed file.
    if (!raw && m_encoding == Encoding::Cp949)
        raw = Encode(text, Encoding::Utf8);
    if (!raw)
        return std::nullopt;
    Line line;
    SetRaw(line, std::move(*raw));
    line.end = m_newline;
    line.text = text;
    line.fresh = true;
    Classify(line, text);
    return line;
}

bool ProfileFile::SettleChange() {
    const bool marked = m_encoding != Encoding::Utf8 && m_encoding != Encoding::Cp949;
    for (int attempt = 0;; ++attempt) {
        // A byte-order mark keeps the code page whatever the lines hold; without one the changed bytes
        // decide it anew, as the next reading of the file will (EncodingOf, line by line: the line ends
        // are ASCII, so the file is UTF-8 exactly when each of its lines is).
        Encoding next = m_encoding;
        if (!marked) {
            bool ascii = true;
            bool utf8 = true;
            for (const Line& line : m_lines) {
                ascii = ascii && line.ascii;
                utf8 = utf8 && line.utf8;
            }
            next = ascii || !utf8 ? Encoding::Cp949 : Encoding::Utf8;
        }
        bool readsRight = true;
        bool onlyNewLines = true;
        for (const Line& line : m_lines) {
            // A line the change did not make reads as before in the same code page, and a line of ASCII
            // in either.
            if (!line.fresh && (next == m_encoding || line.ascii))
                continue;
            const std::wstring wanted = line.fresh ? line.text : Decode(line.raw);
            if (Decode(line.raw, next) != wanted) {
                readsRight = false;
                onlyNewLines = onlyNewLines && line.fresh;
            }
        }
        if (readsRight) {
            m_encoding = next;
            for (Line& line : m_lines) {
                line.fresh = false;
                line.text.clear();
            }
            return true;
        }
        // Only the new lines read wrong: their CP949 bytes form UTF-8 in a file that holds nothing else
        // beyond ASCII (a new file whose first text is "화"). Written in UTF-8 they read right, and
        // nothing else in the file reads otherwise.
        if (!onlyNewLines || attempt > 0)
            return false;
        for (Line& line : m_lines) {
            if (line.fresh)
                SetRaw(line, *Encode(line.text, Encoding::Utf8));
        }
    }
}

template <typename Change> bool ProfileFile::Apply(Change change) {
    // The file's bytes parse back into the file as it is, and keep far cheaper than its lines.
    const std::string before = Bytes();
    if (change() && SettleChange())
        return true;
    Parse(before);
    return false;
}

void ProfileFile::InsertLine(std::size_t at, Line line) {
    if (at > 0 && m_lines[at - 1].end.empty()) {
        Line& last = m_lines[at - 1];
        // A UTF-16 file cut inside a code unit: the odd byte holds no character (it is never read), and
        // the lines that follow must start on a whole unit to be read back at all.
        const bool wide = m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be;
        if (wide && last.raw.size() % 2 != 0)
            SetRaw(last, last.raw.substr(0, last.raw.size() - 1));
        // A carriage return that ends the line belongs to its text (it was never followed by a line
        // feed); a "\n" right after it would make it part of the line end instead, and the line would
        // read otherwise ("\xb0\r" in CP949 reads as a character, "\xb0" alone as nothing).
        const std::string cr = *Encode(L"\r");
        const bool endsInCr =
            last.raw.size() >= cr.size() && last.raw.compare(last.raw.size() - cr.size(), cr.size(), cr) == 0;
        last.end = endsInCr ? *Encode(L"\r\n") : m_newline;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

std::size_t ProfileFile::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != Kind::Section)
        ++i;
    return i;
}

std::vector<std::size_t> ProfileFile::SectionHeaders(const std::wstring& name) const {
    const std::wstring wanted = Trim(name);
    std::vector<std::size_t> headers;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == Kind::Section && NamesEqual(m_lines[i].name, wanted))
            headers.push_back(i);
    }
    return headers;
}

std::optional<std::wstring> ProfileFile::Value(const std::wstring& section, const std::wstring& key) const {
    const std::wstring wanted = Trim(key);
    for (std::size_t header : SectionHeaders(section)) {
        for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
            if (m_lines[i].kind == Kind::Key && NamesEqual(m_lines[i].name, wanted))
                return m_lines[i].value;
        }
    }
    return std::nullopt;
}

std::vector<std::wstring> ProfileFile::SectionNames() const {
    std::vector<std::wstring> names;
    for (const Line& line : m_lines) {
        if (line.kind != Kind::Section)
            continue;
        bool seen = false;
        for (const std::wstring& n : names)
            seen = seen || NamesEqual(n, line.name);
        if (!seen)
            names.push_back(line.name);
    }
    return names;
}

std::vector<std::wstring> ProfileFile::KeyNames(const std::wstring& section) const {
    std::vector<std::wstring> names;
    for (std::size_t header : SectionHeaders(section)) {
        for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
            if (m_lines[i].kind != Kind::Key)
                continue;
            bool seen = false;
            for (const std::wstring& n : names)
                seen = seen || NamesEqual(n, m_lines[i].name);
            if (!seen)
                names.push_back(m_lines[i].name);
        }
    }
    return names;
}

bool ProfileFile::SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    return Apply([&] { return SetLines(section, key, value); });
}

bool ProfileFile::SetLines(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    const std::wstring sectionName = Trim(section);
    const std::wstring keyName = Trim(key);
    const std::vector<std::size_t> headers = SectionHeaders(sectionName);
    for (std::size_t header : headers) {
        for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
            Line& old = m_lines[i];
            if (old.kind != Kind::Key || !NamesEqual(old.name, keyName))
                continue;
            // The key keeps its spelling and its line end.
            std::optional<Line> line = MakeLine(old.name + L"=" + value);
            if (!line)
                return false;
            line->end = old.end;
            old = std::move(*line);
            return true;
        }
    }
    std::optional<Line> line = MakeLine(keyName + L"=" + value);
    if (!line)
        return false;
    if (!headers.empty()) {
        // After the section's last entry, before the blank lines and comments that lead to the next one.
        std::size_t at = SectionEnd(headers.front());
        while (at > headers.front() + 1 &&
               (m_lines[at - 1].kind == Kind::Blank || m_lines[at - 1].kind == Kind::Comment))
            --at;
        InsertLine(at, std::move(*line));
        return true;
    }
    std::optional<Line> headerLine = MakeLine(L"[" + sectionName + L"]");
    if (!headerLine)
        return false;
    InsertLine(m_lines.size(), std::move(*headerLine));
    InsertLine(m_lines.size(), std::move(*line));
    return true;
}

bool ProfileFile::DeleteKey(const std::wstring& section, const std::wstring& key) {
    return Apply([&] {
        const std::wstring wanted = Trim(key);
        const std::vector<std::size_t> headers = SectionHeaders(section);
        // From the last section back, so that the indices of the earlier ones stay valid.
        for (auto h = headers.rbegin(); h != headers.rend(); ++h) {
            for (std::size_t i = SectionEnd(*h); i-- > *h + 1;) {
                if (m_lines[i].kind == Kind::Key && NamesEqual(m_lines[i].name, wanted))
                    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        return true;
    });
}

bool ProfileFile::DeleteSection(const std::wstring& section) {
    return Apply([&] {
        const std::vector<std::size_t> headers = SectionHeaders(section);
        for (auto h = headers.rbegin(); h != headers.rend(); ++h) {
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*h),
                          m_lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*h)));
        }
        return true;
    });
}

std::string ProfileFile::Bytes() const {
    std::string out;
    switch (m_encoding) {
    case Encoding::Utf8Bom:
        out = "\xEF\xBB\xBF";
        break;
    case Encoding::Utf16Le:
        out = "\xFF\xFE";
        break;
    case Encoding::Utf16Be:
        out = "\xFE\xFF";
        break;
    case Encoding::Utf8:
    case Encoding::Cp949:
        break;
    }
    for (const Line& line : m_lines) {
        out += line.raw;
        out += line.end;
    }
    return out;
}

bool ProfileFile::Save(const std::string& path) const {
    const std::string target = ResolveTarget(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
        return false;

    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (base.empty())
        return false;
    std::string temp = folder + "/." + base + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, Bytes()) && ::fchmod(fd, exists ? (st.st_mode & 07777) : 0644) == 0;
    if (ok && exists && ::fchown(fd, st.st_uid, st.st_gid) != 0) {
        // Only root may hand the file back to its owner; keeping the new owner is harmless otherwise.
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace kavrino
