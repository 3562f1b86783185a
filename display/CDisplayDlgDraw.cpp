// One display tick: the converted frame, the frame-rate text, the overlay the mode flags ask for, the
// view copy, the magnified edge boxes and the painting into the window.
#include "CDisplayDlg.h"

#include "AlignParameters.h"
#include "CClientDC.h"
#include "CKavrinoDlg.h"
#include "DisplayTools.h"
#include "LockedBitmap.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <cwchar>
#include <iterator>

namespace {

// The frame lock of the main window, held only while the frame buffer is read.
class FrameLock {
public:
    explicit FrameLock(CMyCriticalSection& cs) : m_cs(cs) { m_cs.Lock(); }
    ~FrameLock() { m_cs.Unlock(); }
    FrameLock(const FrameLock&) = delete;
    FrameLock& operator=(const FrameLock&) = delete;

private:
    CMyCriticalSection& m_cs;
};

// A graphics object on the holder's bitmap, kept while the bitmap stays the same.
Gdiplus::Graphics* KeptGraphics(CCvImage* image, std::unique_ptr<Gdiplus::Graphics>& graphics,
                                Gdiplus::Bitmap*& bitmap) {
    if (!image || !image->m_pBitmap) {
        graphics.reset();
        bitmap = nullptr;
        return nullptr;
    }
    if (!graphics || bitmap != image->m_pBitmap) {
        graphics = std::make_unique<Gdiplus::Graphics>(image->m_pBitmap);
        bitmap = image->m_pBitmap;
    }
    return graphics.get();
}

} // namespace

Gdiplus::Graphics* CDisplayDlg::DisplayGraphics() {
    return KeptGraphics(m_pDispImage, m_pDispGraphics, m_pDispGraphicsBitmap);
}

Gdiplus::Graphics* CDisplayDlg::ViewGraphics() {
    return KeptGraphics(m_pViewImage, m_pViewGraphics, m_pViewGraphicsBitmap);
}

void CDisplayDlg::ReleaseGraphics() {
    m_pDispGraphics.reset();
    m_pDispGraphicsBitmap = nullptr;
    m_pViewGraphics.reset();
    m_pViewGraphicsBitmap = nullptr;
}

DisplayTools& CDisplayDlg::Tools() {
    if (!m_pTools)
        m_pTools = std::make_unique<DisplayTools>();
    return *m_pTools;
}

void CDisplayDlg::FormatText(const wchar_t* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    const int n = std::vswprintf(m_szText, std::size(m_szText), pszFormat, args);
    va_end(args);
    // A text longer than the buffer is cut.
    if (n < 0)
        m_szText[std::size(m_szText) - 1] = L'\0';
}

CPoint CDisplayDlg::ToleranceCentre() const {
    if (m_bUseClickCenter)
        return CPoint(m_nScrollX + m_ptClick.x, m_nScrollY + m_ptClick.y);
    return CPoint(g_nAlignCenterX, g_nAlignCenterY);
}

void CDisplayDlg::DrawFrame() {
    if (!m_pMainDlg || m_pMainDlg->m_bNewFrame != 1 || !m_pMainDlg->m_pFrameBuf)
        return;
    if (!m_pDispImage || !m_pDispImage->m_pBitmap)
        return;
    {
        // The grab hook holds the same lock while it copies a frame in, so a tick shows one whole frame.
        FrameLock lock(m_pMainDlg->m_csFrame);
        ConvertFrame();
    }

    // Everything drawn on the display image is finished before the view copy reads it.
    if (Gdiplus::Graphics* graphics = DisplayGraphics()) {
        DisplayTools& tools = Tools();
        FormatText(L"프레임레이트: %.2f\r\n픽셀포맷: %ls", m_pMainDlg->m_dFrameRate,
                   m_pMainDlg->m_strPixelFormat.GetString());
        graphics->DrawString(m_szText, -1, &tools.font,
                             Gdiplus::PointF(static_cast<float>(m_nScrollX), static_cast<float>(m_nScrollY)),
                             &tools.frameRateText);

        if (m_bShowAlign)
            DrawAlignOverlay(*graphics);
        else if (m_bBrightMode)
            MeasureBrightWindows();
        else if (m_bCenterMode)
            MeasureCentreWindow();
    }

    if (!m_bShowAlign && !m_bBrightMode && !m_bCenterMode) {
        PaintDisplayImage();
        return;
    }
    // A failing view copy ends the tick without painting.
    if (!CopyView())
        return;
    if (m_bShowAlign && m_bShowEdgeBoxes)
        DrawEdgeBoxes();
    PaintView();
}

