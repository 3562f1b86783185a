#pragma once
// The main window on a simulated camera with the pages it creates, a test-set file of the test's own and
// helpers to press a page's buttons and read the camera's features back.

#include "CKavrinoApp.h"
#include "runner/MainWindowFixture.h"

#include <cstring>
#include <initializer_list>
#include <ostream>
#include <vector>

// Readable CString values in failure messages.
inline void PrintTo(const CString& text, std::ostream* os) {
    *os << '"' << kavrino::WideToUtf8(std::wstring(text.GetString())) << '"';
}

namespace kavrino_test {

class PageTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        m_strIniPath = CString(m_dir.filePath("testset.ini").toStdWString());
        theApp.g_strIniPath = m_strIniPath;
        UseCamera(CameraFile{m_serial, 320, 240, false, 8, 30.0});
    }

    void TearDown() override {
        MainWindowTest::TearDown();
        theApp.g_strIniPath.Empty();
    }

    // Creates the window with these entries in its test list.
    void OpenWith(std::initializer_list<const wchar_t*> items) {
        m_items.RemoveAll();
        for (const wchar_t* item : items)
            m_items.AddTail(item);
        m_dlg = std::make_unique<CKavrinoDlg>();
        m_dlg->m_pTestItemList = &m_items;
        m_dlg->m_pFrameRateList = &m_frameRates;
        m_dlg->m_pDcfList = &m_dcfList;
        m_dlg->m_bColorCamera = FALSE;
        ASSERT_TRUE(m_dlg->Create(CKavrinoDlg::IDD, nullptr));
        m_dlg->ShowWindow(SW_SHOW);
    }

    void OpenConnected(std::initializer_list<const wchar_t*> items) {
        OpenWith(items);
        Click(CKavrinoDlg::IDC_CONNECT);
        ASSERT_TRUE(m_dlg->m_bConnected);
        m_boxes.Clear();
    }

    // Presses a control of a page (or of any window).
    static void Press(CWnd* pWnd, int id) {
        CWnd* pControl = pWnd->GetDlgItem(id);
        ASSERT_NE(pControl, nullptr);
        pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                          reinterpret_cast<LPARAM>(pControl->GetSafeHwnd()));
    }

    CString TextFeature(const wchar_t* name) {
        wchar_t text[100] = {};
        m_dlg->GetFeature(name, FEATURE_VALUE_AS_STRING, text, 100);
        return text;
    }
    MIL_INT64 IntFeature(const wchar_t* name) {
        MIL_INT64 value = -1;
        m_dlg->GetFeature(name, FEATURE_VALUE, &value);
        return value;
    }
    MIL_BOOL BoolFeature(const wchar_t* name) {
        MIL_BOOL value = -1;
        m_dlg->GetFeature(name, FEATURE_VALUE, &value);
        return value;
    }
    void Refuse(const wchar_t* name, bool refused = true) {
        auto camera =
            kavrino::SimCameraRegistry::Find(std::wstring(m_serial, m_serial + std::strlen(m_serial)));
        ASSERT_NE(camera, nullptr);
        camera->SetRefused(name, refused);
    }

    // The message boxes of the pages (live acquisition reports the frame size at every start).
    std::vector<CString> PageBoxes() const {
        std::vector<CString> texts;
        for (const CString& text : m_boxes.Texts())
            if (text.Find(L"width = ") != 0)
                texts.push_back(text);
        return texts;
    }

    // The text of a control of a page (or of any window).
    static CString ItemText(CWnd* pWnd, int id) {
        CString text;
        pWnd->GetDlgItemText(id, text);
        return text;
    }

    static bool Signalled(HANDLE hEvent) { return WaitForSingleObject(hEvent, 0) == WAIT_OBJECT_0; }
    static bool Visible(CWnd* pWnd) { return pWnd && pWnd->IsWindowVisible(); }
    static int FocusId() {
        CWnd* pFocus = CWnd::GetFocus();
        return pFocus ? pFocus->GetDlgCtrlID() : 0;
    }

    const char* m_serial = "P0001";
    CString m_strIniPath;
};

} // namespace kavrino_test
