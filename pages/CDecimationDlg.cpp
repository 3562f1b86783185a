#include "CDecimationDlg.h"

BEGIN_MESSAGE_MAP(CDecimationDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(1080, &CDecimationDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CDecimationDlg::OnBnClickedChangeImage)
ON_BN_CLICKED(CDecimationDlg::IDC_ON, &CDecimationDlg::OnBnClickedOn)
ON_BN_CLICKED(CDecimationDlg::IDC_OFF, &CDecimationDlg::OnBnClickedOff)
ON_BN_CLICKED(CDecimationDlg::IDC_PASS, &CDecimationDlg::OnBnClickedPass)
ON_BN_CLICKED(CDecimationDlg::IDC_FAIL, &CDecimationDlg::OnBnClickedFail)
ON_STN_DBLCLK(1079, &CDecimationDlg::OnStnDblclickImage)
ON_WM_PAINT()
END_MESSAGE_MAP()

CDecimationDlg::CDecimationDlg(CWnd* pParent) : CTestPageDlg(IDD, L"DECIMATION", pParent) {}

CDecimationDlg::~CDecimationDlg() = default;

BOOL CDecimationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddItem(L"ON");
    AddItem(L"OFF");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

// Neither decimation step checks its write.
void CDecimationDlg::OnBnClickedOn() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    SwitchImageMode(ITEM_ON, L"DecimationHorizontalVertical", 2, FALSE);
}

void CDecimationDlg::OnBnClickedOff() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    SwitchImageMode(ITEM_OFF, L"DecimationHorizontalVertical", 1, FALSE);
}

void CDecimationDlg::OnBnClickedPass() {
    CWaitCursor wait;
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CDecimationDlg::OnBnClickedFail() {
    CWaitCursor wait;
    Finish(FALSE);
}

// Unlike the binning page, this page closes the reference window before its verdict.
void CDecimationDlg::Finish(BOOL bPass) {
    CloseShowImage();
    FocusControl(IDC_ON);
    if (!IsConnected())
        return;
    RestoreImageMode();
    HandOver(bPass);
}
