#pragma once
// Window-system internals shared by its source files (not for the system's code).

#include "UiDefs.h"
#include "WindowRegistry.h"

#include <QPoint>
#include <functional>

class QEvent;
class QMouseEvent;
class QObject;
class QWidget;
class QPixmap;
class QString;
class CDialog;

namespace kavrino {

// Sends the message to the window's object on this (the user-interface) thread; 0 when the handle names
// no window.
LRESULT SendTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The same for a message that stands for a Qt event: Default() inside the handler gives the event to the
// widget's own handling.
LRESULT SendWithEvent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, QObject* target, QEvent* event);
// The Qt event behind the message being handled, when there is one not yet given to the widget.
struct CurrentMessage {
    CWnd* wnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    QObject* target;
    QEvent* event;
    bool forwarded;
    HWND hwnd = nullptr; // the window's handle when the message came (set by PushMessage)
};
CurrentMessage* CurrentMessageOf(const CWnd* wnd);
// The client widget of the window whose mouse message (WM_MOUSEMOVE ... WM_MOUSEWHEEL) is being handled
// now, or null.
QWidget* MouseMessageWidget();
void PushMessage(const CurrentMessage& m);
void PopMessage();
bool ForwardEvent(CurrentMessage& m);
// Gives the event to the target (and, as Qt does, on to its parents) while the window system's filters
// let it pass untouched: they have seen it already.
bool SendForwarded(QObject* target, QEvent* event);
// True while the event is being forwarded that way.
bool IsForwarding(const QEvent* event);

// PostMessage; then, on the user-interface thread right after the message's handler has run (or found the
// window gone), the delivered call.
BOOL PostMessageThen(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, std::function<void()> delivered);

// The window's text as GetWindowText gives it (user-interface thread).
QString WidgetText(const WindowState& s);
// The window's class name, as other programs name it: "#32770" for a dialog, "Button", "Edit", "Static",
// "ListBox", "ComboBox", "SysListView32", "msctls_trackbar32", "SysIPAddress32" for the controls.
QString ClassNameOf(const WindowState& s);

// WM_COMMAND / WM_NOTIFY from a control to its parent.
void NotifyParent(HWND control, UINT code);
LRESULT NotifyParent(HWND control, UINT code, NMHDR* header);

// Control notifications are not sent while the program itself changes a control (as the original only
// notifies the user's changes).
class QuietScope {
public:
    QuietScope();
    ~QuietScope();
    static bool Active();
};

LPARAM PackPoint(const QPoint& p);
UINT MouseKeyFlags(const QMouseEvent* event);
// The message for a mouse event (WM_LBUTTONDOWN, ...), or 0.
UINT MouseMessage(const QMouseEvent* event);

// Runs the work on the user-interface thread (at once when called there).
void RunOnUi(const std::function<void()>& work);

// Runs f(state) for the live window on the user-interface thread; the fallback when the handle names no
// window (also when it was destroyed before the call ran).
// The work is handed over by reference, so that no call allocates memory for it.
template <typename R, typename F> R WithWindow(HWND hwnd, R fallback, F&& f) {
    R result = fallback;
    auto run = [&] {
        if (WindowState* s = FindWindowState(hwnd))
            result = f(*s);
    };
    RunOnUi(std::cref(run));
    return result;
}
template <typename F> void WithWindowDo(HWND hwnd, F&& f) {
    auto run = [&] {
        if (WindowState* s = FindWindowState(hwnd))
            f(*s);
    };
    RunOnUi(std::cref(run));
}
// Destroys the window and its children (WM_DESTROY to each first, unless told not to for the top one).
void DestroyWindowTree(HWND hwnd, bool notifyTop);

// The system menu at a screen position; the choice is sent as WM_SYSCOMMAND.
void ShowSystemMenu(HWND hwnd, const QPoint& globalPos);
// The operator's close request of a top-level window (the close box): WM_SYSCOMMAND SC_CLOSE.
void RequestClose(HWND hwnd);

// Releases the temporary device contexts made for an HDC (CDC::FromHandle).
void ReleaseTempDC(HDC hdc);

// Called when a modal loop should end because its dialog was destroyed.
void EndModalOnDestroy(CWnd* wnd);

// The focus widget, or the one the program focused last when no window is active (headless runs).
void SetLastFocus(QWidget* widget);
// The focus moved to a window (by the program or the user): EN_KILLFOCUS to the edit that had it and
// EN_SETFOCUS to the edit that gets it, once per change, as the original sends them.
void FocusMovedTo(HWND hwnd);
QWidget* LastFocus();
// Moves the focus of a window to its next (or previous) control that Tab stops at: enabled, shown, a tab
// stop, and not hidden whole under a child window shown above it (a page over the main window's
// controls). Returns false when there is no other.
bool MoveTabFocus(QWidget* window, bool next);

// Installs the key pre-translation and the Hangul application font, once.
void EnsureWindowSystem();
// Ends the framework's message loop when the application's main window goes.
void MainWindowGone(CWnd* wnd);

HICON IconHandle(int resourceId);
QPixmap IconPixmap(HICON icon);

} // namespace kavrino
