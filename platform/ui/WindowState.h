#pragma once
// The window system's record of one window, kept by the window registry under the window's handle.
// Used on the user-interface thread only.

#include "CDC.h"
#include "CMenu.h"
#include "DeviceSurface.h"
#include "CWnd.h"

#include <QPoint>
#include <QPointer>
#include <QScrollBar>
#include <QString>
#include <QWidget>
#include <map>
#include <optional>
#include <memory>
#include <vector>

class QTimer;
class QScrollBar;
namespace kavrino {

struct WindowState {
    HWND hwnd = nullptr;
    CWnd* wnd = nullptr;       // the object whose message map handles the window's messages
    std::unique_ptr<CWnd> own; // a control's own object, used while nobody else is attached
    QPointer<QWidget> widget;  // the outer widget: position, size, visibility
    QPointer<QWidget> client;  // the client area: children, painting, mouse
    HWND parent = nullptr;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    QString kind; // the template's control kind; empty for dialogs
    bool dialog = false;
    std::vector<HWND> children; // in creation (tab) order
    HWND radioGroup = nullptr;  // radio buttons: the first radio of the group

    std::map<UINT_PTR, QTimer*> timers;
    QPointer<QScrollBar> bars[2];
    SCROLLINFO scroll[2]{};
    std::unique_ptr<CMenu> systemMenu;
    HICON icons[2]{};
    CFont* font = nullptr;
    DWORD imeConversion = 0;
    DWORD imeSentence = 0;
    std::vector<std::unique_ptr<CDC>> dcs;  // handed out by GetDC
    std::unique_ptr<DeviceSurface> overlay; // drawing over a control without a backing image
    DWORD listExStyle = 0;
    std::optional<QPoint> shownAt; // a top-level window hidden by ShowWindow: where it was

    // The widget that shows the window's client drawing (its DeviceSurface), or null.
    DeviceSurface* Surface() const;
};

} // namespace kavrino
