#include "UiInternal.h"

#include "CDialog.h"
#include "CMenu.h"
#include "QtText.h"
#include "UiThread.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <mutex>

namespace kavrino {

namespace {
std::vector<CurrentMessage> g_current;
const QEvent* g_forwarding = nullptr;
int g_quiet = 0;
// The event that the next dispatched message stands for (picked up by CWnd::WindowProc).
QObject* g_pendingTarget = nullptr;
QEvent* g_pendingEvent = nullptr;
} // namespace

void RunOnUi(const std::function<void()>& work) {
    RunOnUiThread(work);
}

LRESULT SendTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendWithEvent(hwnd, message, wParam, lParam, nullptr, nullptr);
}

LRESULT SendWithEvent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, QObject* target, QEvent* event) {
    WindowState* s = FindWindowState(hwnd);
    if (!s || !s->wnd)
        return 0;
    g_pendingTarget = target;
    g_pendingEvent = event;
    return s->wnd->WindowProc(message, wParam, lParam);
}

void PushMessage(const CurrentMessage& m) {
    CurrentMessage entry = m;
    entry.target = g_pendingTarget;
    entry.event = g_pendingEvent;
    entry.hwnd = m.wnd ? m.wnd->m_hWnd : nullptr;
    g_pendingTarget = nullptr;
    g_pendingEvent = nullptr;
    g_current.push_back(entry);
}

void PopMessage() {
    if (!g_current.empty())
        g_current.pop_back();
}

CurrentMessage* CurrentMessageOf(const CWnd* wnd) {
    for (auto it = g_current.rbegin(); it != g_current.rend(); ++it)
        if (it->wnd == wnd)
            return &*it;
    return nullptr;
}

QWidget* MouseMessageWidget() {
    for (auto it = g_current.rbegin(); it != g_current.rend(); ++it) {
        if (it->message < WM_MOUSEMOVE || it->message > WM_MOUSEWHEEL)
            continue;
        if (WindowState* s = FindWindowState(it->hwnd))
            return s->client ? s->client.data() : s->widget.data();
    }
    return nullptr;
}

bool ForwardEvent(CurrentMessage& m) {
    if (!m.target || !m.event || m.forwarded)
        return false;
    m.forwarded = true;
    SendForwarded(m.target, m.event);
    return true;
}

bool SendForwarded(QObject* target, QEvent* event) {
    const QEvent* saved = g_forwarding;
    g_forwarding = event;
    const bool handled = QCoreApplication::sendEvent(target, event);
    g_forwarding = saved;
    return handled;
}

bool IsForwarding(const QEvent* event) {
    return event && event == g_forwarding;
}

