#include "CTapBalanceDlg.h"

#include "CDisplayDlg.h"
#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"
#include "GenApi.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

BEGIN_MESSAGE_MAP(CTapBalanceDlg, CTestPageDlg)
ON_CONTROL_RANGE(BN_CLICKED, CTapBalanceDlg::IDC_MODE_STEP3, CTapBalanceDlg::IDC_MODE_STEP4,
                 &CTapBalanceDlg::OnBnClickedMode)
ON_BN_CLICKED(CTapBalanceDlg::IDC_STEP1, &CTapBalanceDlg::OnBnClickedStep1)
ON_BN_CLICKED(CTapBalanceDlg::IDC_STEP2, &CTapBalanceDlg::OnBnClickedStep2)
ON_BN_CLICKED(CTapBalanceDlg::IDC_STEP3, &CTapBalanceDlg::OnBnClickedStep3)
ON_BN_CLICKED(CTapBalanceDlg::IDC_STEP4, &CTapBalanceDlg::OnBnClickedStep4)
ON_BN_CLICKED(CTapBalanceDlg::IDC_RESET_STEPS, &CTapBalanceDlg::OnBnClickedResetSteps)
ON_BN_CLICKED(CTapBalanceDlg::IDC_USER_SET_SAVE, &CTapBalanceDlg::OnBnClickedUserSetSave)
ON_BN_CLICKED(CTapBalanceDlg::IDC_INI_SAVE, &CTapBalanceDlg::OnBnClickedIniSave)
ON_BN_CLICKED(IDOK, &CTapBalanceDlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CTapBalanceDlg::OnBnClickedFail)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

const wchar_t kLimitSection[] = L"System";
const wchar_t* const kLimitKeys[CTapBalanceDlg::kLimitCount] = {
    L"STEP1_PARAM",     L"STEP2_MIN_PARAM", L"STEP2_MAX_PARAM", L"STEP3_MIN_PARAM",
    L"STEP3_MAX_PARAM", L"STEP4_MIN_PARAM", L"STEP4_MAX_PARAM",
};
const int kDefaultLimits[CTapBalanceDlg::kLimitCount] = {10, 140, 190, 20, 70, 140, 190};
constexpr DWORD kLimitBuffer = 256;

// The calibration command of each step and the button it enables when it completes (STEP3 depends on
// the mode).
const char* const kStepCommands[] = {"BlackCalibration", "WhiteCalibration", "BlackBalance", "WhiteBlalance"};
const int kStepButtons[] = {CTapBalanceDlg::IDC_STEP1, CTapBalanceDlg::IDC_STEP2, CTapBalanceDlg::IDC_STEP3,
                            CTapBalanceDlg::IDC_STEP4};
const int kSequenceButtons[] = {CTapBalanceDlg::IDC_STEP1, CTapBalanceDlg::IDC_STEP2,
                                CTapBalanceDlg::IDC_STEP3, CTapBalanceDlg::IDC_STEP4,
                                CTapBalanceDlg::IDC_USER_SET_SAVE};

void ShowGenICamError(const GenICam::GenericException& e) {
    AfxMessageBox(CString(CA2W(e.GetDescription())));
}

} // namespace

CTapBalanceDlg::CTapBalanceDlg(CWnd* pParent) : CTestPageDlg(IDD, nullptr, pParent) {}

CTapBalanceDlg::~CTapBalanceDlg() = default;

void CTapBalanceDlg::DoDataExchange(CDataExchange* pDX) {
    CTestPageDlg::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_MODE_STEP3, m_nStepMode);
}

BOOL CTapBalanceDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EnterEscFilter(this, pMsg);
}

BOOL CTapBalanceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreatePageEvent();
    for (int i = 0; i < kLimitCount; ++i) {
        m_nStepLimit[i] = kDefaultLimits[i];
        SetDlgItemInt(IDC_LIMIT_FIRST + i, static_cast<UINT>(m_nStepLimit[i]), TRUE);
    }
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::current_path(error);
    m_strLimitIniPath = CString((dir / "steplimit.ini").wstring().c_str());
    LoadLimits();
    EnableOnly(IDC_STEP1);
    return TRUE;
}

void CTapBalanceDlg::LoadLimits() {
    for (int i = 0; i < kLimitCount; ++i) {
        wchar_t szValue[kLimitBuffer] = {};
        GetPrivateProfileString(kLimitSection, kLimitKeys[i], L"", szValue, kLimitBuffer, m_strLimitIniPath);
        m_nStepLimit[i] = _wtoi(szValue);
        SetDlgItemInt(IDC_LIMIT_FIRST + i, static_cast<UINT>(m_nStepLimit[i]), TRUE);
    }
}

int CTapBalanceDlg::TapLevel(double dValue) {
    return static_cast<int>(dValue * 0.0625);
}

void CTapBalanceDlg::EnableOnly(int nButtonId) {
    for (int nId : kSequenceButtons) {
        if (CWnd* pButton = GetDlgItem(nId))
            pButton->EnableWindow(nId == nButtonId ? TRUE : FALSE);
    }
}

void CTapBalanceDlg::OnBnClickedMode(UINT nID) {
    UNREFERENCED_PARAMETER(nID);
    UpdateData(TRUE);
    UpdateData(FALSE);
}

