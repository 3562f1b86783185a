#pragma once
// The application-wide pre-translation of key presses: a key-down or key-up for a window of the window
// system goes first to PreTranslateMessage of the window with the focus and then of each window up its
// parent chain (as the original message loop walks it); the first that returns TRUE consumes the key.
// CDialog::PreTranslateMessage is the dialog manager (Enter -> IDOK, Esc -> IDCANCEL). Only keys for the
// program's own windows are pre-translated; message boxes, file dialogs and other windows the window
// system did not make keep their own Enter and Esc.

#include <QObject>

class QWidget;

namespace kavrino {

class KeyFilter : public QObject {
public:
    // Installs the filter on the application once.
    static void Ensure();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Qt key <-> virtual key.
unsigned VirtualKeyFromQt(int key);
int QtKeyFromVirtual(unsigned vk);

} // namespace kavrino
