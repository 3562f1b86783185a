#include "CEdit.h"

#include "QtText.h"
#include "UiInternal.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

using namespace kavrino;

void CEdit::SetSel(int start, int end, BOOL) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data())) {
            const int length = e->text().length();
            if (start < 0) {
                e->deselect();
            } else {
                const int to = end < 0 ? length : std::min(end, length);
                const int from = std::min(start, length);
                e->setSelection(from, to - from);
            }
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data())) {
            QTextCursor c = p->textCursor();
            const int length = p->document()->characterCount() - 1;
            if (start < 0) {
                c.clearSelection();
            } else {
                c.setPosition(std::min(start, length));
                c.setPosition(end < 0 ? length : std::min(end, length), QTextCursor::KeepAnchor);
            }
            p->setTextCursor(c);
        }
    });
}

void CEdit::SetSel(DWORD selection, BOOL noScroll) {
    SetSel(static_cast<std::int16_t>(LOWORD(selection)), static_cast<std::int16_t>(HIWORD(selection)),
           noScroll);
}

void CEdit::GetSel(int& start, int& end) const {
    const std::pair<int, int> sel = WithWindow(m_hWnd, std::make_pair(0, 0), [](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data())) {
            if (!e->hasSelectedText())
                return std::make_pair(e->cursorPosition(), e->cursorPosition());
            return std::make_pair(e->selectionStart(), e->selectionStart() + e->selectedText().length());
        }
        if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data())) {
            QTextCursor c = p->textCursor();
            return std::make_pair(c.selectionStart(), c.selectionEnd());
        }
        return std::make_pair(0, 0);
    });
    start = sel.first;
    end = sel.second;
}

DWORD CEdit::GetSel() const {
    int start = 0, end = 0;
    GetSel(start, end);
    return static_cast<DWORD>(MAKELRESULT(static_cast<WORD>(start), static_cast<WORD>(end)));
}

void CEdit::ReplaceSel(LPCTSTR text, BOOL) {
    const QString q = ToQString(text);
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data()))
            e->insert(q);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data()))
            p->insertPlainText(QString(q).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    });
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
    return WithWindow(m_hWnd, FALSE, [&](WindowState& s) {
        if (readOnly)
            s.style |= ES_READONLY;
        else
            s.style &= ~ES_READONLY;
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data()))
            e->setReadOnly(readOnly != FALSE);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data()))
            p->setReadOnly(readOnly != FALSE);
        else
            return FALSE;
        return TRUE;
    });
}

void CEdit::SetLimitText(UINT max) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data()))
            e->setMaxLength(max == 0 ? 32767 : static_cast<int>(std::min<UINT>(max, 0x7FFFFFFE)));
    });
}

int CEdit::GetLineCount() const {
    return WithWindow(m_hWnd, 1, [](WindowState& s) {
        if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data()))
            return std::max(1, p->document()->blockCount());
        return 1;
    });
}

void CEdit::Clear() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data()))
            e->del();
        else if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data()))
            p->textCursor().removeSelectedText();
    });
}

void CEdit::Copy() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data()))
            e->copy();
        else if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data()))
            p->copy();
    });
}

void CEdit::Cut() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data()))
            e->cut();
        else if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data()))
            p->cut();
    });
}

void CEdit::Paste() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data()))
            e->paste();
        else if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data()))
            p->paste();
    });
}

BOOL CEdit::Undo() {
    return WithWindow(m_hWnd, FALSE, [](WindowState& s) {
        if (auto* e = qobject_cast<QLineEdit*>(s.widget.data())) {
            e->undo();
            return TRUE;
        }
        if (auto* p = qobject_cast<QPlainTextEdit*>(s.widget.data())) {
            p->undo();
            return TRUE;
        }
        return FALSE;
    });
}
