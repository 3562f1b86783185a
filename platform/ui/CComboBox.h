#pragma once
// A combo box (drop-down list). CBN_SELCHANGE reaches the parent when the user picks an entry.

#include "CWnd.h"

class CComboBox : public CWnd {
public:
    int AddString(LPCTSTR text);
    int InsertString(int index, LPCTSTR text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int select);
    void GetLBText(int index, CString& text) const;
    int GetLBText(int index, LPTSTR buffer) const;
    int GetLBTextLen(int index) const;
    int FindString(int startAfter, LPCTSTR text) const;
    int FindStringExact(int startAfter, LPCTSTR text) const;
    int SelectString(int startAfter, LPCTSTR text);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    void ShowDropDown(BOOL show = TRUE);
    // Index -1: the selection field, whose height the control's window follows (its frame comes on top).
    // Index 0 and up: the entries of the list (that entry alone with CBS_OWNERDRAWVARIABLE, every entry
    // otherwise). CB_ERR for an index outside the list or a height of 0 or above 255.
    int SetItemHeight(int index, UINT height);
    int GetItemHeight(int index) const;
};
