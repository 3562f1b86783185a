#include "CBrightCenterDlg.h"

#include "BrightWindows.h"
#include "CDisplayDlg.h"
#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"

BEGIN_MESSAGE_MAP(CBrightCenterDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(1080, &CBrightCenterDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CBrightCenterDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CBrightCenterDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_BN_CLICKED(CBrightCenterDlg::IDC_PASS, &CBrightCenterDlg::OnBnClickedPass)
ON_BN_CLICKED(CBrightCenterDlg::IDC_FAIL, &CBrightCenterDlg::OnBnClickedFail)
ON_BN_CLICKED(CBrightCenterDlg::IDC_SHOW, &CBrightCenterDlg::OnBnClickedShow)
ON_EN_CHANGE(CBrightCenterDlg::IDC_CENTER_LEFT, &CBrightCenterDlg::OnEnChangeEditCenterLeft)
ON_EN_CHANGE(CBrightCenterDlg::IDC_CENTER_TOP, &CBrightCenterDlg::OnEnChangeEditCenterTop)
ON_EN_CHANGE(CBrightCenterDlg::IDC_CENTER_RIGHT, &CBrightCenterDlg::OnEnChangeEditCenterRight)
ON_EN_CHANGE(CBrightCenterDlg::IDC_CENTER_BOTTOM, &CBrightCenterDlg::OnEnChangeEditCenterBottom)
ON_BN_CLICKED(CBrightCenterDlg::IDC_SAVE_PARAM, &CBrightCenterDlg::OnBnClickedSaveParam)
ON_BN_CLICKED(CBrightCenterDlg::IDC_CHANNEL_R, &CBrightCenterDlg::OnBnClickedChannelR)
ON_BN_CLICKED(CBrightCenterDlg::IDC_CHANNEL_G, &CBrightCenterDlg::OnBnClickedChannelG)
ON_BN_CLICKED(CBrightCenterDlg::IDC_CHANNEL_B, &CBrightCenterDlg::OnBnClickedChannelB)
ON_WM_TIMER()
END_MESSAGE_MAP()

CBrightCenterDlg::CBrightCenterDlg(CWnd* pParent) : CTestPageDlg(IDD, L"BRIGHT_CENTER", pParent) {}

CBrightCenterDlg::~CBrightCenterDlg() = default;

void CBrightCenterDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CBrightCenterDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_pMainDlg || !m_pMainDlg->m_bColorCamera) {
        for (int nID : {IDC_CHANNEL_R, IDC_CHANNEL_G, IDC_CHANNEL_B})
            if (CWnd* pRadio = GetDlgItem(nID))
                pRadio->EnableWindow(FALSE);
    }
    // The channel flags are the display's, shared with the brightness-deviation page.
    CheckRadioButton(IDC_CHANNEL_R, IDC_CHANNEL_B, IDC_CHANNEL_R);
    CheckDlgButton(IDC_SHOW, BST_CHECKED);
    CreatePageEvent();
    LoadMethodPanel();
    SetBrightReadoutFont(this, m_fontVerdict, IDC_AVERAGE);
    SetTimer(TIMER_AVERAGE, TIMER_PERIOD_MS, nullptr);
    if (CWnd* pSave = GetDlgItem(IDC_SAVE_PARAM))
        pSave->EnableWindow(theApp.g_bEditMode ? TRUE : FALSE);
    return TRUE;
}

void CBrightCenterDlg::LoadParameters() {
    LoadBrightWindows(kBrightCentreFieldCount);
}

void CBrightCenterDlg::ShowParameters() {
    ShowBrightWindows(this, kBrightCentreFieldCount);
}

void CBrightCenterDlg::SetCenterMode(bool bOn) {
    if (m_pMainDlg && m_pMainDlg->m_pDisplayDlg)
        m_pMainDlg->m_pDisplayDlg->m_bCenterMode = bOn;
}

void CBrightCenterDlg::OnEnChangeEditCenterLeft() {
    StoreBrightEdit(this, IDC_CENTER_LEFT, kBrightCentreFieldCount);
}

void CBrightCenterDlg::OnEnChangeEditCenterTop() {
    StoreBrightEdit(this, IDC_CENTER_TOP, kBrightCentreFieldCount);
}

void CBrightCenterDlg::OnEnChangeEditCenterRight() {
    StoreBrightEdit(this, IDC_CENTER_RIGHT, kBrightCentreFieldCount);
}

void CBrightCenterDlg::OnEnChangeEditCenterBottom() {
    StoreBrightEdit(this, IDC_CENTER_BOTTOM, kBrightCentreFieldCount);
}

// The brightness-deviation page reads the same four keys.
void CBrightCenterDlg::OnBnClickedSaveParam() {
    // A read-only or vanished test set must not be reported as saved.
    AfxMessageBox(SaveBrightWindows(kBrightCentreFieldCount) ? L"저장되었습니다." : L"파라미터 저장 실패");
}

void CBrightCenterDlg::OnBnClickedChannelR() {
    SelectBrightChannel(m_pMainDlg, true, false, false);
}

void CBrightCenterDlg::OnBnClickedChannelG() {
    SelectBrightChannel(m_pMainDlg, false, true, false);
}

void CBrightCenterDlg::OnBnClickedChannelB() {
    SelectBrightChannel(m_pMainDlg, false, false, true);
}

void CBrightCenterDlg::OnBnClickedShow() {
    SetCenterMode(IsDlgButtonChecked(IDC_SHOW) != BST_UNCHECKED);
}

void CBrightCenterDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_AVERAGE && m_pMainDlg)
        SetDlgItemInt(IDC_AVERAGE, static_cast<UINT>(m_pMainDlg->m_nBrightAverage), TRUE);
    else if (nIDEvent != TIMER_AVERAGE)
        CDialog::OnTimer(nIDEvent);
}

void CBrightCenterDlg::OnBnClickedPass() {
    Finish(TRUE);
}

void CBrightCenterDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// Never refused: no sub-steps and no camera.
void CBrightCenterDlg::Finish(BOOL bPass) {
    CheckDlgButton(IDC_SHOW, BST_UNCHECKED);
    SetCenterMode(false);
    CloseShowImage();
    HandOver(bPass);
}

void CBrightCenterDlg::OnDestroy() {
    CTestPageDlg::OnDestroy();
    KillTimer(TIMER_AVERAGE);
}
