// The display window itself: creation, the image set-up, scrolling, panning, edge-box clicks and the timer.
#include "CDisplayDlg.h"

#include "AlignParameters.h"
#include "CClientDC.h"
#include "CKavrinoDlg.h"
#include "CMenu.h"
#include "CPaintDC.h"
#include "CWinApp.h"
#include "DisplayTools.h"

#include <algorithm>

namespace {

constexpr int kCursorGrab = 139;
constexpr int kCursorHand = 140;
constexpr int kIconApp = 128;

bool IsBayerFormat(const CString& name) {
    return name == _T("BayerRG8") || name == _T("BayerRG10") || name == _T("BayerRG12");
}

void DeleteImage(CCvImage*& image) {
    if (image) {
        image->ClearImage();
        delete image;
        image = nullptr;
    }
}

// A holder of the given size and type, or null when the size is not positive (a minimised window, a box
// of size 0): nothing draws into an image without pixels.
CCvImage* MakeImage(int width, int height, int type) {
    if (width <= 0 || height <= 0)
        return nullptr;
    auto* image = new CCvImage;
    image->CreateImage(width, height, type);
    return image;
}

// The largest edge-box side made for a frame smaller than this.
constexpr int kMaxBoxSide = 4096;

} // namespace

BEGIN_MESSAGE_MAP(CDisplayDlg, CDialog)
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_TIMER()
ON_WM_DESTROY()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_SIZE()
ON_WM_PAINT()
END_MESSAGE_MAP()

CDisplayDlg::CDisplayDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_hIcon = LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(kIconApp));
}

CDisplayDlg::~CDisplayDlg() {
    // OnDestroy frees the images when the window is destroyed; a display that never had a window (or
    // whose window outlived nothing) frees them here.
    DeleteImages();
}

BOOL CDisplayDlg::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    m_pMainDlg = dynamic_cast<CKavrinoDlg*>(pParentWnd);
    return CDialog::Create(lpszTemplateName, CWnd::GetDesktopWindow());
}

BOOL CDisplayDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    ShowWindow(SW_MAXIMIZE);
    m_hCursorGrab = LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(kCursorGrab));
    m_hCursorHand = LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(kCursorHand));
    m_nDragScrollX = 0;
    m_nDragScrollY = 0;
    // The operator cannot close the display; the main window destroys it.
    if (CMenu* pSysMenu = GetSystemMenu(FALSE))
        pSysMenu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    std::fill(std::begin(m_nEdgeClick), std::end(m_nEdgeClick), 0);
    SetTimer(TIMER_DRAW, DRAW_PERIOD_MS, nullptr);
    m_bShowRed = true;
    m_ptDragStart = CPoint(g_nAlignCenterX, g_nAlignCenterY);
    m_ptClick = CPoint(g_nAlignCenterX, g_nAlignCenterY);
    Tools();
    return TRUE;
}

void CDisplayDlg::SetImageFormat(int nWidth, int nHeight, CString strPixelFormat) {
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_strPixelFormat = strPixelFormat;

    ReleaseGraphics();
    DeleteImage(m_pSrcImage);
    m_pSrcImage = MakeImage(nWidth, nHeight, IsBayerFormat(strPixelFormat) ? 2 : 1);
    DeleteImage(m_pDispImage);
    m_pDispImage = MakeImage(nWidth, nHeight, 2);
    DeleteImage(m_pViewImage);
    GetClientRect(&m_rcClient);
    m_pViewImage = MakeImage(m_rcClient.Width(), m_rcClient.Height(), 2);

    // The Bayer mosaic's rows are the source bitmap's rows: the width rounded up to a multiple of 4.
    m_vecMosaic.clear();
    m_vecMosaic.shrink_to_fit();

    CreateZoomImages();
    ResetScrollBars();
}

