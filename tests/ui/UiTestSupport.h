#pragma once
// Helpers shared by the window-system tests.

#include "Platform.h"
#include "TestHooks.h"
#include "WindowState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace uitest {

inline QWidget* WidgetOf(const CWnd* wnd) {
    kavrino::WindowState* s = wnd ? wnd->State() : nullptr;
    return s ? s->widget.data() : nullptr;
}

inline QWidget* ItemWidget(const CWnd* dialog, int id) {
    return WidgetOf(dialog->GetDlgItem(id));
}

// A key press as the user makes it, delivered to the widget (the focus window).
inline void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// Lets deferred deletions and queued calls run, so that a test leaves nothing behind.
inline void Settle() {
    for (int i = 0; i < 3; ++i)
        kavrino::ProcessUiEvents();
}

} // namespace uitest
