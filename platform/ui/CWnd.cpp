#include "CWnd.h"

#include "AfxMessageBox.h"
#include "CButton.h"
#include "CClientDC.h"
#include "CMenu.h"
#include "CWinApp.h"
#include "KeyFilter.h"
#include "MilErrorScope.h"
#include "QtText.h"
#include "UiInternal.h"
#include "SurfaceWidget.h"
#include "UiThread.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>
#include <cwctype>

using namespace kavrino;

namespace {

QPointer<QWidget> g_lastFocus;
// A timer's property: its WM_TIMER is posted and not yet handled.
const char* const kTimerDue = "kavrinoTimerDue";
HWND g_focusHwnd = nullptr;

struct MessageScope {
    MessageScope(CWnd* w, UINT m, WPARAM wp, LPARAM lp) {
        PushMessage({w, m, wp, lp, nullptr, nullptr, false});
    }
    ~MessageScope() { PopMessage(); }
};

void SetWidgetText(WindowState& s, const QString& text) {
    QWidget* w = s.widget;
    if (!w)
        return;
    if (s.dialog) {
        w->setWindowTitle(text);
        return;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        // A one-line edit reports every text set to it, the same text included, as its change.
        if (e->text() == text)
            emit e->textChanged(text);
        else
            e->setText(text);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        QString plain = text;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        p->setPlainText(plain);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable())
            c->setEditText(text);
    } else {
        w->setProperty("kavrinoText", text);
    }
}

void ApplyScrollBar(WindowState& s, int bar, bool disableNoScroll) {
    QScrollBar* b = s.bars[bar];
    if (!b)
        return;
    const SCROLLINFO& si = s.scroll[bar];
    const int page = static_cast<int>(si.nPage);
    const int top = std::max(si.nMin, si.nMax - std::max(page - 1, 0));
    b->blockSignals(true);
    b->setRange(si.nMin, top);
    b->setPageStep(std::max(page, 1));
    b->setSingleStep(1);
    b->setValue(si.nPos);
    b->blockSignals(false);
    const bool needed = si.nMax > si.nMin && (page == 0 || si.nMax - si.nMin + 1 > page);
    if (needed) {
        b->setEnabled(true);
        b->show();
    } else if (disableNoScroll) {
        b->setEnabled(false);
        b->show();
    } else {
        b->hide();
    }
}

int ClampScrollPos(const SCROLLINFO& si, int pos) {
    const int page = static_cast<int>(si.nPage);
    const int top = std::max(si.nMin, si.nMax - std::max(page - 1, 0));
    return std::max(si.nMin, std::min(pos, top));
}

} // namespace

namespace kavrino {

QString WidgetText(const WindowState& s) {
    QWidget* w = s.widget;
    if (!w)
        return QString();
    if (s.dialog)
        return w->windowTitle();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        return p->toPlainText().replace('\n', QStringLiteral("\r\n"));
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    return w->property("kavrinoText").toString();
}

void SetLastFocus(QWidget* w) {
    g_lastFocus = w;
}
void FocusMovedTo(HWND hwnd) {
    if (hwnd == g_focusHwnd)
        return;
    const HWND old = g_focusHwnd;
    g_focusHwnd = hwnd;
    if (WindowState* o = FindWindowState(old); o && o->kind == "EDITTEXT")
        NotifyParent(old, EN_KILLFOCUS);
    if (WindowState* n = FindWindowState(hwnd); n && n->kind == "EDITTEXT")
        NotifyParent(hwnd, EN_SETFOCUS);
}
QWidget* LastFocus() {
    if (QWidget* f = QApplication::focusWidget())
        return f;
    return g_lastFocus && g_lastFocus->isVisible() ? g_lastFocus.data() : nullptr;
}
} // namespace kavrino

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() {
    if (IsUiThread())
        EnsureWindowSystem();
}

