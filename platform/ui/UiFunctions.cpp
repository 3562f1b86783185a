// The window system's free functions: messages by handle, focus and capture, cursors and icons, system
// metrics, injected keys and the input-method calls.

#include "DialogTemplate.h"
#include "UiDefs.h"

#include "CWnd.h"
#include "KeyFilter.h"
#include "UiInternal.h"
#include "UiThread.h"

#include <QApplication>
#include <QColor>
#include <QCursor>
#include <QKeyEvent>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <map>
#include <mutex>
#include <vector>

using namespace kavrino;

namespace {

struct CursorEntry {
    QPixmap pixmap;
    Qt::CursorShape shape = Qt::ArrowCursor;
    bool isShape = true;
};

std::mutex g_resourceMutex;
std::vector<QPixmap> g_icons;       // handle = index + 1
std::vector<CursorEntry> g_cursors; // handle = index + 1
std::map<int, HICON> g_iconById;
std::map<ULONG_PTR, HCURSOR> g_cursorById;
HCURSOR g_currentCursor = nullptr;

QPixmap LoadPixmap(const QString& path) {
    kavrino::RegisterResources();
    QPixmap p(path);
    if (p.isNull()) {
        // A missing picture becomes a blank one, so windows still get an icon.
        p = QPixmap(32, 32);
        p.fill(Qt::transparent);
    }
    return p;
}

QCursor CursorOf(HCURSOR cursor) {
    std::lock_guard<std::mutex> lock(g_resourceMutex);
    const std::size_t i = reinterpret_cast<std::uintptr_t>(cursor);
    if (i == 0 || i > g_cursors.size())
        return QCursor(Qt::ArrowCursor);
    const CursorEntry& e = g_cursors[i - 1];
    return e.isShape ? QCursor(e.shape) : QCursor(e.pixmap, e.pixmap.width() / 2, e.pixmap.height() / 2);
}

} // namespace

namespace kavrino {

HICON IconHandle(int resourceId) {
    {
        std::lock_guard<std::mutex> lock(g_resourceMutex);
        auto it = g_iconById.find(resourceId);
        if (it != g_iconById.end())
            return it->second;
    }
    QPixmap pixmap = LoadPixmap(QString(":/res/icon%1.xpm").arg(resourceId));
    std::lock_guard<std::mutex> lock(g_resourceMutex);
    g_icons.push_back(pixmap);
    HICON h = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(g_icons.size()));
    g_iconById[resourceId] = h;
    return h;
}

QPixmap IconPixmap(HICON icon) {
    std::lock_guard<std::mutex> lock(g_resourceMutex);
    const std::size_t i = reinterpret_cast<std::uintptr_t>(icon);
    if (i == 0 || i > g_icons.size())
        return QPixmap();
    return g_icons[i - 1];
}

} // namespace kavrino

HICON LoadIcon(HINSTANCE, LPCTSTR name) {
    if (!IS_INTRESOURCE(name))
        return nullptr;
    return IconHandle(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
}

HCURSOR LoadCursor(HINSTANCE instance, LPCTSTR name) {
    if (!IS_INTRESOURCE(name))
        return nullptr;
    const ULONG_PTR id = reinterpret_cast<ULONG_PTR>(name);
    const ULONG_PTR key = instance ? id : id | 0x10000;
    {
        std::lock_guard<std::mutex> lock(g_resourceMutex);
        auto it = g_cursorById.find(key);
        if (it != g_cursorById.end())
            return it->second;
    }
    CursorEntry entry;
    if (!instance && id >= 32512) {
        switch (id) {
        case 32513:
            entry.shape = Qt::IBeamCursor;
            break;
        case 32514:
            entry.shape = Qt::WaitCursor;
            break;
        case 32515:
            entry.shape = Qt::CrossCursor;
            break;
        case 32646:
            entry.shape = Qt::SizeAllCursor;
            break;
        case 32649:
            entry.shape = Qt::PointingHandCursor;
            break;
        default:
            entry.shape = Qt::ArrowCursor;
        }
    } else {
        entry.isShape = false;
        entry.pixmap = LoadPixmap(QString(":/res/cursor%1.xpm").arg(id));
    }
    std::lock_guard<std::mutex> lock(g_resourceMutex);
    g_cursors.push_back(entry);
    HCURSOR h = reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(g_cursors.size()));
    g_cursorById[key] = h;
    return h;
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = g_currentCursor;
    g_currentCursor = cursor;
    RunOnUi([cursor] {
        // The window under the mouse is the one handling a mouse message now (or holding the capture).
        // Asking the X server which window is under the pointer instead walks windows that may be going
        // away meanwhile.
        QWidget* target = QWidget::mouseGrabber();
        if (!target)
            target = MouseMessageWidget();
        if (!target)
            target = QApplication::activeWindow();
        if (target)
            target->setCursor(CursorOf(cursor));
    });
    return previous;
}

