#include "CBinningDlg.h"

BEGIN_MESSAGE_MAP(CBinningDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(1080, &CBinningDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CBinningDlg::OnBnClickedChangeImage)
ON_BN_CLICKED(CBinningDlg::IDC_ON, &CBinningDlg::OnBnClickedOn)
ON_BN_CLICKED(CBinningDlg::IDC_OFF, &CBinningDlg::OnBnClickedOff)
ON_BN_CLICKED(CBinningDlg::IDC_PASS, &CBinningDlg::OnBnClickedPass)
ON_BN_CLICKED(CBinningDlg::IDC_FAIL, &CBinningDlg::OnBnClickedFail)
ON_STN_DBLCLK(1079, &CBinningDlg::OnStnDblclickImage)
ON_WM_PAINT()
END_MESSAGE_MAP()

CBinningDlg::CBinningDlg(CWnd* pParent) : CTestPageDlg(IDD, L"BINNING", pParent) {}

CBinningDlg::~CBinningDlg() = default;

BOOL CBinningDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddItem(L"ON");
    AddItem(L"OFF");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

void CBinningDlg::OnBnClickedOn() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    SwitchImageMode(ITEM_ON, L"BinningVertical", 2, TRUE);
}

void CBinningDlg::OnBnClickedOff() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    SwitchImageMode(ITEM_OFF, L"BinningVertical", 1, FALSE);
}

void CBinningDlg::OnBnClickedPass() {
    CWaitCursor wait;
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CBinningDlg::OnBnClickedFail() {
    CWaitCursor wait;
    Finish(FALSE);
}

// The reference window stays open on this page; the factor is not written back, the selector "ROI" ends
// binning. The restore is not checked, so a connected camera always gets its verdict.
void CBinningDlg::Finish(BOOL bPass) {
    FocusControl(IDC_ON);
    if (!IsConnected())
        return;
    RestoreImageMode();
    HandOver(bPass);
}
