#include "CTriggerIODlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

#include <cwchar>

BEGIN_MESSAGE_MAP(CTriggerIODlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(CTriggerIODlg::IDC_SOFTWARE_TRIGGER, &CTriggerIODlg::OnBnClickedSoftwareTrigger)
ON_BN_CLICKED(IDOK, &CTriggerIODlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CTriggerIODlg::OnBnClickedFail)
ON_BN_CLICKED(CTriggerIODlg::IDC_CHANGE_DCF, &CTriggerIODlg::OnBnClickedChangeDcf)
ON_BN_CLICKED(1080, &CTriggerIODlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CTriggerIODlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CTriggerIODlg::OnStnDblclickImage)
ON_MESSAGE(WM_KEYPAD, &CTriggerIODlg::OnKeypadMessage)
ON_WM_PAINT()
ON_WM_DRAWITEM()
ON_BN_CLICKED(CTriggerIODlg::IDC_STROBE, &CTriggerIODlg::OnBnClickedStrobe)
ON_BN_CLICKED(CTriggerIODlg::IDC_LINE_INVERTER, &CTriggerIODlg::OnBnClickedLineInverter)
ON_BN_CLICKED(CTriggerIODlg::IDC_TRIGGER_OFF, &CTriggerIODlg::OnBnClickedTriggerOff)
ON_BN_CLICKED(CTriggerIODlg::IDC_TRIGGER_ON, &CTriggerIODlg::OnBnClickedTriggerOn)
ON_BN_CLICKED(CTriggerIODlg::IDC_LINE1, &CTriggerIODlg::OnBnClickedLineSelector1)
ON_BN_CLICKED(CTriggerIODlg::IDC_LINE4, &CTriggerIODlg::OnBnClickedLineSelector4)
ON_BN_CLICKED(CTriggerIODlg::IDC_LINE5, &CTriggerIODlg::OnBnClickedLineSelector5)
ON_BN_CLICKED(CTriggerIODlg::IDC_LINE6, &CTriggerIODlg::OnBnClickedLineSelector6)
ON_BN_CLICKED(CTriggerIODlg::IDC_SOURCE_CXP, &CTriggerIODlg::OnBnClickedTriggerSourceCxp)
ON_BN_CLICKED(CTriggerIODlg::IDC_SOURCE_LINE4, &CTriggerIODlg::OnBnClickedTriggerSourceLine4)
ON_BN_CLICKED(CTriggerIODlg::IDC_SOURCE_SOFTWARE, &CTriggerIODlg::OnBnClickedTriggerSourceSoftware)
END_MESSAGE_MAP()

CTriggerIODlg::CTriggerIODlg(CWnd* pParent) : CTestPageDlg(IDD, L"TRIGGERIO", pParent) {}

CTriggerIODlg::~CTriggerIODlg() = default;

BOOL CTriggerIODlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

// The key pad has no list to move in on this page; Space, PASS and FAIL still work.
BOOL CTriggerIODlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddItem(L"Software");
    CheckDlgButton(IDC_TRIGGER_OFF, BST_CHECKED);
    CreatePageEvent();
    m_font.CreateFont(16, 8, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"굴림");
    if (CWnd* pMethod = GetDlgItem(m_nMethodEditId))
        pMethod->SetFont(&m_font, TRUE);
    LoadMethodPanel();
    return TRUE;
}

BOOL CTriggerIODlg::WriteChecked(LPCTSTR lpszFeature, LPCTSTR lpszValue) {
    m_pMainDlg->SetFeature(lpszFeature, FEATURE_VALUE_AS_STRING, lpszValue);
    return m_pMainDlg->CheckMilError(lpszFeature);
}

// The page's one step; with "TriggerMode" "On" and source "Software" the camera delivers one frame.
void CTriggerIODlg::OnBnClickedSoftwareTrigger() {
    if (!IsConnected())
        return;
    StartItem(ITEM_SOFTWARE);
    m_pMainDlg->SetFeature(L"TriggerSoftware", FEATURE_EXECUTE, nullptr);
    CheckItemWrite(ITEM_SOFTWARE, L"TriggerSoftware");
}

void CTriggerIODlg::OnBnClickedStrobe() {}

void CTriggerIODlg::SetTriggerMode(int nRadioId, LPCTSTR lpszMode) {
    if (!IsConnected())
        return;
    CheckRadioButton(IDC_TRIGGER_ON, IDC_TRIGGER_OFF, nRadioId);
    WriteChecked(L"TriggerMode", lpszMode);
}

void CTriggerIODlg::OnBnClickedTriggerOff() {
    SetTriggerMode(IDC_TRIGGER_OFF, L"Off");
}

void CTriggerIODlg::OnBnClickedTriggerOn() {
    SetTriggerMode(IDC_TRIGGER_ON, L"On");
}

