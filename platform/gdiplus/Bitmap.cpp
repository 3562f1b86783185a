#include "Bitmap.h"
#include "ImageFile.h"
#include "PaletteMatcher.h"

#include <QString>
#include <cstring>
#include <new>
#include <vector>

namespace Gdiplus {

using kavrino::gdip::PixelView;

struct Bitmap::LockState {
    Rect rect;
    UINT flags = 0;
    PixelFormat format = PixelFormatUndefined;
    BYTE* scan0 = nullptr; // what the caller was given
    int stride = 0;
    bool copied = false;             // converted or user buffer: write back on unlock
    bool grey = false;               // the 8-bit grey view of a colour bitmap
    const BYTE* handedOut = nullptr; // grey view read and written: the samples as handed out
    UINT_PTR number = 0;             // the lock's number, handed out in BitmapData::Reserved

    // Memory kept from one lock to the next: the copy of a lock in another format, and a row of pixels.
    std::unique_ptr<BYTE[]> converted;
    std::size_t convertedSize = 0;
    std::vector<ARGB> row;

    // Zeroed memory for a converted copy of this many bytes; null when there is none to be had.
    BYTE* Converted(std::size_t bytes) {
        if (convertedSize < bytes) {
            converted.reset(new (std::nothrow) BYTE[bytes]);
            convertedSize = converted ? bytes : 0;
        }
        if (converted)
            std::memset(converted.get(), 0, bytes);
        return converted.get();
    }
    ARGB* Row(int width) {
        if (row.size() < static_cast<std::size_t>(width))
            row.resize(static_cast<std::size_t>(width));
        return row.data();
    }
};

namespace {

// Colour formats whose 8-bit indexed lock is a view of grey levels.
bool HasGreyView(PixelFormat format) {
    return format == PixelFormat24bppRGB || format == PixelFormat32bppRGB || format == PixelFormat32bppARGB ||
           format == PixelFormat32bppPARGB;
}

} // namespace

Bitmap::Bitmap(INT width, INT height, PixelFormat format) {
    m_initStatus = Allocate(width, height, format);
    SetStatus(m_initStatus);
}

Bitmap::Bitmap(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0) {
    m_initStatus = scan0 ? Wrap(width, height, stride, format, scan0) : Allocate(width, height, format);
    SetStatus(m_initStatus);
}

Bitmap::Bitmap(const WCHAR* filename, BOOL) {
    if (!filename || !*filename) {
        m_initStatus = InvalidParameter;
        SetStatus(m_initStatus);
        return;
    }
    kavrino::gdip::DecodedImage decoded;
    Status status = kavrino::gdip::DecodeImageFile(QString::fromWCharArray(filename), decoded);
    if (status == Ok)
        status = Allocate(decoded.image.width(), decoded.image.height(), decoded.format);
    if (status == Ok) {
        kavrino::gdip::CopyDecoded(decoded, View(), m_palette);
        if (IsIndexedPixelFormat(m_format))
            m_paletteFlags = 0;
    }
    m_initStatus = status;
    SetStatus(status);
}

Bitmap::Bitmap() = default;

Bitmap::~Bitmap() = default;

Bitmap* Bitmap::FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement) {
    return new Bitmap(filename, useEmbeddedColorManagement);
}

