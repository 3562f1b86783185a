#include "Profile.h"

#include "Crt.h"
#include "ProfileFile.h"
#include "StringConv.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <time.h>
#include <vector>

using kavrino::ProfileFile;

namespace {

// The user-interface thread and the runner read the test set at the same time; one lock for every file
// keeps a read from meeting a half-renamed write of the same process.
std::mutex& ProfileLock() {
    static std::mutex lock;
    return lock;
}

std::string FilePath(LPCWSTR fileName) {
    return fileName ? kavrino::WideToUtf8(fileName) : std::string();
}

// The last file parsed, with the bytes it was parsed from. Callers read a file one value at a time (the
// set-up window two thousand values and more for its longest lists), and parsing a large file for every
// value held the program for minutes; a read that finds the same bytes takes the parsed file again.
struct ParsedFile {
    std::string path;
    std::string bytes;
    std::shared_ptr<const ProfileFile> file;
    ProfileFile::Stamp stamp;
    // The file had not changed for a while when its bytes were last compared: any later change of its
    // contents gives it another stamp, so an equal stamp then stands for equal bytes. A file changed
    // just before (within the file system's timestamp resolution) is compared byte for byte.
    bool settled = false;
};

std::int64_t SystemClock() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::atomic<std::int64_t (*)()> g_clock{&SystemClock};

bool Settled(const ProfileFile::Stamp& stamp) {
    constexpr std::int64_t kSettleNs = 3LL * 1000000000; // above the coarsest timestamps (2 s on FAT)
    const std::int64_t nowNs = g_clock.load()();
    return nowNs - stamp.modifiedNs > kSettleNs && nowNs - stamp.changedNs > kSettleNs;
}

// The file's contents, or nothing when it cannot be read (then every value reads as its default). The
// caller holds the profile lock, which also guards the last parsed file.
std::shared_ptr<const ProfileFile> Read(LPCWSTR fileName) {
    static ParsedFile last;
    const std::string path = FilePath(fileName);
    if (path.empty())
        return nullptr;
    if (last.file && last.settled && last.path == path) {
        const std::optional<ProfileFile::Stamp> stamp = ProfileFile::StampOf(path);
        if (stamp && *stamp == last.stamp)
            return last.file;
    }
    std::string bytes;
    ProfileFile::Stamp stamp;
    if (ProfileFile::ReadBytes(path, bytes, &stamp) != ProfileFile::LoadStatus::Loaded)
        return nullptr;
    if (!(last.file && last.path == path && last.bytes == bytes)) {
        auto file = std::make_shared<ProfileFile>();
        file->Parse(bytes);
        last.path = path;
        last.bytes = std::move(bytes);
        last.file = std::move(file);
    }
    last.stamp = stamp;
    last.settled = Settled(stamp);
    return last.file;
}

// The text up to its first NUL (a value read from a damaged file may hold one), cut to size - 1.
DWORD CopyText(const std::wstring& text, LPWSTR buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    const std::size_t length = std::min<std::size_t>(text.find(L'\0'), text.size());
    const std::size_t n = std::min<std::size_t>(length, size - 1);
    std::copy_n(text.data(), n, buffer);
    buffer[n] = L'\0';
    return static_cast<DWORD>(n);
}

// Names one after the other, each zero-terminated, and one more zero at the end.
DWORD CopyList(const std::vector<std::wstring>& names, LPWSTR buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    std::wstring list;
    for (const std::wstring& name : names) {
        list += name.substr(0, name.find(L'\0'));
        list.push_back(L'\0');
    }
    if (list.size() + 1 <= size) {
        std::copy_n(list.data(), list.size(), buffer);
        buffer[list.size()] = L'\0';
        if (list.empty() && size > 1)
            buffer[1] = L'\0';
        return static_cast<DWORD>(list.size());
    }
    if (size < 2) {
        buffer[0] = L'\0';
        return 0;
    }
    std::copy_n(list.data(), size - 2, buffer);
    buffer[size - 2] = L'\0';
    buffer[size - 1] = L'\0';
    return size - 2;
}

std::wstring TrimRightBlanks(std::wstring text) {
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    return text;
}

bool HasLineBreak(const std::wstring& text) {
    return text.find_first_of(L"\r\n") != std::wstring::npos;
}

// A name or value that would not read back as itself: a line break would start a new line (a value could
// then plant keys of its own), "=" ends a key, "]" ends a section name, and a key that starts like a
// comment or a section header would be taken for one.
bool WritableNames(LPCWSTR section, LPCWSTR key, LPCWSTR value) {
    const std::wstring s = section;
    if (HasLineBreak(s) || s.find(L']') != std::wstring::npos)
        return false;
    if (key) {
        const std::wstring k = key;
        if (HasLineBreak(k) || k.find(L'=') != std::wstring::npos)
            return false;
        const std::size_t first = k.find_first_not_of(L" \t");
        if (first != std::wstring::npos && (k[first] == L';' || k[first] == L'#' || k[first] == L'['))
            return false;
    }
    return !(value && HasLineBreak(value));
}

} // namespace