std::vector<int> CTapBalanceDlg::ReadTapLevels() const {
    const CDisplayDlg* pDisplay = m_pMainDlg->m_pDisplayDlg;
    std::vector<double> values;
    if (m_pMainDlg->m_nTapMode == 0) {
        values = pDisplay ? std::vector<double>{pDisplay->m_dTapLeft, pDisplay->m_dTapRight}
                          : std::vector<double>(2, 0.0);
    } else {
        values = pDisplay ? std::vector<double>{pDisplay->m_dTapA, pDisplay->m_dTapB, pDisplay->m_dTapC,
                                                pDisplay->m_dTapD}
                          : std::vector<double>(4, 0.0);
    }
    std::vector<int> levels;
    for (double dValue : values)
        levels.push_back(TapLevel(dValue));
    return levels;
}

void CTapBalanceDlg::OnBnClickedStep1() {
    RunStep(1);
}

void CTapBalanceDlg::OnBnClickedStep2() {
    RunStep(2);
}

void CTapBalanceDlg::OnBnClickedStep3() {
    RunStep(3);
}

void CTapBalanceDlg::OnBnClickedStep4() {
    RunStep(4);
}

void CTapBalanceDlg::RunStep(int nStep) {
    // STEP1 has one limit (edit 1025); STEP N > 1 its minimum and maximum at 2N - 3 and 2N - 2.
    const int nFirst = nStep == 1 ? 0 : 2 * nStep - 3;
    const int nLast = nStep == 1 ? 0 : 2 * nStep - 2;
    for (int i = nFirst; i <= nLast; ++i)
        m_nStepLimit[i] = static_cast<int>(GetDlgItemInt(IDC_LIMIT_FIRST + i, nullptr, TRUE));
    if (!m_pMainDlg || !m_pMainDlg->m_pNodeMap)
        return;

    const std::vector<int> levels = ReadTapLevels();
    const int nMin = m_nStepLimit[nFirst];
    const int nMax = m_nStepLimit[nLast];
    const bool bPassed =
        nStep == 1 ? std::all_of(levels.begin(), levels.end(), [&](int n) { return n < nMax; })
                   : std::all_of(levels.begin(), levels.end(), [&](int n) { return nMin <= n && n <= nMax; });
    if (!bPassed) {
        EnableOnly(kStepButtons[nStep - 1]);
        CString strMessage;
        const bool bTwoTaps = levels.size() == 2;
        if (nStep == 1 && bTwoTaps)
            strMessage.Format(L"Left %d Right %d\r\n%dDn 아래로 다시 시도하세요.", levels[0], levels[1],
                              nMax);
        else if (nStep == 1)
            strMessage.Format(L"A_CH: %d B_CH: %d C_CH: %d D_CH: %d\r\n%dDn 아래로 다시 시도하세요.",
                              levels[0], levels[1], levels[2], levels[3], nMax);
        else if (bTwoTaps)
            strMessage.Format(L"Left %d Right %d\r\n%d~%dDn 사이로 다시 시도하세요.", levels[0], levels[1],
                              nMin, nMax);
        else
            strMessage.Format(
                L"ACH_DN: %d BCH_DN: %d CCH_DN: %d DCH_DN: %d\r\n%d~%dDn 사이로 다시 시도하세요.", levels[0],
                levels[1], levels[2], levels[3], nMin, nMax);
        AfxMessageBox(strMessage);
        return;
    }

    try {
        GenApi::CCommandPtr pCommand(m_pMainDlg->m_pNodeMap->GetNode(kStepCommands[nStep - 1]));
        pCommand->Execute();
    } catch (const GenICam::GenericException& e) {
        EnableOnly(IDC_STEP1);
        ShowGenICamError(e);
        return;
    }
    int nNext = IDC_USER_SET_SAVE;
    if (nStep < 3 || (nStep == 3 && m_nStepMode != 0))
        nNext = kStepButtons[nStep];
    EnableOnly(nNext);
    CString strMessage;
    strMessage.Format(L"STEP%d COMPLETE", nStep);
    AfxMessageBox(strMessage);
}

void CTapBalanceDlg::OnBnClickedResetSteps() {
    EnableOnly(IDC_STEP1);
}

// Every user set, the default set last, takes the camera's current settings.
void CTapBalanceDlg::OnBnClickedUserSetSave() {
    if (!m_pMainDlg || !m_pMainDlg->m_pNodeMap)
        return;
    try {
        GenApi::CEnumerationPtr pSelector(m_pMainDlg->m_pNodeMap->GetNode("UserSetSelector"));
        GenApi::CCommandPtr pSave(m_pMainDlg->m_pNodeMap->GetNode("UserSetSave"));
        for (const char* entry : {"UserSet0", "UserSet1", "UserSet2", "Default"}) {
            pSelector->FromString(entry, true);
            pSave->Execute();
        }
    } catch (const GenICam::GenericException& e) {
        EnableOnly(IDC_STEP1);
        ShowGenICamError(e);
        return;
    }
    EnableOnly(IDC_STEP1);
    AfxMessageBox(L"Save Complete");
}

void CTapBalanceDlg::OnBnClickedIniSave() {
    for (int i = 0; i < kLimitCount; ++i) {
        m_nStepLimit[i] = static_cast<int>(GetDlgItemInt(IDC_LIMIT_FIRST + i, nullptr, TRUE));
        CString strValue;
        strValue.Format(L"%d", m_nStepLimit[i]);
        if (!WritePrivateProfileString(kLimitSection, kLimitKeys[i], strValue, m_strLimitIniPath)) {
            AfxMessageBox(L"파라미터 저장 실패");
            return;
        }
    }
}

void CTapBalanceDlg::OnBnClickedPass() {
    HandOver(TRUE);
}

void CTapBalanceDlg::OnBnClickedFail() {
    HandOver(FALSE);
}
