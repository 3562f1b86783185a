#include "CExposureDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

namespace {
const wchar_t kExposureTime[] = L"ExposureTime";
const wchar_t kExposureAuto[] = L"ExposureAuto";
} // namespace

BEGIN_MESSAGE_MAP(CExposureDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(IDOK, &CExposureDlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CExposureDlg::OnBnClickedFail)
ON_BN_CLICKED(CExposureDlg::IDC_EXPOSURE_4000, &CExposureDlg::OnBnClickedExposure4000)
ON_BN_CLICKED(CExposureDlg::IDC_EXPOSURE_20000, &CExposureDlg::OnBnClickedExposure20000)
ON_BN_CLICKED(CExposureDlg::IDC_AUTO_OFF, &CExposureDlg::OnBnClickedAutoOff)
ON_BN_CLICKED(CExposureDlg::IDC_AUTO_ONCE, &CExposureDlg::OnBnClickedAutoOnce)
ON_WM_TIMER()
ON_BN_CLICKED(CExposureDlg::IDC_CHECK_ONCE, &CExposureDlg::OnBnClickedAutoCheck)
ON_BN_CLICKED(CExposureDlg::IDC_CHECK_CONTINUOUS, &CExposureDlg::OnBnClickedAutoCheck)
ON_BN_CLICKED(1080, &CExposureDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CExposureDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CExposureDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_MESSAGE(WM_KEYPAD, &CExposureDlg::OnKeypadMessage)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CExposureDlg::CExposureDlg(CWnd* pParent) : CTestPageDlg(IDD, L"EXPOSURE", pParent) {}

CExposureDlg::~CExposureDlg() = default;

void CExposureDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHECK_ONCE, m_btnOnce);
    DDX_Control(pDX, IDC_CHECK_CONTINUOUS, m_btnContinuous);
}

BOOL CExposureDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

BOOL CExposureDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_vecButtonIds = {IDC_EXPOSURE_4000, IDC_EXPOSURE_20000, IDC_AUTO_ONCE, IDC_AUTO_OFF};
    m_nFocusIndex = 0;
    AddItem(L"4000 ㎲");
    AddItem(L"20000 ㎲");
    AddItem(L"Once");
    AddItem(L"Off");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

// The page starts no timer of its own.
void CExposureDlg::OnTimer(UINT_PTR nIDEvent) {
    CDialog::OnTimer(nIDEvent);
}

void CExposureDlg::OnBnClickedAutoCheck() {}

void CExposureDlg::ApplyExposure(double dExposure) {
    m_pMainDlg->SetFeature(kExposureTime, FEATURE_VALUE, &dExposure);
    m_pMainDlg->m_dExposure = dExposure;
    m_pMainDlg->ShowExposure();
}

void CExposureDlg::WriteExposureAuto(LPCTSTR lpszMode) {
    m_pMainDlg->SetFeature(kExposureAuto, FEATURE_VALUE_AS_STRING, lpszMode);
}

void CExposureDlg::OnBnClickedExposure4000() {
    if (!IsConnected())
        return;
    StartItem(ITEM_EXPOSURE_4000);
    ApplyExposure(4000.0);
}

void CExposureDlg::OnBnClickedExposure20000() {
    if (!IsConnected())
        return;
    StartItem(ITEM_EXPOSURE_20000);
    ApplyExposure(20000.0);
}

// The camera adjusts once and falls back to "Off"; the exposure edit keeps the last value set here or on
// the main window, not the one the camera chose.
void CExposureDlg::OnBnClickedAutoOnce() {
    if (!IsConnected())
        return;
    StartItem(ITEM_AUTO_ONCE);
    WriteExposureAuto(L"Once");
    WriteExposureAuto(L"Off");
    m_pMainDlg->ShowExposure();
}

void CExposureDlg::OnBnClickedAutoOff() {
    if (!IsConnected())
        return;
    StartItem(ITEM_AUTO_OFF);
    WriteExposureAuto(L"Off");
}

void CExposureDlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

// FAIL does not ask for untried steps.
void CExposureDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// The exposure saved by the main window comes back; the write is not checked, so with the camera
// connected the verdict is always handed over.
void CExposureDlg::Finish(BOOL bPass) {
    if (!IsConnected())
        return;
    CloseShowImage();
    ApplyExposure(m_pMainDlg->m_dSavedExposure);
    FocusControl(IDC_EXPOSURE_4000);
    HandOver(bPass);
}
