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

// The alignment values come from the test-set file and from the page's edits: any int. Coordinates are
// worked out in 64 bits and kept one pixel beyond the image, where a line stays as much out of sight as
// it was (the overlay's lines run along the axes), so nothing overflows.
using Wide = long long;

int Beside(Wide value, int size) {
    return static_cast<int>(std::clamp<Wide>(value, -1, static_cast<Wide>(size) + 1));
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
    if (!m_pMainDlg || m_pMainDlg->m_bNewFrame != 1 || !m_pMainDlg->HasFrameBuffer())
        return;
    if (!m_pDispImage || !m_pDispImage->m_pBitmap)
        return;
    // The conversion holds the latest whole frame while it reads it (HeldFrame).
    ConvertFrame();

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
    const int centreX = Beside(g_nAlignCenterX, W);
    const int centreY = Beside(g_nAlignCenterY, H);
    graphics.DrawLine(&tools.centreCross, centreX, 0, centreX, H);
    graphics.DrawLine(&tools.centreCross, 0, centreY, W, centreY);

    if (m_bUseClickCenter)
        DrawClickCross();
    const CPoint c = ToleranceCentre();
    const int left = Beside(Wide(c.x) - g_nAlignThresholdX, W);
    const int right = Beside(Wide(c.x) + g_nAlignThresholdX, W);
    const int above = Beside(Wide(c.y) - g_nAlignThresholdY, H);
    const int below = Beside(Wide(c.y) + g_nAlignThresholdY, H);
    const int topEnd = Beside(g_nAlignTop, H);
    const int bottomStart = Beside(Wide(H) - g_nAlignBottom, H);
    const int leftEnd = Beside(g_nAlignLeft, W);
    const int rightStart = Beside(Wide(W) - g_nAlignRight, W);

    const Gdiplus::Pen* blue = &tools.toleranceSegment;
    graphics.DrawLine(blue, left, 0, left, topEnd);
    graphics.DrawLine(blue, right, 0, right, topEnd);
    graphics.DrawLine(blue, left, bottomStart, left, H);
    graphics.DrawLine(blue, right, bottomStart, right, H);
    graphics.DrawLine(blue, 0, above, leftEnd, above);
    graphics.DrawLine(blue, 0, below, leftEnd, below);
    graphics.DrawLine(blue, rightStart, above, W, above);
    graphics.DrawLine(blue, rightStart, below, W, below);
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
    // In 64 bits: the sizes and the segment lengths are any int (see Beside).
    const Wide W = m_nWidth;
    const Wide H = m_nHeight;
    const Wide W1 = g_nEdgeBoxSize[0];
    const Wide H1 = g_nEdgeBoxSize[1];
    const Wide W2 = g_nEdgeBoxSize[2];
    const Wide H2 = g_nEdgeBoxSize[3];
    if (W <= 0 || H <= 0 || nBox < 0 || nBox > 3)
        return FALSE;
    const bool vertical = nBox < 2;
    const Wide boxW = vertical ? W1 : W2;
    const Wide boxH = vertical ? H1 : H2;
    if (boxW <= 0 || boxH <= 0)
        return FALSE;

    // The boxes follow the tolerance centre along their edge but stay clear of the image's corners.
    const Wide cxb = cx < W1 ? W1 / 2 : (cx > W - W1 ? W - W1 / 2 : cx);
    const Wide cyb = cy < H2 ? H2 / 2 : (cy > H - H2 ? H - H2 / 2 : cy);
    const Wide top = g_nAlignTop;
    const Wide bottom = g_nAlignBottom;
    const Wide left = g_nAlignLeft;
    const Wide right = g_nAlignRight;
    Wide x = 0;
    Wide y = 0;
    switch (nBox) {
    case 0:
        x = cxb - W1 / 2;
        y = top > H1 ? std::min(top - H1 + 10, H - H1) : 0;
        break;
    case 1:
        x = cxb - W1 / 2;
        y = H - bottom < H - H1 ? std::max(H - bottom - 10, Wide(0)) : H - H1;
        break;
    case 2:
        x = left > W2 ? std::min(left - W2 + 10, W - W2) : 0;
        y = cyb - H2 / 2;
        break;
    default:
        x = W - right < W - W2 ? std::max(W - right - 10, Wide(0)) : W - W2;
        y = cyb - H2 / 2;
        break;
    }
    // Kept inside the frame: a frame smaller than the box, or an odd box size (whose half rounds
    // down), would otherwise reach past the image's last row or column.
    const int w = static_cast<int>(std::min(boxW, W));
    const int h = static_cast<int>(std::min(boxH, H));
    const int left0 = static_cast<int>(std::clamp<Wide>(x, 0, W - w));
    const int top0 = static_cast<int>(std::clamp<Wide>(y, 0, H - h));
    rcSource.SetRect(left0, top0, left0 + w, top0 + h);
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
