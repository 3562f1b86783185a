#include "CBrightDlg.h"

#include "BrightWindows.h"
#include "CDisplayDlg.h"
#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

BEGIN_MESSAGE_MAP(CBrightDlg, CTestPageDlg)
ON_BN_CLICKED(1080, &CBrightDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CBrightDlg::OnBnClickedChangeImage)
ON_WM_DESTROY()
ON_STN_DBLCLK(1079, &CBrightDlg::OnStnDblclickImage)
ON_BN_CLICKED(CBrightDlg::IDC_PASS, &CBrightDlg::OnBnClickedPass)
ON_BN_CLICKED(CBrightDlg::IDC_FAIL, &CBrightDlg::OnBnClickedFail)
ON_EN_CHANGE(CBrightDlg::IDC_CENTER_LEFT, &CBrightDlg::OnEnChangeEditCenterLeft)
ON_EN_CHANGE(CBrightDlg::IDC_CENTER_TOP, &CBrightDlg::OnEnChangeEditCenterTop)
ON_EN_CHANGE(CBrightDlg::IDC_CENTER_RIGHT, &CBrightDlg::OnEnChangeEditCenterRight)
ON_EN_CHANGE(CBrightDlg::IDC_CENTER_BOTTOM, &CBrightDlg::OnEnChangeEditCenterBottom)
ON_CONTROL_RANGE(EN_CHANGE, CBrightDlg::IDC_CORNER_FIRST, CBrightDlg::IDC_CORNER_LAST,
                 &CBrightDlg::OnEnChangeEditCorner)
ON_BN_CLICKED(CBrightDlg::IDC_SAVE_PARAM, &CBrightDlg::OnBnClickedSaveParam)
ON_BN_CLICKED(CBrightDlg::IDC_CHANNEL_R, &CBrightDlg::OnBnClickedChannelR)
ON_BN_CLICKED(CBrightDlg::IDC_CHANNEL_G, &CBrightDlg::OnBnClickedChannelG)
ON_BN_CLICKED(CBrightDlg::IDC_CHANNEL_B, &CBrightDlg::OnBnClickedChannelB)
ON_WM_TIMER()
ON_BN_CLICKED(CBrightDlg::IDC_SHOW, &CBrightDlg::OnBnClickedShow)
ON_WM_PAINT()
END_MESSAGE_MAP()

CBrightDlg::CBrightDlg(CWnd* pParent) : CTestPageDlg(IDD, L"BRIGHT", pParent) {}

CBrightDlg::~CBrightDlg() = default;

void CBrightDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CBrightDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const bool bColor = m_pMainDlg && m_pMainDlg->m_bColorCamera;
    if (!bColor) {
        for (int nID : {IDC_CHANNEL_R, IDC_CHANNEL_G, IDC_CHANNEL_B})
            if (CWnd* pRadio = GetDlgItem(nID))
                pRadio->EnableWindow(FALSE);
    }
    // The display starts on red and keeps the channel the brightness pages chose last.
    CheckRadioButton(IDC_CHANNEL_R, IDC_CHANNEL_B, IDC_CHANNEL_R);
    SetDlgItemInt(IDC_LIMIT, static_cast<UINT>(m_pMainDlg ? m_pMainDlg->m_nDeviationLimit : 0), TRUE);
    if (bColor) {
        AddItem(L"G");
        AddItem(L"B");
    }
    CreatePageEvent();
    CheckDlgButton(IDC_SHOW, BST_CHECKED);
    SetTimer(TIMER_DEVIATION, TIMER_PERIOD_MS, nullptr);
    SetTimer(TIMER_VERDICT, TIMER_PERIOD_MS, nullptr);
    LoadMethodPanel();
    SetBrightReadoutFont(this, m_fontVerdict, IDC_VERDICT);
    if (CWnd* pSave = GetDlgItem(IDC_SAVE_PARAM))
        pSave->EnableWindow(theApp.g_bEditMode ? TRUE : FALSE);
    return TRUE;
}

BOOL CBrightDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

void CBrightDlg::LoadParameters() {
    LoadBrightWindows(kBrightFieldCount);
    ShowParameters();
    // On whatever the check box shows: the runner wants the windows measured while the page is up.
    SetBrightMode(true);
}

void CBrightDlg::ShowParameters() {
    ShowBrightWindows(this, kBrightFieldCount);
}

void CBrightDlg::SetBrightMode(bool bOn) {
    if (m_pMainDlg && m_pMainDlg->m_pDisplayDlg)
        m_pMainDlg->m_pDisplayDlg->m_bBrightMode = bOn;
}

