#pragma once
// What the fuzz targets share: the program's environment (one headless application with the compiled-in
// resources, every message box answered, every file dialog cancelled unless a target answers it), a
// scratch folder for the files they hand the program, and a reader of a whole private-profile file for
// the targets that check what a write keeps.
//
// Each target is a file the program reads; the fuzz input is the file's bytes. Where a target also has
// to choose what to do with the file, it takes its choices from the input's last bytes (Steering.h), so
// that every seed is simply a file of the kind the operator hands the program.

#include "CString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavrino_fuzz {

// A path in the process's scratch folder (made at start-up, removed at exit).
std::string ScratchFolder();
std::string ScratchPath(const char* name);
CString WidePath(const std::string& path);
void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);
std::string ReadFile(const std::string& path);
std::vector<std::string> FolderEntries(const std::string& folder);

// Lets the user-interface events of one input run, the deferred deletion of its windows' widgets
// included, so that nothing of one input is left for the next. In a bounded run no timer fires here.
void Settle();

// A finding: prints what went wrong and aborts, which the fuzzer reports with the input.
[[noreturn]] void Fail(const char* what, const std::string& detail = std::string());

// Every key that reads through the private-profile functions: each listed section, each of its listed
// keys and the value it reads as (the default when the name cannot be read back, e.g. one holding a NUL).
struct ProfileEntry {
    std::wstring section;
    std::wstring key;
    std::wstring value;
};
constexpr std::size_t kMaxProfileEntries = 256;
// What ReadProfileValue gives for a key that does not read.
inline constexpr wchar_t kMissingValue[] = L"\x01(missing)";
std::vector<ProfileEntry> ReadProfile(const CString& path);
std::wstring ReadProfileValue(const CString& path, const std::wstring& section, const std::wstring& key);

} // namespace kavrino_fuzz