void CTriggerIODlg::SetTriggerSource(int nRadioId, LPCTSTR lpszSource) {
    if (!IsConnected())
        return;
    CheckRadioButton(IDC_SOURCE_CXP, IDC_SOURCE_SOFTWARE, nRadioId);
    WriteChecked(L"TriggerSource", lpszSource);
}

void CTriggerIODlg::OnBnClickedTriggerSourceCxp() {
    SetTriggerSource(IDC_SOURCE_CXP, L"CXP_Trigger");
}

void CTriggerIODlg::OnBnClickedTriggerSourceLine4() {
    SetTriggerSource(IDC_SOURCE_LINE4, L"Line4");
}

void CTriggerIODlg::OnBnClickedTriggerSourceSoftware() {
    SetTriggerSource(IDC_SOURCE_SOFTWARE, L"Software");
}

// The direction radios only display: "Input" or "Output" exactly, any other text leaves them.
void CTriggerIODlg::SelectLine(int nRadioId, LPCTSTR lpszLine) {
    if (!IsConnected())
        return;
    CheckRadioButton(IDC_LINE1, IDC_LINE6, nRadioId);
    if (!WriteChecked(L"LineSelector", lpszLine))
        return;
    wchar_t szMode[kLineModeSize] = {};
    m_pMainDlg->GetFeature(L"LineMode", FEATURE_VALUE_AS_STRING, szMode, kLineModeSize);
    if (std::wcscmp(szMode, L"Input") == 0) {
        CheckDlgButton(IDC_LINE_INPUT, BST_CHECKED);
        CheckDlgButton(IDC_LINE_OUTPUT, BST_UNCHECKED);
    } else if (std::wcscmp(szMode, L"Output") == 0) {
        CheckDlgButton(IDC_LINE_INPUT, BST_UNCHECKED);
        CheckDlgButton(IDC_LINE_OUTPUT, BST_CHECKED);
    }
}

void CTriggerIODlg::OnBnClickedLineSelector1() {
    SelectLine(IDC_LINE1, L"Line1");
}

void CTriggerIODlg::OnBnClickedLineSelector4() {
    SelectLine(IDC_LINE4, L"Line4");
}

void CTriggerIODlg::OnBnClickedLineSelector5() {
    SelectLine(IDC_LINE5, L"Line5");
}

void CTriggerIODlg::OnBnClickedLineSelector6() {
    SelectLine(IDC_LINE6, L"Line6");
}

void CTriggerIODlg::OnBnClickedLineInverter() {
    if (!IsConnected())
        return;
    const MIL_BOOL nInvert = IsDlgButtonChecked(IDC_LINE_INVERTER) == BST_CHECKED ? 1 : 0;
    m_pMainDlg->SetFeature(L"LineInverter", FEATURE_VALUE, &nInvert);
    m_pMainDlg->CheckMilError(L"LineInverter");
}

// Another configuration file for the grabber. Acquisition stays stopped until the operator restarts it;
// the pixel format, the radios and the step stay as they are.
void CTriggerIODlg::OnBnClickedChangeDcf() {
    CFileDialog dlg(TRUE, L"DCF file", nullptr, OFN_ENABLESIZING, L"DCF File (*.dcf)|*.dcf|", nullptr);
    if (dlg.DoModal() != IDOK)
        return;
    m_pMainDlg->MilDisconnect();
    Sleep(10);
    m_pMainDlg->Reconnect(dlg.GetPathName());
}

BOOL CTriggerIODlg::RestoreTrigger() {
    if (!WriteChecked(L"TriggerMode", L"Off"))
        return FALSE;
    const MIL_BOOL nInvert = 0;
    m_pMainDlg->SetFeature(L"TriggerSource", FEATURE_VALUE_AS_STRING, L"CXP_Trigger");
    m_pMainDlg->SetFeature(L"LineSelector", FEATURE_VALUE_AS_STRING, L"Line1");
    m_pMainDlg->SetFeature(L"LineInverter", FEATURE_VALUE, &nInvert);
    return TRUE;
}

// The source, line and inverter controls keep showing the operator's last choice.
void CTriggerIODlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    if (!IsConnected())
        return;
    CloseShowImage();
    CheckRadioButton(IDC_TRIGGER_ON, IDC_TRIGGER_OFF, IDC_TRIGGER_OFF);
    if (!RestoreTrigger())
        return;
    HandOver(TRUE);
}

// Unlike PASS, FAIL leaves the trigger-mode radios as the operator set them.
void CTriggerIODlg::OnBnClickedFail() {
    if (!IsConnected())
        return;
    CloseShowImage();
    if (!RestoreTrigger())
        return;
    HandOver(FALSE);
}
