// One display tick: the converted frame, the frame-rate text, the overlay the mode flags ask for, the
// view copy, the magnified edge boxes and the painting into the window.
#include "CDisplayDlg.h"

#include "AlignParameters.h"
#include "CClientDC.h"
#include "CKavrinoDlg.h"

#include <algorithm>

namespace {

const wchar_t* const kLabelFont = L"맑은고딕";
constexpr float kLabelSize = 24.0f;

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

} // namespace

Gdiplus::Graphics* CDisplayDlg::DisplayGraphics(std::unique_ptr<Gdiplus::Graphics>& own) {
    if (m_pDispGraphics)
        return m_pDispGraphics;
    if (!m_pDispImage || !m_pDispImage->m_pBitmap)
        return nullptr;
    own = std::make_unique<Gdiplus::Graphics>(m_pDispImage->m_pBitmap);
    return own.get();
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
    {
        Gdiplus::Graphics graphics(m_pDispImage->m_pBitmap);
        m_pDispGraphics = &graphics;

        CString text;
        text.Format(_T("프레임레이트: %.2f\r\n픽셀포맷: %s"), m_pMainDlg->m_dFrameRate,
                    m_pMainDlg->m_strPixelFormat);
        Gdiplus::Font font(kLabelFont, kLabelSize, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
        Gdiplus::SolidBrush orange(Gdiplus::Color(255, 255, 127, 39));
        graphics.DrawString(text, -1, &font,
                            Gdiplus::PointF(static_cast<float>(m_nScrollX), static_cast<float>(m_nScrollY)),
                            &orange);

        if (m_bShowAlign)
            DrawAlignOverlay(graphics);
        else if (m_bBrightMode)
            MeasureBrightWindows();
        else if (m_bCenterMode)
            MeasureCentreWindow();
        m_pDispGraphics = nullptr;
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
    Gdiplus::Pen red(Gdiplus::Color(255, 255, 0, 0), 0.0f);
    graphics.DrawLine(&red, g_nAlignCenterX, 0, g_nAlignCenterX, H);
    graphics.DrawLine(&red, 0, g_nAlignCenterY, W, g_nAlignCenterY);

    if (m_bUseClickCenter)
        DrawClickCross();
    const CPoint c = ToleranceCentre();
    const int tx = g_nAlignThresholdX;
    const int ty = g_nAlignThresholdY;

    Gdiplus::Pen blue(Gdiplus::Color(255, 0, 0, 255), 0.0f);
    graphics.DrawLine(&blue, c.x - tx, 0, c.x - tx, g_nAlignTop);
    graphics.DrawLine(&blue, c.x + tx, 0, c.x + tx, g_nAlignTop);
    graphics.DrawLine(&blue, c.x - tx, H - g_nAlignBottom, c.x - tx, H);
    graphics.DrawLine(&blue, c.x + tx, H - g_nAlignBottom, c.x + tx, H);
    graphics.DrawLine(&blue, 0, c.y - ty, g_nAlignLeft, c.y - ty);
    graphics.DrawLine(&blue, 0, c.y + ty, g_nAlignLeft, c.y + ty);
    graphics.DrawLine(&blue, W - g_nAlignRight, c.y - ty, W, c.y - ty);
    graphics.DrawLine(&blue, W - g_nAlignRight, c.y + ty, W, c.y + ty);
}

void CDisplayDlg::DrawClickCross() {
    std::unique_ptr<Gdiplus::Graphics> own;
    Gdiplus::Graphics* graphics = DisplayGraphics(own);
    if (!graphics)
        return;
    const int px = m_nScrollX + m_ptClick.x;
    const int py = m_nScrollY + m_ptClick.y;
    const Gdiplus::Color cyan(255, 0, 255, 255);
    {
        Gdiplus::Pen pen(cyan, 1.0f);
        pen.SetDashStyle(Gdiplus::DashStyleDashDot);
        graphics->DrawLine(&pen, 0, py, m_pDispImage->m_nWidth, py);
    }
    {
        Gdiplus::Pen pen(cyan, 1.0f);
        pen.SetDashStyle(Gdiplus::DashStyleDashDot);
        graphics->DrawLine(&pen, px, 0, px, m_pDispImage->m_nHeight);
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
    const CPoint c = ToleranceCentre();
    CCvImage* const zoom[4] = {m_pZoomTop, m_pZoomBottom, m_pZoomLeft, m_pZoomRight};
    CRect area[4];
    bool shown[4] = {};

    for (int b = 0; b < 4; ++b) {
        CRect source;
        CCvImage* box = zoom[b];
        if (!box || !box->m_pBitmap || !GetEdgeBoxArea(b, area[b]) || !GetEdgeBoxSource(b, c.x, c.y, source))
            continue;
        shown[b] = true;
        // The box images are rebuilt when the sizes change while live; until then copy no more than fits.
        const int w = std::min(source.Width(), box->m_nWidth);
        const int h = std::min(source.Height(), box->m_nHeight);
        m_pDispImage->DrawImage(box->m_pBitmap, static_cast<int>(source.left), static_cast<int>(source.top),
                                w, h);
        box->DrawImage(m_pViewImage->m_pBitmap, static_cast<float>(area[b].left),
                       static_cast<float>(area[b].top), static_cast<float>(area[b].Width()),
                       static_cast<float>(area[b].Height()));
    }

    // Frames and click values over the magnified boxes. The frames sit one pixel up and left of the
    // boxes, except where that would leave the client (the top box's top, the left box's left).
    Gdiplus::Graphics graphics(m_pViewImage->m_pBitmap);
    Gdiplus::Pen green(Gdiplus::Color(255, 0, 255, 0), 0.0f);
    Gdiplus::Font font(kLabelFont, kLabelSize, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush brush(Gdiplus::Color(255, 197, 2, 186));
    for (int b = 0; b < 4; ++b) {
        if (!shown[b])
            continue;
        const CRect& rc = area[b];
        const int fx = b == 2 ? rc.left : rc.left - 1;
        const int fy = b == 0 ? rc.top : rc.top - 1;
        graphics.DrawRectangle(&green, fx, fy, rc.Width(), rc.Height());
        CString label;
        label.Format(_T("%d, %d"), m_nEdgeClick[2 * b], m_nEdgeClick[2 * b + 1]);
        graphics.DrawString(
            label, -1, &font,
            Gdiplus::PointF(static_cast<float>(m_ptEdgeRaw[b].x), static_cast<float>(m_ptEdgeRaw[b].y)),
            &brush);
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
