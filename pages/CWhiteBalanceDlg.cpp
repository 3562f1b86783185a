#include "CWhiteBalanceDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

BEGIN_MESSAGE_MAP(CWhiteBalanceDlg, CTestPageDlg)
ON_EN_CHANGE(CWhiteBalanceDlg::IDC_COLOR_FORMAT, &CWhiteBalanceDlg::OnEnChangeColorSwitch)
ON_BN_CLICKED(CWhiteBalanceDlg::IDC_ONCE, &CWhiteBalanceDlg::OnBnClickedOnce)
ON_BN_CLICKED(CWhiteBalanceDlg::IDC_CONTINUOUS, &CWhiteBalanceDlg::OnBnClickedContinuous)
ON_BN_CLICKED(CWhiteBalanceDlg::IDC_OFF, &CWhiteBalanceDlg::OnBnClickedOff)
ON_WM_TIMER()
ON_WM_SHOWWINDOW()
ON_BN_CLICKED(IDOK, &CWhiteBalanceDlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CWhiteBalanceDlg::OnBnClickedFail)
ON_BN_CLICKED(CWhiteBalanceDlg::IDC_SAVE_METHOD, &CWhiteBalanceDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(CWhiteBalanceDlg::IDC_CHANGE_IMAGE, &CWhiteBalanceDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(CWhiteBalanceDlg::IDC_PICTURE, &CWhiteBalanceDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_MESSAGE(WM_KEYPAD, &CWhiteBalanceDlg::OnKeypadMessage)
ON_WM_DRAWITEM()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

const wchar_t kBalanceAuto[] = L"BalanceWhiteAuto";
const wchar_t kRatio[] = L"BalanceRatio";
const wchar_t kRatioSelector[] = L"BalanceRatioSelector";

struct RatioColour {
    const wchar_t* name;
    int editId;
};
const RatioColour kColours[] = {
    {L"Red", CWhiteBalanceDlg::IDC_RATIO_RED},
    {L"Green", CWhiteBalanceDlg::IDC_RATIO_GREEN},
    {L"Blue", CWhiteBalanceDlg::IDC_RATIO_BLUE},
};

// Entries of the main window's pixel-format list.
constexpr int kMono8Entry = 0;
constexpr int kBayerRG8Entry = 2;

} // namespace

CWhiteBalanceDlg::CWhiteBalanceDlg(CWnd* pParent) : CTestPageDlg(IDD, L"WHITEBALANCE", pParent) {
    m_nMethodEditId = IDC_METHOD_TEXT;
    m_nPictureId = IDC_PICTURE;
}

CWhiteBalanceDlg::~CWhiteBalanceDlg() = default;

BOOL CWhiteBalanceDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

BOOL CWhiteBalanceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_vecButtonIds = {IDC_ONCE, IDC_CONTINUOUS, IDC_OFF};
    m_nFocusIndex = 0;
    AddItem(L"ONCE");
    AddItem(L"CONTINOUS");
    AddItem(L"OFF");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

// The colour format from the runner, at every showing (the edit reports the same text set again): a full
// re-allocation of the grabber in "BayerRG8" with the configuration file in use. Unchecked, as the runner
// waits for it to finish.
void CWhiteBalanceDlg::OnEnChangeColorSwitch() {
    if (!m_pMainDlg)
        return;
    CWaitCursor wait;
    m_pMainDlg->StopLive();
    m_pMainDlg->SetFeature(L"PixelFormat", FEATURE_VALUE_AS_STRING, L"BayerRG8");
    // Before the connection: the grab buffer's depth follows the format's name.
    m_pMainDlg->m_strPixelFormat = L"BayerRG8";
    m_pMainDlg->m_cmbPixelFormat.SetCurSel(kBayerRG8Entry);
    const CString strDcfFile = m_pMainDlg->m_strDcfFile;
    if (m_pMainDlg->Reconnect(strDcfFile))
        m_pMainDlg->StartLive();
}

// The timer runs on after a refused mode, so the ratios keep showing what the camera does.
void CWhiteBalanceDlg::SetBalanceMode(std::size_t nIndex, LPCTSTR lpszMode) {
    if (!IsConnected())
        return;
    StartItem(nIndex);
    m_bRatioErrorReported = FALSE;
    m_pMainDlg->SetFeature(kBalanceAuto, FEATURE_VALUE_AS_STRING, lpszMode);
    SetTimer(TIMER_RATIO, 500, nullptr);
    CheckItemWrite(nIndex, kBalanceAuto);
}

void CWhiteBalanceDlg::OnBnClickedOnce() {
    SetBalanceMode(ITEM_ONCE, L"Once");
}

void CWhiteBalanceDlg::OnBnClickedContinuous() {
    SetBalanceMode(ITEM_CONTINUOUS, L"Continuous");
}

// Balance off and every ratio back to 1.0; the updates stop only when the ratios went through.
void CWhiteBalanceDlg::OnBnClickedOff() {
    if (!IsConnected())
        return;
    StartItem(ITEM_OFF);
    m_bRatioErrorReported = FALSE;
    m_pMainDlg->SetFeature(kBalanceAuto, FEATURE_VALUE_AS_STRING, L"Off");
    CheckItemWrite(ITEM_OFF, kBalanceAuto);
    if (!m_vecItems[ITEM_OFF].bOk)
        return;
    const double dUnity = 1.0;
    for (const RatioColour& colour : kColours) {
        m_pMainDlg->SetFeature(kRatioSelector, FEATURE_VALUE_AS_STRING, colour.name);
        m_pMainDlg->SetFeature(kRatio, FEATURE_VALUE, &dUnity);
    }
    ShowRatios();
    if (CheckRatioError())
        KillTimer(TIMER_RATIO);
}

// One value carries over: a colour whose read fails shows the previous colour's ratio.
void CWhiteBalanceDlg::ShowRatios() {
    double dRatio = 0.0;
    for (const RatioColour& colour : kColours) {
        m_pMainDlg->SetFeature(kRatioSelector, FEATURE_VALUE_AS_STRING, colour.name);
        m_pMainDlg->GetFeature(kRatio, FEATURE_VALUE, &dRatio);
        CString strRatio;
        strRatio.Format(L"%lf", dRatio);
        SetDlgItemText(colour.editId, strRatio);
    }
}

BOOL CWhiteBalanceDlg::CheckRatioError() {
    if (m_bRatioErrorReported)
        return MappGetError(M_DEFAULT, M_CURRENT, M_NULL) == M_NULL_ERROR;
    m_bRatioErrorReported = TRUE;
    const BOOL bOk = m_pMainDlg->CheckMilError(kRatio);
    if (bOk)
        m_bRatioErrorReported = FALSE;
    return bOk;
}

void CWhiteBalanceDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_RATIO && IsConnected()) {
        ShowRatios();
        if (!CheckRatioError())
            return;
    }
    CDialog::OnTimer(nIDEvent);
}

