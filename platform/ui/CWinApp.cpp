#include "CWinApp.h"

#include "CWnd.h"
#include "PostListener.h"
#include "UiInternal.h"
#include "UiThread.h"

#include <QApplication>
#include <cstdio>

namespace {
CWinApp* g_app = nullptr;
bool g_loopRunning = false;
} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR appName) : m_appName(appName ? appName : L"Kavrino") {
    m_pszAppName = m_appName.GetString();
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

HICON CWinApp::LoadIcon(UINT id) const {
    return kavrino::IconHandle(static_cast<int>(id));
}

HICON CWinApp::LoadIcon(LPCTSTR name) const {
    return ::LoadIcon(AfxGetInstanceHandle(), name);
}

HCURSOR CWinApp::LoadCursor(UINT id) const {
    return ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(id));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR name) const {
    return ::LoadCursor(nullptr, name);
}

void CWinApp::SetRegistryKey(LPCTSTR key) {
    m_registryKey = key;
    m_pszRegistryKey = m_registryKey.GetString();
}

void CWinApp::SetRegistryKey(UINT) {}

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(1));
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

namespace kavrino {

void MainWindowGone(CWnd* wnd) {
    if (g_loopRunning && g_app && g_app->m_pMainWnd == wnd)
        QCoreApplication::exit(0);
}

int RunApplication() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    EnsureWindowSystem();
    // Other programs (the key-pad driver) post to our windows while the program runs; without an endpoint
    // the program still runs.
    std::string reason;
    const bool listening = IsPostListening();
    const bool listened = !listening && StartPostListener(reason);
    if (!listening && !listened)
        std::fprintf(stderr, "Other programs cannot post messages to this one: %s\n", reason.c_str());
    if (app->InitInstance()) {
        // A non-zero start-up goes into the message loop, which lasts as long as the main window does.
        if (app->m_pMainWnd && IsWindow(app->m_pMainWnd->m_hWnd) && QCoreApplication::instance()) {
            g_loopRunning = true;
            QCoreApplication::exec();
            g_loopRunning = false;
        }
    }
    if (listened)
        StopPostListener();
    return app->ExitInstance();
}

} // namespace kavrino
