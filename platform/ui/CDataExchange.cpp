#include "CDataExchange.h"

#include "AfxMessageBox.h"
#include "CButton.h"
#include "CComboBox.h"
#include "CListBox.h"
#include "CSliderCtrl.h"
#include "Crt.h"
#include "UiInternal.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <cerrno>
#include <cstdlib>
#include <cwchar>

using namespace kavrino;

namespace {

CString ItemText(CDataExchange* pDX, int id) {
    CString text;
    pDX->m_pDlgWnd->GetDlgItemText(id, text);
    return text;
}

// Reads the whole text as a number; false when it is not one (blanks around it are allowed).
bool ParseLong(const CString& text, long long& value) {
    CString t(text);
    t.Trim();
    if (t.IsEmpty())
        return false;
    errno = 0;
    wchar_t* end = nullptr;
    value = std::wcstoll(t.GetString(), &end, 10);
    return errno == 0 && end && *end == L'\0';
}

bool ParseDouble(const CString& text, double& value) {
    CString t(text);
    t.Trim();
    if (t.IsEmpty())
        return false;
    wchar_t* end = nullptr;
    value = std::wcstod(t.GetString(), &end);
    return end && *end == L'\0';
}

void FailWith(CDataExchange* pDX, const wchar_t* message) {
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <typename T> void TextInteger(CDataExchange* pDX, int id, T& value, long long lo, long long hi) {
    if (pDX->Failed())
        return;
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseLong(ItemText(pDX, id), v) || v < lo || v > hi) {
            FailWith(pDX, L"정수를 입력하십시오.");
            return;
        }
        value = static_cast<T>(v);
    } else {
        CString text;
        text.Format(L"%lld", static_cast<long long>(value));
        pDX->m_pDlgWnd->SetDlgItemText(id, text);
    }
}

template <typename T> void TextReal(CDataExchange* pDX, int id, T& value) {
    if (pDX->Failed())
        return;
    if (pDX->m_bSaveAndValidate) {
        double v = 0;
        if (!ParseDouble(ItemText(pDX, id), v)) {
            FailWith(pDX, L"숫자를 입력하십시오.");
            return;
        }
        value = static_cast<T>(v);
    } else {
        CString text;
        text.Format(L"%.*g", std::is_same<T, float>::value ? 6 : 15, static_cast<double>(value));
        pDX->m_pDlgWnd->SetDlgItemText(id, text);
    }
}

} // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd)
        return;
    HWND item = nullptr;
    pDX->m_pDlgWnd->GetDlgItem(id, &item);
    if (item)
        control.Attach(item);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    if (pDX->m_bSaveAndValidate)
        value = ItemText(pDX, id);
    else
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
    TextInteger(pDX, id, value, INT32_MIN, INT32_MAX);
}

void DDX_Text(CDataExchange* pDX, int id, UINT& value) {
    TextInteger(pDX, id, value, 0, UINT32_MAX);
}

void DDX_Text(CDataExchange* pDX, int id, long& value) {
    TextInteger(pDX, id, value, INT32_MIN, INT32_MAX);
}

void DDX_Text(CDataExchange* pDX, int id, double& value) {
    TextReal(pDX, id, value);
}

void DDX_Text(CDataExchange* pDX, int id, float& value) {
    TextReal(pDX, id, value);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    auto* button = static_cast<CButton*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
    HWND first = nullptr;
    pDX->m_pDlgWnd->GetDlgItem(id, &first);
    const bool save = pDX->m_bSaveAndValidate != FALSE;
    const int wanted = value;
    int found = -1;
    WithWindowDo(first, [&](WindowState& s) {
        auto* b = qobject_cast<QAbstractButton*>(s.widget.data());
        QButtonGroup* group = b ? b->group() : nullptr;
        if (!group)
            return;
        const QList<QAbstractButton*> buttons = group->buttons();
        if (save) {
            for (int i = 0; i < buttons.size(); ++i)
                if (buttons[i]->isChecked())
                    found = i;
        } else {
            const bool exclusive = group->exclusive();
            group->setExclusive(false);
            for (int i = 0; i < buttons.size(); ++i)
                buttons[i]->setChecked(i == wanted);
            group->setExclusive(exclusive);
        }
    });
    if (save)
        value = found;
}

void DDX_Slider(CDataExchange* pDX, int id, int& value) {
    auto* slider = static_cast<CSliderCtrl*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!slider)
        return;
    if (pDX->m_bSaveAndValidate)
        value = slider->GetPos();
    else
        slider->SetPos(value);
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
    auto* combo = static_cast<CComboBox*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
        index = combo->GetCurSel();
    else
        combo->SetCurSel(index);
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value) {
    auto* combo = static_cast<CComboBox*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate) {
        combo->GetWindowText(value);
    } else if (combo->SelectString(-1, value) == CB_ERR) {
        combo->SetWindowText(value);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int id, int& index) {
    auto* list = static_cast<CListBox*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!list)
        return;
    if (pDX->m_bSaveAndValidate)
        index = list->GetCurSel();
    else
        list->SetCurSel(index);
}
