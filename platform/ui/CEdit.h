#pragma once
// An edit control: single-line, multi-line, password, read-only or digits-only as its template says.

#include "CWnd.h"

class CEdit : public CWnd {
public:
    // Selects characters start .. end - 1; (0, -1) selects everything, (-1, ...) removes the selection.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void SetSel(DWORD selection, BOOL noScroll = FALSE);
    DWORD GetSel() const;
    void GetSel(int& start, int& end) const;
    void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    void SetLimitText(UINT max);
    void LimitText(int max = 0) { SetLimitText(static_cast<UINT>(max)); }
    int GetLineCount() const;
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    BOOL Undo();
};
