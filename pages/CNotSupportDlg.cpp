#include "CNotSupportDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CNotSupportDlg, CTestPageDlg)
ON_BN_CLICKED(IDOK, &CNotSupportDlg::OnBnClickedOk)
ON_BN_CLICKED(CNotSupportDlg::IDC_NOISE_FAIL, &CNotSupportDlg::OnBnClickedNoise)
ON_BN_CLICKED(CNotSupportDlg::IDC_NOISE_PASS, &CNotSupportDlg::OnBnClickedNoise)
ON_BN_CLICKED(CNotSupportDlg::IDC_RESOLUTION_FAIL, &CNotSupportDlg::OnBnClickedResolution)
ON_BN_CLICKED(CNotSupportDlg::IDC_RESOLUTION_PASS, &CNotSupportDlg::OnBnClickedResolution)
ON_BN_CLICKED(CNotSupportDlg::IDC_BLOOMING_FAIL, &CNotSupportDlg::OnBnClickedBlooming)
ON_BN_CLICKED(CNotSupportDlg::IDC_BLOOMING_PASS, &CNotSupportDlg::OnBnClickedBlooming)
ON_MESSAGE(CNotSupportDlg::WM_REFRESH_PAGE, &CNotSupportDlg::OnRefreshPage)
ON_BN_CLICKED(1080, &CNotSupportDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CNotSupportDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CNotSupportDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CNotSupportDlg::CNotSupportDlg(CWnd* pParent) : CTestPageDlg(IDD, L"ETC_INSPECTION", pParent) {}

CNotSupportDlg::~CNotSupportDlg() = default;

void CNotSupportDlg::DoDataExchange(CDataExchange* pDX) {
    CTestPageDlg::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_RESOLUTION_FAIL, m_nResolutionRadio);
    DDX_Radio(pDX, IDC_BLOOMING_FAIL, m_nBloomingRadio);
    DDX_Radio(pDX, IDC_NOISE_FAIL, m_nNoiseRadio);
}

BOOL CNotSupportDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

BOOL CNotSupportDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

void CNotSupportDlg::EnableRadioPair(int nFirstId, int nSecondId, BOOL bEnable) {
    for (int nId : {nFirstId, nSecondId}) {
        if (CWnd* pRadio = GetDlgItem(nId))
            pRadio->EnableWindow(bEnable);
    }
}

// A chosen check has its radios enabled again, so that a later run of the same window with other
// checks is not left with a disabled pair.
void CNotSupportDlg::SetCheckItems(const int* pCheckItems) {
    for (int i = 0; i < CHECK_COUNT; ++i)
        m_CheckItems[i] = pCheckItems ? pCheckItems[i] : 0;
    EnableRadioPair(IDC_NOISE_PASS, IDC_NOISE_FAIL, m_CheckItems[CHECK_NOISE] != 0);
    EnableRadioPair(IDC_BLOOMING_FAIL, IDC_BLOOMING_PASS, m_CheckItems[CHECK_BLOOMING] != 0);
    EnableRadioPair(IDC_RESOLUTION_FAIL, IDC_RESOLUTION_PASS, m_CheckItems[CHECK_RESOLUTION] != 0);
}

int CNotSupportDlg::CheckCurrentVoltage() {
    if (!IsConnected())
        return 0;
    // The bounds cut toward zero, in 64 bits: a tenth above a reference near the end of the int range
    // (from the test-set file) does not fit an int. Below a negative reference the tenth below lies above
    // it: the window is the same ten percent either way.
    auto withinTenPercent = [](int nRef, int nValue) {
        const auto nNear = static_cast<long long>(static_cast<double>(nRef) * 0.9);
        const auto nFar = static_cast<long long>(static_cast<double>(nRef) * 1.1);
        return std::min(nNear, nFar) <= nValue && nValue <= std::max(nNear, nFar) ? 1 : 0;
    };
    const int nCurrent = static_cast<int>(GetDlgItemInt(IDC_CURRENT, nullptr, TRUE));
    const int nVoltage = static_cast<int>(GetDlgItemInt(IDC_VOLTAGE, nullptr, TRUE));
    m_bCurrentPass = withinTenPercent(m_pMainDlg->m_nCurrentRef, nCurrent);
    m_bVoltagePass = withinTenPercent(m_pMainDlg->m_nVoltageRef, nVoltage);
    return 1;
}

void CNotSupportDlg::OnBnClickedOk() {
    m_bNoisePass = m_nNoiseRadio;
    m_bBloomingPass = m_nBloomingRadio;
    m_bResolutionPass = m_nResolutionRadio;
    // The next run starts with every visual check at PASS.
    m_nNoiseRadio = 1;
    m_nBloomingRadio = 1;
    m_nResolutionRadio = 1;

    CheckCurrentVoltage();
    const int nCurrentRef = m_pMainDlg ? m_pMainDlg->m_nCurrentRef : 0;
    const int nVoltageRef = m_pMainDlg ? m_pMainDlg->m_nVoltageRef : 0;
    m_strCurrentReport.Format(L"기준 전류: %d  입력 전류: %d", nCurrentRef,
                              static_cast<int>(GetDlgItemInt(IDC_CURRENT, nullptr, TRUE)));
    m_strVoltageReport.Format(L"기준 전압: %d  입력 전압: %d", nVoltageRef,
                              static_cast<int>(GetDlgItemInt(IDC_VOLTAGE, nullptr, TRUE)));

    SetEvent(m_hEvent);
    UpdateData(FALSE);
    CDialog::OnOK();
}

void CNotSupportDlg::OnBnClickedNoise() {
    UpdateData(TRUE);
    m_bNoisePass = m_nNoiseRadio;
}

void CNotSupportDlg::OnBnClickedResolution() {
    UpdateData(TRUE);
    m_bResolutionPass = m_nResolutionRadio;
}

void CNotSupportDlg::OnBnClickedBlooming() {
    UpdateData(TRUE);
    m_bBloomingPass = m_nBloomingRadio;
}

LRESULT CNotSupportDlg::OnRefreshPage(WPARAM wParam, LPARAM lParam) {
    UNREFERENCED_PARAMETER(wParam);
    UNREFERENCED_PARAMETER(lParam);
    UpdateData(FALSE);
    return 0;
}
