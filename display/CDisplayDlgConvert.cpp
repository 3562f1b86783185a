// Frame conversion: the main window's frame buffer into the display's source image (8-bit grey, or
// demosaiced colour for the Bayer formats) and from there into the display image, once per tick.
//
// The work writes straight into the locked bitmaps: one pass over the frame, no large allocation per tick.
#include "CDisplayDlg.h"

#include "CKavrinoDlg.h"
#include "HeldFrame.h"
#include "LockedBitmap.h"
#include "ParallelStripes.h"

#include <opencv2/imgproc.hpp>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstdint>
#include <cstring>

namespace {

// Bytes per pixel of a row padded to a multiple of 4 pixels (the bitmaps of type-2 holders).
int PaddedWidth(int width) {
    return (width + 3) & ~3;
}

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "frame samples are read as little-endian words");

// The sample reduction of the deep formats: shifted right, the low 8 bits kept. The samples are
// little-endian 16-bit words, read whatever the address's alignment; sixteen at a time where the
// processor has SSE2 (every x86-64 one).
void ReduceRow(const BYTE* src, int count, int shift, BYTE* dst) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i lowByte = _mm_set1_epi16(0x00FF);
    const __m128i bits = _mm_cvtsi32_si128(shift);
    for (; x + 16 <= count; x += 16) {
        const BYTE* in = src + 2 * static_cast<std::ptrdiff_t>(x);
        const __m128i a = _mm_and_si128(
            _mm_srl_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), bits), lowByte);
        const __m128i b = _mm_and_si128(
            _mm_srl_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16)), bits), lowByte);
        // Both halves hold values up to 255: the saturating pack keeps them as they are.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), _mm_packus_epi16(a, b));
    }
#endif
    for (; x < count; ++x) {
        std::uint16_t value;
        std::memcpy(&value, src + 2 * static_cast<std::ptrdiff_t>(x), sizeof(value));
        dst[x] = static_cast<BYTE>(value >> shift);
    }
}

// Copies a row that is read again by nobody soon (the source bitmap and the display image are far larger
// than the cache) past the cache where the processor allows: no read of the target's old bytes first.
// StreamFence makes the copies visible in order before the rows are handed on.
void StreamRow(BYTE* dst, const BYTE* src, std::size_t count) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const std::size_t head = (16 - (reinterpret_cast<std::uintptr_t>(dst) & 15)) & 15;
    if (count >= head + 16) {
        std::memcpy(dst, src, head);
        for (i = head; i + 16 <= count; i += 16)
            _mm_stream_si128(reinterpret_cast<__m128i*>(dst + i),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)));
    }
#endif
    std::memcpy(dst + i, src + i, count - i);
}

void StreamFence() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

// Runs rowWork(first, last) over the rows [0, height) in parallel stripes.
template <typename RowWork> void ForRows(int height, const RowWork& rowWork) {
    kavrino::RunInStripes(height, rowWork);
}

} // namespace

BOOL CDisplayDlg::FrameFits(const HeldFrame& frame, int nBytesPerSample) const {
    if (!frame.Data() || m_nWidth <= 0 || m_nHeight <= 0)
        return FALSE;
    // The frame buffer keeps the size it was allocated with at connection, whatever a later connection
    // reports; a frame larger than the buffer would read past it.
    const unsigned long long frameBytes = static_cast<unsigned long long>(m_nWidth) *
                                          static_cast<unsigned long long>(m_nHeight) *
                                          static_cast<unsigned long long>(nBytesPerSample);
    return frameBytes <= frame.Size() ? TRUE : FALSE;
}

void CDisplayDlg::ConvertFrame() {
    if (!m_pMainDlg)
        return;
    const CString& name = m_pMainDlg->m_strPixelFormat;
    if (name == _T("Mono8"))
        ConvertMono8();
    else if (name == _T("Mono10"))
        ConvertMono10();
    else if (name == _T("Mono12"))
        ConvertMono12();
    else if (name == _T("BayerRG8"))
        ConvertBayerRG8();
    else if (name == _T("BayerRG10"))
        ConvertBayerRG10();
    else if (name == _T("BayerRG12"))
        ConvertBayerRG12();
}

void CDisplayDlg::ConvertMono8() {
    ConvertGrey(0);
}
void CDisplayDlg::ConvertMono10() {
    ConvertGrey(2);
}
void CDisplayDlg::ConvertMono12() {
    ConvertGrey(4);
}
void CDisplayDlg::ConvertBayerRG8() {
    ConvertBayer(0);
}
void CDisplayDlg::ConvertBayerRG10() {
    ConvertBayer(2);
}
void CDisplayDlg::ConvertBayerRG12() {
    ConvertBayer(4);
}

