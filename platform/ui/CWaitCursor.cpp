#include "CWaitCursor.h"

#include "UiThread.h"

#include <QApplication>

CWaitCursor::CWaitCursor() {
    if (kavrino::IsUiThread() && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_active = true;
    }
}

CWaitCursor::~CWaitCursor() {
    Restore();
}

void CWaitCursor::Restore() {
    if (m_active) {
        QApplication::restoreOverrideCursor();
        m_active = false;
    }
}
