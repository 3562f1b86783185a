#include "CBlackLevelDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

namespace {
const wchar_t kBlackLevel[] = L"BlackLevelRaw";
} // namespace

BEGIN_MESSAGE_MAP(CBlackLevelDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(CBlackLevelDlg::IDC_PASS, &CBlackLevelDlg::OnBnClickedPass)
ON_BN_CLICKED(CBlackLevelDlg::IDC_FAIL, &CBlackLevelDlg::OnBnClickedFail)
ON_BN_CLICKED(1080, &CBlackLevelDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CBlackLevelDlg::OnBnClickedChangeImage)
ON_WM_PAINT()
ON_WM_LBUTTONDBLCLK()
ON_STN_DBLCLK(1079, &CBlackLevelDlg::OnStnDblclickImage)
ON_BN_CLICKED(CBlackLevelDlg::IDC_20, &CBlackLevelDlg::OnBnClicked20)
ON_BN_CLICKED(CBlackLevelDlg::IDC_80, &CBlackLevelDlg::OnBnClicked80)
END_MESSAGE_MAP()

CBlackLevelDlg::CBlackLevelDlg(CWnd* pParent) : CTestPageDlg(IDD, L"BLACK_LEVEL", pParent) {}

CBlackLevelDlg::~CBlackLevelDlg() = default;

void CBlackLevelDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CBlackLevelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddItem(L"Min");
    AddItem(L"Max");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

BOOL CBlackLevelDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

void CBlackLevelDlg::OnLButtonDblClk(UINT nFlags, CPoint point) {
    CDialog::OnLButtonDblClk(nFlags, point);
}

MIL_INT64 CBlackLevelDlg::BlackLevelFor(MIL_INT64 nMax, double dFactor) {
    return static_cast<MIL_INT64>(static_cast<double>(nMax) * dFactor);
}

// The steps leave live acquisition running; the write is checked at once.
void CBlackLevelDlg::WriteShare(std::size_t nIndex, double dFactor) {
    if (!IsConnected())
        return;
    StartItem(nIndex);
    MIL_INT64 nMax = 0;
    m_pMainDlg->GetFeature(kBlackLevel, FEATURE_MAX, &nMax);
    const MIL_INT64 nValue = BlackLevelFor(nMax, dFactor);
    m_pMainDlg->SetFeature(kBlackLevel, FEATURE_VALUE, &nValue);
    CheckItemWrite(nIndex, kBlackLevel);
}

void CBlackLevelDlg::OnBnClicked20() {
    WriteShare(ITEM_MIN, 0.2);
}

void CBlackLevelDlg::OnBnClicked80() {
    WriteShare(ITEM_MAX, 0.8);
}

void CBlackLevelDlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CBlackLevelDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// Back to the minimum; a refused restore keeps the page without a verdict so that the operator can retry.
void CBlackLevelDlg::Finish(BOOL bPass) {
    CloseShowImage();
    FocusControl(IDC_20);
    if (!IsConnected())
        return;
    MIL_INT64 nMin = 0;
    m_pMainDlg->GetFeature(kBlackLevel, FEATURE_MIN, &nMin);
    m_pMainDlg->SetFeature(kBlackLevel, FEATURE_VALUE, &nMin);
    if (!m_pMainDlg->CheckMilError(kBlackLevel))
        return;
    HandOver(bPass);
}
