#pragma once
// A single-selection list box. Indexes are 0-based; LB_ERR (-1) reports a failure or no selection.
// Notifications: LBN_SELCHANGE when the user changes the selection (not when the program does),
// LBN_DBLCLK on a double-click.

#include "CWnd.h"

class CListBox : public CWnd {
public:
    int AddString(LPCTSTR text);               // sorted lists insert in order; returns the index
    int InsertString(int index, LPCTSTR text); // -1 appends; returns the index or LB_ERR
    int DeleteString(UINT index);              // returns the remaining count or LB_ERR
    void ResetContent();
    int GetCount() const;
    int GetText(int index, LPTSTR buffer) const;
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const;
    // Whole text, case-insensitive, searching after startAfter (-1: from the start) and wrapping.
    int FindStringExact(int startAfter, LPCTSTR text) const;
    // Prefix, case-insensitive.
    int FindString(int startAfter, LPCTSTR text) const;
    int SelectString(int startAfter, LPCTSTR text);
    int SetCurSel(int select); // -1 clears the selection
    int GetCurSel() const;
    int GetSel(int index) const;
    int GetTopIndex() const;
    int SetTopIndex(int index);
    int GetItemHeight(int index) const;
    int SetItemHeight(int index, UINT height);
    int GetItemRect(int index, LPRECT rect) const;
    // The nearest item to the point (client coordinates); outside is TRUE when the point is outside the
    // client area or below the last item.
    UINT ItemFromPoint(CPoint point, BOOL& outside) const;
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    void* GetItemDataPtr(int index) const;
    int SetItemDataPtr(int index, void* data);
};
