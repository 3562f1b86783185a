#include "CDragAndDropListBox.h"

#include <algorithm>

namespace {
// Fastest auto-scroll step: one item height or less beyond the edge scrolls every 250 ms, two every 125 ms...
constexpr UINT kScrollPeriodMs = 250;
constexpr COLORREF kLineColor = RGB(0, 0, 0);
constexpr COLORREF kEraseColor = RGB(255, 255, 255);
} // namespace

BEGIN_MESSAGE_MAP(CDragAndDropListBox, CListBox)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

CDragAndDropListBox::~CDragAndDropListBox() = default;

void CDragAndDropListBox::OnLButtonDown(UINT nFlags, CPoint point) {
    CListBox::OnLButtonDown(nFlags, point);

    m_nDragIndex = -1;
    m_nDropIndex = -1;
    m_bCaptured = FALSE;
    m_nScrollInterval = 0;

    BOOL bOutside = TRUE;
    const int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    if (!bOutside) {
        m_nDragIndex = nIndex;
        SetCurSel(nIndex);
    }
}

void CDragAndDropListBox::OnMouseMove(UINT nFlags, CPoint point) {
    CListBox::OnMouseMove(nFlags, point);
    if (!(nFlags & MK_LBUTTON) || m_nDragIndex == -1)
        return;

    if (!m_bCaptured) {
        SetCapture();
        m_bCaptured = TRUE;
    }

    BOOL bOutside = TRUE;
    int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    CRect rcClient;
    GetClientRect(rcClient);

    if (bOutside) {
        if (!rcClient.PtInRect(point)) {
            DoAutoScroll(point, rcClient);
            return;
        }
        // Below the last entry: the entry goes to the end.
        StopAutoScroll();
        nIndex = -1;
    } else {
        StopAutoScroll();
    }

    if (nIndex != m_nDropIndex)
        DrawInsertLine(nIndex);
}

void CDragAndDropListBox::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_nDragIndex != -1 && m_bCaptured) {
        StopAutoScroll();
        m_bCaptured = FALSE;
        ReleaseCapture();

        CRect rcClient;
        GetClientRect(rcClient);
        if (rcClient.PtInRect(point)) {
            MoveDraggedItem();
        } else {
            // Cancelled: repainting removes the insertion line; nothing moves.
            Invalidate();
            UpdateWindow();
        }
        m_nDragIndex = -1;
        m_nDropIndex = -1;
    }
    CListBox::OnLButtonUp(nFlags, point);
}

void CDragAndDropListBox::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_SCROLL_DOWN) {
        DrawInsertLine(m_nDropIndex + 1);
        SetTopIndex(GetTopIndex() + 1);
    } else if (nIDEvent == TIMER_SCROLL_UP) {
        DrawInsertLine(m_nDropIndex - 1);
        SetTopIndex(GetTopIndex() - 1);
    }
    CListBox::OnTimer(nIDEvent);
}

void CDragAndDropListBox::DrawInsertLine(int nIndex) {
    if (m_nDropIndex != m_nDragIndex)
        PaintInsertLine(m_nDropIndex, kEraseColor);
    m_nDropIndex = nIndex;
    if (nIndex != m_nDragIndex)
        PaintInsertLine(nIndex, kLineColor);
}

void CDragAndDropListBox::PaintInsertLine(int nIndex, COLORREF color) {
    // The auto-scroll can push the index past either end of the list: such an index names no entry.
    const int nCount = GetCount();
    if (nIndex < -1 || nIndex >= nCount || nCount == 0)
        return;

    CRect rcClient;
    GetClientRect(rcClient);
    CRect rcItem;
    int y = 0;
    if (nIndex == -1) {
        GetItemRect(nCount - 1, rcItem);
        if (!rcClient.PtInRect(CPoint(0, rcItem.bottom)))
            return;
        y = rcItem.bottom;
    } else {
        GetItemRect(nIndex, rcItem);
        if (!rcClient.PtInRect(rcItem.TopLeft()))
            return;
        y = rcItem.top + 1;
    }

    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    CPen pen(PS_SOLID, 2, color);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(rcItem.left, y);
    pDC->LineTo(rcItem.right - 1, y);
    pDC->SelectObject(pOldPen);
    ReleaseDC(pDC);
}

void CDragAndDropListBox::MoveDraggedItem() {
    CString strText;
    GetText(m_nDragIndex, strText);
    const DWORD_PTR dwData = GetItemData(m_nDragIndex);

    // The auto-scroll may have pushed the insertion index past either end when the button is released
    // without a move back over an entry: land at the end or at the top instead of losing the entry.
    const int nCount = GetCount();
    if (m_nDropIndex >= nCount)
        m_nDropIndex = -1;
    else if (m_nDropIndex < -1)
        m_nDropIndex = 0;

    if (m_nDragIndex < m_nDropIndex) {
        SetRedraw(FALSE);
        const int nTop = GetTopIndex();
        const int nNew = InsertString(m_nDropIndex, strText);
        SetItemData(nNew, dwData);
        DeleteString(static_cast<UINT>(m_nDragIndex));
        // The deletion above the new entry moved it up by one.
        SetCurSel(nNew - 1);
        SetTopIndex(nTop);
        SetRedraw(TRUE);
        Invalidate();
        UpdateWindow();
    } else if (m_nDragIndex > m_nDropIndex) {
        SetRedraw(FALSE);
        const int nTop = GetTopIndex();
        DeleteString(static_cast<UINT>(m_nDragIndex));
        const int nNew = InsertString(m_nDropIndex, strText);
        SetItemData(nNew, dwData);
        SetCurSel(nNew);
        SetTopIndex(nTop);
        SetRedraw(TRUE);
        Invalidate();
        UpdateWindow();
    }

    CWnd* pOwner = GetParent();
    if (pOwner != nullptr)
        pOwner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), LBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(m_hWnd));
}

void CDragAndDropListBox::DoAutoScroll(CPoint point, CRect rcClient) {
    const int nHeight = rcClient.Height();
    const int nItemHeight = std::max(1, GetItemHeight(0));

    if (point.y > nHeight) {
        const UINT nInterval = kScrollPeriodMs / static_cast<UINT>((point.y - nHeight) / nItemHeight + 1);
        if (nInterval == m_nScrollInterval)
            return;
        m_nScrollInterval = nInterval;
        SetTimer(TIMER_SCROLL_DOWN, nInterval, nullptr);
        DrawInsertLine(m_nDropIndex + 1);
        SetTopIndex(GetTopIndex() + 1);
    } else if (point.y < 0) {
        const UINT nInterval = kScrollPeriodMs / static_cast<UINT>(-point.y / nItemHeight + 1);
        if (nInterval == m_nScrollInterval)
            return;
        m_nScrollInterval = nInterval;
        SetTimer(TIMER_SCROLL_UP, nInterval, nullptr);
        DrawInsertLine(m_nDropIndex - 1);
        SetTopIndex(GetTopIndex() - 1);
    } else {
        StopAutoScroll();
    }
}

void CDragAndDropListBox::StopAutoScroll() {
    KillTimer(TIMER_SCROLL_DOWN);
    KillTimer(TIMER_SCROLL_UP);
    m_nScrollInterval = 0;
}
