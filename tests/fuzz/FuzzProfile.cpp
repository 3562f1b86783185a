// The private-profile functions on any file. Whatever the bytes, what was read stays readable through
// writes: a write changes only the key or the section it names, and leaves on disk either the old file,
// untouched, or the whole new one (no line lost, no temporary file left). The file is the whole input;
// its last bytes choose up to eight writes.

#include "FuzzSupport.h"
#include "Steering.h"
#include "ProfileFile.h"
#include "Profile.h"
#include "StringConv.h"

#include <algorithm>
#include <optional>

using namespace kavrino_fuzz;
using kavrino::ProfileFile;

namespace {

const wchar_t* const kValues[] = {
    L"1",         L"",           L"  padded  ",      L"\"quoted\"",
    L"검사 항목", L"a=b",        L"; not a comment", L"[not a section]",
    L"tab\tin",   L"two\nlines", L"\U0001F600",      L"\"",
    L"end\r",     L"   ",
};
const wchar_t* const kNames[] = {
    L"NewKey", L"검사항목", L" spaced ", L"a=b",         L";comment", L"[open",       L"UPPER",
    L"upper",  L"",         L"close]",   L"\u212Aelvin", L"#hash",    L"line\nbreak", L"ACQ0",
};

enum Kind { SetExisting, SetNew, SetInNewSection, DeleteExistingKey, DeleteExistingSection, KindCount };

struct Write {
    std::wstring section;
    std::optional<std::wstring> key;   // none: the section is deleted
    std::optional<std::wstring> value; // none: the key is deleted
};

Write ChooseWrite(Steering& steer, const std::vector<ProfileEntry>& entries) {
    const Kind kind = static_cast<Kind>(steer.Pick(KindCount));
    const ProfileEntry* entry = entries.empty() ? nullptr : &entries[steer.Pick(entries.size())];
    const std::wstring name = kNames[steer.Pick(std::size(kNames))];
    const std::wstring value = kValues[steer.Pick(std::size(kValues))];
    switch (entry ? kind : SetInNewSection) {
    case SetExisting:
        return {entry->section, entry->key, value};
    case SetNew:
        return {entry->section, name, value};
    case DeleteExistingKey:
        return {entry->section, entry->key, std::nullopt};
    case DeleteExistingSection:
        return {entry->section, std::nullopt, std::nullopt};
    default:
        return {name + L"Section", name, value};
    }
}

std::string Describe(const Write& write) {
    std::wstring text = L"[" + write.section + L"] " + write.key.value_or(L"(section)") + L" = " +
                        write.value.value_or(L"(deleted)");
    return kavrino::WideToUtf8(text);
}

bool Touches(const Write& write, const ProfileEntry& entry) {
    return ProfileFile::SameName(write.section, entry.section) &&
           (!write.key || ProfileFile::SameName(*write.key, entry.key));
}

bool HasAny(const std::wstring& text, const wchar_t* chars) {
    return text.find_first_of(chars) != std::wstring::npos;
}

bool NonAscii(const std::wstring& text) {
    for (wchar_t c : text)
        if (c >= 0x80)
            return true;
    return false;
}

bool NonAscii(const std::string& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// A file without a byte-order mark that is not UTF-8 as a whole reads in CP949 throughout; if one of its
// lines would read otherwise in UTF-8, a write that leaves nothing but UTF-8 behind would turn that line.
bool MayTurnItsCodePage(const std::string& file) {
    if (file.compare(0, 3, "\xEF\xBB\xBF") == 0 || file.compare(0, 2, "\xFF\xFE") == 0 ||
        file.compare(0, 2, "\xFE\xFF") == 0 || kavrino::IsValidUtf8(file))
        return false;
    std::size_t start = 0;
    while (start <= file.size()) {
        const std::size_t end = std::min(file.find('\n', start), file.size());
        const std::string line = file.substr(start, end - start);
        if (NonAscii(line) && kavrino::IsValidUtf8(line) &&
            kavrino::Utf8ToWide(line) != kavrino::Cp949ToWide(line))
            return true;
        start = end + 1;
    }
    return false;
}

// A write may be refused for names or values that would not read back as themselves, for text the
// file's code page (CP949) cannot hold, and where it would turn how another line reads; any other refusal
// would drop the operator's data.
bool MayBeRefused(const Write& write, const std::string& file) {
    const std::wstring key = write.key.value_or(L"");
    const std::wstring value = write.value.value_or(L"");
    const std::size_t first = key.find_first_not_of(L" \t");
    const bool keyLooksSpecial = first != std::wstring::npos && HasAny(key.substr(first, 1), L";#[");
    return HasAny(write.section, L"\r\n]") || HasAny(key, L"\r\n=") || keyLooksSpecial ||
           HasAny(value, L"\r\n") || NonAscii(write.section + key + value) || MayTurnItsCodePage(file);
}

// The file's lines after its byte-order mark, without their line ends, in the file's code units (two
// bytes after a UTF-16 mark).
std::vector<std::string> Lines(const std::string& bytes) {
    const bool wide = bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0;
    const bool bigEndian = bytes.compare(0, 2, "\xFE\xFF") == 0;
    const std::size_t unit = wide ? 2 : 1;
    const std::size_t start = wide ? 2 : bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::vector<std::string> lines;
    std::string line;
    bool open = false; // a last line without its line end (perhaps only a carriage return)
    for (std::size_t i = start; i < bytes.size(); i += unit) {
        const std::string code = bytes.substr(i, unit);
        const bool lineFeed =
            wide ? code.size() == 2 && code[bigEndian ? 1 : 0] == '\n' && code[bigEndian ? 0 : 1] == '\0'
                 : code == "\n";
        const bool carriageReturn =
            wide ? code.size() == 2 && code[bigEndian ? 1 : 0] == '\r' && code[bigEndian ? 0 : 1] == '\0'
                 : code == "\r";
        open = !lineFeed;
        if (lineFeed) {
            lines.push_back(line);
            line.clear();
        } else if (!carriageReturn) {
            line += code;
        }
    }
    if (open)
        lines.push_back(line);
    return lines;
}

// After a set: the old lines with at most one of them changed and at most two new ones, all in one place.
// After a deletion: the old lines with some of them left out.
void CheckWholeFile(const std::string& before, const std::string& after, bool deletion) {
    const std::vector<std::string> a = Lines(before), b = Lines(after);
    if (deletion) {
        std::size_t j = 0;
        for (std::size_t i = 0; i < b.size(); ++i) {
            while (j < a.size() && a[j] != b[i])
                ++j;
            if (j == a.size())
                Fail("a deletion changed or added a line", std::to_string(i));
            ++j;
        }
        return;
    }
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const std::size_t changed = a.size() - prefix - suffix, added = b.size() - prefix - suffix;
    if (changed > 1 || added > changed + 2)
        Fail("a write changed more than its own lines",
             std::to_string(a.size()) + " lines before, " + std::to_string(b.size()) + " after");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = ScratchPath("test.ini");
    const CString widePath = WidePath(path);
    WriteFile(path, data, size);
    std::vector<ProfileEntry> entries = ReadProfile(widePath);

    Steering steer(data, size);
    const std::size_t writes = steer.Pick(9);
    for (std::size_t n = 0; n < writes; ++n) {
        const Write write = ChooseWrite(steer, entries);
        const std::string before = ReadFile(path);
        const BOOL ok =
            WritePrivateProfileString(write.section.c_str(), write.key ? write.key->c_str() : nullptr,
                                      write.value ? write.value->c_str() : nullptr, widePath);
        const std::string after = ReadFile(path);
        if (FolderEntries(ScratchFolder()).size() != 1)
            Fail("a write left a file behind");
        if (!ok) {
            if (after != before)
                Fail("a refused write changed the file");
            if (!MayBeRefused(write, before))
                Fail("a plain write was refused", Describe(write));
            continue;
        }
        CheckWholeFile(before, after, !write.value);

        // Every key read so far reads the same, unless this write named it.
        std::vector<ProfileEntry> kept;
        for (const ProfileEntry& entry : entries) {
            if (Touches(write, entry))
                continue;
            if (ReadProfileValue(widePath, entry.section, entry.key) != entry.value)
                Fail("a write lost a key it did not name", Describe(write) + " lost [" +
                                                               kavrino::WideToUtf8(entry.section) + "] " +
                                                               kavrino::WideToUtf8(entry.key));
            kept.push_back(entry);
        }
        if (write.key && write.value) {
            const std::wstring value = ReadProfileValue(widePath, write.section, *write.key);
            if (value != ProfileFile::ValueAsRead(*write.value))
                Fail("a written value does not read back",
                     Describe(write) + " reads " + kavrino::WideToUtf8(value));
            kept.push_back({write.section, *write.key, value});
        } else if (write.key && ReadProfileValue(widePath, write.section, *write.key) != kMissingValue) {
            Fail("a deleted key still reads");
        }
        entries = std::move(kept);
    }
    return 0;
}
