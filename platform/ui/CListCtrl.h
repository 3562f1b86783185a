#pragma once
// A list control in report view: columns with headings, rows with sub-items.

#include "CWnd.h"

class CListCtrl : public CWnd {
public:
    int InsertColumn(int col, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int col);
    BOOL SetColumnWidth(int col, int width);
    int GetColumnWidth(int col) const;
    int InsertItem(int item, LPCTSTR text);
    BOOL SetItemText(int item, int subItem, LPCTSTR text);
    CString GetItemText(int item, int subItem) const;
    int GetItemText(int item, int subItem, LPTSTR buffer, int maxLength) const;
    int GetItemCount() const;
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    // Sets the styles in mask (all of them when mask is 0) to those of styles; returns the old ones.
    DWORD SetExtendedStyle(DWORD styles) { return SetExtendedStyleEx(0, styles); }
    DWORD SetExtendedStyleEx(DWORD mask, DWORD styles);
    DWORD GetExtendedStyle() const;
    int GetSelectionMark() const;
    int GetNextItem(int start, UINT flags) const;
    UINT GetSelectedCount() const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    BOOL EnsureVisible(int item, BOOL partialOk);
};
