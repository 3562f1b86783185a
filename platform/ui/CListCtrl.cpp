#include "CListCtrl.h"

#include "QtText.h"
#include "UiInternal.h"

#include <QHeaderView>
#include <QTableWidget>

using namespace kavrino;

namespace {

const int kFormatRole = Qt::UserRole + 1;

QTableWidget* TableOf(WindowState& s) {
    return qobject_cast<QTableWidget*>(s.widget.data());
}

Qt::Alignment ColumnAlignment(QTableWidget* t, int col) {
    QTableWidgetItem* header = t->horizontalHeaderItem(col);
    const int format = header ? header->data(kFormatRole).toInt() : LVCFMT_LEFT;
    // The first column is always left-aligned, as in the original list control.
    if (col == 0 || format == LVCFMT_LEFT)
        return Qt::AlignLeft | Qt::AlignVCenter;
    return format == LVCFMT_CENTER ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter);
}

QTableWidgetItem* Cell(QTableWidget* t, int row, int col) {
    QTableWidgetItem* item = t->item(row, col);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(static_cast<int>(ColumnAlignment(t, col)));
        t->setItem(row, col, item);
    }
    return item;
}

} // namespace

int CListCtrl::InsertColumn(int col, LPCTSTR heading, int format, int width, int) {
    const QString q = ToQString(heading);
    return WithWindow(m_hWnd, -1, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || col < 0)
            return -1;
        const int at = std::min(col, t->columnCount());
        t->insertColumn(at);
        auto* header = new QTableWidgetItem(q);
        header->setData(kFormatRole, format & 0x3);
        header->setTextAlignment(static_cast<int>(ColumnAlignment(t, at) & ~Qt::AlignVertical_Mask) |
                                 Qt::AlignVCenter);
        t->setHorizontalHeaderItem(at, header);
        if (width >= 0)
            t->setColumnWidth(at, width);
        return at;
    });
}

BOOL CListCtrl::DeleteColumn(int col) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || col < 0 || col >= t->columnCount())
            return FALSE;
        t->removeColumn(col);
        return TRUE;
    });
}

BOOL CListCtrl::SetColumnWidth(int col, int width) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || col < 0 || col >= t->columnCount())
            return FALSE;
        t->setColumnWidth(col, std::max(width, 0));
        return TRUE;
    });
}

int CListCtrl::GetColumnWidth(int col) const {
    return WithWindow(m_hWnd, 0, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        return t && col >= 0 && col < t->columnCount() ? t->columnWidth(col) : 0;
    });
}

int CListCtrl::InsertItem(int item, LPCTSTR text) {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, -1, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || item < 0 || t->columnCount() == 0)
            return -1;
        const int row = std::min(item, t->rowCount());
        t->insertRow(row);
        Cell(t, row, 0)->setText(q);
        return row;
    });
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCTSTR text) {
    const QString q = ToQString(text);
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || item < 0 || item >= t->rowCount() || subItem < 0 || subItem >= t->columnCount())
            return FALSE;
        Cell(t, item, subItem)->setText(q);
        return TRUE;
    });
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    return WithWindow(m_hWnd, CString(), [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || item < 0 || item >= t->rowCount() || subItem < 0 || subItem >= t->columnCount())
            return CString();
        QTableWidgetItem* cell = t->item(item, subItem);
        return cell ? FromQString(cell->text()) : CString();
    });
}

int CListCtrl::GetItemText(int item, int subItem, LPTSTR buffer, int maxLength) const {
    if (!buffer || maxLength <= 0)
        return 0;
    const CString text = GetItemText(item, subItem);
    const int n = std::min(text.GetLength(), maxLength - 1);
    std::wmemcpy(buffer, text.GetString(), static_cast<std::size_t>(n));
    buffer[n] = L'\0';
    return n;
}

int CListCtrl::GetItemCount() const {
    return WithWindow(m_hWnd, 0, [](WindowState& s) {
        QTableWidget* t = TableOf(s);
        return t ? t->rowCount() : 0;
    });
}

BOOL CListCtrl::DeleteItem(int item) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || item < 0 || item >= t->rowCount())
            return FALSE;
        t->removeRow(item);
        return TRUE;
    });
}

BOOL CListCtrl::DeleteAllItems() {
    return WithWindow(m_hWnd, FALSE, [](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t)
            return FALSE;
        t->setRowCount(0);
        return TRUE;
    });
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || item < 0 || item >= t->rowCount() || t->columnCount() == 0)
            return FALSE;
        Cell(t, item, 0)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(data));
        return TRUE;
    });
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    return WithWindow(m_hWnd, DWORD_PTR(0), [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || item < 0 || item >= t->rowCount())
            return DWORD_PTR(0);
        QTableWidgetItem* cell = t->item(item, 0);
        return cell ? static_cast<DWORD_PTR>(cell->data(Qt::UserRole).value<qulonglong>()) : DWORD_PTR(0);
    });
}

DWORD CListCtrl::SetExtendedStyleEx(DWORD mask, DWORD styles) {
    return WithWindow(m_hWnd, DWORD(0), [&](WindowState& s) {
        const DWORD old = s.listExStyle;
        s.listExStyle = mask ? ((old & ~mask) | (styles & mask)) : styles;
        if (QTableWidget* t = TableOf(s)) {
            t->setShowGrid(s.listExStyle & LVS_EX_GRIDLINES);
            t->setSelectionBehavior((s.listExStyle & LVS_EX_FULLROWSELECT) ? QAbstractItemView::SelectRows
                                                                           : QAbstractItemView::SelectItems);
        }
        return old;
    });
}

DWORD CListCtrl::GetExtendedStyle() const {
    return WithWindow(m_hWnd, DWORD(0), [](WindowState& s) { return s.listExStyle; });
}

int CListCtrl::GetSelectionMark() const {
    return WithWindow(m_hWnd, -1, [](WindowState& s) {
        QTableWidget* t = TableOf(s);
        return t ? t->currentRow() : -1;
    });
}

int CListCtrl::GetNextItem(int start, UINT flags) const {
    return WithWindow(m_hWnd, -1, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t)
            return -1;
        for (int row = std::max(start + 1, 0); row < t->rowCount(); ++row) {
            if (!(flags & LVNI_SELECTED))
                return row;
            if (t->selectionModel()->isRowSelected(row, QModelIndex()) ||
                (t->item(row, 0) && t->item(row, 0)->isSelected()))
                return row;
        }
        return -1;
    });
}

UINT CListCtrl::GetSelectedCount() const {
    return WithWindow(m_hWnd, 0u, [](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t)
            return 0u;
        UINT n = 0;
        for (int row = 0; row < t->rowCount(); ++row)
            if (t->item(row, 0) && t->item(row, 0)->isSelected())
                ++n;
        return n;
    });
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || item < 0 || item >= t->rowCount())
            return FALSE;
        if (mask & LVIS_SELECTED) {
            const bool select = (state & LVIS_SELECTED) != 0;
            for (int col = 0; col < t->columnCount(); ++col)
                Cell(t, item, col)->setSelected(select);
        }
        return TRUE;
    });
}

BOOL CListCtrl::EnsureVisible(int item, BOOL) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        QTableWidget* t = TableOf(s);
        if (!t || item < 0 || item >= t->rowCount() || t->columnCount() == 0)
            return FALSE;
        t->scrollToItem(Cell(t, item, 0));
        return TRUE;
    });
}
