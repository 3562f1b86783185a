#pragma once
// The last page of a test run: the table of result rows and "검사 종료", which releases the runner, hides
// the page and appends the report block to the log file.

#include "Platform.h"
#include "TestResult.h"

class CKavrinoDlg;

class CReportDlg : public CDialog {
public:
    enum { IDD = 149 };
    enum { IDC_REPORT_LIST = 1056 };

    explicit CReportDlg(CWnd* pParent = nullptr);
    ~CReportDlg() override;

    using CDialog::Create;
    // Stores the main window, then creates the page (hidden).
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Fills the table with count rows (none for a null array or a count of 0 or less).
    void SetResults(const TestResult* pResults, int nCount);
    // Appends the report block to the log: the device header, three lines per table row, an empty line.
    BOOL WriteReport();
    void InitList();

    HANDLE m_hEvent = nullptr;
    CKavrinoDlg* m_pMainDlg = nullptr;
    CString m_strModel;
    CString m_strSerial;
    CString m_strVersion;
    CListCtrl m_listReport;

    void OnBnClickedOk();
    void OnDestroy();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
