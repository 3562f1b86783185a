#include "CComboBox.h"

#include "QtText.h"
#include "UiInternal.h"

#include <QComboBox>
#include <QSize>
#include <QStyle>

#include <algorithm>

using namespace kavrino;

namespace {
QComboBox* ComboOf(WindowState& s) {
    return qobject_cast<QComboBox*>(s.widget.data());
}

// The frame around the selection field, on each side.
int FieldFrame(const QComboBox* c) {
    return std::max(c->style()->pixelMetric(QStyle::PM_ComboBoxFrameWidth, nullptr, c), 0);
}

int Find(QComboBox* c, int startAfter, const QString& text, bool exact) {
    const int count = c->count();
    if (count == 0)
        return CB_ERR;
    const int first = (startAfter < 0 || startAfter >= count) ? 0 : startAfter + 1;
    for (int n = 0; n < count; ++n) {
        const int i = (first + n) % count;
        const QString item = c->itemText(i);
        if (exact ? item.compare(text, Qt::CaseInsensitive) == 0 : item.startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return CB_ERR;
}
} // namespace

int CComboBox::AddString(LPCTSTR text) {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c)
            return CB_ERR;
        QuietScope quiet;
        const bool wasEmpty = c->currentIndex() < 0;
        c->addItem(q, QVariant::fromValue<qulonglong>(0));
        // The original shows no selection until one is made.
        if (wasEmpty)
            c->setCurrentIndex(-1);
        return c->count() - 1;
    });
}

int CComboBox::InsertString(int index, LPCTSTR text) {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c || index > c->count() || index < -1)
            return CB_ERR;
        QuietScope quiet;
        const int at = index == -1 ? c->count() : index;
        const bool wasEmpty = c->currentIndex() < 0;
        c->insertItem(at, q, QVariant::fromValue<qulonglong>(0));
        if (wasEmpty)
            c->setCurrentIndex(-1);
        return at;
    });
}

int CComboBox::DeleteString(UINT index) {
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c || index >= static_cast<UINT>(c->count()))
            return CB_ERR;
        QuietScope quiet;
        c->removeItem(static_cast<int>(index));
        return c->count();
    });
}

void CComboBox::ResetContent() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (QComboBox* c = ComboOf(s)) {
            QuietScope quiet;
            c->clear();
        }
    });
}

int CComboBox::GetCount() const {
    return WithWindow(m_hWnd, CB_ERR, [](WindowState& s) {
        QComboBox* c = ComboOf(s);
        return c ? c->count() : CB_ERR;
    });
}

int CComboBox::GetCurSel() const {
    return WithWindow(m_hWnd, CB_ERR, [](WindowState& s) {
        QComboBox* c = ComboOf(s);
        return c && c->currentIndex() >= 0 ? c->currentIndex() : CB_ERR;
    });
}

int CComboBox::SetCurSel(int select) {
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c)
            return CB_ERR;
        QuietScope quiet;
        if (select < 0 || select >= c->count()) {
            c->setCurrentIndex(-1);
            return CB_ERR;
        }
        c->setCurrentIndex(select);
        return select;
    });
}

void CComboBox::GetLBText(int index, CString& text) const {
    text = WithWindow(m_hWnd, CString(), [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c || index < 0 || index >= c->count())
            return CString();
        return FromQString(c->itemText(index));
    });
}

int CComboBox::GetLBText(int index, LPTSTR buffer) const {
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    CString text;
    GetLBText(index, text);
    if (buffer)
        std::wcscpy(buffer, text.GetString());
    return text.GetLength();
}

int CComboBox::GetLBTextLen(int index) const {
    if (index < 0 || index >= GetCount())
        return CB_ERR;
    CString text;
    GetLBText(index, text);
    return text.GetLength();
}

int CComboBox::FindString(int startAfter, LPCTSTR text) const {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        return c ? Find(c, startAfter, q, false) : CB_ERR;
    });
}

int CComboBox::FindStringExact(int startAfter, LPCTSTR text) const {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        return c ? Find(c, startAfter, q, true) : CB_ERR;
    });
}

int CComboBox::SelectString(int startAfter, LPCTSTR text) {
    const int i = FindString(startAfter, text);
    if (i != CB_ERR)
        SetCurSel(i);
    return i;
}

DWORD_PTR CComboBox::GetItemData(int index) const {
    return WithWindow(m_hWnd, static_cast<DWORD_PTR>(CB_ERR), [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c || index < 0 || index >= c->count())
            return static_cast<DWORD_PTR>(CB_ERR);
        return static_cast<DWORD_PTR>(c->itemData(index).value<qulonglong>());
    });
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c || index < 0 || index >= c->count())
            return CB_ERR;
        c->setItemData(index, QVariant::fromValue<qulonglong>(data));
        return 0;
    });
}

void CComboBox::ShowDropDown(BOOL show) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (QComboBox* c = ComboOf(s))
            show ? c->showPopup() : c->hidePopup();
    });
}

int CComboBox::SetItemHeight(int index, UINT height) {
    if (height == 0 || height > 255)
        return CB_ERR;
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c || index < -1 || index >= c->count())
            return CB_ERR;
        const int h = static_cast<int>(height);
        if (index == -1) {
            c->resize(c->width(), h + 2 * FieldFrame(c));
            return 0;
        }
        const bool variable = (s.style & CBS_OWNERDRAWVARIABLE) != 0;
        const int first = variable ? index : 0;
        const int last = variable ? index : c->count() - 1;
        for (int i = first; i <= last; ++i)
            c->setItemData(i, QSize(c->width(), h), Qt::SizeHintRole);
        return 0;
    });
}

int CComboBox::GetItemHeight(int index) const {
    return WithWindow(m_hWnd, CB_ERR, [&](WindowState& s) {
        QComboBox* c = ComboOf(s);
        if (!c || index < -1 || index >= c->count())
            return CB_ERR;
        if (index == -1)
            return std::max(c->height() - 2 * FieldFrame(c), 0);
        const QSize size = c->itemData(index, Qt::SizeHintRole).toSize();
        return size.isValid() ? size.height() : c->fontMetrics().height() + 2;
    });
}
