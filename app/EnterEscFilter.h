#pragma once
// The key filters of the dialogs. The main window, the set-up window, the report page and the tap-balance
// page must never be closed by Enter or Esc, so they swallow both key-downs; the test pages that filter
// keys swallow only Esc. Every other message goes on to the dialog manager.
//
//     BOOL CReportDlg::PreTranslateMessage(MSG* pMsg) { return kavrino::EnterEscFilter(this, pMsg); }

#include "Platform.h"

namespace kavrino {

inline bool IsKeyDown(const MSG* pMsg, UINT vk) {
    return pMsg && pMsg->message == WM_KEYDOWN && pMsg->wParam == vk;
}

// Enter and Esc key-downs are consumed (TRUE); everything else goes to CDialog::PreTranslateMessage.
inline BOOL EnterEscFilter(CDialog* pDlg, MSG* pMsg) {
    if (IsKeyDown(pMsg, VK_RETURN) || IsKeyDown(pMsg, VK_ESCAPE))
        return TRUE;
    return pDlg->CDialog::PreTranslateMessage(pMsg);
}

// Esc key-downs are consumed (TRUE); everything else goes to CDialog::PreTranslateMessage.
inline BOOL EscFilter(CDialog* pDlg, MSG* pMsg) {
    if (IsKeyDown(pMsg, VK_ESCAPE))
        return TRUE;
    return pDlg->CDialog::PreTranslateMessage(pMsg);
}

} // namespace kavrino