HCURSOR GetCursor() {
    return g_currentCursor;
}

namespace kavrino {

BOOL PostMessageThen(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, std::function<void()> delivered) {
    if (!WindowRegistry::Instance().Contains(hwnd))
        return FALSE;
    PostToUiThread([hwnd, message, wParam, lParam, delivered = std::move(delivered)] {
        SendTo(hwnd, message, wParam, lParam);
        if (delivered)
            delivered();
    });
    return TRUE;
}

} // namespace kavrino

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageThen(hwnd, message, wParam, lParam, nullptr);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    RunOnUi([&] { result = SendTo(hwnd, message, wParam, lParam); });
    return result;
}

BOOL IsWindow(HWND hwnd) {
    return WindowRegistry::Instance().Contains(hwnd) ? TRUE : FALSE;
}

HWND GetFocus() {
    HWND focus = nullptr;
    RunOnUi([&] { focus = WindowRegistry::HandleOf(LastFocus()); });
    return focus;
}

HWND SetFocus(HWND hwnd) {
    HWND previous = GetFocus();
    if (CWnd* w = CWnd::FromHandle(hwnd))
        w->SetFocus();
    return previous;
}

HWND GetCapture() {
    HWND capture = nullptr;
    RunOnUi([&] { capture = WindowRegistry::HandleOf(QWidget::mouseGrabber()); });
    return capture;
}

BOOL ReleaseCapture() {
    RunOnUi([] {
        if (QWidget* w = QWidget::mouseGrabber())
            w->releaseMouse();
    });
    return TRUE;
}

BOOL MessageBeep(UINT) {
    return TRUE;
}

void AfxEnableControlContainer() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    return init ? TRUE : FALSE;
}

DWORD GetSysColor(int index) {
    if (index != COLOR_BTNFACE)
        return RGB(0, 0, 0);
    QColor face;
    RunOnUi([&] { face = QApplication::palette().color(QPalette::Window); });
    return RGB(static_cast<BYTE>(face.red()), static_cast<BYTE>(face.green()),
               static_cast<BYTE>(face.blue()));
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 17;
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        int value = 0;
        RunOnUi([&] {
            if (QScreen* s = QGuiApplication::primaryScreen())
                value = index == SM_CXSCREEN ? s->geometry().width() : s->geometry().height();
        });
        return value;
    }
    default:
        return 0;
    }
}

void keybd_event(BYTE vk, BYTE, DWORD flags, ULONG_PTR) {
    const int key = QtKeyFromVirtual(vk);
    if (!key)
        return;
    const bool up = (flags & KEYEVENTF_KEYUP) != 0;
    const QString text = vk == VK_SPACE ? QStringLiteral(" ") : QString();
    // Queued like real input: the injected key reaches the focus window after the caller returns.
    PostToUiThread([key, up, text] {
        QWidget* target = LastFocus();
        if (!target)
            return;
        QKeyEvent event(up ? QEvent::KeyRelease : QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &event);
    });
}

UINT SendInput(UINT count, LPINPUT inputs, int) {
    UINT sent = 0;
    for (UINT i = 0; inputs && i < count; ++i) {
        if (inputs[i].type != INPUT_KEYBOARD)
            continue;
        keybd_event(static_cast<BYTE>(inputs[i].ki.wVk), 0, inputs[i].ki.dwFlags, 0);
        ++sent;
    }
    return sent;
}

// The input context of a window is its handle.
HIMC ImmGetContext(HWND hwnd) {
    return IsWindow(hwnd) ? reinterpret_cast<HIMC>(hwnd) : nullptr;
}

BOOL ImmGetConversionStatus(HIMC context, DWORD* conversion, DWORD* sentence) {
    HWND hwnd = reinterpret_cast<HWND>(context);
    return WithWindow(hwnd, FALSE, [&](WindowState& s) {
        if (conversion)
            *conversion = s.imeConversion;
        if (sentence)
            *sentence = s.imeSentence;
        return TRUE;
    });
}

BOOL ImmSetConversionStatus(HIMC context, DWORD conversion, DWORD sentence) {
    HWND hwnd = reinterpret_cast<HWND>(context);
    return WithWindow(hwnd, FALSE, [&](WindowState& s) {
        s.imeConversion = conversion;
        s.imeSentence = sentence;
        return TRUE;
    });
}

BOOL ImmReleaseContext(HWND, HIMC context) {
    return context ? TRUE : FALSE;
}