void CDisplayDlg::CreateZoomImages() {
    DeleteImage(m_pZoomTop);
    DeleteImage(m_pZoomBottom);
    DeleteImage(m_pZoomLeft);
    DeleteImage(m_pZoomRight);
    // A box larger than the frame shows nothing more than the frame itself; a size far beyond it (a slip
    // of the operator's typing) makes no box rather than a bitmap of gigabytes.
    const int maxWidth = std::max(m_nWidth, kMaxBoxSide);
    const int maxHeight = std::max(m_nHeight, kMaxBoxSide);
    auto makeBox = [&](int width, int height) {
        return width <= maxWidth && height <= maxHeight ? MakeImage(width, height, 2) : nullptr;
    };
    m_pZoomTop = makeBox(g_nEdgeBoxSize[0], g_nEdgeBoxSize[1]);
    m_pZoomBottom = makeBox(g_nEdgeBoxSize[0], g_nEdgeBoxSize[1]);
    m_pZoomLeft = makeBox(g_nEdgeBoxSize[2], g_nEdgeBoxSize[3]);
    m_pZoomRight = makeBox(g_nEdgeBoxSize[2], g_nEdgeBoxSize[3]);
}

void CDisplayDlg::ResetScrollBars() {
    CRect rc;
    GetClientRect(&rc);

    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = m_nWidth - 1;
    si.nPage = static_cast<UINT>(std::max(rc.Width(), 0));
    si.nPos = std::max((m_nWidth - rc.Width() - 1) / 2, 0);
    m_nScrollX = si.nPos;
    SetScrollInfo(SB_HORZ, &si, TRUE);

    si.nMax = m_nHeight - 1;
    si.nPage = static_cast<UINT>(std::max(rc.Height(), 0));
    si.nPos = std::max((m_nHeight - rc.Height() - 1) / 2, 0);
    m_nScrollY = si.nPos;
    SetScrollInfo(SB_VERT, &si, TRUE);
}

void CDisplayDlg::ScrollTo(int nBar, UINT nSBCode, UINT nPos) {
    CRect rc;
    GetClientRect(&rc);
    const bool horizontal = nBar == SB_HORZ;
    int& position = horizontal ? m_nScrollX : m_nScrollY;
    // While the client is larger than the frame there is nothing to scroll: the position stays at 0
    // rather than going negative, which would move the view outside the image.
    const int maxPos = std::max((horizontal ? m_nWidth - rc.Width() : m_nHeight - rc.Height()), 0);

    int newPos = position;
    switch (nSBCode) {
    case SB_LINEUP:
        newPos = position - 1;
        break;
    case SB_LINEDOWN:
        newPos = position < maxPos ? position + 1 : maxPos;
        break;
    case SB_PAGEUP:
        newPos = position - 10;
        break;
    case SB_PAGEDOWN:
        newPos = position < maxPos ? position + 10 : maxPos;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
    case SB_TOP:
    case SB_BOTTOM:
        newPos = static_cast<int>(nPos);
        break;
    default:
        return;
    }
    position = std::clamp(newPos, 0, maxPos);
    SetScrollPos(nBar, position, TRUE);
}

void CDisplayDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    ScrollTo(SB_HORZ, nSBCode, nPos);
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CDisplayDlg::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    ScrollTo(SB_VERT, nSBCode, nPos);
    CDialog::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CDisplayDlg::OnLButtonDown(UINT nFlags, CPoint point) {
    m_bDragging = TRUE;
    SetCapture();
    m_ptDragStart = point;
    SetCursor(m_hCursorHand);
    HandleEdgeBoxClick(point);
    CDialog::OnLButtonDown(nFlags, point);
}

void CDisplayDlg::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_bDragging && m_pSrcImage) {
        SetCursor(m_hCursorGrab);
        m_nDragScrollX = m_nScrollX;
        m_nDragScrollY = m_nScrollY;
        int x = m_nScrollX + (m_ptDragStart.x - point.x);
        int y = m_nScrollY + (m_ptDragStart.y - point.y);
        m_ptDragStart = point;

        CRect rc;
        GetClientRect(&rc);
        const int srcWidth = m_pSrcImage->m_nWidth;
        const int srcHeight = m_pSrcImage->m_nHeight;
        if (srcWidth <= rc.Width() || x < 0)
            x = 0;
        else
            x = std::min(x, srcWidth - rc.Width());
        if (srcHeight <= rc.Height() || y < 0)
            y = 0;
        else
            y = std::min(y, srcHeight - rc.Height());

        SetScrollPos(SB_HORZ, x, TRUE);
        SetScrollPos(SB_VERT, y, TRUE);
        m_nScrollX = x;
        m_nScrollY = y;
    }
    CDialog::OnMouseMove(nFlags, point);
}