CWnd::~CWnd() {
    if (!m_hWnd)
        return;
    HWND hwnd = m_hWnd;
    RunOnUi([this, hwnd] {
        WindowState* s = FindWindowState(hwnd);
        if (!s || s->wnd != this)
            return;
        if (s->own) {
            s->wnd = s->own.get(); // a control goes on with its own object
        } else {
            // The object is going: its window goes without calling back into it.
            s->wnd = nullptr;
            DestroyWindowTree(hwnd, false);
        }
    });
    m_hWnd = nullptr;
}

WindowState* CWnd::State() const {
    return FindWindowState(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    WindowState* s = FindWindowState(hwnd);
    return s ? s->wnd : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return FromHandle(hwnd);
}

CWnd* CWnd::GetDesktopWindow() {
    static CWnd* desktop = new CWnd;
    return desktop;
}

BOOL CWnd::Attach(HWND hwnd) {
    return WithWindow(hwnd, FALSE, [&](WindowState& s) {
        if (s.wnd && s.wnd != s.own.get() && s.wnd != this)
            return FALSE;
        s.wnd = this;
        m_hWnd = hwnd;
        return TRUE;
    });
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    WithWindowDo(hwnd, [&](WindowState& s) {
        if (s.wnd == this)
            s.wnd = s.own.get();
    });
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    return Attach(hwnd);
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND item = nullptr;
    if (parent)
        parent->GetDlgItem(static_cast<int>(id), &item);
    return item ? Attach(item) : FALSE;
}

BOOL CWnd::DestroyWindow() {
    HWND hwnd = m_hWnd;
    if (!hwnd)
        return FALSE;
    BOOL ok = FALSE;
    RunOnUi([&] {
        if (FindWindowState(hwnd)) {
            DestroyWindowTree(hwnd, true);
            ok = TRUE;
        }
    });
    return ok;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    MessageScope scope(this, message, wParam, lParam);
    // Each message is one piece of work: the imaging library's error query inside its handler reports
    // the failures of that handler's own calls, never one an earlier handler left unqueried.
    MilErrorScope errorScope;
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            result = DefWindowProc(message, wParam, lParam);
    } else if (message == WM_NOTIFY) {
        if (!OnNotify(wParam, lParam, &result))
            result = DefWindowProc(message, wParam, lParam);
    } else if (!DispatchToMap(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    return DispatchToMap(WM_COMMAND, wParam, lParam, nullptr) ? TRUE : FALSE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    return DispatchToMap(WM_NOTIFY, 0, lParam, pResult) ? TRUE : FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CurrentMessage* m = CurrentMessageOf(this); m && m->message == message && m->event) {
        ForwardEvent(*m);
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE: {
            WindowState* s = State();
            if (s && s->systemMenu && !s->systemMenu->IsEnabled(SC_CLOSE))
                return 0;
            SendMessage(WM_CLOSE);
            return 0;
        }
        case SC_MINIMIZE:
            ShowWindow(SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            ShowWindow(SW_MAXIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindow(SW_RESTORE);
            return 0;
        default:
            return 0;
        }
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(GetIcon(TRUE));
    case WM_SETTEXT:
        SetWindowText(reinterpret_cast<LPCTSTR>(lParam));
        return TRUE;
    case WM_GETTEXTLENGTH:
        return GetWindowTextLength();
    case WM_GETTEXT:
        return GetWindowText(reinterpret_cast<LPTSTR>(lParam), static_cast<int>(wParam));
    case WM_SETREDRAW:
        SetRedraw(static_cast<BOOL>(wParam));
        return 0;
    case WM_SETICON:
        return reinterpret_cast<LRESULT>(SetIcon(reinterpret_cast<HICON>(lParam), wParam == ICON_BIG));
    default:
        return 0;
    }
}

LRESULT CWnd::Default() {
    if (CurrentMessage* m = CurrentMessageOf(this))
        return DefWindowProc(m->message, m->wParam, m->lParam);
    return 0;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

// --- text, visibility, geometry ---

void CWnd::SetWindowText(LPCTSTR text) {
    const QString q = ToQString(text);
    WithWindowDo(m_hWnd, [&](WindowState& s) { SetWidgetText(s, q); });
}

int CWnd::GetWindowText(LPTSTR buffer, int maxCount) const {
    if (!buffer || maxCount <= 0)
        return 0;
    CString text;
    GetWindowText(text);
    const int n = std::min(text.GetLength(), maxCount - 1);
    std::wmemcpy(buffer, text.GetString(), static_cast<std::size_t>(n));
    buffer[n] = L'\0';
    return n;
}

void CWnd::GetWindowText(CString& text) const {
    text = WithWindow(m_hWnd, CString(), [](WindowState& s) { return FromQString(WidgetText(s)); });
}

int CWnd::GetWindowTextLength() const {
    CString text;
    GetWindowText(text);
    return text.GetLength();
}

BOOL CWnd::ShowWindow(int cmdShow) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QWidget* w = s.widget;
        if (!w)
            return FALSE;
        const BOOL wasVisible = w->isVisibleTo(w->parentWidget() ? w->parentWidget() : w) && !w->isHidden();
        // WM_SHOWWINDOW goes to a window whose own visibility is about to change, before it changes.
        const bool hide =
            cmdShow == SW_HIDE || (!w->isWindow() && (cmdShow == SW_MINIMIZE || cmdShow == SW_SHOWMINIMIZED ||
                                                      cmdShow == SW_SHOWMINNOACTIVE));
        if (w->isHidden() != hide) {
            const HWND hwnd = m_hWnd;
            SendTo(hwnd, WM_SHOWWINDOW, hide ? FALSE : TRUE, 0);
            if (!FindWindowState(hwnd) || s.widget != w)
                return FALSE;
        }
        const bool top = w->isWindow();
        // A hidden top-level window comes back where it was (the window manager would place it anew).
        if (top && cmdShow != SW_HIDE && w->isHidden() && s.shownAt) {
            w->move(*s.shownAt);
            s.shownAt.reset();
        }
        switch (cmdShow) {
        case SW_HIDE:
            if (top && w->isVisible())
                s.shownAt = w->pos();
            w->hide();
            break;
        case SW_SHOWMAXIMIZED:
            top ? w->showMaximized() : w->show();
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            top ? w->showMinimized() : w->hide();
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
            top ? w->showNormal() : w->show();
            break;
        default:
            w->show();
            break;
        }
        if (cmdShow != SW_HIDE) {
            w->raise();
            if (top && cmdShow != SW_SHOWNA && cmdShow != SW_SHOWNOACTIVATE && cmdShow != SW_SHOWMINNOACTIVE)
                w->activateWindow();
        }
        return wasVisible;
    });
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::IsIconic() const {
    return WithWindow(m_hWnd, FALSE, [](WindowState& s) {
        return s.widget && s.widget->window()->isMinimized() ? TRUE : FALSE;
    });
}

BOOL CWnd::IsZoomed() const {
    return WithWindow(m_hWnd, FALSE, [](WindowState& s) {
        return s.widget && s.widget->window()->isMaximized() ? TRUE : FALSE;
    });
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (QWidget* w = s.widget) {
            if (w->isWindow() && w->isMaximized())
                w->showNormal();
            w->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
            if (repaint)
                w->update();
        }
    });
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    if (rect)
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    const HWND after = insertAfter ? insertAfter->m_hWnd : nullptr;
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QWidget* w = s.widget;
        if (!w)
            return FALSE;
        QRect g = w->geometry();
        if (!(flags & SWP_NOMOVE))
            g.moveTo(x, y);
        if (!(flags & SWP_NOSIZE))
            g.setSize(QSize(std::max(cx, 0), std::max(cy, 0)));
        w->setGeometry(g);
        if (!(flags & SWP_NOZORDER)) {
            if (after == HWND_BOTTOM)
                w->lower();
            else
                w->raise();
        }
        if (flags & SWP_SHOWWINDOW)
            w->show();
        if (flags & SWP_HIDEWINDOW)
            w->hide();
        return TRUE;
    });
}

