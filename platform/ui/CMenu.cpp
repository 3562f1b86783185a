#include "CMenu.h"

namespace {
std::uintptr_t g_nextMenu = 1;
}

CMenu::CMenu() : m_hMenu(reinterpret_cast<HMENU>(g_nextMenu++)) {
    // The standard commands of a window's system menu.
    m_items.push_back({MF_STRING, SC_RESTORE, CString(L"복원(&R)")});
    m_items.push_back({MF_STRING, SC_MOVE, CString(L"이동(&M)")});
    m_items.push_back({MF_STRING, SC_SIZE, CString(L"크기 조정(&S)")});
    m_items.push_back({MF_STRING, SC_MINIMIZE, CString(L"최소화(&N)")});
    m_items.push_back({MF_STRING, SC_MAXIMIZE, CString(L"최대화(&X)")});
    m_items.push_back({MF_SEPARATOR, 0, CString()});
    m_items.push_back({MF_STRING, SC_CLOSE, CString(L"닫기(&C)")});
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCTSTR text) {
    m_items.push_back({flags, (flags & MF_SEPARATOR) ? 0 : id, CString(text)});
    return TRUE;
}

int CMenu::Find(UINT item, UINT flags) const {
    if (flags & MF_BYPOSITION)
        return item < m_items.size() ? static_cast<int>(item) : -1;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (!(m_items[i].flags & MF_SEPARATOR) && m_items[i].id == item)
            return static_cast<int>(i);
    return -1;
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
    const int i = Find(item, enable);
    if (i < 0)
        return static_cast<UINT>(-1);
    Item& it = m_items[static_cast<std::size_t>(i)];
    const UINT old = it.flags & (MF_GRAYED | MF_DISABLED);
    it.flags = (it.flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return old;
}

UINT CMenu::GetMenuItemCount() const {
    return static_cast<UINT>(m_items.size());
}

UINT CMenu::GetMenuItemID(int pos) const {
    if (pos < 0 || static_cast<std::size_t>(pos) >= m_items.size())
        return static_cast<UINT>(-1);
    return static_cast<UINT>(m_items[static_cast<std::size_t>(pos)].id);
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
    const int i = Find(item, flags);
    text = i < 0 ? CString() : m_items[static_cast<std::size_t>(i)].text;
    return text.GetLength();
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const {
    const int i = Find(item, flags);
    return i < 0 ? static_cast<UINT>(-1) : m_items[static_cast<std::size_t>(i)].flags;
}

BOOL CMenu::DeleteMenu(UINT item, UINT flags) {
    const int i = Find(item, flags);
    if (i < 0)
        return FALSE;
    m_items.erase(m_items.begin() + i);
    return TRUE;
}

bool CMenu::IsEnabled(UINT_PTR id) const {
    const int i = Find(static_cast<UINT>(id), MF_BYCOMMAND);
    return i >= 0 && !(m_items[static_cast<std::size_t>(i)].flags & (MF_GRAYED | MF_DISABLED));
}
