#pragma once
// The system's one picture type: a GDI+ bitmap with its width, height and type, created empty, loaded
// from a bitmap file or filled from 8-bit samples, and drawn into a device context or another holder's
// bitmap. A failing operation returns 0 and leaves a text in m_strError; nothing is shown.
//
// Types: 1 = 8-bit grey (indexed, grey palette, rows padded to 4 bytes), 2 = 24-bit colour (a created
// bitmap is m_nWidth rounded up to a multiple of 4 pixels wide), 3 = 32-bit colour.

#include "LoadedPicture.h"
#include "Platform.h"

#include <memory>

class CCvImage {
public:
    CCvImage();
    virtual ~CCvImage();
    CCvImage(const CCvImage&) = delete;
    CCvImage& operator=(const CCvImage&) = delete;

    // 1, or 0 for a type other than 1, 2, 3 or a bitmap that cannot be made (size not positive, out of
    // memory); the holder then has no bitmap.
    int CreateImage(int nWidth, int nHeight, int nType);
    // 1 for an 8-bit indexed, 24-bit or 32-bit (RGB or ARGB) file. 0 for any other pixel format, keeping
    // width, height and type (the bitmap stays loaded), and 0 for a file that cannot be read or decoded,
    // which leaves the holder without a bitmap.
    // Holders that load the same file share one decoding of it (LoadedPicture); the decodings held
    // together stay within kLoadBudgetBytes of pixels, since every page keeps its own reference picture
    // and a test set may name a huge one for each. A picture that would pass the budget is refused like a
    // file that cannot be decoded, with an error text.
    int LoadImage(CString strPath);
    static constexpr long long kLoadBudgetBytes = LoadedPicture::kBudgetBytes;
    // Another budget (for tests); returns the one before.
    static long long SetLoadBudget(long long nBytes);
    int SetImage(const BYTE* pSrc, int nWidth, int nHeight);
    // The image 1:1 at the context's origin.
    int DrawImage(HDC hDC);
    // The image scaled into (x, y, width, height) of the target, nearest neighbour: whole multiples of
    // the size give square blocks of equal pixels.
    int DrawImage(Gdiplus::Bitmap* pTarget, float x, float y, float fWidth, float fHeight);
    // Region copy: the rectangle (x, y, width, height) of this type-2 image byte for byte to the
    // target's top-left corner, the target locked as 24-bit. Both rectangles must lie inside.
    int DrawImage(Gdiplus::Bitmap* pTarget, int x, int y, int nWidth, int nHeight);
    // Makes the target a type-2 image of nWidth x nHeight that holds this whole picture reduced: each of
    // its pixels is the mean of the picture's pixels it covers. For drawing a large picture into a small
    // frame; 1, or 0 (the target then has no bitmap) when there is no picture or it cannot be read.
    int ReduceInto(CCvImage& target, int nWidth, int nHeight);
    // On a loaded picture the holder takes a new bitmap of zeroed pixels and lets the shared decoding go.
    void ClearImage();
    void SetErrorText(CString strMessage, CString strFunc);
    void CopyPixels(const BYTE* pSrc, int nWidth, int nHeight);

    CString m_strError;
    Gdiplus::Bitmap* m_pBitmap;
    int m_nWidth;
    int m_nHeight;
    int m_nType;

private:
    // Deletes the bitmap and lets go of the decoding it was loaded from.
    void ReleaseBitmap();
    // The decoding whose pixels a loaded bitmap shares; null for a created one.
    std::shared_ptr<const LoadedPicture> m_pLoaded;
    // ClearImage on a loaded picture; false when no bitmap of its own can be made.
    bool ClearLoaded();
    // The part of the bitmap that holds the picture: m_nWidth x m_nHeight, within the bitmap.
    Gdiplus::RectF PictureArea() const;
    int DrawScaled(Gdiplus::Graphics& graphics, float x, float y, float width, float height);
};