void CDisplayDlg::DrawAlignOverlay(Gdiplus::Graphics& graphics) {
    const int W = m_nWidth;
    const int H = m_nHeight;
    DisplayTools& tools = Tools();
    graphics.DrawLine(&tools.centreCross, g_nAlignCenterX, 0, g_nAlignCenterX, H);
    graphics.DrawLine(&tools.centreCross, 0, g_nAlignCenterY, W, g_nAlignCenterY);

    if (m_bUseClickCenter)
        DrawClickCross();
    const CPoint c = ToleranceCentre();
    const int tx = g_nAlignThresholdX;
    const int ty = g_nAlignThresholdY;

    const Gdiplus::Pen* blue = &tools.toleranceSegment;
    graphics.DrawLine(blue, c.x - tx, 0, c.x - tx, g_nAlignTop);
    graphics.DrawLine(blue, c.x + tx, 0, c.x + tx, g_nAlignTop);
    graphics.DrawLine(blue, c.x - tx, H - g_nAlignBottom, c.x - tx, H);
    graphics.DrawLine(blue, c.x + tx, H - g_nAlignBottom, c.x + tx, H);
    graphics.DrawLine(blue, 0, c.y - ty, g_nAlignLeft, c.y - ty);
    graphics.DrawLine(blue, 0, c.y + ty, g_nAlignLeft, c.y + ty);
    graphics.DrawLine(blue, W - g_nAlignRight, c.y - ty, W, c.y - ty);
    graphics.DrawLine(blue, W - g_nAlignRight, c.y + ty, W, c.y + ty);
}

void CDisplayDlg::DrawClickCross() {
    if (!m_pDispImage || !m_pDispImage->m_pBitmap)
        return;
    // The lines of a one-pixel cyan dash-dot pen (three pixels on, one off, one on, one off, from the
    // line's start), written in one pass each: a dashed pen would make its pattern anew for every line.
    constexpr BYTE kCyan[3] = {255, 255, 0};
    auto onDash = [](int k) { return k % 6 != 3 && k % 6 != 5; };
    const int width = m_pDispImage->m_nWidth;
    const int height = m_pDispImage->m_nHeight;
    const int px = m_nScrollX + m_ptClick.x;
    const int py = m_nScrollY + m_ptClick.y;
    if (py >= 0 && py < height) {
        LockedBitmap row(m_pDispImage->m_pBitmap, 0, py, width, 1, PixelFormat24bppRGB);
        for (int x = 0; row.Ok() && x < width; ++x)
            if (onDash(x))
                std::memcpy(row.Row(0) + 3 * static_cast<std::ptrdiff_t>(x), kCyan, sizeof(kCyan));
    }
    if (px >= 0 && px < width) {
        LockedBitmap column(m_pDispImage->m_pBitmap, px, 0, 1, height, PixelFormat24bppRGB);
        for (int y = 0; column.Ok() && y < height; ++y)
            if (onDash(y))
                std::memcpy(column.Row(y), kCyan, sizeof(kCyan));
    }
}

BOOL CDisplayDlg::GetEdgeBoxSource(int nBox, int cx, int cy, CRect& rcSource) const {
    const int W = m_nWidth;
    const int H = m_nHeight;
    const int W1 = g_nEdgeBoxSize[0];
    const int H1 = g_nEdgeBoxSize[1];
    const int W2 = g_nEdgeBoxSize[2];
    const int H2 = g_nEdgeBoxSize[3];
    if (W <= 0 || H <= 0 || nBox < 0 || nBox > 3)
        return FALSE;
    const bool vertical = nBox < 2;
    const int boxW = vertical ? W1 : W2;
    const int boxH = vertical ? H1 : H2;
    if (boxW <= 0 || boxH <= 0)
        return FALSE;

    // The boxes follow the tolerance centre along their edge but stay clear of the image's corners.
    const int cxb = cx < W1 ? W1 / 2 : (cx > W - W1 ? W - W1 / 2 : cx);
    const int cyb = cy < H2 ? H2 / 2 : (cy > H - H2 ? H - H2 / 2 : cy);
    int x = 0;
    int y = 0;
    switch (nBox) {
    case 0:
        x = cxb - W1 / 2;
        y = g_nAlignTop > H1 ? std::min(g_nAlignTop - H1 + 10, H - H1) : 0;
        break;
    case 1:
        x = cxb - W1 / 2;
        y = H - g_nAlignBottom < H - H1 ? std::max(H - g_nAlignBottom - 10, 0) : H - H1;
        break;
    case 2:
        x = g_nAlignLeft > W2 ? std::min(g_nAlignLeft - W2 + 10, W - W2) : 0;
        y = cyb - H2 / 2;
        break;
    default:
        x = W - g_nAlignRight < W - W2 ? std::max(W - g_nAlignRight - 10, 0) : W - W2;
        y = cyb - H2 / 2;
        break;
    }
    // Kept inside the frame: a frame smaller than the box, or an odd box size (whose half rounds
    // down), would otherwise reach past the image's last row or column.
    const int w = std::min(boxW, W);
    const int h = std::min(boxH, H);
    x = std::clamp(x, 0, W - w);
    y = std::clamp(y, 0, H - h);
    rcSource.SetRect(x, y, x + w, y + h);
    return TRUE;
}