BOOL CWnd::EnableWindow(BOOL enable) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        if (!s.widget)
            return FALSE;
        const BOOL wasDisabled = s.widget->isEnabled() ? FALSE : TRUE;
        s.widget->setEnabled(enable != FALSE);
        return wasDisabled;
    });
}

BOOL CWnd::IsWindowEnabled() const {
    return WithWindow(m_hWnd, FALSE,
                      [](WindowState& s) { return s.widget && s.widget->isEnabled() ? TRUE : FALSE; });
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (!rect)
        return;
    *rect = WithWindow(m_hWnd, RECT{0, 0, 0, 0}, [](WindowState& s) {
        QWidget* c = s.client ? s.client.data() : s.widget.data();
        return c ? RECT{0, 0, c->width(), c->height()} : RECT{0, 0, 0, 0};
    });
}

void CWnd::GetWindowRect(LPRECT rect) const {
    if (!rect)
        return;
    *rect = WithWindow(m_hWnd, RECT{0, 0, 0, 0}, [](WindowState& s) {
        QWidget* w = s.widget;
        if (!w)
            return RECT{0, 0, 0, 0};
        QRect g = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
        return RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    });
}

void CWnd::ScreenToClient(LPPOINT point) const {
    if (!point)
        return;
    *point = WithWindow(m_hWnd, *point, [&](WindowState& s) {
        QWidget* c = s.client ? s.client.data() : s.widget.data();
        if (!c)
            return *point;
        QPoint p = c->mapFromGlobal(QPoint(point->x, point->y));
        return POINT{p.x(), p.y()};
    });
}

