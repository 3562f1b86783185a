#include "LoadedPicture.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// What tells one content of a file from the next: a file written since its decoding is decoded anew.
struct FileStamp {
    std::uintmax_t size = 0;
    fs::file_time_type time{};
    bool operator==(const FileStamp& other) const { return size == other.size && time == other.time; }
};

struct Decoding {
    std::weak_ptr<const LoadedPicture> picture;
    FileStamp stamp;
};

// The decodings by the files' full paths, and the budget; kept for the whole program (holders may be
// destroyed late at exit).
struct Registry {
    std::mutex mutex;
    std::map<std::string, Decoding> decodings;
    long long nHeld = 0;
    long long nBudget = LoadedPicture::kBudgetBytes;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

// The file's full path, with links and "." and ".." resolved, and its stamp; false when the file cannot
// be looked at (it is then decoded for every holder, or found unreadable).
bool Identify(const CString& strPath, std::string& strKey, FileStamp& stamp) {
    std::error_code error;
    const fs::path path = fs::canonical(fs::u8path(kavrino::WideToUtf8(strPath.GetString())), error);
    if (error)
        return false;
    stamp.size = fs::file_size(path, error);
    if (error)
        return false;
    stamp.time = fs::last_write_time(path, error);
    if (error)
        return false;
    strKey = path.string();
    return true;
}

} // namespace

std::shared_ptr<const LoadedPicture> LoadedPicture::Load(const CString& strPath, bool& bOverBudget) {
    bOverBudget = false;
    std::string strKey;
    FileStamp stamp;
    const bool bKnown = Identify(strPath, strKey, stamp);
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    if (bKnown) {
        const auto found = registry.decodings.find(strKey);
        if (found != registry.decodings.end() && found->second.stamp == stamp) {
            if (std::shared_ptr<const LoadedPicture> shared = found->second.picture.lock())
                return shared;
        }
    }

    auto pDecoded = std::make_unique<Gdiplus::Bitmap>(strPath.GetString());
    if (pDecoded->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    const long long nBytes = static_cast<long long>(pDecoded->GetWidth()) * pDecoded->GetHeight() *
                             Gdiplus::GetPixelFormatSize(pDecoded->GetPixelFormat()) / 8;
    if (nBytes > registry.nBudget - registry.nHeld) {
        bOverBudget = true;
        return nullptr;
    }
    std::shared_ptr<LoadedPicture> picture(new LoadedPicture);
    picture->m_pDecoded = std::move(pDecoded);
    picture->m_nBytes = nBytes;
    registry.nHeld += nBytes;
    if (bKnown) {
        picture->m_strKey = strKey;
        registry.decodings[strKey] = Decoding{picture, stamp};
    }
    return picture;
}

LoadedPicture::~LoadedPicture() {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.nHeld -= m_nBytes;
    if (m_strKey.empty())
        return;
    // A newer decoding of the file, written since, may have taken the place meanwhile.
    const auto found = registry.decodings.find(m_strKey);
    if (found != registry.decodings.end() && found->second.picture.expired())
        registry.decodings.erase(found);
}

long long LoadedPicture::SetBudget(long long nBytes) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    const long long nBefore = registry.nBudget;
    registry.nBudget = nBytes;
    return nBefore;
}

long long LoadedPicture::HeldBytes() {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.nHeld;
}

Gdiplus::Bitmap* LoadedPicture::NewBitmap() const {
    // The clone reads the decoding and records its status there: one holder at a time.
    std::lock_guard<std::mutex> lock(TheRegistry().mutex);
    return static_cast<Gdiplus::Bitmap*>(m_pDecoded->Clone());
}
