#pragma once
// A static text or picture control.

#include "CWnd.h"

class CStatic : public CWnd {
public:
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
};
