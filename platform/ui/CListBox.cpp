#include "CListBox.h"

#include "QtText.h"
#include "UiInternal.h"

#include <QListWidget>
#include <QScrollBar>

using namespace kavrino;

namespace {

QListWidget* ListOf(WindowState& s) {
    return qobject_cast<QListWidget*>(s.widget.data());
}

QListWidgetItem* MakeItem(const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(0));
    return item;
}

// Case-insensitive search after startAfter, wrapping once around the list.
int Find(QListWidget* l, int startAfter, const QString& text, bool exact) {
    const int count = l->count();
    if (count == 0)
        return LB_ERR;
    const int first = (startAfter < 0 || startAfter >= count) ? 0 : startAfter + 1;
    for (int n = 0; n < count; ++n) {
        const int i = (first + n) % count;
        const QString item = l->item(i)->text();
        if (exact ? item.compare(text, Qt::CaseInsensitive) == 0 : item.startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return LB_ERR;
}

} // namespace

int CListBox::AddString(LPCTSTR text) {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l)
            return LB_ERR;
        QuietScope quiet;
        int at = l->count();
        if (s.style & LBS_SORT) {
            at = 0;
            while (at < l->count() && l->item(at)->text().compare(q, Qt::CaseInsensitive) <= 0)
                ++at;
        }
        l->insertItem(at, MakeItem(q));
        return at;
    });
}

int CListBox::InsertString(int index, LPCTSTR text) {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || index > l->count() || index < -1)
            return LB_ERR;
        QuietScope quiet;
        const int at = index == -1 ? l->count() : index;
        l->insertItem(at, MakeItem(q));
        return at;
    });
}

int CListBox::DeleteString(UINT index) {
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || index >= static_cast<UINT>(l->count()))
            return LB_ERR;
        QuietScope quiet;
        delete l->takeItem(static_cast<int>(index));
        return l->count();
    });
}

void CListBox::ResetContent() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (QListWidget* l = ListOf(s)) {
            QuietScope quiet;
            l->clear();
        }
    });
}

int CListBox::GetCount() const {
    return WithWindow(m_hWnd, LB_ERR, [](WindowState& s) {
        QListWidget* l = ListOf(s);
        return l ? l->count() : LB_ERR;
    });
}

void CListBox::GetText(int index, CString& text) const {
    text = WithWindow(m_hWnd, CString(), [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || index < 0 || index >= l->count())
            return CString();
        return FromQString(l->item(index)->text());
    });
}

int CListBox::GetText(int index, LPTSTR buffer) const {
    if (index < 0 || index >= GetCount())
        return LB_ERR;
    CString text;
    GetText(index, text);
    if (buffer)
        std::wcscpy(buffer, text.GetString());
    return text.GetLength();
}

int CListBox::GetTextLen(int index) const {
    if (index < 0 || index >= GetCount())
        return LB_ERR;
    CString text;
    GetText(index, text);
    return text.GetLength();
}

int CListBox::FindStringExact(int startAfter, LPCTSTR text) const {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        return l ? Find(l, startAfter, q, true) : LB_ERR;
    });
}

int CListBox::FindString(int startAfter, LPCTSTR text) const {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        return l ? Find(l, startAfter, q, false) : LB_ERR;
    });
}

int CListBox::SelectString(int startAfter, LPCTSTR text) {
    const int i = FindString(startAfter, text);
    if (i != LB_ERR)
        SetCurSel(i);
    return i;
}

int CListBox::SetCurSel(int select) {
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l)
            return LB_ERR;
        QuietScope quiet;
        if (select < 0 || select >= l->count()) {
            l->clearSelection();
            l->setCurrentRow(-1);
            return LB_ERR;
        }
        l->setCurrentRow(select, QItemSelectionModel::ClearAndSelect);
        l->scrollToItem(l->item(select));
        return select;
    });
}

int CListBox::GetCurSel() const {
    return WithWindow(m_hWnd, LB_ERR, [](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l)
            return LB_ERR;
        const QList<QListWidgetItem*> selected = l->selectedItems();
        return selected.isEmpty() ? LB_ERR : l->row(selected.first());
    });
}

int CListBox::GetSel(int index) const {
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || index < 0 || index >= l->count())
            return LB_ERR;
        return l->item(index)->isSelected() ? 1 : 0;
    });
}

int CListBox::GetTopIndex() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || l->count() == 0)
            return 0;
        QModelIndex top = l->indexAt(QPoint(1, 1));
        return top.isValid() ? top.row() : l->verticalScrollBar()->value();
    });
}

int CListBox::SetTopIndex(int index) {
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || index < 0 || index >= l->count())
            return LB_ERR;
        l->scrollToItem(l->item(index), QAbstractItemView::PositionAtTop);
        return 0;
    });
}

int CListBox::GetItemHeight(int) const {
    return WithWindow(m_hWnd, LB_ERR, [](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l)
            return LB_ERR;
        if (l->count() > 0) {
            const int h = l->visualItemRect(l->item(0)).height();
            if (h > 0)
                return h;
            return std::max(1, l->sizeHintForRow(0));
        }
        return l->fontMetrics().height() + 2;
    });
}

int CListBox::SetItemHeight(int, UINT height) {
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l)
            return LB_ERR;
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setSizeHint(QSize(-1, static_cast<int>(height)));
        return 0;
    });
}

int CListBox::GetItemRect(int index, LPRECT rect) const {
    if (!rect)
        return LB_ERR;
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || index < 0 || index >= l->count())
            return LB_ERR;
        QRect r = l->visualItemRect(l->item(index));
        r.setLeft(0);
        r.setWidth(l->viewport()->width());
        *rect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
        return 0;
    });
}

UINT CListBox::ItemFromPoint(CPoint point, BOOL& outside) const {
    BOOL out = TRUE;
    const UINT index = WithWindow(m_hWnd, 0u, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || l->count() == 0)
            return 0u;
        const QRect client = l->viewport()->rect();
        const QPoint p(point.x, point.y);
        const QModelIndex hit = l->indexAt(p);
        if (client.contains(p) && hit.isValid()) {
            out = FALSE;
            return static_cast<UINT>(hit.row());
        }
        // Nearest entry: the point held inside the client area; below the last entry, the last one.
        const QPoint held(std::max(client.left(), std::min(p.x(), client.right())),
                          std::max(client.top(), std::min(p.y(), client.bottom())));
        const QModelIndex nearest = l->indexAt(held);
        return static_cast<UINT>(nearest.isValid() ? nearest.row() : l->count() - 1);
    });
    outside = out;
    return index;
}

DWORD_PTR CListBox::GetItemData(int index) const {
    return WithWindow(m_hWnd, static_cast<DWORD_PTR>(LB_ERR), [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || index < 0 || index >= l->count())
            return static_cast<DWORD_PTR>(LB_ERR);
        return static_cast<DWORD_PTR>(l->item(index)->data(Qt::UserRole).value<qulonglong>());
    });
}

int CListBox::SetItemData(int index, DWORD_PTR data) {
    return WithWindow(m_hWnd, LB_ERR, [&](WindowState& s) {
        QListWidget* l = ListOf(s);
        if (!l || index < 0 || index >= l->count())
            return LB_ERR;
        l->item(index)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(data));
        return 0;
    });
}

void* CListBox::GetItemDataPtr(int index) const {
    return reinterpret_cast<void*>(GetItemData(index));
}

int CListBox::SetItemDataPtr(int index, void* data) {
    return SetItemData(index, reinterpret_cast<DWORD_PTR>(data));
}
