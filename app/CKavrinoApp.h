#pragma once
// The application object: the program's one global object, holding what lives as long as the program
// (the log file, the current test-set path, the last reference-image path and the edit-mode flag). Its
// start-up runs the set-up window modally as the main window; the program ends when that window closes.

#include "CLogFile.h"
#include "Platform.h"

class CKavrinoApp : public CWinAppEx {
public:
    CKavrinoApp();
    ~CKavrinoApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    CLogFile m_LogFile;
    CString g_strIniPath;   // full path of the current test-set file
    CString g_strImagePath; // the reference-image path a page read or chose last
    int g_bEditMode;        // 1 after the administrator login, 0 again with the operator radio

protected:
    DECLARE_MESSAGE_MAP()
};

extern CKavrinoApp theApp;
// The GDI+ start-up token (0 until start-up).
extern ULONG_PTR g_gdiplusToken;
