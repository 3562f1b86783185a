// The application's start-up: the set-up window runs modally as the main window, and a failed GDI+
// start-up ends the program without any window.

#include "CKavrinoApp.h"
#include "UiTestSupport.h"
#include "WindowRegistry.h"

#include <gtest/gtest.h>
#include <QAbstractButton>

#include "GdiplusStartup.h"

TEST(Application, TheSetUpWindowRunsAsTheMainWindowAndStartUpReturnsFalse) {
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_EQ(theApp.g_bEditMode, 0);
    EXPECT_TRUE(theApp.g_strIniPath.IsEmpty());
    CString caption;
    bool wasMain = false;
    {
        kavrino::ModalDialogScope scope([&](CDialog* dlg) {
            dlg->GetWindowText(caption);
            wasMain = AfxGetMainWnd() == dlg;
            // The close box ends the set-up window.
            dlg->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        EXPECT_FALSE(theApp.InitInstance());
    }
    EXPECT_TRUE(wasMain);
    EXPECT_EQ(caption, kavrino::DialogTemplate::Find(150)->caption);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_EQ(theApp.ExitInstance(), 0);
    uitest::Settle();
}

TEST(Application, AFailedGdiplusStartUpOpensNoWindow) {
    const std::size_t windows = kavrino::WindowRegistry::Instance().Count();
    bool anyDialog = false;
    kavrino::ModalDialogScope scope([&](CDialog* dlg) {
        anyDialog = true;
        dlg->EndDialog(IDCANCEL);
    });
    kavrino::SetGdiplusStartupFailure(true);
    testing::internal::CaptureStdout();
    const BOOL result = theApp.InitInstance();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, -1);
    EXPECT_EQ(out, "ERROR : Failed to initialize GDI+ library");
    EXPECT_FALSE(anyDialog);
    EXPECT_EQ(kavrino::WindowRegistry::Instance().Count(), windows);
    theApp.ExitInstance();
}
