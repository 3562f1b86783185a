#include "CROIDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

BEGIN_MESSAGE_MAP(CROIDlg, CTestPageDlg)
ON_BN_CLICKED(IDOK, &CROIDlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CROIDlg::OnBnClickedFail)
ON_WM_DESTROY()
ON_BN_CLICKED(CROIDlg::IDC_WIDTH_25, &CROIDlg::OnBnClickedWidth25)
ON_BN_CLICKED(CROIDlg::IDC_WIDTH_50, &CROIDlg::OnBnClickedWidth50)
ON_BN_CLICKED(CROIDlg::IDC_OFFSETX_20, &CROIDlg::OnBnClickedOffsetX20)
ON_BN_CLICKED(CROIDlg::IDC_OFFSETX_80, &CROIDlg::OnBnClickedOffsetX80)
ON_BN_CLICKED(CROIDlg::IDC_HEIGHT_50, &CROIDlg::OnBnClickedHeight50)
ON_BN_CLICKED(CROIDlg::IDC_HEIGHT_75, &CROIDlg::OnBnClickedHeight75)
ON_BN_CLICKED(CROIDlg::IDC_OFFSETY_20, &CROIDlg::OnBnClickedOffsetY20)
ON_BN_CLICKED(CROIDlg::IDC_OFFSETY_80, &CROIDlg::OnBnClickedOffsetY80)
ON_BN_CLICKED(1081, &CROIDlg::OnBnClickedChangeImage)
ON_WM_PAINT()
ON_WM_LBUTTONDBLCLK()
ON_WM_NCLBUTTONDBLCLK()
ON_STN_DBLCLK(1079, &CROIDlg::OnStnDblclickImage)
ON_BN_CLICKED(1080, &CROIDlg::OnBnClickedSaveMethod)
ON_MESSAGE(WM_KEYPAD, &CROIDlg::OnKeypadMessage)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

namespace {

// Clears the two lowest bits: the digitizer takes sizes and offsets in steps of 4 pixels.
int ToStep(double dValue) {
    return static_cast<int>(dValue) & ~3;
}

} // namespace

CROIDlg::CROIDlg(CWnd* pParent) : CTestPageDlg(IDD, L"ROI", pParent) {}

CROIDlg::~CROIDlg() = default;

void CROIDlg::DoDataExchange(CDataExchange* pDX) {
    CTestPageDlg::DoDataExchange(pDX);
    DDX_Text(pDX, 1078, m_strMethod);
}

BOOL CROIDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

BOOL CROIDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_vecButtonIds = {IDC_WIDTH_25,  IDC_WIDTH_50,  IDC_OFFSETX_20, IDC_OFFSETX_80,
                      IDC_HEIGHT_75, IDC_HEIGHT_50, IDC_OFFSETY_20, IDC_OFFSETY_80};
    m_nFocusIndex = 0;
    for (LPCTSTR lpszName : {L"Width 25%", L"Width 50%", L"OffsetX 20%", L"OffsetX 80%", L"Height 75%",
                             L"Height 50%", L"OffsetY 20%", L"OffsetY 80%"})
        AddItem(lpszName);
    CreatePageEvent();
    LoadMethodPanel();
    FocusControl(IDC_WIDTH_25);
    return FALSE;
}

void CROIDlg::OnDestroy() {
    CTestPageDlg::OnDestroy();
    m_vecButtonIds.clear();
}

int CROIDlg::ScaledWidth(MIL_INT64 nMin, MIL_INT64 nMax, double dFactor) {
    return ToStep(static_cast<double>(nMax - nMin) * dFactor + static_cast<double>(nMin));
}

int CROIDlg::ScaledHeight(MIL_INT64 nMax, double dFactor) {
    return ToStep(static_cast<double>(nMax) * dFactor);
}

int CROIDlg::ScaledOffset(MIL_INT64 nMax, MIL_INT nCurrent, double dFactor) {
    return ToStep(static_cast<double>(nMax - nCurrent) * dFactor);
}

void CROIDlg::OnBnClickedWidth25() {
    ChangeSize(ITEM_WIDTH_25, true, 0.25);
}

void CROIDlg::OnBnClickedWidth50() {
    ChangeSize(ITEM_WIDTH_50, true, 0.5);
}

void CROIDlg::OnBnClickedOffsetX20() {
    ChangeOffset(ITEM_OFFSETX_20, true, 0.2);
}

void CROIDlg::OnBnClickedOffsetX80() {
    ChangeOffset(ITEM_OFFSETX_80, true, 0.8);
}

void CROIDlg::OnBnClickedHeight75() {
    ChangeSize(ITEM_HEIGHT_75, false, 0.75);
}

void CROIDlg::OnBnClickedHeight50() {
    ChangeSize(ITEM_HEIGHT_50, false, 0.5);
}

