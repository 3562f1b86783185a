#include "ControlFilter.h"

#include "UiInternal.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace kavrino {

namespace {
ControlFilter* Instance() {
    static ControlFilter* filter = new ControlFilter;
    return filter;
}
} // namespace

void ControlFilter::Install(QWidget* control, QWidget* client) {
    control->installEventFilter(Instance());
    if (client && client != control)
        client->installEventFilter(Instance());
}

bool ControlFilter::eventFilter(QObject* watched, QEvent* event) {
    if (IsForwarding(event))
        return false;
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
    const bool focus = type == QEvent::FocusIn || type == QEvent::FocusOut;
    if (!mouse && !focus)
        return false;
    HWND hwnd = WindowRegistry::HandleOf(watched);
    WindowState* s = FindWindowState(hwnd);
    if (!s || !s->wnd)
        return false;

    if (focus) {
        if (watched != s->widget)
            return false;
        if (type == QEvent::FocusIn) {
            SetLastFocus(s->widget);
            FocusMovedTo(hwnd);
        }
        return false;
    }

    auto* me = static_cast<QMouseEvent*>(event);
    // Mouse messages are in client coordinates: the viewport of a list is its client area.
    if (watched != s->client)
        return false;
    if (s->kind == "PICTURE" && (s->style & SS_NOTIFY) && me->button() == Qt::LeftButton) {
        if (type == QEvent::MouseButtonPress)
            NotifyParent(hwnd, STN_CLICKED);
        else if (type == QEvent::MouseButtonDblClick)
            NotifyParent(hwnd, STN_DBLCLK);
    }
    const UINT message = MouseMessage(me);
    if (message && s->wnd->FindMessageEntry(message, 0, 0)) {
        SendWithEvent(hwnd, message, MouseKeyFlags(me), PackPoint(me->pos()), watched, event);
        return true;
    }
    if (s->kind == "SLIDER" && type == QEvent::MouseButtonRelease) {
        // The slider handles the release first; then its parent hears that the capture ended.
        CurrentMessage m{s->wnd, message, 0, 0, watched, event, false};
        ForwardEvent(m);
        NMHDR header{};
        NotifyParent(hwnd, NM_RELEASEDCAPTURE, &header);
        return true;
    }
    return false;
}

} // namespace kavrino
