#pragma once
// The application's message box: the text with the application's name as caption. Returns the button
// pressed (IDOK, IDYES, IDNO, ...). Raised on another thread, the box is shown on the user-interface
// thread and the caller waits for the answer. Tests answer boxes through kavrino::SetMessageBoxHandler.

#include "CString.h"
#include "UiDefs.h"

int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = 0);

namespace kavrino {
// The box with an explicit caption (CWnd::MessageBox and AfxMessageBox end here). It is modal to the
// top-level window of `owner`, or without one to the innermost modal dialog (see ModalStack.h).
int ShowMessageBox(const CString& text, const CString& caption, UINT type, HWND owner = nullptr);
} // namespace kavrino
