#include "OwnerDrawButton.h"

#include "DeviceSurface.h"
#include "UiInternal.h"

#include <QPainter>

namespace kavrino {

UINT OwnerDrawButton::ItemState() const {
    UINT state = 0;
    if (isDown())
        state |= ODS_SELECTED;
    if (hasFocus())
        state |= ODS_FOCUS;
    if (!isEnabled())
        state |= ODS_DISABLED;
    return state;
}

void OwnerDrawButton::paintEvent(QPaintEvent* event) {
    WindowState* s = FindWindowState(m_hwnd);
    if (!s || !s->parent) {
        QPushButton::paintEvent(event);
        return;
    }
    ImageSurface surface(width(), height());
    surface.Image().fill(palette().color(QPalette::Button));
    // The button's font is selected into the context it hands out, as the original control does.
    surface.font = font();
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(s->id);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ItemState();
    dis.hwndItem = m_hwnd;
    dis.hDC = ToHdc(&surface);
    dis.rcItem = RECT{0, 0, width(), height()};
    const LRESULT handled =
        SendTo(s->parent, WM_DRAWITEM, static_cast<WPARAM>(s->id), reinterpret_cast<LPARAM>(&dis));
    ReleaseTempDC(dis.hDC);
    if (!handled) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.drawImage(0, 0, surface.Image());
}

} // namespace kavrino
