#include "FuzzSupport.h"

#include "DialogTemplate.h"
#include "Profile.h"
#include "SanitizerDefaults.h"
#include "StringConv.h"
#include "TestHooks.h"
#include "UiThread.h"

#include <QApplication>
#include <QEventLoop>
#include <QHash>
#include <opencv2/core/utility.hpp>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kavrino_fuzz {

namespace {

std::string& Scratch() {
    static std::string folder;
    return folder;
}

void RemoveScratch() {
    std::error_code error;
    if (!Scratch().empty())
        std::filesystem::remove_all(Scratch(), error);
}

// Lists of names, each zero-terminated, ended by one more zero.
std::vector<std::wstring> SplitList(const std::vector<wchar_t>& buffer) {
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < buffer.size() && buffer[i] != L'\0';) {
        std::wstring name(&buffer[i]);
        i += name.size() + 1;
        names.push_back(std::move(name));
    }
    return names;
}

// Larger than any value or list of the inputs the targets are run with.
constexpr DWORD kBufferSize = 1 << 16;

// Whether the run lets no timer fire while an input settles (KAVRINO_FUZZ_NO_TIMERS=1, as a bounded
// run has it): which timers fall due then depends on how long the run has taken so far, not on the
// inputs. Qt's pixmap cache, for one, trims itself thirty seconds after the styles first drew into it and
// every ten to thirty seconds from then on; a run that lasts that long (a busy or a slow machine) gives
// the input settling at that moment other paths to take. Long runs keep the timers.
bool& TimersStopped() {
    static bool stopped = false;
    return stopped;
}

std::vector<wchar_t>& Buffer() {
    static std::vector<wchar_t> buffer(kBufferSize);
    return buffer;
}

std::vector<std::wstring> ReadList(const CString& path, const wchar_t* section) {
    GetPrivateProfileString(section, nullptr, L"", Buffer().data(), kBufferSize, path);
    return SplitList(Buffer());
}

} // namespace

std::string ScratchFolder() {
    return Scratch();
}

std::string ScratchPath(const char* name) {
    return Scratch() + "/" + name;
}

CString WidePath(const std::string& path) {
    return CString(kavrino::Utf8ToWide(path).c_str());
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        Fail("cannot write the scratch file", path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    return names;
}

void Settle() {
    for (int i = 0; i < 3; ++i) {
        if (!TimersStopped()) {
            kavrino::ProcessUiEvents();
            continue;
        }
        // As ProcessUiEvents, but for the timers.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::X11ExcludeTimers);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "FUZZ FINDING: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    std::fflush(stderr);
    std::abort();
}

std::vector<ProfileEntry> ReadProfile(const CString& path) {
    std::vector<ProfileEntry> entries;
    for (const std::wstring& section : ReadList(path, nullptr)) {
        for (const std::wstring& key : ReadList(path, section.c_str())) {
            if (entries.size() == kMaxProfileEntries)
                return entries;
            entries.push_back({section, key, ReadProfileValue(path, section, key)});
        }
    }
    return entries;
}

std::wstring ReadProfileValue(const CString& path, const std::wstring& section, const std::wstring& key) {
    GetPrivateProfileString(section.c_str(), key.c_str(), kMissingValue, Buffer().data(), kBufferSize, path);
    return std::wstring(Buffer().data());
}

} // namespace kavrino_fuzz

using namespace kavrino_fuzz;

// The clock the private-profile reads judge a file's age by: the files the targets hand the program are
// always new, and the time of day must not choose the path a run takes.
std::int64_t NoTime() {
    return 0;
}

// One headless application for the whole run, as the program has; only the program's name is handed to
// Qt, the fuzzer's own options stay the fuzzer's.
//
// A run with the same seed takes the same path every time and on every machine (scripts/fuzz relies on
// it): nothing it does may depend on the time, on chance or on where it runs. Qt's hash tables are seeded
// with 0 (QT_HASH_SEED=0 in the environment also covers those made before this), the profile reads keep
// no clock, no timer fires while an input settles (KAVRINO_FUZZ_NO_TIMERS=1), OpenCV's work runs on this
// thread alone (its pool would cut work into as many stripes as the machine has cores), and the scratch
// folder is the one KAVRINO_FUZZ_SCRATCH names (an empty folder the caller made, of the same name on
// every machine) instead of one of a random name.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static int qtArgc = 1;
    static char* qtArgv[] = {*argc > 0 ? (*argv)[0] : const_cast<char*>("fuzz"), nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qSetGlobalQHashSeed(0);
    static QApplication* app = new QApplication(qtArgc, qtArgv);
    (void)app;
    std::setlocale(LC_NUMERIC, "C");
    kavrino::RegisterResources();
    kavrino::SetMessageBoxHandler([](const CString&, const CString&, UINT) { return IDOK; });
    kavrino::SetFileDialogHandler([](kavrino::FileDialogRequest&) { return false; });
    kavrino::SetProfileClock(&NoTime);
    cv::setNumThreads(0);
    if (const char* noTimers = std::getenv("KAVRINO_FUZZ_NO_TIMERS"))
        TimersStopped() = std::string(noTimers) == "1";

    std::error_code error;
    if (const char* given = std::getenv("KAVRINO_FUZZ_SCRATCH"); given && *given) {
        if (!std::filesystem::is_directory(given, error) ||
            std::filesystem::directory_iterator(given, error) != std::filesystem::directory_iterator())
            Fail("KAVRINO_FUZZ_SCRATCH is not an empty folder", given);
        Scratch() = given;
    } else {
        // In memory where there is such a folder: every profile write syncs its file and folder to disk.
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        std::string folder = (base / "kavrino-fuzz-XXXXXX").string();
        if (!mkdtemp(folder.data()))
            Fail("cannot make the scratch folder", folder);
        Scratch() = folder;
    }
    std::atexit(RemoveScratch);
    return 0;
}
