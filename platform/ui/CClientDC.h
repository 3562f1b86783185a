#pragma once
// A device context over a window's client area, for drawing outside painting (from a timer, say). Its
// drawing goes into the window's backing image and reaches the screen when the context is released
// (destroyed). A window without a backing image of its own (a list box, say) gets an overlay over it.

#include "CDC.h"

class CWnd;

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};
