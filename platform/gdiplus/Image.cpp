#include "Image.h"
#include "Bitmap.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace Gdiplus {

Image::~Image() = default;

Image* Image::FromFile(const WCHAR* filename, BOOL useEmbeddedColorManagement) {
    return new Bitmap(filename, useEmbeddedColorManagement);
}

Image* Image::Clone() {
    auto* clone = new Bitmap();
    clone->m_initStatus = clone->ShareFrom(*this);
    clone->SetStatus(clone->m_initStatus);
    SetStatus(clone->m_initStatus);
    return clone;
}

UINT Image::GetWidth() const {
    SetStatus(Usable());
    return static_cast<UINT>(m_width);
}

UINT Image::GetHeight() const {
    SetStatus(Usable());
    return static_cast<UINT>(m_height);
}

PixelFormat Image::GetPixelFormat() const {
    SetStatus(Usable());
    return m_format;
}

ImageType Image::GetType() const {
    return SetStatus(Usable()) == Ok ? ImageTypeBitmap : ImageTypeUnknown;
}

INT Image::GetPaletteSize() const {
    SetStatus(Usable());
    const std::size_t entries = m_palette.empty() ? 0 : m_palette.size() - 1;
    return static_cast<INT>(sizeof(ColorPalette) + entries * sizeof(ARGB));
}

Status Image::GetPalette(ColorPalette* palette, INT size) const {
    if (Usable() != Ok)
        return SetStatus(Usable());
    if (!palette)
        return SetStatus(InvalidParameter);
    const std::size_t needed =
        sizeof(ColorPalette) + (m_palette.empty() ? 0 : m_palette.size() - 1) * sizeof(ARGB);
    if (size < 0 || static_cast<std::size_t>(size) < needed)
        return SetStatus(InsufficientBuffer);
    palette->Flags = m_paletteFlags;
    palette->Count = static_cast<UINT>(m_palette.size());
    // Written through the byte layout: the entries run on past the declared one-element array.
    if (!m_palette.empty())
        std::memcpy(reinterpret_cast<BYTE*>(palette) + offsetof(ColorPalette, Entries), m_palette.data(),
                    m_palette.size() * sizeof(ARGB));
    return SetStatus(Ok);
}

Status Image::SetPalette(const ColorPalette* palette) {
    if (Usable() != Ok)
        return SetStatus(Usable());
    if (!palette || palette->Count == 0 || palette->Count > 256)
        return SetStatus(InvalidParameter);
    if (IsIndexedPixelFormat(m_format) && palette->Count > (1u << GetPixelFormatSize(m_format)))
        return SetStatus(InvalidParameter);
    m_palette.resize(palette->Count);
    std::memcpy(m_palette.data(), reinterpret_cast<const BYTE*>(palette) + offsetof(ColorPalette, Entries),
                palette->Count * sizeof(ARGB));
    m_paletteFlags = palette->Flags;
    return SetStatus(Ok);
}

Status Image::Allocate(int width, int height, PixelFormat format) {
    if (!kavrino::gdip::IsKnownFormat(format) || width <= 0 || height <= 0)
        return InvalidParameter;
    const int stride = kavrino::gdip::RowBytes(format, width);
    if (stride < 0)
        return ValueOverflow;
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    if (bytes / static_cast<std::size_t>(stride) != static_cast<std::size_t>(height))
        return ValueOverflow;
    auto* memory = static_cast<BYTE*>(std::calloc(bytes, 1));
    if (!memory)
        return OutOfMemory;
    m_owned.reset(memory, std::free);
    return Adopt(width, height, stride, format, memory);
}

Status Image::OwnPixels() {
    if (!m_owned || m_owned.use_count() == 1)
        return Ok;
    const std::size_t bytes = static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height);
    auto* memory = static_cast<BYTE*>(std::malloc(bytes));
    if (!memory)
        return OutOfMemory;
    std::memcpy(memory, m_scan0, bytes);
    m_owned.reset(memory, std::free);
    m_scan0 = memory;
    return Ok;
}

Status Image::ShareFrom(const Image& source) {
    if (source.Usable() != Ok)
        return source.Usable();
    if (source.m_owned && !source.m_locked) {
        m_owned = source.m_owned;
        Adopt(source.m_width, source.m_height, source.m_stride, source.m_format, source.m_scan0);
    } else {
        // The caller's memory may go before the clone, and a lock's holder may still be writing.
        const Status status = Allocate(source.m_width, source.m_height, source.m_format);
        if (status != Ok)
            return status;
        std::memcpy(m_scan0, source.m_scan0,
                    static_cast<std::size_t>(m_stride) * static_cast<std::size_t>(m_height));
    }
    m_palette = source.m_palette;
    m_paletteFlags = source.m_paletteFlags;
    return Ok;
}

Status Image::Wrap(int width, int height, int stride, PixelFormat format, BYTE* scan0) {
    if (!kavrino::gdip::IsKnownFormat(format) || width <= 0 || height <= 0)
        return InvalidParameter;
    const int rowBytes = kavrino::gdip::RowBytes(format, width);
    if (rowBytes < 0)
        return ValueOverflow;
    if (stride < rowBytes || stride % 4 != 0)
        return InvalidParameter;
    return Adopt(width, height, stride, format, scan0);
}

Status Image::Adopt(int width, int height, int stride, PixelFormat format, BYTE* scan0) {
    m_scan0 = scan0;
    m_stride = stride;
    m_width = width;
    m_height = height;
    m_format = format;
    m_palette = kavrino::gdip::DefaultPalette(format);
    m_paletteFlags = IsIndexedPixelFormat(format) ? PaletteFlagsHalftone : 0;
    return Ok;
}

kavrino::gdip::PixelView Image::View() const {
    kavrino::gdip::PixelView view;
    view.scan0 = m_scan0;
    view.stride = m_stride;
    view.width = m_width;
    view.height = m_height;
    view.format = m_format;
    view.palette = m_palette.data();
    view.paletteCount = static_cast<int>(m_palette.size());
    return view;
}

} // namespace Gdiplus