void CWnd::ScreenToClient(LPRECT rect) const {
    POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
    ScreenToClient(&a);
    ScreenToClient(&b);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ClientToScreen(LPPOINT point) const {
    if (!point)
        return;
    *point = WithWindow(m_hWnd, *point, [&](WindowState& s) {
        QWidget* c = s.client ? s.client.data() : s.widget.data();
        if (!c)
            return *point;
        QPoint p = c->mapToGlobal(QPoint(point->x, point->y));
        return POINT{p.x(), p.y()};
    });
}

void CWnd::ClientToScreen(LPRECT rect) const {
    POINT a{rect->left, rect->top}, b{rect->right, rect->bottom};
    ClientToScreen(&a);
    ClientToScreen(&b);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::CenterWindow(CWnd*) {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        QWidget* w = s.widget;
        if (!w || !w->isWindow())
            return;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = screen->availableGeometry();
            w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
        }
    });
}

void CWnd::BringWindowToTop() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (s.widget)
            s.widget->raise();
    });
}

CWnd* CWnd::SetActiveWindow() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (s.widget)
            s.widget->activateWindow();
    });
    return nullptr;
}

BOOL CWnd::SetForegroundWindow() {
    SetActiveWindow();
    return TRUE;
}

// --- focus and capture ---

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    WithWindowDo(m_hWnd, [](WindowState& s) {
        QWidget* w = s.widget;
        if (!w)
            return;
        if (s.dialog) {
            // A dialog gives the focus to its first control that takes it.
            for (HWND child : s.children) {
                WindowState* c = FindWindowState(child);
                if (c && c->widget && c->widget->isEnabled() && c->widget->isVisibleTo(w) &&
                    c->widget->focusPolicy() != Qt::NoFocus) {
                    w = c->widget;
                    break;
                }
            }
        }
        w->setFocus(Qt::OtherFocusReason);
        SetLastFocus(w);
        // The window may not be active (or not shown yet): the focus still moves as far as the
        // program can tell, notifications included.
        FocusMovedTo(WindowRegistry::HandleOf(w));
    });
    return previous;
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetCapture() {
    CWnd* previous = GetCapture();
    WithWindowDo(m_hWnd, [](WindowState& s) {
        QWidget* c = s.client ? s.client.data() : s.widget.data();
        if (c)
            c->grabMouse();
    });
    return previous;
}

