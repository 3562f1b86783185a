#include "CPixelFormatDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CPixelFormatDlg, CTestPageDlg)
ON_BN_CLICKED(IDOK, &CPixelFormatDlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CPixelFormatDlg::OnBnClickedFail)
ON_WM_DESTROY()
ON_BN_CLICKED(CPixelFormatDlg::IDC_CHANGE_DCF, &CPixelFormatDlg::OnBnClickedChangeDcf)
ON_BN_CLICKED(CPixelFormatDlg::IDC_MONO8, &CPixelFormatDlg::OnBnClickedMono8)
ON_BN_CLICKED(CPixelFormatDlg::IDC_MONO10, &CPixelFormatDlg::OnBnClickedMono10)
ON_BN_CLICKED(CPixelFormatDlg::IDC_BAYER_RG8, &CPixelFormatDlg::OnBnClickedBayerRG8)
ON_BN_CLICKED(CPixelFormatDlg::IDC_BAYER_RG10, &CPixelFormatDlg::OnBnClickedBayerRG10)
ON_BN_CLICKED(CPixelFormatDlg::IDC_MONO12, &CPixelFormatDlg::OnBnClickedMono12)
ON_BN_CLICKED(CPixelFormatDlg::IDC_BAYER_RG12, &CPixelFormatDlg::OnBnClickedBayerRG12)
ON_BN_CLICKED(1080, &CPixelFormatDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CPixelFormatDlg::OnBnClickedChangeImage)
ON_WM_PAINT()
ON_STN_DBLCLK(1079, &CPixelFormatDlg::OnStnDblclickImage)
ON_MESSAGE(WM_KEYPAD, &CPixelFormatDlg::OnKeypadMessage)
ON_WM_DRAWITEM()
ON_WM_ACTIVATE()
END_MESSAGE_MAP()

namespace {

// One format step: its button, the format the camera takes, the bit depth that chooses the
// configuration file, and the entry of the main window's format combo (-1: the combo has none).
struct FormatStep {
    LPCTSTR lpszName;
    int nButtonId;
    LPCTSTR lpszFormat;
    int nBits;
    int nComboEntry;
};

const FormatStep kSteps[] = {
    {L"모노 8", CPixelFormatDlg::IDC_MONO8, L"Mono8", 8, 0},
    {L"모노 10", CPixelFormatDlg::IDC_MONO10, L"Mono10", 10, 1},
    {L"모노 12", CPixelFormatDlg::IDC_MONO12, L"Mono12", 12, -1},
    {L"BayerRG8", CPixelFormatDlg::IDC_BAYER_RG8, L"BayerRG8", 8, 2},
    {L"BayerRG10", CPixelFormatDlg::IDC_BAYER_RG10, L"BayerRG10", 10, 3},
    {L"BayerRG12", CPixelFormatDlg::IDC_BAYER_RG12, L"BayerRG12", 12, -1},
};

const wchar_t kNoDcf8[] = L"8비트 DCF파일을 선택하지 않았습니다.";

} // namespace

CPixelFormatDlg::CPixelFormatDlg(CWnd* pParent) : CTestPageDlg(IDD, L"PIXELFORMAT", pParent) {}

CPixelFormatDlg::~CPixelFormatDlg() = default;

// A shorter list (or none) leaves the missing paths empty instead of reading past its end.
void CPixelFormatDlg::SetDcfPaths(const CStringList* pDcfList) {
    CString* const targets[] = {&m_strDcf8, &m_strDcf10, &m_strDcf12};
    POSITION pos = pDcfList ? pDcfList->GetHeadPosition() : nullptr;
    for (CString* pTarget : targets)
        *pTarget = pos ? pDcfList->GetNext(pos) : CString();
}

BOOL CPixelFormatDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

BOOL CPixelFormatDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_vecButtonIds.clear();
    for (const FormatStep& step : kSteps)
        m_vecButtonIds.push_back(step.nButtonId);
    m_nFocusIndex = 0;
    for (const FormatStep& step : kSteps)
        AddItem(step.lpszName);
    InitButtons();
    CreatePageEvent();
    LoadMethodPanel();
    return TRUE;
}

void CPixelFormatDlg::DisableSteps(std::initializer_list<std::size_t> items) {
    for (std::size_t nItem : items) {
        const int nId = kSteps[nItem].nButtonId;
        if (CWnd* pButton = GetDlgItem(nId))
            pButton->EnableWindow(FALSE);
        m_vecButtonIds.erase(std::remove(m_vecButtonIds.begin(), m_vecButtonIds.end(), nId),
                             m_vecButtonIds.end());
        // Counted as tried and never as failed: the step cannot be done with this set-up.
        m_vecItems[nItem].bTested = 1;
        m_vecRuledOut.push_back(nItem);
    }
}

void CPixelFormatDlg::InitButtons() {
    if (!m_pMainDlg || !m_pMainDlg->m_bColorCamera)
        DisableSteps({ITEM_BAYER_RG8, ITEM_BAYER_RG10, ITEM_BAYER_RG12});
    if (m_strDcf8.IsEmpty())
        DisableSteps({ITEM_MONO8, ITEM_BAYER_RG8});
    if (m_strDcf10.IsEmpty())
        DisableSteps({ITEM_MONO10, ITEM_BAYER_RG10});
    if (m_strDcf12.IsEmpty())
        DisableSteps({ITEM_MONO12, ITEM_BAYER_RG12});
}

