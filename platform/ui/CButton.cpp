#include "CButton.h"

#include "UiInternal.h"

#include <QAbstractButton>
#include <QButtonGroup>

using namespace kavrino;

namespace {
QAbstractButton* ButtonOf(WindowState& s) {
    return qobject_cast<QAbstractButton*>(s.widget.data());
}
} // namespace

int CButton::GetCheck() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) {
        QAbstractButton* b = ButtonOf(s);
        return b && b->isCheckable() && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    });
}

void CButton::SetCheck(int check) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        QAbstractButton* b = ButtonOf(s);
        if (!b || !b->isCheckable())
            return;
        QButtonGroup* group = b->group();
        const bool exclusive = group && group->exclusive();
        if (group)
            group->setExclusive(false); // a radio can be cleared as the original allows
        b->setChecked(check != BST_UNCHECKED);
        if (group)
            group->setExclusive(exclusive);
    });
}

UINT CButton::GetState() const {
    return WithWindow(m_hWnd, 0u, [](WindowState& s) {
        QAbstractButton* b = ButtonOf(s);
        if (!b)
            return 0u;
        UINT state = b->isCheckable() && b->isChecked() ? static_cast<UINT>(BST_CHECKED) : 0u;
        if (b->isDown())
            state |= BST_PUSHED;
        if (b->hasFocus())
            state |= BST_FOCUS;
        return state;
    });
}

void CButton::SetState(BOOL highlight) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (QAbstractButton* b = ButtonOf(s))
            b->setDown(highlight != FALSE);
    });
}

UINT CButton::GetButtonStyle() const {
    return WithWindow(m_hWnd, 0u, [](WindowState& s) { return static_cast<UINT>(s.style & 0xFFFF); });
}

void CButton::SetButtonStyle(UINT style, BOOL redraw) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        s.style = (s.style & 0xFFFF0000u) | (style & 0xFFFF);
        if (redraw && s.widget)
            s.widget->update();
    });
}

void CButton::Click() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (QAbstractButton* b = ButtonOf(s))
            b->click();
    });
}
