#include "CKavrinoApp.h"

#include "CLoginDlg.h"
#include "GdiplusStartup.h"

#include <cstdio>

CKavrinoApp theApp;
ULONG_PTR g_gdiplusToken = 0;

BEGIN_MESSAGE_MAP(CKavrinoApp, CWinAppEx)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CKavrinoApp::CKavrinoApp() : CWinAppEx(TRUE), g_bEditMode(0) {}

CKavrinoApp::~CKavrinoApp() = default;

BOOL CKavrinoApp::InitInstance() {
    Gdiplus::GdiplusStartupInput input(nullptr, FALSE, FALSE);
    if (Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
        std::fputs("ERROR : Failed to initialize GDI+ library", stdout);
        std::fflush(stdout);
        // Non-zero: the framework goes on without a main window, so the program ends with no window shown.
        return -1;
    }

    INITCOMMONCONTROLSEX controls;
    controls.dwSize = 8;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    CWinAppEx::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey(L"로컬 응용 프로그램 마법사에서 생성된 응용 프로그램");

    CLoginDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The window object ends with this scope; nothing may reach it through the main-window pointer later.
    m_pMainWnd = nullptr;
    return FALSE;
}

int CKavrinoApp::ExitInstance() {
    Gdiplus::GdiplusShutdown(g_gdiplusToken);
    g_gdiplusToken = 0;
    return CWinAppEx::ExitInstance();
}
