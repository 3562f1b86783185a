#pragma once
// A scroll-bar control (the window scroll bars are reached through CWnd's scroll functions).

#include "CWnd.h"

class CScrollBar : public CWnd {
public:
    int GetScrollPos() const { return CWnd::GetScrollPos(SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return CWnd::SetScrollPos(SB_CTL, pos, redraw); }
};
