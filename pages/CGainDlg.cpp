#include "CGainDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"
#include "GenApi.h"

BEGIN_MESSAGE_MAP(CGainDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(IDOK, &CGainDlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CGainDlg::OnBnClickedFail)
ON_BN_CLICKED(CGainDlg::IDC_AUTO_OFF, &CGainDlg::OnBnClickedAutoOff)
ON_BN_CLICKED(CGainDlg::IDC_AUTO_ONCE, &CGainDlg::OnBnClickedAutoOnce)
ON_BN_CLICKED(CGainDlg::IDC_GAIN_2X, &CGainDlg::OnBnClickedGain2x)
ON_BN_CLICKED(CGainDlg::IDC_GAIN_6X, &CGainDlg::OnBnClickedGain6x)
ON_WM_TIMER()
ON_BN_CLICKED(CGainDlg::IDC_AGC_ONCE, &CGainDlg::OnBnClickedAgcOnce)
ON_BN_CLICKED(CGainDlg::IDC_AGC_CONTINUOUS, &CGainDlg::OnBnClickedAgcContinuous)
ON_BN_CLICKED(1080, &CGainDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CGainDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CGainDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_MESSAGE(WM_KEYPAD, &CGainDlg::OnKeypadMessage)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

CGainDlg::CGainDlg(CWnd* pParent) : CTestPageDlg(IDD, L"GAIN", pParent) {}

CGainDlg::~CGainDlg() = default;

void CGainDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AGC_ONCE, m_btnOnce);
    DDX_Control(pDX, IDC_AGC_CONTINUOUS, m_btnContinuous);
}

BOOL CGainDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

BOOL CGainDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_vecButtonIds = {IDC_GAIN_2X, IDC_GAIN_6X, IDC_AUTO_ONCE, IDC_AUTO_OFF};
    m_nFocusIndex = 0;
    AddItem(L"2배");
    AddItem(L"6배");
    AddItem(L"Once");
    AddItem(L"Off");
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

// The shared clean-up, and the hidden boxes' timer with it.
void CGainDlg::OnDestroy() {
    KillTimer(TIMER_AGC);
    CTestPageDlg::OnDestroy();
}

void CGainDlg::OnTimer(UINT_PTR nIDEvent) {
    CDialog::OnTimer(nIDEvent);
}

void CGainDlg::SetGain(std::size_t nIndex, double dGain) {
    if (!IsConnected())
        return;
    StartItem(nIndex);
    m_pMainDlg->SetFeature(L"Gain", FEATURE_VALUE, &dGain);
}

void CGainDlg::OnBnClickedGain2x() {
    SetGain(ITEM_GAIN_2X, 2.0);
}

void CGainDlg::OnBnClickedGain6x() {
    SetGain(ITEM_GAIN_6X, 6.0);
}

// One automatic adjustment: the camera settles on a gain and the mode is switched off at once. The main
// window's slider does not follow the gain the camera chose.
void CGainDlg::OnBnClickedAutoOnce() {
    if (!IsConnected())
        return;
    StartItem(ITEM_AUTO_ONCE);
    m_pMainDlg->SetFeature(L"GainAuto", FEATURE_VALUE_AS_STRING, L"Once");
    m_pMainDlg->SetFeature(L"GainUpdateFeature", FEATURE_EXECUTE, nullptr);
    m_pMainDlg->SetFeature(L"GainAuto", FEATURE_VALUE_AS_STRING, L"Off");
}

void CGainDlg::OnBnClickedAutoOff() {
    if (!IsConnected())
        return;
    StartItem(ITEM_AUTO_OFF);
    m_pMainDlg->SetFeature(L"GainAuto", FEATURE_VALUE_AS_STRING, L"Off");
}

void CGainDlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CGainDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// The restore is not checked: a connected camera always gets its verdict.
void CGainDlg::Finish(BOOL bPass) {
    if (!IsConnected())
        return;
    CloseShowImage();
    const double dGain = 1.0;
    m_pMainDlg->SetFeature(L"GainAuto", FEATURE_VALUE_AS_STRING, L"Off");
    m_pMainDlg->SetFeature(L"Gain", FEATURE_VALUE, &dGain);
    // Position 0 is gain 1.0; the step display counts positions from 1.
    m_pMainDlg->m_sliderGain.SetPos(0);
    m_pMainDlg->SetDlgItemInt(CKavrinoDlg::IDC_GAIN_STEP, 1, TRUE);
    FocusControl(IDC_GAIN_2X);
    HandOver(bPass);
}

void CGainDlg::OnBnClickedAgcOnce() {
    SendAgcMode(m_btnOnce, "WAGCMODE 0x1");
}

void CGainDlg::OnBnClickedAgcContinuous() {
    SendAgcMode(m_btnContinuous, "WAGCMODE 0x2");
}

void CGainDlg::SendAgcMode(const CButton& box, const char* pszSetMode) {
    if (!m_pMainDlg || !m_pMainDlg->m_pNodeMap)
        return;
    const bool bSet = box.GetCheck() == BST_CHECKED;
    try {
        GenApi::CStringPtr pCommand = m_pMainDlg->m_pNodeMap->GetNode("Command");
        pCommand->SetValue(bSet ? pszSetMode : "WAGCMODE 0x0", true);
        if (bSet)
            SetTimer(TIMER_AGC, 500, nullptr);
        else
            KillTimer(TIMER_AGC);
    } catch (const GenICam::GenericException& e) {
        // The timer stays as it was.
        CString strMessage;
        strMessage.Format(L"ERROR : '%s'", static_cast<const wchar_t*>(CA2T(e.GetDescription())));
        AfxMessageBox(strMessage);
    }
}
