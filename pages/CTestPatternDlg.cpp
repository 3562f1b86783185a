#include "CTestPatternDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

namespace {
const wchar_t kTestPattern[] = L"TestPattern";
} // namespace

BEGIN_MESSAGE_MAP(CTestPatternDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(IDOK, &CTestPatternDlg::OnBnClickedPass)
ON_BN_CLICKED(CTestPatternDlg::IDC_OFF, &CTestPatternDlg::OnBnClickedOff)
ON_BN_CLICKED(CTestPatternDlg::IDC_HORIZONTAL_RAMP, &CTestPatternDlg::OnBnClickedHorizontalRamp)
ON_BN_CLICKED(IDCANCEL, &CTestPatternDlg::OnBnClickedFail)
ON_BN_CLICKED(1080, &CTestPatternDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CTestPatternDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CTestPatternDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_MESSAGE(WM_KEYPAD, &CTestPatternDlg::OnKeypadMessage)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CTestPatternDlg::CTestPatternDlg(CWnd* pParent) : CTestPageDlg(IDD, L"TESTPATTERN", pParent) {}

CTestPatternDlg::~CTestPatternDlg() = default;

BOOL CTestPatternDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_vecButtonIds = {IDC_HORIZONTAL_RAMP, IDC_OFF};
    m_nFocusIndex = 0;
    AddItem(L"가로 패턴");
    AddItem(L"OFF");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

BOOL CTestPatternDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

// The pattern is switched while the camera keeps acquiring; the write is checked at once.
void CTestPatternDlg::WritePattern(std::size_t nIndex, LPCTSTR lpszPattern) {
    if (!IsConnected())
        return;
    StartItem(nIndex);
    m_pMainDlg->SetFeature(kTestPattern, FEATURE_VALUE_AS_STRING, lpszPattern);
    CheckItemWrite(nIndex, kTestPattern);
}

void CTestPatternDlg::OnBnClickedHorizontalRamp() {
    WritePattern(ITEM_HORIZONTAL_RAMP, L"GreyHorizontalRamp");
}

// The button reads "OFF"; the camera's entry is "Off".
void CTestPatternDlg::OnBnClickedOff() {
    WritePattern(ITEM_OFF, L"Off");
}

void CTestPatternDlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CTestPatternDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// The pattern goes off before the verdict; when the camera refuses, the page stays without a verdict so
// that the operator can try again.
void CTestPatternDlg::Finish(BOOL bPass) {
    if (!IsConnected())
        return;
    CloseShowImage();
    m_pMainDlg->SetFeature(kTestPattern, FEATURE_VALUE_AS_STRING, L"Off");
    if (!m_pMainDlg->CheckMilError(kTestPattern))
        return;
    FocusControl(IDC_HORIZONTAL_RAMP);
    HandOver(bPass);
}