// Grey path: the samples into the 8-bit source bitmap row by row (each side advancing by its own row
// length), and the grey rows 1:1 into the 24-bit display image (blue = green = red).
void CDisplayDlg::ConvertGrey(int nShift) {
    // A grey name while the images were made for a Bayer format (or for another size) converts nothing.
    if (!m_pSrcImage || !m_pDispImage || m_pSrcImage->m_nType != 1 || m_pSrcImage->m_nWidth != m_nWidth ||
        m_pSrcImage->m_nHeight != m_nHeight)
        return;
    // The latest frame is held for the conversion: the grab hook publishes the next ones into the other
    // buffers meanwhile, so the picture is one whole frame and the hook never waits for it.
    const HeldFrame held(*m_pMainDlg);
    const int bytesPerSample = nShift ? 2 : 1;
    if (!FrameFits(held, bytesPerSample))
        return;

    const BYTE* frame = held.Data();
    LockedBitmap src(m_pSrcImage->m_pBitmap, 0, 0, m_nWidth, m_nHeight, PixelFormat8bppIndexed);
    LockedBitmap disp(m_pDispImage->m_pBitmap, 0, 0, m_nWidth, m_nHeight, PixelFormat24bppRGB);
    if (!src.Ok() || !disp.Ok())
        return;
    const std::size_t frameRow = static_cast<std::size_t>(m_nWidth) * bytesPerSample;
    const int width = m_nWidth;
    // Each stripe of rows is expanded into the display image while it is still in the cache.
    ForRows(m_nHeight, [&](int first, int last) {
        for (int y = first; y < last; ++y) {
            const BYTE* in = frame + frameRow * y;
            if (nShift)
                ReduceRow(in, width, nShift, src.Row(y));
            else
                std::memcpy(src.Row(y), in, static_cast<std::size_t>(width));
        }
        const cv::Mat grey(last - first, width, CV_8UC1, src.Row(first),
                           static_cast<std::size_t>(src.Stride()));
        cv::Mat colour(last - first, width, CV_8UC3, disp.Row(first),
                       static_cast<std::size_t>(disp.Stride()));
        cv::cvtColor(grey, colour, cv::COLOR_GRAY2BGR);
    });
}

// Bayer path: the reduced mosaic (rows padded with zeros to the bitmap's width) demosaiced by OpenCV
// straight into the locked 24-bit source bitmap, then copied 1:1 into the display image.
void CDisplayDlg::ConvertBayer(int nShift) {
    if (!m_pSrcImage || !m_pDispImage || m_pSrcImage->m_nType != 2 || m_pSrcImage->m_nWidth != m_nWidth ||
        m_pSrcImage->m_nHeight != m_nHeight)
        return;
    const HeldFrame held(*m_pMainDlg); // one whole frame, as in the grey path
    const int bytesPerSample = nShift ? 2 : 1;
    if (!FrameFits(held, bytesPerSample))
        return;

    const int stride = PaddedWidth(m_nWidth);
    const BYTE* frame = held.Data();
    cv::Mat mosaic;
    if (nShift == 0 && stride == m_nWidth) {
        // Rows already have the bitmap's width: the frame itself is the mosaic.
        mosaic =
            cv::Mat(m_nHeight, stride, CV_8UC1, const_cast<BYTE*>(frame), static_cast<std::size_t>(stride));
    } else {
        const std::size_t size = static_cast<std::size_t>(stride) * m_nHeight;
        if (m_vecMosaic.size() != size)
            m_vecMosaic.assign(size, 0); // the padding columns stay 0 from here on
        const std::size_t frameRow = static_cast<std::size_t>(m_nWidth) * bytesPerSample;
        const int width = m_nWidth;
        BYTE* mosaicRows = m_vecMosaic.data();
        ForRows(m_nHeight, [&](int first, int last) {
            for (int y = first; y < last; ++y) {
                BYTE* out = mosaicRows + static_cast<std::size_t>(stride) * y;
                const BYTE* in = frame + frameRow * y;
                if (nShift)
                    ReduceRow(in, width, nShift, out);
                else
                    std::memcpy(out, in, static_cast<std::size_t>(width));
            }
        });
        mosaic = cv::Mat(m_nHeight, stride, CV_8UC1, m_vecMosaic.data(), static_cast<std::size_t>(stride));
    }

    {
        LockedBitmap src(m_pSrcImage->m_pBitmap, 0, 0, stride, m_nHeight, PixelFormat24bppRGB);
        if (!src.Ok() || src.Stride() < 3 * stride)
            return;
        cv::Mat colour(m_nHeight, stride, CV_8UC3, src.Row(0), static_cast<std::size_t>(src.Stride()));
        // OpenCV names the pattern after the block at row 1, column 1: its BayerBG is the camera's
        // BayerRG. The result is blue, green, red per pixel, the bitmap's byte order.
        cv::cvtColor(mosaic, colour, cv::COLOR_BayerBG2BGR);
    }
    CopySourceToDisplay();
}

// The colour source image 1:1 into the display image, past the cache: nothing reads the display image's
// old bytes, and the copy is then bound by the writes alone.
void CDisplayDlg::CopySourceToDisplay() {
    LockedBitmap src(m_pSrcImage->m_pBitmap, 0, 0, m_nWidth, m_nHeight, PixelFormat24bppRGB);
    LockedBitmap disp(m_pDispImage->m_pBitmap, 0, 0, m_nWidth, m_nHeight, PixelFormat24bppRGB);
    if (!src.Ok() || !disp.Ok())
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(m_nWidth) * 3;
    ForRows(m_nHeight, [&](int first, int last) {
        for (int y = first; y < last; ++y)
            StreamRow(disp.Row(y), src.Row(y), rowBytes);
        StreamFence();
    });
}
