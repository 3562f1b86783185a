// A test-set file loaded as the operator loads it: "검사 파일 불러오기" in the set-up window. Whatever the
// file holds, the window fills its lists and controls without crashing, never takes more entries than it
// accepts, and points the program at the file. When the file's last byte is a multiple of 16 the input
// goes on to "검사 시작": the main window opens on the loaded lists and every page reads its own section
// of the same file (method text, reference-picture path, parameters); a multiple of 32 also connects the
// camera with the file's 8-bit configuration file; then the window closes again.

#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"
#include "CLoginDlg.h"
#include "FuzzSupport.h"
#include "Steering.h"
#include "TestHooks.h"

#include <QDir>

#include <cstdlib>

using namespace kavrino_fuzz;

namespace {

struct SetupWindow {
    SetupWindow() {
        // The sample configuration files are named relative to the repository root, where the program runs.
        // A bounded run names a folder with a copy of them instead, whose path is the same everywhere.
        const char* pszRoot = std::getenv("KAVRINO_FUZZ_SOURCE");
        QDir::setCurrent(QString::fromLocal8Bit(pszRoot && *pszRoot ? pszRoot : KAVRINO_SOURCE_DIR));
        theApp.m_LogFile.m_strPath = WidePath(ScratchPath("bench.log"));
        dlg.Create(CLoginDlg::IDD, nullptr);
        dlg.ShowWindow(SW_SHOW);
    }
    CLoginDlg dlg;
};

void Click(CWnd& wnd, int id) {
    if (auto* pButton = static_cast<CButton*>(wnd.GetDlgItem(id)))
        pButton->Click();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SetupWindow* window = new SetupWindow;
    CLoginDlg& dlg = window->dlg;
    const std::string path = ScratchPath("testset.ini");
    WriteFile(path, data, size);

    kavrino::SetFileDialogHandler([&](kavrino::FileDialogRequest& request) {
        request.path = WidePath(path);
        return true;
    });
    Click(dlg, CLoginDlg::IDC_LOAD_TEST_FILE);
    kavrino::SetFileDialogHandler([](kavrino::FileDialogRequest&) { return false; });

    if (theApp.g_strIniPath != WidePath(path))
        Fail("the loaded file is not the program's test set");
    if (dlg.m_listTestItems.GetCount() > CLoginDlg::kMaxLoadedEntries ||
        dlg.m_listFrames.GetCount() > CLoginDlg::kMaxLoadedEntries)
        Fail("more entries loaded than the window accepts");

    Steering steer(data, size);
    const unsigned choice = steer.Next();
    if (choice % 16 == 0) {
        const bool connect = choice % 32 == 0;
        kavrino::ModalDialogScope scope([connect](CDialog* dialog) {
            auto* pMain = dynamic_cast<CKavrinoDlg*>(dialog);
            if (!pMain)
                return;
            if (connect)
                Click(*pMain, CKavrinoDlg::IDC_CONNECT);
            pMain->SendMessage(WM_CLOSE, 0, 0);
        });
        Click(dlg, IDOK);
    }
    Settle();
    return 0;
}