const CString& CPixelFormatDlg::DcfFile(std::size_t nItem) const {
    switch (kSteps[nItem].nBits) {
    case 8:
        return m_strDcf8;
    case 10:
        return m_strDcf10;
    default:
        return m_strDcf12;
    }
}

BOOL CPixelFormatDlg::ShowMissingDcf(std::size_t nItem) const {
    if (!DcfFile(nItem).IsEmpty())
        return FALSE;
    CString strMessage;
    strMessage.Format(L"%d비트 DCF파일을 선택하지 않았습니다.", kSteps[nItem].nBits);
    AfxMessageBox(strMessage);
    return TRUE;
}

void CPixelFormatDlg::OnBnClickedMono8() {
    ChangeFormat(ITEM_MONO8);
}

void CPixelFormatDlg::OnBnClickedMono10() {
    ChangeFormat(ITEM_MONO10);
}

void CPixelFormatDlg::OnBnClickedMono12() {
    ChangeFormat(ITEM_MONO12);
}

void CPixelFormatDlg::OnBnClickedBayerRG8() {
    ChangeFormat(ITEM_BAYER_RG8);
}

void CPixelFormatDlg::OnBnClickedBayerRG10() {
    ChangeFormat(ITEM_BAYER_RG10);
}

void CPixelFormatDlg::OnBnClickedBayerRG12() {
    ChangeFormat(ITEM_BAYER_RG12);
}

void CPixelFormatDlg::ChangeFormat(std::size_t nItem) {
    CWaitCursor wait;
    if (ShowMissingDcf(nItem)) {
        m_vecItems[nItem].bTested = 1;
        return;
    }
    if (!IsConnected())
        return;
    m_pMainDlg->StopLive();
    StartItem(nItem);
    // A refused format leaves the camera, the grabber and the main window as they were, with
    // acquisition stopped.
    if (!WriteFormat(nItem))
        return;
    SwitchGrabber(nItem);
}

BOOL CPixelFormatDlg::WriteFormat(std::size_t nItem) {
    m_pMainDlg->SetFeature(L"PixelFormat", FEATURE_VALUE_AS_STRING, kSteps[nItem].lpszFormat);
    if (m_pMainDlg->CheckMilError(L"PixelFormat"))
        return TRUE;
    m_vecItems[nItem].bOk = 0;
    return FALSE;
}

// The format name is set before the reconnection, which sizes the grab buffer (8 or 16 bits) by it. A
// file that gives no digitizer disconnects the main window, which says so.
BOOL CPixelFormatDlg::SwitchGrabber(std::size_t nItem) {
    const FormatStep& step = kSteps[nItem];
    m_pMainDlg->m_strPixelFormat = step.lpszFormat;
    m_pMainDlg->m_cmbPixelFormat.SetCurSel(step.nComboEntry);
    if (!m_pMainDlg->Reconnect(DcfFile(nItem)))
        return FALSE;
    m_pMainDlg->StartLive();
    return TRUE;
}

// Without a camera afterwards there is no verdict.
BOOL CPixelFormatDlg::RestoreMono8() {
    m_pMainDlg->StopLive();
    StartItem(ITEM_MONO8);
    if (!WriteFormat(ITEM_MONO8))
        return FALSE;
    FocusControl(IDC_MONO8);
    return SwitchGrabber(ITEM_MONO8);
}

void CPixelFormatDlg::OnBnClickedPass() {
    CWaitCursor wait;
    if (m_strDcf8.IsEmpty()) {
        AfxMessageBox(kNoDcf8);
        return;
    }
    if (ShowUntriedItems())
        return;
    if (!IsConnected())
        return;
    if (!RestoreMono8())
        return;
    HandOver(TRUE);
}

void CPixelFormatDlg::OnBnClickedFail() {
    CWaitCursor wait;
    if (m_strDcf8.IsEmpty()) {
        AfxMessageBox(kNoDcf8);
        return;
    }
    if (!IsConnected())
        return;
    if (!RestoreMono8())
        return;
    HandOver(FALSE);
}

// The steps this set-up cannot do stay counted as tried.
void CPixelFormatDlg::ForgetTriedSteps() {
    CTestPageDlg::ForgetTriedSteps();
    for (std::size_t nItem : m_vecRuledOut)
        m_vecItems[nItem].bTested = 1;
}

// The grabber is released only once a file has been chosen: a cancelled dialog leaves the connection
// as it was instead of a released grabber behind a window that still counts as connected.
void CPixelFormatDlg::OnBnClickedChangeDcf() {
    if (!m_pMainDlg)
        return;
    CFileDialog dlg(TRUE, L"DCF file", nullptr, OFN_ENABLESIZING, L"DCF File (*.dcf)|*.dcf|", nullptr);
    if (dlg.DoModal() != IDOK)
        return;
    m_pMainDlg->Reconnect(dlg.GetPathName());
}

void CPixelFormatDlg::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CDialog::OnActivate(nState, pWndOther, bMinimized);
}
