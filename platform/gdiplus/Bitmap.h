#pragma once
// A bitmap in memory: made empty in a pixel format, over the caller's memory, or decoded from a file.
// Its pixels are reached with LockBits/UnlockBits; a lock in the bitmap's own format hands out the
// bitmap's memory itself, a lock in another format a converted copy that is written back on unlock when
// the lock allows writing. A 24- or 32-bit colour bitmap locked as 8-bit indexed gives its grey levels
// (the luma of each pixel); a sample the caller changed goes back as a grey pixel, the others stay as
// they were.

#include "Image.h"

#include <memory>
#include <vector>

namespace Gdiplus {

class Bitmap : public Image {
public:
    Bitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);
    // Over the caller's memory, which must outlive the bitmap; a null scan0 gives memory of its own.
    Bitmap(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0);
    // Decodes a picture file (BMP, PNG, JPEG ...). A file that cannot be read or decoded gives a bitmap
    // whose GetLastStatus() is not Ok, with pixel format 0 and size 0 x 0.
    explicit Bitmap(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);
    ~Bitmap() override;

    static Bitmap* FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement = FALSE);

    // flags: ImageLockModeRead, ImageLockModeWrite, ImageLockModeUserInputBuf; 0 means read and write.
    // A null rect locks the whole bitmap.
    Status LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* lockedData);
    Status UnlockBits(BitmapData* lockedData);

    Status GetPixel(INT x, INT y, Color* color);
    Status SetPixel(INT x, INT y, const Color& color);

private:
    friend class Image; // its clones are bitmaps
    Bitmap();

    struct LockState;
    std::unique_ptr<LockState> m_lock;
    // The grey view's samples and, behind them, the samples as handed out; kept from lock to lock.
    std::vector<BYTE> m_greyView;
    // The state of the last lock, kept for the next one: a lock in the bitmap's own format allocates
    // nothing. Each lock has its own number, which its BitmapData carries.
    std::unique_ptr<LockState> m_spareLock;
    UINT_PTR m_lockCount = 0;
};

} // namespace Gdiplus
