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
};
