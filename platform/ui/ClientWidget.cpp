#include "ClientWidget.h"

#include "UiInternal.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>

namespace kavrino {

ClientWidget::ClientWidget(QWidget* parent) : SurfaceWidget(parent) {}

void ClientWidget::BeforeBlit() {
    // A handler that paints synchronously (UpdateWindow) must not re-enter its own painting.
    if (m_painting)
        return;
    m_painting = true;
    SendTo(m_hwnd, WM_PAINT, 0, 0);
    m_painting = false;
}

void ClientWidget::resizeEvent(QResizeEvent* event) {
    SurfaceWidget::resizeEvent(event);
    Erase();
    UINT kind = SIZE_RESTORED;
    if (QWidget* w = window()) {
        if (w->isMinimized())
            kind = SIZE_MINIMIZED;
        else if (w->isMaximized())
            kind = SIZE_MAXIMIZED;
    }
    SendTo(m_hwnd, WM_SIZE, kind,
           MAKELPARAM(static_cast<WORD>(event->size().width()), static_cast<WORD>(event->size().height())));
}

void ClientWidget::Mouse(QMouseEvent* event) {
    UINT message = MouseMessage(event);
    if (message)
        SendWithEvent(m_hwnd, message, MouseKeyFlags(event), PackPoint(event->pos()), nullptr, nullptr);
}

void ClientWidget::mousePressEvent(QMouseEvent* event) {
    Mouse(event);
}
void ClientWidget::mouseReleaseEvent(QMouseEvent* event) {
    Mouse(event);
}
void ClientWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    Mouse(event);
}
void ClientWidget::mouseMoveEvent(QMouseEvent* event) {
    Mouse(event);
}

void ClientWidget::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    SendTo(m_hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
           PackPoint(event->position().toPoint()));
}

void ClientWidget::closeEvent(QCloseEvent* event) {
    // The window stays until its own handlers end or destroy it.
    event->ignore();
    RequestClose(m_hwnd);
}

void ClientWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (isWindow())
        ShowSystemMenu(m_hwnd, event->globalPos());
    else
        event->ignore();
}

bool ClientWidget::focusNextPrevChild(bool next) {
    // Tab in a window of the program passes over the controls a page covers.
    if (!isWindow())
        return SurfaceWidget::focusNextPrevChild(next);
    return MoveTabFocus(this, next);
}

} // namespace kavrino
