#pragma once
// A window's system menu: the standard commands (restore, minimise, maximise, close) and the items the
// program appends. Choosing an item sends WM_SYSCOMMAND with its id to the window. A greyed SC_CLOSE keeps
// the window from being closed by the operator.

#include "CString.h"
#include "UiDefs.h"

#include <vector>

class CMenu {
public:
    struct Item {
        UINT flags = 0; // MF_SEPARATOR, MF_GRAYED, MF_DISABLED, MF_CHECKED
        UINT_PTR id = 0;
        CString text;
    };

    CMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr);
    // Returns the previous state (MF_ENABLED, MF_GRAYED or MF_DISABLED), -1 when there is no such item.
    UINT EnableMenuItem(UINT item, UINT enable);
    UINT GetMenuItemCount() const;
    UINT GetMenuItemID(int pos) const;
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    UINT GetMenuState(UINT item, UINT flags) const;
    BOOL DeleteMenu(UINT item, UINT flags);
    HMENU GetSafeHmenu() const { return m_hMenu; }

    const std::vector<Item>& Items() const { return m_items; }
    // True when the command is in the menu and neither greyed nor disabled.
    bool IsEnabled(UINT_PTR id) const;

private:
    int Find(UINT item, UINT flags) const;
    std::vector<Item> m_items;
    HMENU m_hMenu;
};
