#include "CCXPLinkConfigDlg.h"

#include "CKavrinoDlg.h"

namespace {
const wchar_t kLinkConfiguration[] = L"CxpLinkConfiguration";
// The camera's normal link, restored by PASS and FAIL. The second step writes it too, although its button
// and item are named "CXP1_X6".
const wchar_t kNormalLink[] = L"CXP6_X1";
} // namespace

BEGIN_MESSAGE_MAP(CCXPLinkConfigDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(1080, &CCXPLinkConfigDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CCXPLinkConfigDlg::OnBnClickedChangeImage)
ON_BN_CLICKED(CCXPLinkConfigDlg::IDC_CXP1_X1, &CCXPLinkConfigDlg::OnBnClickedCxp1X1)
ON_BN_CLICKED(CCXPLinkConfigDlg::IDC_PASS, &CCXPLinkConfigDlg::OnBnClickedPass)
ON_BN_CLICKED(CCXPLinkConfigDlg::IDC_CXP1_X6, &CCXPLinkConfigDlg::OnBnClickedCxp1X6)
ON_BN_CLICKED(CCXPLinkConfigDlg::IDC_FAIL, &CCXPLinkConfigDlg::OnBnClickedFail)
ON_STN_DBLCLK(1079, &CCXPLinkConfigDlg::OnStnDblclickImage)
ON_WM_PAINT()
END_MESSAGE_MAP()

CCXPLinkConfigDlg::CCXPLinkConfigDlg(CWnd* pParent) : CTestPageDlg(IDD, L"CXP_LINK_CONFIG", pParent) {}

CCXPLinkConfigDlg::~CCXPLinkConfigDlg() = default;

BOOL CCXPLinkConfigDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddItem(L"CXP1_X1");
    AddItem(L"CXP1_X6");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

// The camera takes a new link configuration only while it does not acquire.
void CCXPLinkConfigDlg::WriteLinkConfiguration(LPCTSTR lpszLink) {
    m_pMainDlg->StopLive();
    m_pMainDlg->SetFeature(kLinkConfiguration, FEATURE_VALUE_AS_STRING, lpszLink);
    m_pMainDlg->StartLive();
}

void CCXPLinkConfigDlg::OnBnClickedCxp1X1() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    StartItem(ITEM_CXP1_X1);
    WriteLinkConfiguration(L"CXP1_X1");
}

void CCXPLinkConfigDlg::OnBnClickedCxp1X6() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    StartItem(ITEM_CXP1_X6);
    WriteLinkConfiguration(kNormalLink);
}

void CCXPLinkConfigDlg::OnBnClickedPass() {
    CWaitCursor wait;
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CCXPLinkConfigDlg::OnBnClickedFail() {
    CWaitCursor wait;
    Finish(FALSE);
}

// The restore is not checked: with the camera connected the verdict is always handed over.
void CCXPLinkConfigDlg::Finish(BOOL bPass) {
    CloseShowImage();
    FocusControl(IDC_CXP1_X1);
    if (!IsConnected())
        return;
    WriteLinkConfiguration(kNormalLink);
    HandOver(bPass);
}
