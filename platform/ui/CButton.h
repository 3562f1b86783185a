#pragma once
// A push button, check box or radio button of a dialog.

#include "CWnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);
    // BST_PUSHED while the button is held down, BST_FOCUS with the focus, plus the check state.
    UINT GetState() const;
    void SetState(BOOL highlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    // Presses the button as a click does: BN_CLICKED reaches the parent.
    void Click();
};
