#include "CReportDlg.h"

#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

BEGIN_MESSAGE_MAP(CReportDlg, CDialog)
ON_BN_CLICKED(IDOK, &CReportDlg::OnBnClickedOk)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CReportDlg::CReportDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CReportDlg::~CReportDlg() {
    if (m_hEvent)
        CloseHandle(m_hEvent);
}

void CReportDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REPORT_LIST, m_listReport);
}

BOOL CReportDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EnterEscFilter(this, pMsg);
}

BOOL CReportDlg::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    m_pMainDlg = dynamic_cast<CKavrinoDlg*>(pParentWnd);
    return CDialog::Create(lpszTemplateName, pParentWnd);
}

BOOL CReportDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_hEvent)
        m_hEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    InitList();
    return TRUE;
}

void CReportDlg::InitList() {
    m_listReport.InsertColumn(0, L"검사 항목", LVCFMT_CENTER, 100);
    m_listReport.InsertColumn(1, L"결과", LVCFMT_CENTER, 100);
    m_listReport.InsertColumn(2, L"데이터", LVCFMT_CENTER, 700);
    m_listReport.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_REGIONAL |
                                  LVS_EX_DOUBLEBUFFER);
    m_listReport.ModifyStyle(0, LVS_SINGLESEL);
}

void CReportDlg::SetResults(const TestResult* pResults, int nCount) {
    m_listReport.DeleteAllItems();
    if (!pResults)
        return;
    for (int i = 0; i < nCount; ++i) {
        m_listReport.InsertItem(i, pResults[i].strItem);
        m_listReport.SetItemText(i, 1, pResults[i].strResult);
        m_listReport.SetItemText(i, 2, pResults[i].strComment);
    }
}

// The block is written before the runner is released, so it is complete before the main window closes;
// a log that cannot take it is told while the results are still on the page.
void CReportDlg::OnBnClickedOk() {
    if (!WriteReport())
        AfxMessageBox(L"로그파일 기록 실패");
    SetEvent(m_hEvent);
    CDialog::OnOK();
}

BOOL CReportDlg::WriteReport() {
    CLogFile& log = theApp.m_LogFile;
    BOOL bWritten = TRUE;
    const int nRows = m_listReport.GetItemCount();
    bWritten &= log.Write(true, "\r\n<===== 디바이스 정보 : [%s_%s_%s] =====>", CT2A(m_strModel).c_str(),
                          CT2A(m_strSerial).c_str(), CT2A(m_strVersion).c_str());
    for (int i = 0; i < nRows; ++i) {
        bWritten &= log.Write(false, "검사항목 : %s", CT2A(m_listReport.GetItemText(i, 0)).c_str());
        bWritten &= log.Write(false, "결    과 : %s", CT2A(m_listReport.GetItemText(i, 1)).c_str());
        bWritten &= log.Write(false, "비    고 : %s", CT2A(m_listReport.GetItemText(i, 2)).c_str());
    }
    bWritten &= log.Write(false, "\r\n");
    return bWritten;
}

void CReportDlg::OnDestroy() {
    CDialog::OnDestroy();
    if (m_hEvent) {
        CloseHandle(m_hEvent);
        m_hEvent = nullptr;
    }
}
