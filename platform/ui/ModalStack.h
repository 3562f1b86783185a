#pragma once
// Modality as the original window system has it: a modal dialog, a message box or a file dialog disables
// its owner window and the owner's own owners only. Every other top-level window (the display window, a
// library's image window) stays usable meanwhile, and the modal window's own message boxes work.
//
// The owner of a new modal window is the top-level window of the window the caller names; without one it
// is the innermost modal dialog that runs, or else the application's main window. Activating a window that
// a modal window disables brings that modal window to the front instead.

#include "UiDefs.h"

class QWidget;

namespace kavrino {

class ModalStack {
public:
    // A modal dialog's loop runs from Enter to Leave.
    static void Enter(HWND dialog);
    static void Leave(HWND dialog);
    // The top-level widget that owns a new modal window (see above); null when there is none.
    static QWidget* Owner(HWND preferred);
    // Makes a top-level widget of the window system modal to its owner: while it is shown, the owner and
    // the owner's owners take no input.
    static void MakeModal(QWidget* window, QWidget* owner);
    // Installs the application-wide part (the activation above), once.
    static void Ensure();
};

} // namespace kavrino
