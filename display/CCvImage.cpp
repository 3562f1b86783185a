#include "CCvImage.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const wchar_t* const kNoBitmap = L"생성된 비트맵이 없습니다.";
const wchar_t* const kCannotMake = L"비트맵을 만들 수 없습니다.";

PixelFormat FormatOfType(int type) {
    switch (type) {
    case 1:
        return PixelFormat8bppIndexed;
    case 2:
        return PixelFormat24bppRGB;
    default:
        return PixelFormat32bppRGB;
    }
}

// Locks the whole bitmap in its own format for read and write; false when it cannot be locked.
bool LockWhole(Gdiplus::Bitmap* bitmap, Gdiplus::BitmapData& data) {
    Gdiplus::Rect rect(0, 0, static_cast<INT>(bitmap->GetWidth()), static_cast<INT>(bitmap->GetHeight()));
    return bitmap->LockBits(&rect, 0, bitmap->GetPixelFormat(), &data) == Gdiplus::Ok && data.Stride > 0;
}

BYTE* RowOf(const Gdiplus::BitmapData& data, int y) {
    return static_cast<BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
}

} // namespace

CCvImage::CCvImage() : m_pBitmap(nullptr), m_nWidth(0), m_nHeight(0), m_nType(0) {}

CCvImage::~CCvImage() {
    ReleaseBitmap();
}

void CCvImage::ReleaseBitmap() {
    delete m_pBitmap;
    m_pBitmap = nullptr;
    m_pLoaded.reset();
}

long long CCvImage::SetLoadBudget(long long nBytes) {
    return LoadedPicture::SetBudget(nBytes);
}

int CCvImage::CreateImage(int nWidth, int nHeight, int nType) {
    ReleaseBitmap();
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nType = nType;
    if (nType < 1 || nType > 3) {
        SetErrorText(L"지원하지 않은 컬러 포멧입니다.", L"CreateImage()");
        return 0;
    }
    // Type 2 rows hold exactly three bytes per pixel with no padding.
    const int bitmapWidth = nType == 2 ? (nWidth > 0 ? ((nWidth + 3) / 4) * 4 : nWidth) : nWidth;
    auto* bitmap = new Gdiplus::Bitmap(bitmapWidth, nHeight, FormatOfType(nType));
    if (bitmap->GetLastStatus() != Gdiplus::Ok) {
        delete bitmap;
        SetErrorText(kCannotMake, L"CreateImage()");
        return 0;
    }
    m_pBitmap = bitmap;
    if (nType == 1) {
        const INT size = m_pBitmap->GetPaletteSize();
        auto* palette = static_cast<Gdiplus::ColorPalette*>(std::malloc(static_cast<std::size_t>(size)));
        if (palette && m_pBitmap->GetPalette(palette, size) == Gdiplus::Ok) {
            for (UINT i = 0; i < palette->Count; ++i)
                palette->Entries[i] = Gdiplus::Color::MakeARGB(255, static_cast<BYTE>(i),
                                                               static_cast<BYTE>(i), static_cast<BYTE>(i));
            m_pBitmap->SetPalette(palette);
        }
        std::free(palette);
    }
    ClearImage();
    return 1;
}

int CCvImage::LoadImage(CString strPath) {
    ReleaseBitmap();
    bool bOverBudget = false;
    m_pLoaded = LoadedPicture::Load(strPath, bOverBudget);
    if (!m_pLoaded) {
        // Nothing was decoded, or nothing may be held: an empty holder draws nothing and is not copied from.
        if (bOverBudget)
            SetErrorText(kCannotMake, L"LoadImage()");
        return 0;
    }
    m_pBitmap = m_pLoaded->NewBitmap();
    if (m_pBitmap->GetLastStatus() != Gdiplus::Ok) {
        ReleaseBitmap();
        SetErrorText(kCannotMake, L"LoadImage()");
        return 0;
    }
    int type = 0;
    switch (m_pBitmap->GetPixelFormat()) {
    case PixelFormat24bppRGB:
        type = 2;
        break;
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
        type = 3;
        break;
    case PixelFormat8bppIndexed:
        type = 1;
        break;
    default:
        return 0;
    }
    m_nType = type;
    m_nWidth = static_cast<int>(m_pBitmap->GetWidth());
    m_nHeight = static_cast<int>(m_pBitmap->GetHeight());
    return 1;
}

