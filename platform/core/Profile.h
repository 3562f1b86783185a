#pragma once
// Private-profile (INI) files: the test set and the tap-balance limits are read and written one value per
// call through these functions.
//
// Sections and keys are matched case-insensitively and the first match wins; blanks around keys and
// values are ignored and a value in a matching pair of double quotes loses them. A missing file, section
// or key reads as the caller's default (null = empty) without its trailing blanks.
//
// Files in UTF-8 (with or without BOM), UTF-16 with BOM and CP949 (the Korean ANSI code page of files
// made on the original platform) are read; a write keeps the file's encoding, BOM and line ends, and every
// line it does not change byte for byte. New (and empty) files are written as the original platform
// writes them: CP949 without BOM, "\r\n" line ends (UTF-8 when their first text has characters CP949
// cannot hold). A write
// goes to a temporary file in the same folder that then replaces the original, so a failing write never
// leaves a truncated file. The whole file is read on every call (nothing is cached, so edits by other
// programs are seen at once); one process-wide lock serialises the calls.

#include "WinTypes.h"

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
// file, a name or value that would break the file's lines, or text the file's code page cannot hold.
BOOL WritePrivateProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR fileName);