// A hidden page (a cancelled run hides it without a verdict) neither reads the camera nor reports to the
// operator: the ratio updates stop with it.
void CWhiteBalanceDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialog::OnShowWindow(bShow, nStatus);
    if (!bShow)
        KillTimer(TIMER_RATIO);
}

void CWhiteBalanceDlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    if (!IsConnected())
        return;
    CloseShowImage();
    KillTimer(TIMER_RATIO);
    Finish(TRUE);
}

void CWhiteBalanceDlg::OnBnClickedFail() {
    KillTimer(TIMER_RATIO);
    CloseShowImage();
    if (!IsConnected())
        return;
    Finish(FALSE);
}

// Back to the monochrome format without a re-allocation: both formats grab into 8-bit buffers.
void CWhiteBalanceDlg::Finish(BOOL bPass) {
    m_pMainDlg->StopLive();
    m_pMainDlg->SetFeature(kBalanceAuto, FEATURE_VALUE_AS_STRING, L"Off");
    const double dUnity = 1.0;
    for (const RatioColour& colour : kColours) {
        m_pMainDlg->SetFeature(kRatioSelector, FEATURE_VALUE_AS_STRING, colour.name);
        m_pMainDlg->SetFeature(kRatio, FEATURE_VALUE, &dUnity);
    }
    m_pMainDlg->SetFeature(L"PixelFormat", FEATURE_VALUE_AS_STRING, L"Mono8");
    m_pMainDlg->m_strPixelFormat = L"Mono8";
    m_pMainDlg->m_cmbPixelFormat.SetCurSel(kMono8Entry);
    for (TestItem& item : m_vecItems)
        item.bTested = 0;
    FocusControl(IDC_ONCE);
    m_pMainDlg->StartLive();
    HandOver(bPass);
}

// The shared clean-up, and the ratio timer with it.
void CWhiteBalanceDlg::OnDestroy() {
    KillTimer(TIMER_RATIO);
    CTestPageDlg::OnDestroy();
}