BOOL CDisplayDlg::CopyView() {
    if (!m_pViewImage || !m_pViewImage->m_pBitmap || !m_pDispImage || !m_pDispImage->m_pBitmap)
        return FALSE;
    const DWORD style = GetStyle();
    const int dispW = m_pDispImage->m_nWidth;
    const int dispH = m_pDispImage->m_nHeight;
    const int viewW = m_pViewImage->m_nWidth;
    const int viewH = m_pViewImage->m_nHeight;
    int w = (style & WS_HSCROLL) ? viewW : dispW;
    int h = (style & WS_VSCROLL) ? viewH : dispH;

    // The copied rectangle stays inside both images: a window larger than the frame shows the frame
    // at its top-left corner and black beside it.
    const int sx = std::clamp(m_nScrollX, 0, std::max(dispW - 1, 0));
    const int sy = std::clamp(m_nScrollY, 0, std::max(dispH - 1, 0));
    w = std::min({w, dispW - sx, viewW});
    h = std::min({h, dispH - sy, viewH});
    if (w <= 0 || h <= 0)
        return FALSE;
    if (w < viewW || h < viewH)
        m_pViewImage->ClearImage();
    return m_pDispImage->DrawImage(m_pViewImage->m_pBitmap, sx, sy, w, h) != 0;
}

void CDisplayDlg::DrawEdgeBoxes() {
    Gdiplus::Graphics* graphics = ViewGraphics();
    if (!graphics)
        return;
    DisplayTools& tools = Tools();
    const CPoint c = ToleranceCentre();
    CCvImage* const zoom[4] = {m_pZoomTop, m_pZoomBottom, m_pZoomLeft, m_pZoomRight};

    // Each box whole in turn: its copy, magnified, its green frame and its click values.
    for (int b = 0; b < 4; ++b) {
        CRect area;
        CRect source;
        CCvImage* box = zoom[b];
        if (!box || !box->m_pBitmap || !GetEdgeBoxArea(b, area) || !GetEdgeBoxSource(b, c.x, c.y, source))
            continue;
        // The box images are rebuilt when the sizes change while live; until then copy no more than fits.
        const int w = std::min(source.Width(), box->m_nWidth);
        const int h = std::min(source.Height(), box->m_nHeight);
        m_pDispImage->DrawImage(box->m_pBitmap, static_cast<int>(source.left), static_cast<int>(source.top),
                                w, h);
        box->DrawImage(m_pViewImage->m_pBitmap, static_cast<float>(area.left), static_cast<float>(area.top),
                       static_cast<float>(area.Width()), static_cast<float>(area.Height()));

        // The frame sits one pixel up and left of the box, except where that would leave the client (the
        // top box's top, the left box's left).
        const int fx = b == 2 ? area.left : area.left - 1;
        const int fy = b == 0 ? area.top : area.top - 1;
        graphics->DrawRectangle(&tools.edgeBoxFrame, fx, fy, area.Width(), area.Height());
        FormatText(L"%d, %d", m_nEdgeClick[2 * b], m_nEdgeClick[2 * b + 1]);
        graphics->DrawString(
            m_szText, -1, &tools.font,
            Gdiplus::PointF(static_cast<float>(m_ptEdgeRaw[b].x), static_cast<float>(m_ptEdgeRaw[b].y)),
            &tools.edgeBoxLabel);
    }

    // One consistent set of the eight click values per tick.
    std::copy(std::begin(m_nEdgeClick), std::end(m_nEdgeClick), std::begin(m_pMainDlg->m_nAlignEdge));
}

void CDisplayDlg::PaintView() {
    CClientDC dc(this);
    m_pViewImage->DrawImage(dc.m_hDC);
}

void CDisplayDlg::PaintDisplayImage() {
    CClientDC dc(this);
    dc.SetViewportOrg(-m_nScrollX, -m_nScrollY);
    m_pDispImage->DrawImage(dc.m_hDC);
}