void CBrightDlg::OnEnChangeEditCenterLeft() {
    StoreBrightEdit(this, IDC_CENTER_LEFT, kBrightFieldCount);
}

void CBrightDlg::OnEnChangeEditCenterTop() {
    StoreBrightEdit(this, IDC_CENTER_TOP, kBrightFieldCount);
}

void CBrightDlg::OnEnChangeEditCenterRight() {
    StoreBrightEdit(this, IDC_CENTER_RIGHT, kBrightFieldCount);
}

void CBrightDlg::OnEnChangeEditCenterBottom() {
    StoreBrightEdit(this, IDC_CENTER_BOTTOM, kBrightFieldCount);
}

void CBrightDlg::OnEnChangeEditCorner(UINT nID) {
    StoreBrightEdit(this, static_cast<int>(nID), kBrightFieldCount);
}

void CBrightDlg::OnBnClickedSaveParam() {
    // A read-only or vanished test set must not be reported as saved.
    AfxMessageBox(SaveBrightWindows(kBrightFieldCount) ? L"저장되었습니다." : L"파라미터 저장 실패");
}

// The sub-steps exist on a colour camera only; a click without them marks nothing.
void CBrightDlg::MarkItemTried(std::size_t nIndex) {
    if (nIndex < m_vecItems.size())
        m_vecItems[nIndex].bTested = 1;
}

void CBrightDlg::OnBnClickedChannelR() {
    SelectBrightChannel(m_pMainDlg, true, false, false);
}

void CBrightDlg::OnBnClickedChannelG() {
    SelectBrightChannel(m_pMainDlg, false, true, false);
    MarkItemTried(ITEM_G);
}

void CBrightDlg::OnBnClickedChannelB() {
    SelectBrightChannel(m_pMainDlg, false, false, true);
    MarkItemTried(ITEM_B);
}

void CBrightDlg::OnBnClickedShow() {
    SetBrightMode(IsDlgButtonChecked(IDC_SHOW) != BST_UNCHECKED);
}

bool CBrightDlg::DeviationsWithin(const int* pDeviations, int nLimit) {
    for (int i = 0; i < 4; ++i) {
        // In 64 bits: the magnitude of the most negative int does not fit an int.
        const long long nDeviation = pDeviations[i];
        if (static_cast<long long>(nLimit) <= (nDeviation < 0 ? -nDeviation : nDeviation))
            return false;
    }
    return true;
}

void CBrightDlg::OnTimer(UINT_PTR nIDEvent) {
    if (!m_pMainDlg) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    const int* pDev = m_pMainDlg->m_nBrightDev;
    if (nIDEvent == TIMER_DEVIATION) {
        // Centre minus left-top, left-bottom, right-top, right-bottom.
        SetDlgItemInt(IDC_DEV_LEFT_TOP, static_cast<UINT>(pDev[0]), TRUE);
        SetDlgItemInt(IDC_DEV_LEFT_BOTTOM, static_cast<UINT>(pDev[1]), TRUE);
        SetDlgItemInt(IDC_DEV_RIGHT_TOP, static_cast<UINT>(pDev[2]), TRUE);
        SetDlgItemInt(IDC_DEV_RIGHT_BOTTOM, static_cast<UINT>(pDev[3]), TRUE);
    } else if (nIDEvent == TIMER_VERDICT) {
        // An aid for the operator only; the verdict is given with PASS or FAIL.
        SetDlgItemText(IDC_VERDICT,
                       DeviationsWithin(pDev, m_pMainDlg->m_nDeviationLimit) ? L"PASS!!" : L"FAIL!!");
    } else {
        CDialog::OnTimer(nIDEvent);
    }
}

void CBrightDlg::OnBnClickedPass() {
    // A black-and-white camera has no channel steps and is never refused.
    if (ShowUntriedItems())
        return;
    CloseShowImage();
    CheckDlgButton(IDC_SHOW, BST_UNCHECKED);
    SetBrightMode(false);
    HandOver(TRUE);
}

void CBrightDlg::OnBnClickedFail() {
    CloseShowImage();
    CheckDlgButton(IDC_SHOW, BST_UNCHECKED);
    SetBrightMode(false);
    HandOver(FALSE);
}

void CBrightDlg::OnDestroy() {
    CTestPageDlg::OnDestroy();
    KillTimer(TIMER_DEVIATION);
    KillTimer(TIMER_VERDICT);
}