DWORD GetPrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD size,
                              LPCWSTR fileName) {
    if (!buffer || size == 0)
        return 0;
    std::lock_guard<std::mutex> hold(ProfileLock());
    const std::shared_ptr<const ProfileFile> file = Read(fileName);
    if (!section)
        return CopyList(file ? file->SectionNames() : std::vector<std::wstring>(), buffer, size);
    if (!key)
        return CopyList(file ? file->KeyNames(section) : std::vector<std::wstring>(), buffer, size);
    std::optional<std::wstring> value;
    if (file)
        value = file->Value(section, key);
    if (!value)
        value = TrimRightBlanks(defaultValue ? defaultValue : L"");
    return CopyText(*value, buffer, size);
}

UINT GetPrivateProfileInt(LPCWSTR section, LPCWSTR key, int defaultValue, LPCWSTR fileName) {
    if (!section || !key)
        return static_cast<UINT>(defaultValue);
    std::lock_guard<std::mutex> hold(ProfileLock());
    const std::shared_ptr<const ProfileFile> file = Read(fileName);
    const std::optional<std::wstring> value = file ? file->Value(section, key) : std::nullopt;
    return static_cast<UINT>(value ? _wtoi(value->c_str()) : defaultValue);
}

namespace {

// One write applied to the file in memory; false when it is refused.
bool Apply(ProfileFile& file, LPCWSTR section, LPCWSTR key, LPCWSTR value) {
    if (!WritableNames(section, key, value))
        return false;
    return !key     ? file.DeleteSection(section)
           : !value ? file.DeleteKey(section, key)
                    : file.SetValue(section, key, value);
}

// Reads the file, applies the writes to it in order and saves it once: the bytes the same writes one after
// the other would leave, or, when any of them is refused, nothing at all.
template <typename Writes> BOOL ChangeFile(const std::string& path, Writes writes) {
    std::lock_guard<std::mutex> hold(ProfileLock());
    ProfileFile file;
    const ProfileFile::LoadStatus status = file.Load(path);
    // A file that exists but cannot be read must not be replaced by one holding only the new keys.
    if (status == ProfileFile::LoadStatus::Failed)
        return FALSE;
    const std::string before = file.Bytes();
    if (!writes(file))
        return FALSE;
    // Nothing to change (also: deleting from a file that does not exist) needs no write.
    if (file.Bytes() == before)
        return TRUE;
    return file.Save(path) ? TRUE : FALSE;
}

} // namespace

BOOL WritePrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR fileName) {
    const std::string path = FilePath(fileName);
    if (path.empty())
        return FALSE;
    if (!section)
        return !key && !value; // "flush the cache": there is none
    return ChangeFile(path, [&](ProfileFile& file) { return Apply(file, section, key, value); });
}

BOOL kavrino::WritePrivateProfileStrings(const std::vector<ProfileWrite>& writes, LPCWSTR fileName) {
    const std::string path = FilePath(fileName);
    if (path.empty())
        return FALSE;
    return ChangeFile(path, [&](ProfileFile& file) {
        for (const ProfileWrite& write : writes) {
            if (!Apply(file, write.section.c_str(), write.key.c_str(), write.value.c_str()))
                return false;
        }
        return true;
    });
}

void kavrino::SetProfileClock(std::int64_t (*clock)()) {
    g_clock.store(clock ? clock : &SystemClock);
}
