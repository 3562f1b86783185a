#include "CIPAddressCtrl.h"

#include "UiInternal.h"

#include <QLineEdit>

using namespace kavrino;

namespace {
QLineEdit* FieldOf(WindowState& s) {
    return qobject_cast<QLineEdit*>(s.widget.data());
}
} // namespace

void CIPAddressCtrl::SetAddress(BYTE f0, BYTE f1, BYTE f2, BYTE f3) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (QLineEdit* e = FieldOf(s)) {
            // Each field fills its three places of the input mask.
            e->setText(QString("%1.%2.%3.%4").arg(f0, 3).arg(f1, 3).arg(f2, 3).arg(f3, 3));
        }
    });
}

void CIPAddressCtrl::SetAddress(DWORD address) {
    SetAddress(static_cast<BYTE>(address >> 24), static_cast<BYTE>(address >> 16),
               static_cast<BYTE>(address >> 8), static_cast<BYTE>(address));
}

int CIPAddressCtrl::GetAddress(BYTE& f0, BYTE& f1, BYTE& f2, BYTE& f3) const {
    int fields[4] = {0, 0, 0, 0};
    const int filled = WithWindow(m_hWnd, 0, [&](WindowState& s) {
        QLineEdit* e = FieldOf(s);
        if (!e)
            return 0;
        const QStringList parts = e->text().split('.');
        int n = 0;
        for (int i = 0; i < 4 && i < parts.size(); ++i) {
            const QString part = parts[i].trimmed();
            if (part.isEmpty())
                continue;
            fields[i] = std::min(255, part.toInt());
            ++n;
        }
        return n;
    });
    f0 = static_cast<BYTE>(fields[0]);
    f1 = static_cast<BYTE>(fields[1]);
    f2 = static_cast<BYTE>(fields[2]);
    f3 = static_cast<BYTE>(fields[3]);
    return filled;
}

int CIPAddressCtrl::GetAddress(DWORD& address) const {
    BYTE f[4];
    const int n = GetAddress(f[0], f[1], f[2], f[3]);
    address = (static_cast<DWORD>(f[0]) << 24) | (static_cast<DWORD>(f[1]) << 16) |
              (static_cast<DWORD>(f[2]) << 8) | f[3];
    return n;
}

void CIPAddressCtrl::ClearAddress() {
    WithWindowDo(m_hWnd, [](WindowState& s) {
        if (QLineEdit* e = FieldOf(s))
            e->clear();
    });
}

BOOL CIPAddressCtrl::IsBlank() const {
    BYTE a, b, c, d;
    return GetAddress(a, b, c, d) == 0 ? TRUE : FALSE;
}

void CIPAddressCtrl::SetFieldFocus(WORD field) {
    WithWindowDo(m_hWnd, [&](WindowState& s) {
        if (QLineEdit* e = FieldOf(s)) {
            e->setFocus();
            e->setCursorPosition(std::min<int>(field, 3) * 4);
        }
    });
}