CWnd* CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}

// --- painting ---

void CWnd::Invalidate(BOOL erase) {
    InvalidateRect(nullptr, erase);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) {
    const RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    const bool whole = rect == nullptr;
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        QWidget* c = s.client ? s.client.data() : s.widget.data();
        if (!c)
            return;
        if (erase) {
            if (auto* surface = dynamic_cast<SurfaceWidget*>(c))
                surface->Erase();
            s.overlay.reset();
        }
        if (whole)
            c->update();
        else
            c->update(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
        if (s.widget && s.widget != c && !s.dialog)
            s.widget->update();
    });
}

void CWnd::ValidateRect(LPCRECT) {}

void CWnd::UpdateWindow() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        QWidget* c = s.client ? s.client.data() : s.widget.data();
        if (c && c->isVisible())
            c->repaint();
    });
}

BOOL CWnd::RedrawWindow(LPCRECT rectUpdate, void*, UINT flags) {
    if (flags & (RDW_INVALIDATE | RDW_ERASE))
        InvalidateRect(rectUpdate, (flags & RDW_ERASE) ? TRUE : FALSE);
    if (flags & RDW_ALLCHILDREN) {
        WithWindowDo(m_hWnd, [](WindowState& s) {
            for (HWND child : s.children)
                if (WindowState* c = FindWindowState(child))
                    if (c->widget)
                        c->widget->update();
        });
    }
    if (flags & RDW_UPDATENOW)
        UpdateWindow();
    return TRUE;
}

void CWnd::SetRedraw(BOOL redraw) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (!s.widget)
            return;
        s.widget->setUpdatesEnabled(redraw != FALSE);
        if (redraw)
            s.widget->update();
    });
}

CDC* CWnd::GetDC() {
    auto dc = std::make_unique<CClientDC>(this);
    CDC* raw = dc.get();
    bool kept = false;
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        s.dcs.push_back(std::move(dc));
        kept = true;
    });
    return kept ? raw : nullptr;
}

int CWnd::ReleaseDC(CDC* dc) {
    int released = 0;
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        for (auto it = s.dcs.begin(); it != s.dcs.end(); ++it) {
            if (it->get() == dc) {
                s.dcs.erase(it);
                released = 1;
                break;
            }
        }
    });
    return released;
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        s.font = font;
        if (s.widget && font) {
            s.widget->setFont(font->Font());
            if (redraw)
                s.widget->update();
        }
    });
}

CFont* CWnd::GetFont() const {
    return WithWindow(m_hWnd, static_cast<CFont*>(nullptr), [](WindowState& s) { return s.font; });
}

// --- style ---

DWORD CWnd::GetStyle() const {
    return WithWindow(m_hWnd, DWORD(0), [](WindowState& s) {
        DWORD style = s.style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
        if (QWidget* w = s.widget) {
            if (!w->isHidden())
                style |= WS_VISIBLE;
            if (!w->isEnabled())
                style |= WS_DISABLED;
            if (w->isWindow() && w->isMinimized())
                style |= WS_MINIMIZE;
            if (w->isWindow() && w->isMaximized())
                style |= WS_MAXIMIZE;
        }
        return style;
    });
}