void CROIDlg::OnBnClickedOffsetY20() {
    ChangeOffset(ITEM_OFFSETY_20, false, 0.2);
}

void CROIDlg::OnBnClickedOffsetY80() {
    ChangeOffset(ITEM_OFFSETY_80, false, 0.8);
}

BOOL CROIDlg::WriteSize(bool bHorizontal, int nSize) {
    MdigControl(m_milDigitizer, bHorizontal ? M_SIZE_X : M_SIZE_Y, nSize);
    return m_pMainDlg->CheckMilError(bHorizontal ? L"Width" : L"Height");
}

// A size the digitizer refuses (a window that would leave the sensor beside an offset set earlier) is
// reported and listed, and the main window keeps the size the digitizer still has: live acquisition
// must copy frames of the size that is really grabbed.
void CROIDlg::ChangeSize(std::size_t nItem, bool bHorizontal, double dFactor) {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    StartItem(nItem);
    LPCTSTR lpszFeature = bHorizontal ? L"Width" : L"Height";
    MIL_INT64 nMin = 0;
    MIL_INT64 nMax = 0;
    if (bHorizontal)
        m_pMainDlg->GetFeature(lpszFeature, FEATURE_MIN, &nMin);
    m_pMainDlg->GetFeature(lpszFeature, FEATURE_MAX, &nMax);
    const int nSize = bHorizontal ? ScaledWidth(nMin, nMax, dFactor) : ScaledHeight(nMax, dFactor);
    if (!m_pMainDlg->CheckMilError(lpszFeature)) {
        m_vecItems[nItem].bOk = 0;
        return;
    }

    m_pMainDlg->StopLive();
    if (WriteSize(bHorizontal, nSize))
        (bHorizontal ? m_pMainDlg->m_nWidth : m_pMainDlg->m_nHeight) = nSize;
    else
        m_vecItems[nItem].bOk = 0;
    m_pMainDlg->StartLive();
}

// The maximum read is checked as well: without it the offset would be computed from nothing.
void CROIDlg::ChangeOffset(std::size_t nItem, bool bHorizontal, double dFactor) {
    if (!IsConnected())
        return;
    StartItem(nItem);
    LPCTSTR lpszWord = bHorizontal ? L"OffsetX" : L"OffsetY";
    MIL_INT64 nMax = 0;
    m_pMainDlg->GetFeature(bHorizontal ? L"Width" : L"Height", FEATURE_MAX, &nMax);
    if (!m_pMainDlg->CheckMilError(lpszWord)) {
        m_vecItems[nItem].bOk = 0;
        return;
    }
    const MIL_INT nCurrent = MdigInquire(m_milDigitizer, bHorizontal ? M_SIZE_X : M_SIZE_Y, M_NULL);
    const int nOffset = ScaledOffset(nMax, nCurrent, dFactor);
    if (nOffset == 0)
        return;
    MdigControl(m_milDigitizer, bHorizontal ? M_SOURCE_OFFSET_X : M_SOURCE_OFFSET_Y, nOffset);
    CheckItemWrite(nItem, lpszWord);
}

void CROIDlg::ResetOffsets() {
    if (!IsConnected())
        return;
    for (MIL_INT64 nControl : {M_SOURCE_OFFSET_X, M_SOURCE_OFFSET_Y}) {
        MdigControl(m_milDigitizer, nControl, 0);
        if (MappGetError(M_DEFAULT, M_CURRENT, M_NULL) != M_NULL_ERROR) {
            CString strMessage;
            strMessage.Format(L"ERROR : '%d'", static_cast<int>(nControl));
            AfxMessageBox(strMessage);
            return;
        }
    }
}

// A size the digitizer refuses is reported; the main window then keeps the size still grabbed.
void CROIDlg::RestoreFullSize() {
    m_pMainDlg->StopLive();
    if (WriteSize(true, m_pMainDlg->m_nFullWidth))
        m_pMainDlg->m_nWidth = m_pMainDlg->m_nFullWidth;
    if (WriteSize(false, m_pMainDlg->m_nFullHeight))
        m_pMainDlg->m_nHeight = m_pMainDlg->m_nFullHeight;
    m_pMainDlg->StartLive();
}

void CROIDlg::OnBnClickedPass() {
    CWaitCursor wait;
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CROIDlg::OnBnClickedFail() {
    CWaitCursor wait;
    Finish(FALSE);
}

// An error while restoring is shown but does not hold the verdict back.
void CROIDlg::Finish(BOOL bPass) {
    if (!IsConnected())
        return;
    CloseShowImage();
    FocusControl(IDC_WIDTH_25);
    ResetOffsets();
    RestoreFullSize();
    HandOver(bPass);
}
