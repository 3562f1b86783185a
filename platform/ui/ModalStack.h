#pragma once
// Modality as the original window system has it: a modal dialog, a message box or a file dialog disables
// its owner window (and so, in turn, the owners of a modal owner) while it runs. Every other top-level
// window (the display window, a library's image window) stays usable meanwhile, and the modal window's own
// message boxes work. A disabled window takes no mouse, key or close input; activating it brings up the
// modal window that disables it instead.
//
// The owner of a new modal window is the top-level window of the window the caller names; without one it
// is the innermost modal window that runs, or else the application's main window.
//
// Qt's own modality is not used for these windows: it blocks by other rules, and on X11 hiding a window
// that Qt takes as modal makes Qt walk the windows under the pointer, a walk that races with the window
// manager removing the window's frame (and reports "BadWindow" when it loses).

#include "UiDefs.h"

class QDialog;
class QWidget;

namespace kavrino {

class ModalStack {
public:
    // A modal window runs from Enter to Leave; meanwhile its owner is disabled.
    static void Enter(QWidget* window, QWidget* owner);
    static void Leave(QWidget* window);
    // The top-level widget that owns a new modal window (see above); null when there is none.
    static QWidget* Owner(HWND preferred);
    // Whether a modal window that runs disables this top-level widget.
    static bool IsDisabled(const QWidget* window);
    // Runs a Qt dialog (a message box, a file dialog) as a modal window of the owner: shown until it
    // finishes; returns its result (QDialog::done), or -1 when it was destroyed meanwhile.
    static int Run(QDialog* dialog, QWidget* owner);
    // Installs the application-wide part (what a disabled window does with its input), once.
    static void Ensure();

    // Whether a modal window runs over this top-level widget: any that runs but the widget itself and
    // the modal windows that own it, in turn, or a box that a hook answers (AnsweredBox). A message box
    // of the page, the frame-size box and a file dialog are all over the main window that holds the
    // pages; the main window, run modally by the set-up window, is over neither. User-interface thread.
    static bool IsOpenOver(const QWidget* window);

    // A message box or file dialog answered by a hook (the tests' hooks) instead of a window: it counts
    // as open while this lives, so that the program sees what it sees while an operator reads a box.
    class AnsweredBox {
    public:
        AnsweredBox();
        ~AnsweredBox();
        AnsweredBox(const AnsweredBox&) = delete;
        AnsweredBox& operator=(const AnsweredBox&) = delete;
    };
};

// IsOpenOver for the top-level window of a window of the program.
bool IsModalWindowOpenOver(HWND hwnd);

} // namespace kavrino