Status Bitmap::LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* lockedData) {
    if (Usable() != Ok)
        return SetStatus(Usable());
    if (!lockedData || !kavrino::gdip::IsKnownFormat(format))
        return SetStatus(InvalidParameter);
    if (m_locked)
        return SetStatus(WrongState);
    const Rect area = rect ? *rect : Rect(0, 0, m_width, m_height);
    if (area.X < 0 || area.Y < 0 || area.Width <= 0 || area.Height <= 0 || area.Width > m_width - area.X ||
        area.Height > m_height - area.Y)
        return SetStatus(InvalidParameter);
    if ((flags & (ImageLockModeRead | ImageLockModeWrite)) == 0)
        flags |= ImageLockModeRead | ImageLockModeWrite;
    if (flags & ImageLockModeWrite) {
        const Status owned = OwnPixels();
        if (owned != Ok)
            return SetStatus(owned);
    }
    const bool grey = format == PixelFormat8bppIndexed && HasGreyView(m_format);
    if (IsIndexedPixelFormat(format) && format != m_format && !grey)
        return SetStatus(InvalidParameter);

    std::unique_ptr<LockState> lock = m_spareLock ? std::move(m_spareLock) : std::make_unique<LockState>();
    lock->number = ++m_lockCount;
    lock->copied = false;
    lock->grey = false;
    lock->handedOut = nullptr;
    lock->rect = area;
    lock->flags = flags;
    lock->format = format;
    const UINT bits = GetPixelFormatSize(format);
    const bool byteAligned = (static_cast<long long>(area.X) * bits) % 8 == 0;
    const bool userBuffer = (flags & ImageLockModeUserInputBuf) != 0;

    if (format == m_format && byteAligned && !userBuffer) {
        lock->scan0 = m_scan0 + static_cast<std::ptrdiff_t>(area.Y) * m_stride + area.X * bits / 8;
        lock->stride = m_stride;
    } else {
        if (userBuffer) {
            const int rowBytes = kavrino::gdip::RowBytes(format, area.Width);
            if (!lockedData->Scan0 || lockedData->Stride < rowBytes)
                return SetStatus(InvalidParameter);
            lock->scan0 = static_cast<BYTE*>(lockedData->Scan0);
            lock->stride = lockedData->Stride;
        } else if (grey) {
            // Reused from lock to lock: the display measures through this view on every tick.
            const int stride = kavrino::gdip::RowBytes(format, area.Width);
            const std::size_t bytes = static_cast<std::size_t>(stride) * area.Height;
            try {
                if (m_greyView.size() < 2 * bytes)
                    m_greyView.resize(2 * bytes);
            } catch (const std::bad_alloc&) {
                return SetStatus(OutOfMemory);
            }
            lock->scan0 = m_greyView.data();
            lock->stride = stride;
        } else {
            const int stride = kavrino::gdip::RowBytes(format, area.Width);
            BYTE* memory = lock->Converted(static_cast<std::size_t>(stride) * area.Height);
            if (!memory)
                return SetStatus(OutOfMemory);
            lock->scan0 = memory;
            lock->stride = stride;
        }
        lock->copied = true;
        lock->grey = grey;
        if (grey && (flags & ImageLockModeRead)) {
            const PixelView from = View();
            for (int y = 0; y < area.Height; ++y)
                kavrino::gdip::ReadGreyRow(from, area.X, area.Y + y, area.Width,
                                           lock->scan0 + static_cast<std::ptrdiff_t>(y) * lock->stride);
            if ((flags & ImageLockModeWrite) && !userBuffer) {
                // Unlock writes back only what the caller changed: an untouched colour stays colour.
                const std::size_t bytes = static_cast<std::size_t>(lock->stride) * area.Height;
                std::memcpy(m_greyView.data() + bytes, lock->scan0, bytes);
                lock->handedOut = m_greyView.data() + bytes;
            }
        } else if (flags & ImageLockModeRead) {
            PixelView from = View();
            PixelView to{lock->scan0,
                         lock->stride,
                         area.Width,
                         area.Height,
                         format,
                         m_palette.data(),
                         static_cast<int>(m_palette.size())};
            ARGB* row = lock->Row(area.Width);
            kavrino::gdip::PaletteMatcher matcher(m_palette.data(), static_cast<int>(m_palette.size()));
            for (int y = 0; y < area.Height; ++y) {
                kavrino::gdip::ReadRow(from, area.X, area.Y + y, area.Width, row);
                kavrino::gdip::WriteRow(to, 0, y, area.Width, row, &matcher);
            }
        }
    }

    lockedData->Width = static_cast<UINT>(area.Width);
    lockedData->Height = static_cast<UINT>(area.Height);
    lockedData->Stride = lock->stride;
    lockedData->PixelFormat = format;
    lockedData->Scan0 = lock->scan0;
    lockedData->Reserved = lock->number;
    m_lock = std::move(lock);
    m_locked = true;
    return SetStatus(Ok);
}

Status Bitmap::UnlockBits(BitmapData* lockedData) {
    if (Usable() != Ok)
        return SetStatus(Usable());
    if (!m_locked)
        return SetStatus(WrongState);
    if (!lockedData || lockedData->Reserved != m_lock->number)
        return SetStatus(InvalidParameter);
    LockState& lock = *m_lock;
    if (lock.grey && (lock.flags & ImageLockModeWrite)) {
        const Rect& area = lock.rect;
        const PixelView to = View();
        for (int y = 0; y < area.Height; ++y) {
            const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y) * lock.stride;
            for (int x = 0; x < area.Width; ++x) {
                const BYTE level = lock.scan0[row + x];
                if (lock.handedOut && lock.handedOut[row + x] == level)
                    continue;
                const ARGB pixel = 0xFF000000u | (ARGB(level) << 16) | (ARGB(level) << 8) | level;
                kavrino::gdip::WriteRow(to, area.X + x, area.Y + y, 1, &pixel, nullptr);
            }
        }
    } else if (lock.copied && (lock.flags & ImageLockModeWrite)) {
        const Rect& area = lock.rect;
        PixelView from{lock.scan0,
                       lock.stride,
                       area.Width,
                       area.Height,
                       lock.format,
                       m_palette.data(),
                       static_cast<int>(m_palette.size())};
        PixelView to = View();
        ARGB* row = lock.Row(area.Width);
        kavrino::gdip::PaletteMatcher matcher(m_palette.data(), static_cast<int>(m_palette.size()));
        for (int y = 0; y < area.Height; ++y) {
            kavrino::gdip::ReadRow(from, 0, y, area.Width, row);
            kavrino::gdip::WriteRow(to, area.X, area.Y + y, area.Width, row, &matcher);
        }
    }
    m_spareLock = std::move(m_lock);
    m_locked = false;
    lockedData->Reserved = 0;
    return SetStatus(Ok);
}

Status Bitmap::GetPixel(INT x, INT y, Color* color) {
    if (Usable() != Ok)
        return SetStatus(Usable());
    if (!color || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return SetStatus(InvalidParameter);
    if (m_locked)
        return SetStatus(WrongState);
    ARGB value = 0;
    kavrino::gdip::ReadRow(View(), x, y, 1, &value);
    color->SetValue(value);
    return SetStatus(Ok);
}

Status Bitmap::SetPixel(INT x, INT y, const Color& color) {
    if (Usable() != Ok)
        return SetStatus(Usable());
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || IsIndexedPixelFormat(m_format))
        return SetStatus(InvalidParameter);
    if (m_locked)
        return SetStatus(WrongState);
    const Status owned = OwnPixels();
    if (owned != Ok)
        return SetStatus(owned);
    const ARGB value = color.GetValue();
    kavrino::gdip::WriteRow(View(), x, y, 1, &value, nullptr);
    return SetStatus(Ok);
}

} // namespace Gdiplus