void CDisplayDlg::OnLButtonUp(UINT nFlags, CPoint point) {
    m_bDragging = FALSE;
    ReleaseCapture();
    SetCursor(m_hCursorHand);
    CDialog::OnLButtonUp(nFlags, point);
}

BOOL CDisplayDlg::GetEdgeBoxArea(int nBox, CRect& rcArea) const {
    const int z = g_nEdgeZoom;
    const int cw = m_rcClient.Width();
    const int ch = m_rcClient.Height();
    const bool vertical = nBox < 2; // top and bottom use width 1 x height 1
    const int boxW = vertical ? g_nEdgeBoxSize[0] : g_nEdgeBoxSize[2];
    const int boxH = vertical ? g_nEdgeBoxSize[1] : g_nEdgeBoxSize[3];
    // A zoom of 0 or a box without area has nothing to show or click in (and nothing to divide by).
    if (z <= 0 || boxW <= 0 || boxH <= 0 || nBox < 0 || nBox > 3)
        return FALSE;
    // The values come from edits: a magnified box beyond any screen is not shown (nor overflows).
    constexpr long long kLargest = 1 << 16;
    if (static_cast<long long>(boxW) * z > kLargest || static_cast<long long>(boxH) * z > kLargest)
        return FALSE;
    const int wz = boxW * z;
    const int hz = boxH * z;
    // Top and bottom boxes are centred horizontally on the client, left and right ones vertically.
    int x = 0;
    int y = 0;
    switch (nBox) {
    case 0:
        x = cw / 2 - wz / 2;
        break;
    case 1:
        x = cw / 2 - wz / 2;
        y = ch - hz;
        break;
    case 2:
        y = ch / 2 - hz / 2;
        break;
    default:
        x = cw - wz;
        y = ch / 2 - hz / 2;
        break;
    }
    rcArea.SetRect(x, y, x + wz, y + hz);
    return TRUE;
}

namespace {
// Clicks on the far edge count too: the box is hit up to and including its right and bottom lines.
bool InArea(const CRect& rc, POINT p) {
    return p.x >= rc.left && p.x <= rc.right && p.y >= rc.top && p.y <= rc.bottom;
}
} // namespace

BOOL CDisplayDlg::HitTestEdgeBoxes() {
    for (int b = 0; b < 4; ++b) {
        CRect rc;
        if (GetEdgeBoxArea(b, rc) && InArea(rc, m_ptDragStart))
            return TRUE;
    }
    return FALSE;
}

void CDisplayDlg::HandleEdgeBoxClick(CPoint point) {
    const int z = g_nEdgeZoom;
    const int cw = m_rcClient.Width();
    const int ch = m_rcClient.Height();
    for (int b = 0; b < 4; ++b) {
        CRect rc;
        if (!GetEdgeBoxArea(b, rc) || !InArea(rc, point))
            continue;
        m_ptEdgeRaw[b] = point;
        // Offsets from the client's centre lines in image pixels, y counted upwards.
        m_nEdgeClick[2 * b] = (point.x - cw / 2) / z;
        m_nEdgeClick[2 * b + 1] = -((point.y - ch / 2) / z);
    }
    if (!HitTestEdgeBoxes())
        m_ptClick = point;
}

void CDisplayDlg::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);
    GetClientRect(&m_rcClient);
    if (m_pDispImage)
        SetImageFormat(m_nWidth, m_nHeight, m_strPixelFormat);
    ResetScrollBars();
}

void CDisplayDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_DRAW) {
        if (!m_pDispImage)
            return;
        DrawFrame();
        return;
    }
    CDialog::OnTimer(nIDEvent);
}

void CDisplayDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        const int x = (rc.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (rc.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
        return;
    }
    // Frames are drawn by the timer; painting only validates.
    CDialog::OnPaint();
}

void CDisplayDlg::OnDestroy() {
    CDialog::OnDestroy();
    KillTimer(TIMER_DRAW);
    DeleteImages();
}

void CDisplayDlg::DeleteImages() {
    ReleaseGraphics();
    DeleteImage(m_pViewImage);
    DeleteImage(m_pDispImage);
    DeleteImage(m_pSrcImage);
    DeleteImage(m_pZoomTop);
    DeleteImage(m_pZoomBottom);
    DeleteImage(m_pZoomLeft);
    DeleteImage(m_pZoomRight);
}
