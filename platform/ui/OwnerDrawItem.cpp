#include "OwnerDrawItem.h"

#include "DeviceSurface.h"
#include "UiInternal.h"

#include <QWidget>

namespace kavrino {

QImage PaintOwnerDrawnItem(QWidget* control, HWND hwnd, DRAWITEMSTRUCT item, const QSize& size,
                           const QColor& background) {
    WindowState* s = FindWindowState(hwnd);
    if (!s || !s->parent || size.isEmpty())
        return QImage();
    ImageSurface surface(size.width(), size.height());
    surface.Image().fill(background);
    surface.font = control->font();
    item.CtlID = static_cast<UINT>(s->id);
    item.hwndItem = hwnd;
    item.hDC = ToHdc(&surface);
    item.rcItem = RECT{0, 0, size.width(), size.height()};
    const LRESULT handled =
        SendTo(s->parent, WM_DRAWITEM, static_cast<WPARAM>(s->id), reinterpret_cast<LPARAM>(&item));
    ReleaseTempDC(item.hDC);
    return handled ? surface.Image() : QImage();
}

} // namespace kavrino
