#pragma once
// Makes a dialog's window from its template: the client area (a child of the parent's client area for a
// CHILD template, a top-level window otherwise, with scroll bars when the template asks for them) and
// every control with its id, text, style and notifications.

#include "DialogTemplate.h"
#include "UiDefs.h"

class CWnd;

namespace kavrino {

// Registers the window for the object and returns its handle (null when the template has no controls
// and no size, which never happens for a compiled-in template).
HWND BuildDialog(CWnd* dialog, const DialogTemplate& dialogTemplate, CWnd* parent);

// The window-style bits of a control template.
DWORD ControlStyle(const ControlTemplate& control);

} // namespace kavrino
