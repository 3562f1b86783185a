#pragma once
// The set-up window created and shown the way the program shows it, with every message box answered and
// recorded, and the program-wide state of the application object reset around each test.

#include "CKavrinoApp.h"
#include "CLoginDlg.h"
#include "TestHooks.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace kavrino_test {

// The eighteen controls the administrator login unlocks.
inline const std::vector<int>& AdministratorSet() {
    static const std::vector<int> ids = {1031, 1063, 1005, 1003, 1004, 1065, 1066, 1068, 1033,
                                         1057, 1111, 1058, 1078, 1079, 1142, 1143, 1112, 1113};
    return ids;
}

class SetupWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetApp();
        ASSERT_TRUE(m_dir.isValid());
        m_dlg = std::make_unique<CLoginDlg>();
        ASSERT_TRUE(m_dlg->Create(CLoginDlg::IDD, nullptr));
        m_dlg->ShowWindow(SW_SHOW);
    }

    void TearDown() override {
        if (m_dlg && m_dlg->GetSafeHwnd())
            m_dlg->DestroyWindow();
        m_dlg.reset();
        ResetApp();
    }

    static void ResetApp() {
        theApp.m_LogFile.m_strPath.Empty();
        theApp.g_strIniPath.Empty();
        theApp.g_strImagePath.Empty();
        theApp.g_bEditMode = 0;
    }

    // A click as the operator gives it: a disabled control does not react.
    void Click(int id) {
        auto* pButton = static_cast<CButton*>(m_dlg->GetDlgItem(id));
        ASSERT_NE(pButton, nullptr) << id;
        pButton->Click();
    }
    CString Text(int id) const {
        CString text;
        m_dlg->GetDlgItemText(id, text);
        return text;
    }
    void SetText(int id, const wchar_t* text) { m_dlg->SetDlgItemText(id, text); }
    bool Enabled(int id) const { return m_dlg->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
    bool Checked(int id) const { return m_dlg->IsDlgButtonChecked(id) != 0; }
    void Check(int id, bool on) { m_dlg->CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED); }
    int FocusId() const {
        CWnd* pFocus = CWnd::GetFocus();
        return pFocus ? pFocus->GetDlgCtrlID() : 0;
    }

    void LoginAsAdministrator() {
        Click(CLoginDlg::IDC_ADMINISTRATOR);
        SetText(CLoginDlg::IDC_PASSWORD, L"plomek472");
        Click(CLoginDlg::IDC_ADMIN_LOGIN);
        ASSERT_EQ(theApp.g_bEditMode, 1);
    }

    static std::vector<CString> Entries(const CListBox& list) {
        std::vector<CString> entries;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString text;
            list.GetText(i, text);
            entries.push_back(text);
        }
        return entries;
    }
    static std::vector<CString> Entries(const CStringList* list) {
        std::vector<CString> entries;
        if (!list)
            return entries;
        for (POSITION pos = list->GetHeadPosition(); pos;)
            entries.push_back(list->GetNext(pos));
        return entries;
    }
    static std::vector<CString> Names(std::initializer_list<const wchar_t*> names) {
        return std::vector<CString>(names.begin(), names.end());
    }

    CString PathOf(const char* name) const { return CString(m_dir.filePath(name).toStdWString()); }
    static QByteArray ReadBytes(const CString& path) {
        QFile file(QString::fromStdWString(path.str()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void WriteBytes(const CString& path, const QByteArray& bytes) {
        QFile file(QString::fromStdWString(path.str()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
    kavrino::MessageBoxRecorder m_boxes{IDOK};
    std::unique_ptr<CLoginDlg> m_dlg;
};

} // namespace kavrino_test