DWORD CWnd::GetExStyle() const {
    return WithWindow(m_hWnd, DWORD(0), [](WindowState& s) { return s.exStyle; });
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
    const DWORD before = GetStyle();
    const DWORD after = (before & ~remove) | add;
    if (after == before)
        return FALSE;
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        s.style = after;
        QWidget* w = s.widget;
        if (!w)
            return;
        if ((after ^ before) & WS_VISIBLE)
            w->setVisible(after & WS_VISIBLE);
        if ((after ^ before) & WS_DISABLED)
            w->setEnabled(!(after & WS_DISABLED));
        if (s.kind == "LISTCTRL") {
            if (auto* t = qobject_cast<QTableWidget*>(w))
                t->setSelectionMode((after & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                            : QAbstractItemView::ExtendedSelection);
        }
        for (int bar = 0; bar < 2; ++bar) {
            const DWORD bit = bar == 0 ? WS_HSCROLL : WS_VSCROLL;
            if (s.bars[bar] && ((after ^ before) & bit))
                s.bars[bar]->setVisible(after & bit);
        }
    });
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        const DWORD before = s.exStyle;
        s.exStyle = (before & ~remove) | add;
        return s.exStyle != before ? TRUE : FALSE;
    });
}

// --- relations ---

CWnd* CWnd::GetParent() const {
    return WithWindow(m_hWnd, static_cast<CWnd*>(nullptr),
                      [](WindowState& s) { return FromHandle(s.parent); });
}

CWnd* CWnd::GetTopLevelParent() const {
    return WithWindow(m_hWnd, static_cast<CWnd*>(nullptr), [](WindowState& s) {
        WindowState* top = &s;
        while (WindowState* p = FindWindowState(top->parent))
            top = p;
        return top->wnd;
    });
}

int CWnd::GetDlgCtrlID() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) { return s.id; });
}

int CWnd::SetDlgCtrlID(int id) {
    return WithWindow(m_hWnd, 0, [&](WindowState& s) {
        const int old = s.id;
        s.id = id;
        return old;
    });
}

void CWnd::GetDlgItem(int id, HWND* hwnd) const {
    if (!hwnd)
        return;
    *hwnd = WithWindow(m_hWnd, HWND(nullptr), [&](WindowState& s) {
        for (HWND child : s.children)
            if (WindowState* c = FindWindowState(child); c && c->id == id)
                return child;
        return HWND(nullptr);
    });
}

CWnd* CWnd::GetDlgItem(int id) const {
    HWND item = nullptr;
    GetDlgItem(id, &item);
    return item ? FromHandle(item) : nullptr;
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const {
    const HWND from = control ? control->m_hWnd : nullptr;
    return WithWindow(m_hWnd, static_cast<CWnd*>(nullptr), [&](WindowState& s) -> CWnd* {
        std::vector<HWND> stops;
        for (HWND child : s.children) {
            WindowState* c = FindWindowState(child);
            if (c && c->widget && !c->widget->isHidden() && c->widget->isEnabled() &&
                c->widget->focusPolicy() != Qt::NoFocus && !c->dialog)
                stops.push_back(child);
        }
        if (stops.empty())
            return nullptr;
        auto it = std::find(stops.begin(), stops.end(), from);
        std::size_t i;
        if (it == stops.end())
            i = previous ? stops.size() - 1 : 0;
        else if (previous)
            i = it == stops.begin() ? stops.size() - 1 : static_cast<std::size_t>(it - stops.begin()) - 1;
        else
            i = (static_cast<std::size_t>(it - stops.begin()) + 1) % stops.size();
        return FromHandle(stops[i]);
    });
}

void CWnd::SetDlgItemText(int id, LPCTSTR text) {
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, LPTSTR buffer, int maxCount) const {
    CWnd* item = GetDlgItem(id);
    if (!item) {
        if (buffer && maxCount > 0)
            buffer[0] = L'\0';
        return 0;
    }
    return item->GetWindowText(buffer, maxCount);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    text.Empty();
    if (CWnd* item = GetDlgItem(id))
        item->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
    CString text;
    if (isSigned)
        text.Format(L"%d", static_cast<int>(value));
    else
        text.Format(L"%u", value);
    SetDlgItemText(id, text);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
    CString text;
    GetDlgItemText(id, text);
    text.Trim();
    const wchar_t* p = text.GetString();
    bool negative = false;
    if (isSigned && *p == L'-') {
        negative = true;
        ++p;
    }
    long long value = 0;
    bool digits = false;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        digits = true;
        value = value * 10 + (*p - L'0');
        if (value > 0xFFFFFFFFLL) {
            digits = false;
            break;
        }
    }
    const bool ok = digits && *p == L'\0' && (!isSigned || value <= (negative ? 0x80000000LL : 0x7FFFFFFFLL));
    if (translated)
        *translated = ok ? TRUE : FALSE;
    if (!ok)
        return 0;
    return static_cast<UINT>(negative ? -value : value);
}

