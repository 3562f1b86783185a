#include "CStatic.h"

#include "PictureWidget.h"
#include "UiInternal.h"

#include <QPixmap>

using namespace kavrino;

HBITMAP CStatic::SetBitmap(HBITMAP) {
    // Pictures are drawn through device contexts here; a bitmap handle carries no pixels of its own.
    return nullptr;
}

HBITMAP CStatic::GetBitmap() const {
    return nullptr;
}

HICON CStatic::SetIcon(HICON icon) {
    return WithWindow(m_hWnd, HICON(nullptr), [&](WindowState& s) {
        HICON old = s.icons[ICON_BIG];
        s.icons[ICON_BIG] = icon;
        if (auto* p = dynamic_cast<PictureWidget*>(s.widget.data()))
            p->SetPicture(IconPixmap(icon));
        return old;
    });
}

HICON CStatic::GetIcon() const {
    return WithWindow(m_hWnd, HICON(nullptr), [](WindowState& s) { return s.icons[ICON_BIG]; });
}