void NotifyParent(HWND control, UINT code) {
    WindowState* s = FindWindowState(control);
    if (!s || !s->parent || QuietScope::Active())
        return;
    SendTo(s->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(s->id), static_cast<WORD>(code)),
           reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(HWND control, UINT code, NMHDR* header) {
    WindowState* s = FindWindowState(control);
    if (!s || !s->parent || QuietScope::Active())
        return 0;
    header->hwndFrom = control;
    header->idFrom = static_cast<UINT_PTR>(s->id);
    header->code = code;
    return SendTo(s->parent, WM_NOTIFY, static_cast<WPARAM>(s->id), reinterpret_cast<LPARAM>(header));
}

QuietScope::QuietScope() {
    ++g_quiet;
}
QuietScope::~QuietScope() {
    --g_quiet;
}
bool QuietScope::Active() {
    return g_quiet > 0;
}

LPARAM PackPoint(const QPoint& p) {
    return MAKELPARAM(static_cast<WORD>(static_cast<std::int16_t>(p.x())),
                      static_cast<WORD>(static_cast<std::int16_t>(p.y())));
}

UINT MouseKeyFlags(const QMouseEvent* event) {
    UINT flags = 0;
    const Qt::MouseButtons b = event->buttons();
    if (b & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (b & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (b & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT MouseMessage(const QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    switch (event->type()) {
    case QEvent::MouseMove:
        return WM_MOUSEMOVE;
    case QEvent::MouseButtonPress:
        return left                                  ? WM_LBUTTONDOWN
               : right                               ? WM_RBUTTONDOWN
               : event->button() == Qt::MiddleButton ? WM_MBUTTONDOWN
                                                     : 0;
    case QEvent::MouseButtonRelease:
        return left                                  ? WM_LBUTTONUP
               : right                               ? WM_RBUTTONUP
               : event->button() == Qt::MiddleButton ? WM_MBUTTONUP
                                                     : 0;
    case QEvent::MouseButtonDblClick:
        return left ? WM_LBUTTONDBLCLK : right ? WM_RBUTTONDBLCLK : 0;
    default:
        return 0;
    }
}

void DestroyWindowTree(HWND hwnd, bool notifyTop) {
    WindowState* s = FindWindowState(hwnd);
    if (!s)
        return;
    if (notifyTop)
        SendTo(hwnd, WM_DESTROY, 0, 0);
    s = FindWindowState(hwnd); // the handler may have destroyed it already
    if (!s)
        return;
    const std::vector<HWND> children = s->children;
    for (HWND child : children)
        DestroyWindowTree(child, true);
    s = FindWindowState(hwnd);
    if (!s)
        return;
    for (auto& timer : s->timers)
        delete timer.second;
    s->timers.clear();
    if (WindowState* parent = FindWindowState(s->parent)) {
        auto& list = parent->children;
        list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
    }
    std::unique_ptr<WindowState> owned = WindowRegistry::Instance().Remove(hwnd);
    CWnd* wnd = owned->wnd;
    if (wnd && wnd->m_hWnd == hwnd)
        wnd->m_hWnd = nullptr;
    if (owned->own)
        owned->own->m_hWnd = nullptr;
    if (wnd) {
        EndModalOnDestroy(wnd);
        MainWindowGone(wnd);
    }
    if (QWidget* w = owned->widget) {
        // Deleting later keeps a widget alive whose event handler is on the stack now; children that are
        // deleted with their parent first drop their own pending deletion.
        w->hide();
        w->deleteLater();
    }
    // The record (and a control's own object) may be on the stack too: release it later.
    auto holder = std::make_shared<std::unique_ptr<WindowState>>(std::move(owned));
    PostToUiThread([holder] { holder->reset(); });
}

void RequestClose(HWND hwnd) {
    SendTo(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void ShowSystemMenu(HWND hwnd, const QPoint& globalPos) {
    WindowState* s = FindWindowState(hwnd);
    if (!s || !(s->style & WS_SYSMENU))
        return;
    QMenu menu;
    auto add = [&](const QString& text, UINT id, bool enabled) {
        QAction* a = menu.addAction(text);
        a->setData(id);
        a->setEnabled(enabled);
    };
    if (const CMenu* sys = s->systemMenu.get()) {
        for (const CMenu::Item& item : sys->Items()) {
            if (item.flags & MF_SEPARATOR)
                menu.addSeparator();
            else if (item.id != SC_MOVE && item.id != SC_SIZE)
                add(ToQString(item.text).remove('&'), static_cast<UINT>(item.id),
                    !(item.flags & (MF_GRAYED | MF_DISABLED)));
        }
    } else {
        add(QStringLiteral("Restore"), SC_RESTORE, true);
        if (s->style & WS_MINIMIZEBOX)
            add(QStringLiteral("Minimize"), SC_MINIMIZE, true);
        if (s->style & WS_MAXIMIZEBOX)
            add(QStringLiteral("Maximize"), SC_MAXIMIZE, true);
        menu.addSeparator();
        add(QStringLiteral("Close"), SC_CLOSE, true);
    }
    QAction* chosen = menu.exec(globalPos);
    if (chosen)
        SendTo(hwnd, WM_SYSCOMMAND, chosen->data().toUInt(), 0);
}

CWnd* WndFromHandle(HWND hwnd) {
    return CWnd::FromHandle(hwnd);
}

namespace {
// A control that a child window shown above it covers whole: the operator cannot see it, so it takes no key.
bool CoveredByChildWindow(const QWidget* control) {
    const QWidget* parent = control->parentWidget();
    if (!parent)
        return false;
    const QObjectList& siblings = parent->children();
    for (int i = siblings.indexOf(const_cast<QWidget*>(control)) + 1; i > 0 && i < siblings.size(); ++i) {
        const auto* s = qobject_cast<const QWidget*>(siblings.at(i));
        if (!s || s->isWindow() || !s->isVisible())
            continue;
        const WindowState* state = FindWindowState(WindowRegistry::HandleOf(s));
        if (state && state->dialog && s->geometry().contains(control->geometry()))
            return true;
    }
    return false;
}
} // namespace

bool MoveTabFocus(QWidget* window, bool next) {
    QWidget* from = window->focusWidget() ? window->focusWidget() : window;
    for (QWidget* w = from;;) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from)
            return false;
        if (w->window() == window && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(window) && !w->focusProxy() && !CoveredByChildWindow(w)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}

} // namespace kavrino

#include "CFont.h"
#include "ClickBurstFilter.h"
#include "KeyFilter.h"
#include "ModalStack.h"
#include <QApplication>

namespace kavrino {
void EnsureWindowSystem() {
    static bool done = false;
    if (done || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    done = true;
    KeyFilter::Ensure();
    ClickBurstFilter::Ensure();
    // Last, so that it sees every event first.
    ModalStack::Ensure();
    QFont font = QApplication::font();
    font.setFamily(HangulFontFamily());
    QApplication::setFont(font);
}
} // namespace kavrino