void CWnd::CheckDlgButton(int id, UINT check) {
    if (CWnd* item = GetDlgItem(id))
        static_cast<CButton*>(item)->SetCheck(static_cast<int>(check));
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    CWnd* item = GetDlgItem(id);
    return item ? static_cast<UINT>(static_cast<CButton*>(item)->GetCheck()) : 0;
}

void CWnd::CheckRadioButton(int firstId, int lastId, int checkId) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        for (HWND child : s.children) {
            WindowState* c = FindWindowState(child);
            if (!c || c->id < firstId || c->id > lastId)
                continue;
            if (auto* b = qobject_cast<QAbstractButton*>(c->widget.data())) {
                QButtonGroup* group = b->group();
                const bool exclusive = group && group->exclusive();
                if (group)
                    group->setExclusive(false);
                b->setChecked(c->id == checkId);
                if (group)
                    group->setExclusive(exclusive);
            }
        }
    });
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const {
    return WithWindow(m_hWnd, 0, [&](WindowState& s) {
        for (HWND child : s.children) {
            WindowState* c = FindWindowState(child);
            if (c && c->id >= firstId && c->id <= lastId)
                if (auto* b = qobject_cast<QAbstractButton*>(c->widget.data()); b && b->isChecked())
                    return c->id;
        }
        return 0;
    });
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* item = GetDlgItem(id);
    return item ? item->SendMessage(message, wParam, lParam) : 0;
}

// --- timers ---

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void*) {
    const HWND hwnd = m_hWnd;
    return WithWindow(hwnd, UINT_PTR(0), [&](WindowState& s) {
        QTimer*& timer = s.timers[id];
        if (!timer) {
            QTimer* created = new QTimer(s.widget ? s.widget.data() : nullptr);
            timer = created;
            // WM_TIMER is posted, with at most one waiting per timer, as the original system does: a
            // handler that runs a modal loop (a message box) gets its own timer's next ticks inside it.
            QObject::connect(created, &QTimer::timeout, [hwnd, id, created] {
                if (created->property(kTimerDue).toBool())
                    return;
                created->setProperty(kTimerDue, true);
                PostToUiThread([hwnd, id, created] {
                    WindowState* state = FindWindowState(hwnd);
                    if (!state)
                        return;
                    const auto it = state->timers.find(id);
                    if (it == state->timers.end() || it->second != created)
                        return; // killed meanwhile: its tick goes with it
                    created->setProperty(kTimerDue, false);
                    SendTo(hwnd, WM_TIMER, id, 0);
                });
            });
        }
        timer->start(static_cast<int>(std::max<UINT>(elapse, 1)));
        return id ? id : UINT_PTR(1);
    });
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        auto it = s.timers.find(id);
        if (it == s.timers.end())
            return FALSE;
        it->second->stop();
        it->second->deleteLater();
        s.timers.erase(it);
        return TRUE;
    });
}

