#pragma once
// The set-up window (template 150, "검사항목 편집 창"): the program's first window and its main window while
// it runs. The operator types a name, registers or reopens the log file, loads a test set, picks the
// digitizer configuration files and starts a run, which opens the main window modally. After the
// administrator login the same window edits the test set and saves it (CLoginDlgTestSet.cpp).

#include "CDragAndDropListBox.h"
#include "Platform.h"

#ifndef afx_msg
#define afx_msg
#endif

class CLoginDlg : public CDialog {
public:
    enum { IDD = 150 };
    // Controls of template 150.
    enum {
        IDC_ADD_ITEM = 1003,
        IDC_REMOVE_ITEM = 1004,
        IDC_ADD_ALL = 1005,
        IDC_REGISTER_LOG = 1031,
        IDC_LOAD_LOG = 1032,
        IDC_SAVE_TEST_FILE = 1033,
        IDC_LOAD_TEST_FILE = 1034,
        IDC_COLOR_CAMERA = 1057,
        IDC_RESOLUTION = 1058,
        IDC_OPERATOR = 1059,
        IDC_ADMINISTRATOR = 1060,
        IDC_PASSWORD = 1061,
        IDC_NAME = 1062,
        IDC_SUPPORTED = 1063,
        IDC_TEST_ITEMS = 1064,
        IDC_FRAME_VALUE = 1065,
        IDC_ADD_FRAME = 1066,
        IDC_FRAMES = 1067,
        IDC_DELETE_FRAME = 1068,
        IDC_ADMIN_LOGIN = 1069,
        IDC_DCF8 = 1070,
        IDC_DCF8_PATH = 1071,
        IDC_LOG_NAME = 1072,
        IDC_TEST_FILE_NAME = 1073,
        IDC_DCF10 = 1074,
        IDC_DCF12 = 1075,
        IDC_DCF10_PATH = 1076,
        IDC_DCF12_PATH = 1077,
        IDC_NOISE = 1078,
        IDC_BLOOMING = 1079,
        IDC_DEVIATION_LIMIT = 1111,
        IDC_CURRENT_REF = 1112,
        IDC_VOLTAGE_REF = 1113,
        IDC_CURRENT = 1142,
        IDC_VOLTAGE = 1143,
    };

    // A loaded test set never names more items or frame values than this; a larger count in the file is
    // cut to it so that a damaged file can neither hang the window nor exhaust memory.
    static constexpr int kMaxLoadedEntries = 1000;

    explicit CLoginDlg(CWnd* pParent = nullptr);
    ~CLoginDlg() override;

    void FillSupportedItems();

    CString m_strDcf8;
    CString m_strDcf10;
    CString m_strDcf12;
    int m_nUserType = 0; // radio group 1059/1060: 0 operator, 1 administrator
    HICON m_hIcon = nullptr;
    CListBox m_listSupported;
    CDragAndDropListBox m_listTestItems;
    CListBox m_listFrames;
    CButton m_chkColorCamera;

    afx_msg void OnBnClickedStart();
    afx_msg void OnPaint();
    afx_msg void OnBnClickedRegisterLog();
    afx_msg void OnBnClickedLoadLog();
    afx_msg void OnEnSetfocusName();
    afx_msg void OnBnClickedUserType(UINT nID);
    afx_msg void OnBnClickedAddFrame();
    afx_msg void OnBnClickedAddItem();
    afx_msg void OnBnClickedRemoveItem();
    afx_msg void OnBnClickedDeleteFrame();
    afx_msg void OnBnClickedAddAll();
    afx_msg void OnBnClickedSaveTestFile();
    afx_msg void OnBnClickedLoadTestFile();
    afx_msg void OnBnClickedAdminLogin();
    afx_msg void OnBnClickedDcf8();
    afx_msg void OnBnClickedDcf10();
    afx_msg void OnBnClickedDcf12();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()

private:
    // Enables or disables the eighteen controls of the administrator set.
    void EnableAdministratorSet(BOOL bEnable);
    // Focus to an edit with all its text selected.
    void FocusAndSelectAll(int nID);
    // The trimmed operator name, or empty when the name is missing or still the placeholder.
    CString OperatorName();
    // Asks for a log file (save or open dialog); shows its name and makes it the log's path.
    BOOL ChooseLogFile(BOOL bOpen);
    void WriteOperatorLine(const CString& strName);
    void ChooseDcf(CString& strMember, int nEditId);
    // Appends the text unless an entry with exactly this text is there.
    static void AppendUnique(CListBox& list, const CString& strText);
    // Deletes the selected entry and selects the one now at its place, or the new last one.
    static void DeleteSelected(CListBox& list);
    static void CopyEntries(CListBox& list, CStringList& target);
    void ReadDcfEdits();

    // Test-set file (CLoginDlgTestSet.cpp).
    BOOL WriteTestSet(const CString& strPath);
    void ReadTestSet(const CString& strPath);
};
