#include "ModalStack.h"

#include "CWinApp.h"
#include "CWnd.h"
#include "UiInternal.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace kavrino {

namespace {

std::vector<HWND> g_running; // the modal dialogs whose loops run, innermost last

QWidget* TopLevelWidget(HWND hwnd) {
    WindowState* s = FindWindowState(hwnd);
    while (s) {
        WindowState* parent = FindWindowState(s->parent);
        if (!parent)
            break;
        s = parent;
    }
    return s ? s->widget.data() : nullptr;
}

QWindow* TransientParentOf(const QWindow* window) {
    return window->parent() ? window->parent() : window->transientParent();
}

bool IsSelfOrOwnedBy(const QWindow* window, const QWindow* owner) {
    for (const QWindow* w = window; w; w = TransientParentOf(w))
        if (w == owner)
            return true;
    return false;
}

// Qt's rule for the modal window: it blocks every window that shares an owner with it, but not itself
// nor the windows it owns.
bool IsBlockedBy(QWindow* window, QWindow* modal) {
    if (IsSelfOrOwnedBy(window, modal))
        return false;
    if (modal->modality() == Qt::ApplicationModal)
        return true;
    if (modal->modality() != Qt::WindowModal)
        return false;
    for (QWindow* w = window; w; w = TransientParentOf(w))
        for (QWindow* m = TransientParentOf(modal); m; m = TransientParentOf(m))
            if (w == m)
                return true;
    return false;
}

class ActivationFilter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::WindowActivate || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        QWindow* window = widget->isWindow() ? widget->windowHandle() : nullptr;
        QWindow* modal = QGuiApplication::modalWindow();
        if (!window || !modal || !IsBlockedBy(window, modal))
            return false;
        // The operator activated a disabled owner (a click on it): the modal window comes up instead,
        // once the window manager is done with the activation.
        QPointer<QWindow> guard = modal;
        QTimer::singleShot(0, modal, [guard] {
            if (guard && guard->isVisible()) {
                guard->raise();
                guard->requestActivate();
            }
        });
        return false;
    }
};

} // namespace

void ModalStack::Enter(HWND dialog) {
    g_running.push_back(dialog);
}

void ModalStack::Leave(HWND dialog) {
    auto it = std::find(g_running.rbegin(), g_running.rend(), dialog);
    if (it != g_running.rend())
        g_running.erase(std::next(it).base());
}

QWidget* ModalStack::Owner(HWND preferred) {
    if (QWidget* w = TopLevelWidget(preferred))
        return w;
    for (auto it = g_running.rbegin(); it != g_running.rend(); ++it)
        if (QWidget* w = TopLevelWidget(*it))
            return w;
    if (CWnd* main = AfxGetMainWnd())
        return TopLevelWidget(main->m_hWnd);
    return nullptr;
}

void ModalStack::MakeModal(QWidget* window, QWidget* owner) {
    if (!window)
        return;
    window->setWindowModality(Qt::WindowModal);
    QWidget* top = owner ? owner->window() : nullptr;
    // A window that was never shown takes no input to block.
    if (!top || top == window || !top->windowHandle())
        return;
    window->winId();
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(top->windowHandle());
}

void ModalStack::Ensure() {
    static ActivationFilter* filter = nullptr;
    if (!filter && QCoreApplication::instance()) {
        filter = new ActivationFilter;
        QCoreApplication::instance()->installEventFilter(filter);
    }
}

} // namespace kavrino