int CCvImage::SetImage(const BYTE* pSrc, int nWidth, int nHeight) {
    if (!pSrc) {
        SetErrorText(L"pSrc가 없습니다.", L"SetImage()");
        return 0;
    }
    if (nWidth != m_nWidth) {
        SetErrorText(L"Width가 다릅니다.", L"SetImage()");
        return 0;
    }
    if (nHeight != m_nHeight) {
        SetErrorText(L"Height가 다릅니다.", L"SetImage()");
        return 0;
    }
    if (!m_pBitmap) {
        SetErrorText(kNoBitmap, L"SetImage()");
        return 0;
    }
    CopyPixels(pSrc, nWidth, nHeight);
    return 1;
}

void CCvImage::CopyPixels(const BYTE* pSrc, int nWidth, int nHeight) {
    if (!m_pBitmap || !pSrc || nWidth <= 0 || nHeight <= 0)
        return;
    // Never more than the bitmap holds: a loaded picture may be smaller than the stored size.
    const int width = std::min(nWidth, static_cast<int>(m_pBitmap->GetWidth()));
    const int height = std::min(nHeight, static_cast<int>(m_pBitmap->GetHeight()));
    Gdiplus::BitmapData data{};
    if (!LockWhole(m_pBitmap, data))
        return;
    const PixelFormat format = static_cast<PixelFormat>(data.PixelFormat);
    for (int y = 0; y < height; ++y) {
        const BYTE* src = pSrc + static_cast<std::ptrdiff_t>(y) * nWidth;
        BYTE* dst = RowOf(data, y);
        if (format == PixelFormat8bppIndexed) {
            std::memcpy(dst, src, static_cast<std::size_t>(width));
        } else if (format == PixelFormat24bppRGB) {
            for (int x = 0; x < width; ++x, dst += 3)
                dst[0] = dst[1] = dst[2] = src[x];
        } else if (Gdiplus::GetPixelFormatSize(format) == 32) {
            for (int x = 0; x < width; ++x, dst += 4) {
                dst[0] = dst[1] = dst[2] = src[x];
                dst[3] = 0;
            }
        }
    }
    m_pBitmap->UnlockBits(&data);
}

Gdiplus::RectF CCvImage::PictureArea() const {
    const int width = std::min(m_nWidth, static_cast<int>(m_pBitmap->GetWidth()));
    const int height = std::min(m_nHeight, static_cast<int>(m_pBitmap->GetHeight()));
    return Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(std::max(width, 0)),
                          static_cast<Gdiplus::REAL>(std::max(height, 0)));
}

int CCvImage::DrawScaled(Gdiplus::Graphics& graphics, float x, float y, float width, float height) {
    const Gdiplus::RectF area = PictureArea();
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    // The half-pixel shift with nearest-neighbour sampling puts every image pixel on exactly one device
    // pixel (or one block of them when magnified), with no smoothing at the edges.
    const Gdiplus::Status status =
        graphics.DrawImage(m_pBitmap, Gdiplus::RectF(x - 0.5f, y - 0.5f, width + 0.5f, height + 0.5f), 0, 0,
                           area.Width, area.Height, Gdiplus::UnitPixel);
    return status == Gdiplus::Ok ? 1 : 0;
}

int CCvImage::DrawImage(HDC hDC) {
    if (!m_pBitmap) {
        SetErrorText(kNoBitmap, L"DrawImage()");
        return 0;
    }
    Gdiplus::Graphics graphics(hDC);
    const Gdiplus::RectF area = PictureArea();
    return DrawScaled(graphics, 0, 0, area.Width, area.Height);
}

int CCvImage::DrawImage(Gdiplus::Bitmap* pTarget, float x, float y, float fWidth, float fHeight) {
    if (!m_pBitmap) {
        SetErrorText(kNoBitmap, L"DrawImage()");
        return 0;
    }
    if (!pTarget)
        return 0;
    Gdiplus::Graphics graphics(pTarget);
    return DrawScaled(graphics, x, y, fWidth, fHeight);
}

