#pragma once
// The open and save file dialogs. The filter has the form "LOG File (*.log)|*.log|" (pairs of description
// and pattern, each ended by "|"). DoModal returns IDOK with the chosen path, IDCANCEL otherwise; the
// request goes through the file-dialog hook when tests set one (kavrino::SetFileDialogHandler), otherwise a
// real dialog is shown.

#include "CString.h"
#include "UiDefs.h"

class CWnd;
class QString;

namespace kavrino {
// The filter as Qt's file dialog takes it: "LOG File (*.log)|*.log|" -> "LOG File (*.log)", one line per
// pair joined by ";;". Qt reads the patterns from the parentheses that end a line: a description that
// ends with its patterns already is kept as it is, any other gets them added. The first pattern's
// extension ("log") goes to firstExtension when it is given and empty.
QString FileDialogFilter(const CString& filter, QString* firstExtension = nullptr);
} // namespace kavrino

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

struct OPENFILENAME {
    DWORD lStructSize = sizeof(OPENFILENAME);
    HWND hwndOwner = nullptr;
    LPCTSTR lpstrFilter = nullptr;
    LPCTSTR lpstrInitialDir = nullptr;
    LPCTSTR lpstrTitle = nullptr;
    LPCTSTR lpstrDefExt = nullptr;
    DWORD Flags = 0;
};

class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, LPCTSTR defExt = nullptr, LPCTSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
                CWnd* parent = nullptr, DWORD size = 0, BOOL vistaStyle = TRUE);
    virtual ~CFileDialog() = default;

    virtual INT_PTR DoModal();
    CString GetPathName() const { return m_path; }
    // The file name with its extension, without the folder.
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;

    OPENFILENAME m_ofn;

private:
    BOOL m_bOpen;
    CString m_defExt;
    CString m_fileName;
    CString m_filter;
    CString m_initialDir;
    CString m_path;
};
