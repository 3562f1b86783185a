#include "AfxMessageBox.h"

#include "CWinApp.h"
#include "DialogTemplate.h"
#include "ModalStack.h"
#include "QtText.h"
#include "TestHooks.h"
#include "UiThread.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>
#include <mutex>
#include <utility>

namespace {
std::mutex g_boxMutex;
kavrino::MessageBoxHandler g_boxHandler;

int ShowRealBox(const CString& text, const CString& caption, UINT type, HWND ownerHwnd) {
    // Modal to its owner only. The box goes with its owner should that window be destroyed meanwhile.
    QWidget* owner = kavrino::ModalStack::Owner(ownerHwnd);
    const QPointer<QMessageBox> box = new QMessageBox(owner);
    // A title and a close box, as a message box has, no minimise or maximise button; and wide enough for
    // its caption beside the window manager's icon and buttons, as the platform's message box makes
    // itself (a box with a short text showed its caption cut, or not at all).
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
    const QString title = kavrino::ToQString(caption);
    box->setWindowTitle(title);
    box->setText(kavrino::ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        QFont titleFont = box->font();
        titleFont.setBold(true);
        const int titleBar = box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(title) + 4 * titleBar;
        if (label->sizeHint().width() < captionWidth)
            label->setMinimumWidth(captionWidth);
    }
    switch (type & 0xF0) {
    case MB_ICONERROR:
        box->setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box->setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box->setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box->setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MB_YESNOCANCEL:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_RETRYCANCEL:
        box->setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    case MB_ABORTRETRYIGNORE:
        box->setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        break;
    default:
        box->setStandardButtons(QMessageBox::Ok);
        break;
    }
    const int answer = kavrino::ModalStack::Run(box, owner);
    delete box.data();
    switch (answer) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Retry:
        return IDRETRY;
    case QMessageBox::Abort:
        return IDABORT;
    case QMessageBox::Ignore:
        return IDIGNORE;
    default:
        return IDCANCEL;
    }
}
} // namespace

namespace kavrino {

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard<std::mutex> lock(g_boxMutex);
    MessageBoxHandler previous = std::move(g_boxHandler);
    g_boxHandler = std::move(handler);
    return previous;
}

int ShowMessageBox(const CString& text, const CString& caption, UINT type, HWND owner) {
    int result = IDCANCEL;
    RunOnUiThread([&] {
        MessageBoxHandler handler;
        {
            std::lock_guard<std::mutex> lock(g_boxMutex);
            handler = g_boxHandler;
        }
        if (!handler) {
            result = ShowRealBox(text, caption, type, owner);
            return;
        }
        const ModalStack::AnsweredBox open;
        result = handler(text, caption, type);
    });
    return result;
}

} // namespace kavrino

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
    CString caption =
        AfxGetApp() && AfxGetApp()->m_pszAppName ? CString(AfxGetApp()->m_pszAppName) : CString(L"Kavrino");
    return kavrino::ShowMessageBox(CString(text), caption, type);
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId) {
    return AfxMessageBox(kavrino::LoadResourceString(stringId), type, helpId);
}
