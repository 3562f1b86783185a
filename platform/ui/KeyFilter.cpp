#include "KeyFilter.h"

#include "ThreadHandOver.h"
#include "UiInternal.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace kavrino {

void KeyFilter::Ensure() {
    static KeyFilter* filter = nullptr;
    if (!filter && QCoreApplication::instance()) {
        filter = new KeyFilter;
        QCoreApplication::instance()->installEventFilter(filter);
    }
}

unsigned VirtualKeyFromQt(int key) {
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return static_cast<unsigned>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<unsigned>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    default:
        return 0;
    }
}

int QtKeyFromVirtual(unsigned vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return static_cast<int>(vk);
    if (vk >= VK_F1 && vk < VK_F1 + 24)
        return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    switch (vk) {
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_DELETE:
        return Qt::Key_Delete;
    case VK_LEFT:
        return Qt::Key_Left;
    case VK_RIGHT:
        return Qt::Key_Right;
    case VK_UP:
        return Qt::Key_Up;
    case VK_DOWN:
        return Qt::Key_Down;
    case VK_HOME:
        return Qt::Key_Home;
    case VK_END:
        return Qt::Key_End;
    case VK_PRIOR:
        return Qt::Key_PageUp;
    case VK_NEXT:
        return Qt::Key_PageDown;
    default:
        return 0;
    }
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    // The first of our code to see every event (but while a modal window runs, when its filter comes
    // first), also one posted by another thread (UiThread).
    TakeOver(event);
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    // The key on its way after the pre-translation below let it go.
    if (IsForwarding(event))
        return false;
    // Keys of windows that are not the program's own (message boxes, file dialogs, pop-up lists, a
    // library's windows) keep their own handling.
    const HWND focus = WindowRegistry::HandleOf(watched);
    if (!focus)
        return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    MSG msg{};
    msg.hwnd = focus;
    msg.message = type == QEvent::KeyPress ? WM_KEYDOWN : WM_KEYUP;
    msg.wParam = VirtualKeyFromQt(ke->key());
    msg.lParam = ke->isAutoRepeat() ? (1 << 30) | 1 : 1;
    if (!msg.wParam)
        return false;
    // A handler may destroy the widget (a dialog that ends); only a live one gets the key.
    const QPointer<QObject> target = watched;
    for (HWND h = focus; h;) {
        WindowState* s = FindWindowState(h);
        if (!s)
            break;
        const HWND parent = s->parent;
        if (s->wnd && s->wnd->PreTranslateMessage(&msg))
            return true;
        h = parent;
    }
    // Nobody took it: the key goes to the widget now, and Qt offers what the widget leaves to each parent
    // in turn. Handing it on here, rather than letting Qt go on, means this filter sees every key once
    // and keeps nothing about it afterwards (a window may be gone by the next key).
    if (target)
        SendForwarded(target, event);
    event->accept();
    return true;
}

} // namespace kavrino
