#include "CReverseXYDlg.h"

#include "CKavrinoDlg.h"

BEGIN_MESSAGE_MAP(CReverseXYDlg, CTestPageDlg)
ON_BN_CLICKED(1080, &CReverseXYDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CReverseXYDlg::OnBnClickedChangeImage)
ON_WM_DESTROY()
ON_BN_CLICKED(CReverseXYDlg::IDC_REVERSE_X, &CReverseXYDlg::OnBnClickedReverseX)
ON_WM_CREATE()
ON_BN_CLICKED(CReverseXYDlg::IDC_REVERSE_Y, &CReverseXYDlg::OnBnClickedReverseY)
ON_BN_CLICKED(CReverseXYDlg::IDC_PASS, &CReverseXYDlg::OnBnClickedPass)
ON_BN_CLICKED(CReverseXYDlg::IDC_FAIL, &CReverseXYDlg::OnBnClickedFail)
ON_STN_DBLCLK(1079, &CReverseXYDlg::OnStnDblclickImage)
ON_WM_PAINT()
END_MESSAGE_MAP()

CReverseXYDlg::CReverseXYDlg(CWnd* pParent) : CTestPageDlg(IDD, L"REVERSE_XY", pParent) {}

CReverseXYDlg::~CReverseXYDlg() = default;

BOOL CReverseXYDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddItem(L"Resverse X");
    AddItem(L"Resverse Y");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

int CReverseXYDlg::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    return CDialog::OnCreate(lpCreateStruct);
}

void CReverseXYDlg::ToggleMirror(int nButtonId, LPCTSTR lpszFeature) {
    CString strText;
    GetDlgItemText(nButtonId, strText);
    MIL_BOOL nValue = 0;
    LPCTSTR lpszNext = nullptr;
    if (strText == L"ON") {
        nValue = 1;
        lpszNext = L"OFF";
    } else if (strText == L"OFF") {
        nValue = 0;
        lpszNext = L"ON";
    } else {
        return;
    }
    m_pMainDlg->StopLive();
    m_pMainDlg->SetFeature(lpszFeature, FEATURE_VALUE, &nValue);
    SetDlgItemText(nButtonId, lpszNext);
    m_pMainDlg->StartLive();
}

// A failed ReverseX write is neither reported nor listed.
void CReverseXYDlg::OnBnClickedReverseX() {
    if (!IsConnected())
        return;
    StartItem(ITEM_REVERSE_X);
    ToggleMirror(IDC_REVERSE_X, L"ReverseX");
}

// The query comes after acquisition has restarted: it covers the write and the restart.
void CReverseXYDlg::OnBnClickedReverseY() {
    if (!IsConnected())
        return;
    StartItem(ITEM_REVERSE_Y);
    ToggleMirror(IDC_REVERSE_Y, L"ReverseY");
    CheckItemWrite(ITEM_REVERSE_Y, L"ReverseY");
}

void CReverseXYDlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CReverseXYDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// Both mirrors off; a failed restore shows its error and keeps the page, without a verdict, so that the
// operator can try again.
void CReverseXYDlg::Finish(BOOL bPass) {
    CloseShowImage();
    FocusControl(IDC_REVERSE_X);
    if (!IsConnected())
        return;
    SetDlgItemText(IDC_REVERSE_X, L"ON");
    SetDlgItemText(IDC_REVERSE_Y, L"ON");
    m_pMainDlg->StopLive();
    MIL_BOOL nOff = 0;
    m_pMainDlg->SetFeature(L"ReverseX", FEATURE_VALUE, &nOff);
    m_pMainDlg->SetFeature(L"ReverseY", FEATURE_VALUE, &nOff);
    m_pMainDlg->StartLive();
    if (!m_pMainDlg->CheckMilError(L"ReverseXY"))
        return;
    HandOver(bPass);
}
