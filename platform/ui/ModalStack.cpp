#include "ModalStack.h"

#include "CWinApp.h"
#include "CWnd.h"
#include "ThreadHandOver.h"
#include "UiInternal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace kavrino {

namespace {

struct Running {
    QPointer<QWidget> window;
    QPointer<QWidget> owner;
};

std::vector<Running> g_running; // the modal windows that run, innermost last
int g_answeredBoxes = 0;        // boxes that a hook has now

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

class DisabledWindowFilter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Installed after the key filter, so the first of our code to see every event, also one posted
        // by another thread (UiThread) to an object that thread made.
        TakeOver(event);
        if (g_running.empty() || !watched->isWidgetType())
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
            return ModalStack::IsDisabled(static_cast<QWidget*>(watched)->window());
        case QEvent::Close:
            if (!ModalStack::IsDisabled(static_cast<QWidget*>(watched)))
                return false;
            event->ignore();
            return true;
        case QEvent::WindowActivate:
            BringUpModal(static_cast<QWidget*>(watched));
            return false;
        default:
            return false;
        }
    }

private:
    // The operator activated a disabled window (a click on it): the modal window comes up instead, once
    // the window manager is done with the activation.
    static void BringUpModal(QWidget* widget) {
        if (!widget->isWindow() || !ModalStack::IsDisabled(widget))
            return;
        QPointer<QWidget> modal;
        for (auto it = g_running.rbegin(); it != g_running.rend() && !modal; ++it)
            if (it->window && it->window->isVisible())
                modal = it->window;
        if (!modal)
            return;
        QTimer::singleShot(0, modal, [modal] {
            if (modal && modal->isVisible()) {
                modal->raise();
                modal->activateWindow();
            }
        });
    }
};

} // namespace

void ModalStack::Enter(QWidget* window, QWidget* owner) {
    QWidget* top = owner ? owner->window() : nullptr;
    g_running.push_back({window, top != window ? top : nullptr});
}

void ModalStack::Leave(QWidget* window) {
    for (auto it = g_running.rbegin(); it != g_running.rend(); ++it) {
        if (it->window == window) {
            g_running.erase(std::next(it).base());
            break;
        }
    }
    // Entries whose window went without leaving disable nothing any more.
    g_running.erase(
        std::remove_if(g_running.begin(), g_running.end(), [](const Running& r) { return !r.window; }),
        g_running.end());
}

QWidget* ModalStack::Owner(HWND preferred) {
    if (QWidget* w = TopLevelWidget(preferred))
        return w;
    for (auto it = g_running.rbegin(); it != g_running.rend(); ++it)
        if (it->window)
            return it->window;
    if (CWnd* main = AfxGetMainWnd())
        return TopLevelWidget(main->m_hWnd);
    return nullptr;
}

bool ModalStack::IsDisabled(const QWidget* window) {
    if (!window)
        return false;
    for (const Running& r : g_running)
        if (r.owner == window && r.window)
            return true;
    return false;
}

int ModalStack::Run(QDialog* dialog, QWidget* owner) {
    if (!dialog)
        return -1;
    const QPointer<QDialog> guard = dialog;
    QEventLoop loop;
    bool finished = false;
    QObject::connect(dialog, &QDialog::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QObject::connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    // Not modal in Qt's own way (a message box is, unless told otherwise): the owner is disabled here.
    dialog->setModal(false);
    Enter(dialog, owner);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    if (!finished && guard)
        loop.exec();
    Leave(dialog);
    // The result as the dialog has it once the event that ended it is through (a message box closed by
    // its close box answers with its escape button, after QDialog has finished with a rejection).
    return finished && guard ? guard->result() : -1;
}

bool ModalStack::IsOpenOver(const QWidget* window) {
    if (g_answeredBoxes > 0)
        return true;
    // The widget and the modal windows that own it, in turn, are under it; every other one is over it.
    std::vector<const QWidget*> under;
    for (const QWidget* w = window; w && std::find(under.begin(), under.end(), w) == under.end();) {
        under.push_back(w);
        const auto it =
            std::find_if(g_running.begin(), g_running.end(), [w](const Running& r) { return r.window == w; });
        w = it != g_running.end() ? it->owner.data() : nullptr;
    }
    return std::any_of(g_running.begin(), g_running.end(), [&under](const Running& r) {
        return r.window && std::find(under.begin(), under.end(), r.window.data()) == under.end();
    });
}

ModalStack::AnsweredBox::AnsweredBox() {
    ++g_answeredBoxes;
}

ModalStack::AnsweredBox::~AnsweredBox() {
    --g_answeredBoxes;
}

bool IsModalWindowOpenOver(HWND hwnd) {
    const WindowState* s = FindWindowState(hwnd);
    return ModalStack::IsOpenOver(s && s->widget ? s->widget->window() : nullptr);
}

void ModalStack::Ensure() {
    static DisabledWindowFilter* filter = nullptr;
    if (!filter && QCoreApplication::instance()) {
        filter = new DisabledWindowFilter;
        QCoreApplication::instance()->installEventFilter(filter);
    }
}

} // namespace kavrino
