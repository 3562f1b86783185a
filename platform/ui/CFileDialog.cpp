#include "CFileDialog.h"

#include "CWnd.h"
#include "ModalStack.h"
#include "QtText.h"
#include "TestHooks.h"
#include "UiThread.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <mutex>

namespace {

std::mutex g_dialogMutex;
kavrino::FileDialogHandler g_dialogHandler;

} // namespace

namespace kavrino {

QString FileDialogFilter(const CString& filter, QString* firstExtension) {
    const QStringList parts = ToQString(filter).split('|');
    QStringList lines;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        QString patterns = parts[i + 1].simplified();
        patterns.replace(';', ' ');
        patterns = patterns.simplified();
        const QString shown = parts[i].trimmed();
        if (shown.endsWith('(' + patterns + ')'))
            lines << shown;
        else
            lines << QString("%1 (%2)").arg(shown, patterns);
        if (firstExtension && firstExtension->isEmpty()) {
            const QString first = patterns.split(' ').value(0);
            if (first.startsWith("*.") && first.indexOf('*', 2) < 0)
                *firstExtension = first.mid(2);
        }
    }
    return lines.join(QStringLiteral(";;"));
}

void SetFileDialogHandler(FileDialogHandler handler) {
    std::lock_guard<std::mutex> lock(g_dialogMutex);
    g_dialogHandler = std::move(handler);
}
} // namespace kavrino

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defExt, LPCTSTR fileName, DWORD flags, LPCTSTR filter,
                         CWnd* parent, DWORD, BOOL)
    : m_bOpen(openFileDialog), m_defExt(defExt), m_fileName(fileName), m_filter(filter) {
    m_ofn.Flags = flags;
    m_ofn.lpstrFilter = nullptr;
    m_ofn.lpstrDefExt = nullptr;
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
}

INT_PTR CFileDialog::DoModal() {
    kavrino::FileDialogRequest request;
    request.open = m_bOpen != FALSE;
    request.defaultExtension = m_defExt;
    request.fileName = m_fileName;
    request.flags = m_ofn.Flags;
    request.filter = m_filter;
    request.initialDir = m_ofn.lpstrInitialDir ? CString(m_ofn.lpstrInitialDir) : CString();

    QString extension;
    const QString filter = kavrino::FileDialogFilter(m_filter, &extension);
    bool ok = false;
    kavrino::RunOnUiThread([&] {
        kavrino::FileDialogHandler handler;
        {
            std::lock_guard<std::mutex> lock(g_dialogMutex);
            handler = g_dialogHandler;
        }
        if (handler) {
            const kavrino::ModalStack::AnsweredBox open;
            ok = handler(request);
            return;
        }
        const QString dir = kavrino::ToQString(request.initialDir);
        const QString start =
            dir.isEmpty() ? kavrino::ToQString(m_fileName) : dir + '/' + kavrino::ToQString(m_fileName);
        // Modal to its owner only; it goes with its owner should that window be destroyed meanwhile.
        QWidget* owner = kavrino::ModalStack::Owner(m_ofn.hwndOwner);
        const QPointer<QFileDialog> dialog = new QFileDialog(owner, QString(), start, filter);
        dialog->setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog->setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // Saving asks before overwriting only when the caller asked for it.
        dialog->setOption(QFileDialog::DontConfirmOverwrite, !(m_ofn.Flags & OFN_OVERWRITEPROMPT));
        QString chosen;
        if (kavrino::ModalStack::Run(dialog, owner) == QDialog::Accepted && dialog)
            chosen = dialog->selectedFiles().value(0);
        delete dialog.data();
        if (!chosen.isEmpty()) {
            request.path = kavrino::FromQString(chosen);
            ok = true;
        }
    });
    if (!ok || request.path.IsEmpty())
        return IDCANCEL;
    // A name typed without an extension gets the default one: the caller's when it is a plain extension,
    // otherwise the filter's first.
    QString path = kavrino::ToQString(request.path);
    if (QFileInfo(path).suffix().isEmpty()) {
        const QString def = kavrino::ToQString(m_defExt);
        const QString ext = !def.isEmpty() && !def.contains(' ') && !def.contains('.') ? def : extension;
        if (!ext.isEmpty())
            path += '.' + ext;
    }
    m_path = kavrino::FromQString(path);
    return IDOK;
}

CString CFileDialog::GetFileName() const {
    const int slash = std::max(m_path.ReverseFind(L'/'), m_path.ReverseFind(L'\\'));
    return m_path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const {
    const int slash = std::max(m_path.ReverseFind(L'/'), m_path.ReverseFind(L'\\'));
    return slash < 0 ? CString() : m_path.Left(slash);
}