int CCvImage::DrawImage(Gdiplus::Bitmap* pTarget, int x, int y, int nWidth, int nHeight) {
    if (!m_pBitmap) {
        SetErrorText(kNoBitmap, L"DrawImage()");
        return 0;
    }
    if (m_nType != 2 || !pTarget)
        return 0;
    Gdiplus::Rect srcRect(x, y, nWidth, nHeight);
    Gdiplus::Rect dstRect(0, 0, nWidth, nHeight);
    Gdiplus::BitmapData src{};
    Gdiplus::BitmapData dst{};
    // Read only: a loaded picture shares its pixels, and a lock that may write would copy them first.
    if (m_pBitmap->LockBits(&srcRect, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &src) != Gdiplus::Ok)
        return 0;
    if (pTarget->LockBits(&dstRect, 0, PixelFormat24bppRGB, &dst) != Gdiplus::Ok) {
        m_pBitmap->UnlockBits(&src);
        return 0;
    }
    int result = 0;
    if (src.Stride > 0 && dst.Stride > 0) {
        const std::size_t rowBytes = static_cast<std::size_t>(nWidth) * 3;
        for (int row = 0; row < nHeight; ++row)
            std::memcpy(RowOf(dst, row), RowOf(src, row), rowBytes);
        result = 1;
    }
    pTarget->UnlockBits(&dst);
    m_pBitmap->UnlockBits(&src);
    return result;
}

int CCvImage::ReduceInto(CCvImage& target, int nWidth, int nHeight) {
    target.ReleaseBitmap();
    if (!m_pBitmap) {
        SetErrorText(kNoBitmap, L"ReduceInto()");
        return 0;
    }
    const Gdiplus::RectF area = PictureArea();
    const int width = static_cast<int>(area.Width);
    const int height = static_cast<int>(area.Height);
    if (width <= 0 || height <= 0 || nWidth <= 0 || nHeight <= 0 || !target.CreateImage(nWidth, nHeight, 2))
        return 0;
    Gdiplus::Rect srcRect(0, 0, width, height);
    Gdiplus::Rect dstRect(0, 0, nWidth, nHeight);
    Gdiplus::BitmapData src{};
    Gdiplus::BitmapData dst{};
    bool reduced = false;
    // Read only: a loaded picture shares its pixels with the other holders of its file.
    if (m_pBitmap->LockBits(&srcRect, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &src) == Gdiplus::Ok) {
        if (target.m_pBitmap->LockBits(&dstRect, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB, &dst) ==
            Gdiplus::Ok) {
            if (src.Stride > 0 && dst.Stride > 0) {
                try {
                    const cv::Mat from(height, width, CV_8UC3, src.Scan0,
                                       static_cast<std::size_t>(src.Stride));
                    cv::Mat to(nHeight, nWidth, CV_8UC3, dst.Scan0, static_cast<std::size_t>(dst.Stride));
                    cv::resize(from, to, to.size(), 0, 0, cv::INTER_AREA);
                    reduced = to.data == dst.Scan0;
                } catch (const cv::Exception&) {
                    // Out of memory for the reduction's own rows: not reduced.
                }
            }
            target.m_pBitmap->UnlockBits(&dst);
        }
        m_pBitmap->UnlockBits(&src);
    }
    if (!reduced)
        target.ReleaseBitmap();
    return reduced ? 1 : 0;
}

void CCvImage::ClearImage() {
    if (!m_pBitmap)
        return;
    if (m_pLoaded && ClearLoaded())
        return;
    Gdiplus::BitmapData data{};
    if (!LockWhole(m_pBitmap, data))
        return;
    for (UINT y = 0; y < data.Height; ++y)
        std::memset(RowOf(data, static_cast<int>(y)), 0, static_cast<std::size_t>(data.Stride));
    m_pBitmap->UnlockBits(&data);
}

// The pixels of a loaded picture are shared with the other holders of its file: zeroing them in place
// would first copy them all. A new bitmap of the same size, format and palette comes zeroed from the
// system without a copy, and the decoding is let go.
bool CCvImage::ClearLoaded() {
    auto* pCleared =
        new Gdiplus::Bitmap(static_cast<INT>(m_pBitmap->GetWidth()), static_cast<INT>(m_pBitmap->GetHeight()),
                            m_pBitmap->GetPixelFormat());
    if (pCleared->GetLastStatus() != Gdiplus::Ok) {
        delete pCleared;
        return false;
    }
    const INT nPaletteSize = m_pBitmap->GetPaletteSize();
    auto* pPalette = static_cast<Gdiplus::ColorPalette*>(std::malloc(static_cast<std::size_t>(nPaletteSize)));
    if (pPalette && m_pBitmap->GetPalette(pPalette, nPaletteSize) == Gdiplus::Ok && pPalette->Count > 0)
        pCleared->SetPalette(pPalette);
    std::free(pPalette);
    delete m_pBitmap;
    m_pBitmap = pCleared;
    m_pLoaded.reset();
    return true;
}

void CCvImage::SetErrorText(CString strMessage, CString strFunc) {
    m_strError.Empty();
    m_strError.Format(L"%s Func : %s", strMessage.GetString(), strFunc.GetString());
}