// --- scroll bars ---

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL) {
    if (!info || (bar != SB_HORZ && bar != SB_VERT))
        return 0;
    return WithWindow(m_hWnd, 0, [&](WindowState& s) {
        SCROLLINFO& si = s.scroll[bar];
        if (info->fMask & SIF_RANGE) {
            si.nMin = info->nMin;
            si.nMax = info->nMax;
        }
        if (info->fMask & SIF_PAGE)
            si.nPage = info->nPage;
        if (info->fMask & SIF_POS)
            si.nPos = info->nPos;
        si.nPos = ClampScrollPos(si, si.nPos);
        ApplyScrollBar(s, bar, (info->fMask & SIF_DISABLENOSCROLL) != 0);
        return si.nPos;
    });
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const {
    if (!info || (bar != SB_HORZ && bar != SB_VERT))
        return FALSE;
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        const SCROLLINFO& si = s.scroll[bar];
        info->fMask = mask;
        if (mask & SIF_RANGE) {
            info->nMin = si.nMin;
            info->nMax = si.nMax;
        }
        if (mask & SIF_PAGE)
            info->nPage = si.nPage;
        if (mask & SIF_POS)
            info->nPos = si.nPos;
        if (mask & SIF_TRACKPOS)
            info->nTrackPos = s.bars[bar] ? s.bars[bar]->sliderPosition() : si.nPos;
        return TRUE;
    });
}

int CWnd::SetScrollPos(int bar, int pos, BOOL) {
    if (bar != SB_HORZ && bar != SB_VERT)
        return 0;
    return WithWindow(m_hWnd, 0, [&](WindowState& s) {
        SCROLLINFO& si = s.scroll[bar];
        const int old = si.nPos;
        si.nPos = ClampScrollPos(si, pos);
        if (QScrollBar* b = s.bars[bar]) {
            b->blockSignals(true);
            b->setValue(si.nPos);
            b->blockSignals(false);
        }
        return old;
    });
}

int CWnd::GetScrollPos(int bar) const {
    if (bar != SB_HORZ && bar != SB_VERT)
        return 0;
    return WithWindow(m_hWnd, 0, [&](WindowState& s) { return s.scroll[bar].nPos; });
}

void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
    SetScrollInfo(bar, &si, redraw);
}

void CWnd::GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const {
    SCROLLINFO si{};
    GetScrollInfo(bar, &si, SIF_RANGE);
    if (minPos)
        *minPos = si.nMin;
    if (maxPos)
        *maxPos = si.nMax;
}

void CWnd::ShowScrollBar(UINT bar, BOOL show) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        for (int b = 0; b < 2; ++b)
            if (s.bars[b] && (bar == SB_BOTH || bar == static_cast<UINT>(b)))
                s.bars[b]->setVisible(show != FALSE);
    });
}

// --- icons, menu, message box ---

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return WithWindow(m_hWnd, HICON(nullptr), [&](WindowState& s) {
        HICON& slot = s.icons[bigIcon ? ICON_BIG : ICON_SMALL];
        HICON old = slot;
        slot = icon;
        if (s.widget && s.widget->isWindow() && icon)
            s.widget->setWindowIcon(QIcon(IconPixmap(icon)));
        return old;
    });
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
    return WithWindow(m_hWnd, HICON(nullptr),
                      [&](WindowState& s) { return s.icons[bigIcon ? ICON_BIG : ICON_SMALL]; });
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
    return WithWindow(m_hWnd, static_cast<CMenu*>(nullptr), [&](WindowState& s) -> CMenu* {
        if (revert) {
            s.systemMenu.reset();
            return nullptr;
        }
        if (!s.systemMenu)
            s.systemMenu = std::make_unique<CMenu>();
        return s.systemMenu.get();
    });
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
    CString title = caption ? CString(caption) : CString();
    if (!caption && AfxGetApp() && AfxGetApp()->m_pszAppName)
        title = AfxGetApp()->m_pszAppName;
    return ShowMessageBox(CString(text), title, type, m_hWnd);
}

// --- default handlers ---

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonDblClk(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) {
    Default();
}
HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
