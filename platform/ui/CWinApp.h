#pragma once
// The application object: one per program. The framework's start-up (kavrino::RunApplication, called by
// main after the QApplication exists) runs InitInstance; when it returns non-zero and a main window is
// still open, the message loop runs until that window is gone; then ExitInstance's result is the
// program's exit code.

#include "CCmdTarget.h"
#include "CString.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    HICON LoadIcon(UINT id) const;
    HICON LoadIcon(LPCTSTR name) const;
    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadStandardCursor(LPCTSTR name) const;
    // Accepted; nothing is kept in a registry here.
    void SetRegistryKey(LPCTSTR key);
    void SetRegistryKey(UINT id);

    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;

protected:
    DECLARE_MESSAGE_MAP()

private:
    CString m_appName;
    CString m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

namespace kavrino {
// The framework's start-up and shut-down for the one application object; returns the exit code. While it
// runs, other programs of this user may post messages to the program's windows (PostListener.h).
int RunApplication();
} // namespace kavrino
