#pragma once
// A single-selection list box whose entries the user reorders by dragging them with the left mouse button.
// While an entry is dragged a black insertion line shows where it will land, and the list scrolls by itself
// while the pointer is held above or below it. Releasing inside the list moves the entry there (and tells
// the owner with LBN_SELCHANGE); releasing outside cancels.

#include "Platform.h"

class CDragAndDropListBox : public CListBox {
public:
    CDragAndDropListBox() = default;
    ~CDragAndDropListBox() override;

    // Auto-scroll timers: the pointer is below (down) or above (up) the list.
    static constexpr UINT_PTR TIMER_SCROLL_DOWN = 100;
    static constexpr UINT_PTR TIMER_SCROLL_UP = 101;

    int m_nDragIndex = -1;      // the entry being dragged; -1 while no drag is under way
    int m_nDropIndex = -1;      // the entry it lands before; -1 means after the last entry
    BOOL m_bCaptured = FALSE;   // the list holds the mouse capture for the drag
    UINT m_nScrollInterval = 0; // period of the running auto-scroll timer in ms; 0 when none runs

    void DrawInsertLine(int nIndex);
    void MoveDraggedItem();
    void DoAutoScroll(CPoint point, CRect rcClient);

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    void StopAutoScroll();
    // Draws (black) or erases (white) the insertion line above entry nIndex, or below the last entry for -1.
    void PaintInsertLine(int nIndex, COLORREF color);
};
