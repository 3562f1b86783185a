#pragma once
// Private-profile (INI) files: the test set and the tap-balance limits are read and written one value per
// call through these functions.
//
// Sections and keys are matched case-insensitively and the first match wins; blanks around keys and
// values are ignored and a value in a matching pair of double quotes loses them. A missing file, section
// or key reads as the caller's default (null = empty) without its trailing blanks.
//
// One code page reads a whole file, as the original platform decides it: UTF-8 or UTF-16 after a
// byte-order mark; without one CP949 (the Korean ANSI code page of files made on the original platform),
// unless the whole file is well-formed UTF-8 with text beyond ASCII (files saved by editors here). A write
// keeps the file's code page, BOM and line ends, and every line it does not change byte for byte; it is
// refused rather than let any other line read otherwise. New files, and files of ASCII alone, take text
// as the original platform writes it: CP949 without BOM, "\r\n" line ends (UTF-8 when CP949 cannot hold
// the text or its bytes would read as UTF-8). A write goes to a temporary file in the same folder that
// then replaces the original, so a failing write never leaves a truncated file. Every call sees the file
// as it is now (edits by other programs at once); one process-wide lock serialises the calls.

#include "WinTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// Copies the value into the buffer, cut to size - 1 characters and zero-terminated, and returns the
// number of characters copied (0 for a null buffer or size 0). A null key lists the section's keys, a
// null section lists the sections: each name zero-terminated, the list ended by one more zero; when the
// list does not fit it is cut, ended by two zeros, and size - 2 is returned.
DWORD GetPrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer, DWORD size,
                              LPCWSTR fileName);

// The value read like _wtoi; the default when the file, section or key is missing.
UINT GetPrivateProfileInt(LPCWSTR section, LPCWSTR key, int defaultValue, LPCWSTR fileName);

// Creates the file, the section (at the end of the file) and the key (at the end of its section) as
// needed, or replaces the key's value where it stands. A null value deletes the key, a null key deletes
// the section. FALSE when nothing could be written: no path, no such folder, a read-only or unreadable
// file, a name or value that would break the file's lines, text the file's code page cannot hold, or a
// change after which the rest of the file would read otherwise (a CP949 file losing its last bytes that
// are not UTF-8 while other lines would read otherwise as UTF-8).
BOOL WritePrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR fileName);

namespace kavrino {

struct ProfileWrite {
    std::wstring section;
    std::wstring key;
    std::wstring value;
};
// Writes every value into the file at once: the file ends exactly as the same WritePrivateProfileString
// calls one after the other would leave it, but is read and replaced only once. All or nothing: FALSE,
// with the file as it was (or still missing), when any one of them would be refused.
BOOL WritePrivateProfileStrings(const std::vector<ProfileWrite>& writes, LPCWSTR fileName);

// The clock, in nanoseconds since the epoch, by which a read tells a file that has not changed for a
// while (its parse is then kept while its stamp stays the same) from one changed just now (compared byte
// for byte). The system's real-time clock unless a test sets another; nullptr puts it back.
void SetProfileClock(std::int64_t (*clock)());

} // namespace kavrino
