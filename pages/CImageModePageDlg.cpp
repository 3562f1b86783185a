#include "CImageModePageDlg.h"

#include "CKavrinoDlg.h"

BEGIN_MESSAGE_MAP(CImageModePageDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(1080, &CImageModePageDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CImageModePageDlg::OnBnClickedChangeImage)
ON_BN_CLICKED(CImageModePageDlg::IDC_ON, &CImageModePageDlg::OnBnClickedOn)
ON_BN_CLICKED(CImageModePageDlg::IDC_OFF, &CImageModePageDlg::OnBnClickedOff)
ON_BN_CLICKED(CImageModePageDlg::IDC_PASS, &CImageModePageDlg::OnBnClickedPass)
ON_BN_CLICKED(CImageModePageDlg::IDC_FAIL, &CImageModePageDlg::OnBnClickedFail)
ON_STN_DBLCLK(1079, &CImageModePageDlg::OnStnDblclickImage)
ON_WM_PAINT()
END_MESSAGE_MAP()

CImageModePageDlg::CImageModePageDlg(UINT nIDTemplate, LPCTSTR lpszSection, LPCTSTR lpszMode, BOOL bCheckOn,
                                     BOOL bCloseShowImage, CWnd* pParent)
    : CTestPageDlg(nIDTemplate, lpszSection, pParent), m_strMode(lpszMode), m_bCheckOn(bCheckOn),
      m_bCloseShowImage(bCloseShowImage) {}

BOOL CImageModePageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddItem(L"ON");
    AddItem(L"OFF");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

void CImageModePageDlg::OnBnClickedOn() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    SwitchImageMode(ITEM_ON, 2, m_bCheckOn);
}

// "Off" never checks its write.
void CImageModePageDlg::OnBnClickedOff() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    SwitchImageMode(ITEM_OFF, 1, FALSE);
}

void CImageModePageDlg::OnBnClickedPass() {
    CWaitCursor wait;
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CImageModePageDlg::OnBnClickedFail() {
    CWaitCursor wait;
    Finish(FALSE);
}

void CImageModePageDlg::SwitchImageMode(std::size_t nIndex, MIL_INT64 nFactor, BOOL bCheckWrite) {
    StartItem(nIndex);
    m_pMainDlg->StopLive();
    m_pMainDlg->SetFeature(L"ImageModeSelector", FEATURE_VALUE_AS_STRING, m_strMode.GetString());
    m_pMainDlg->SetFeature(m_strMode, FEATURE_VALUE, &nFactor);
    // Live acquisition restarts after a reported error as well.
    if (bCheckWrite)
        CheckItemWrite(nIndex, m_strMode);
    m_pMainDlg->StartLive();
}

// The restore is not checked, so a connected camera always gets its verdict.
void CImageModePageDlg::Finish(BOOL bPass) {
    if (m_bCloseShowImage)
        CloseShowImage();
    FocusControl(IDC_ON);
    if (!IsConnected())
        return;
    m_pMainDlg->StopLive();
    m_pMainDlg->SetFeature(L"ImageModeSelector", FEATURE_VALUE_AS_STRING, L"ROI");
    m_pMainDlg->StartLive();
    HandOver(bPass);
}
