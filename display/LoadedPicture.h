#pragma once
// One picture file as the bitmap holders load it: decoded once while any holder shows it. Every holder
// that names the same file (the same full path, while the file keeps its size and time) gets its own
// bitmap over that one decoding, sharing its pixels until the holder writes to them, so a test set whose
// pages all name one picture holds it once.
//
// The decodings held together stay within a budget of pixel memory, so that a test set naming a huge
// picture for every page cannot take all the memory of the station; a decoding and its share of the
// budget are given back when its last holder lets it go.

#include "Platform.h"

#include <memory>
#include <string>

class LoadedPicture {
public:
    // Twenty pages with a 24-bit picture of a 25-megapixel camera each (75 MB apiece) fit with room to
    // spare, as do twenty of 32 bits.
    static constexpr long long kBudgetBytes = 2LL << 30;

    // The picture of the file, shared with the holders that have it or decoded now. Null when the file
    // gives no picture, and null with bOverBudget set when its pixels do not fit into what is left of the
    // budget.
    static std::shared_ptr<const LoadedPicture> Load(const CString& strPath, bool& bOverBudget);
    // Another budget (for tests); returns the one before.
    static long long SetBudget(long long nBytes);
    // The pixel bytes of every decoding held now.
    static long long HeldBytes();

    ~LoadedPicture();
    LoadedPicture(const LoadedPicture&) = delete;
    LoadedPicture& operator=(const LoadedPicture&) = delete;

    // A bitmap of the holder's own over the decoded pixels; the caller owns it.
    Gdiplus::Bitmap* NewBitmap() const;

private:
    LoadedPicture() = default;

    std::unique_ptr<Gdiplus::Bitmap> m_pDecoded; // never written: the holders write only to their clones
    long long m_nBytes = 0;
    std::string m_strKey; // the file's full path
};
