#include "CFrameRateDlg.h"

#include "CKavrinoDlg.h"
#include "EnterEscFilter.h"
#include "GenApi.h"

#include <cstdint>

BEGIN_MESSAGE_MAP(CFrameRateDlg, CTestPageDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(IDOK, &CFrameRateDlg::OnBnClickedPass)
ON_BN_CLICKED(IDCANCEL, &CFrameRateDlg::OnBnClickedFail)
ON_BN_CLICKED(CFrameRateDlg::IDC_FRAME10, &CFrameRateDlg::OnBnClickedFrame10)
ON_BN_CLICKED(CFrameRateDlg::IDC_FRAME50, &CFrameRateDlg::OnBnClickedFrame50)
ON_BN_CLICKED(CFrameRateDlg::IDC_FRAME_MODE, &CFrameRateDlg::OnBnClickedFrameMode)
ON_CBN_SELCHANGE(CFrameRateDlg::IDC_FRAME_RATE, &CFrameRateDlg::OnCbnSelchangeFrameRate)
ON_BN_CLICKED(1080, &CFrameRateDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CFrameRateDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CFrameRateDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_WM_DRAWITEM()
ON_MESSAGE(WM_KEYPAD, &CFrameRateDlg::OnKeypadMessage)
END_MESSAGE_MAP()

namespace {
const wchar_t kRateEnable[] = L"AcquisitionFrameRateEnable";
const wchar_t kRate[] = L"AcquisitionFrameRate";
} // namespace

CFrameRateDlg::CFrameRateDlg(CWnd* pParent) : CTestPageDlg(IDD, L"FRAMERATE", pParent) {}

CFrameRateDlg::~CFrameRateDlg() = default;

BOOL CFrameRateDlg::PreTranslateMessage(MSG* pMsg) {
    return kavrino::EscFilter(this, pMsg);
}

BOOL CFrameRateDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_vecButtonIds = {IDC_FRAME_MODE, IDC_FRAME_RATE};
    m_nFocusIndex = 0;
    AddItem(L"프레임 모드");
    AddItem(L"프레임레이트 변경");
    CreatePageEvent();

    // The list is sorted as text, so "100" comes before "25"; each value goes to its place as it is added.
    CComboBox* pList = FrameRateList();
    if (pList)
        pList->SetItemHeight(-1, 20);
    if (pList && m_pFrameRateList) {
        for (POSITION pos = m_pFrameRateList->GetHeadPosition(); pos;) {
            const CString& strValue = m_pFrameRateList->GetNext(pos);
            int nAt = 0;
            for (; nAt < pList->GetCount(); ++nAt) {
                CString strEntry;
                pList->GetLBText(nAt, strEntry);
                if (strValue.CompareNoCase(strEntry) < 0)
                    break;
            }
            pList->InsertString(nAt, strValue);
        }
        if (pList->GetCount() > 0)
            pList->SetCurSel(0);
    }

    LoadMethodPanel();
    return TRUE;
}

CComboBox* CFrameRateDlg::FrameRateList() const {
    return static_cast<CComboBox*>(GetDlgItem(IDC_FRAME_RATE));
}

void CFrameRateDlg::WriteCappedFrameRate() {
    CComboBox* pList = FrameRateList();
    const int nSel = pList ? pList->GetCurSel() : CB_ERR;
    if (nSel < 0)
        return;
    CString strValue;
    pList->GetLBText(nSel, strValue);
    const double dRequested = _wtof(strValue);
    // Without the maximum there is nothing to cap to: the read's error is reported and the camera keeps
    // its rate, rather than every value writing 0.0.
    double dMax = 0.0;
    m_pMainDlg->GetFeature(kRate, FEATURE_MAX, &dMax);
    if (!m_pMainDlg->CheckMilError(kRate))
        return;
    const double dRate = dRequested >= dMax ? dMax : dRequested;
    m_pMainDlg->SetFeature(kRate, FEATURE_VALUE, &dRate);
}

// Switching the limit off marks nothing; switching it on writes the rate before the limit.
void CFrameRateDlg::OnBnClickedFrameMode() {
    if (!IsConnected())
        return;
    if (m_bFrameMode) {
        m_pMainDlg->SetFeature(kRateEnable, FEATURE_VALUE_AS_STRING, L"Off");
        SetDlgItemText(IDC_FRAME_MODE, L"OFF");
        m_bFrameMode = 0;
        return;
    }
    StartItem(ITEM_FRAME_MODE);
    WriteCappedFrameRate();
    m_pMainDlg->SetFeature(kRateEnable, FEATURE_VALUE_AS_STRING, L"On");
    SetDlgItemText(IDC_FRAME_MODE, L"ON");
    m_bFrameMode = 1;
}

// A new value takes effect at once while the limit is on and waits in the camera while it is off.
void CFrameRateDlg::OnCbnSelchangeFrameRate() {
    if (!IsConnected())
        return;
    StartItem(ITEM_FRAME_RATE);
    WriteCappedFrameRate();
}

void CFrameRateDlg::ShowGenICamError(const char* pszDescription) {
    CString strMessage;
    strMessage.Format(L"ERROR : '%s'", static_cast<const wchar_t*>(CA2T(pszDescription)));
    AfxMessageBox(strMessage);
}

// A tenth of the pixel clock as the frame rate. A clock that cannot be read gives nothing to divide: the
// read's error is reported (and so not left for the verdict's query) and nothing is written.
void CFrameRateDlg::OnBnClickedFrame10() {
    if (!IsConnected())
        return;
    try {
        MIL_INT64 nClock = 0;
        m_pMainDlg->GetFeature(L"PixelClockReg", FEATURE_VALUE, &nClock);
        if (!m_pMainDlg->CheckMilError(L"PixelClockReg"))
            return;
        const double dRate = static_cast<double>(nClock) / 10.0;
        m_pMainDlg->SetFeature(kRate, FEATURE_VALUE, &dRate);
    } catch (const GenICam::GenericException& e) {
        ShowGenICamError(e.GetDescription());
    }
}

// The vendor's free-run command with a fiftieth of the pixel clock, through the node map.
void CFrameRateDlg::OnBnClickedFrame50() {
    if (!m_pMainDlg || !m_pMainDlg->m_pNodeMap)
        return;
    try {
        GenApi::CIntegerPtr pClock = m_pMainDlg->m_pNodeMap->GetNode("PixelClockReg");
        const std::int32_t nClock = static_cast<std::int32_t>(pClock->GetValue(false, false));
        CString strCommand;
        strCommand.Format(L"WFREERUN %X", static_cast<unsigned>(nClock / 50));
        GenApi::CStringPtr pCommand = m_pMainDlg->m_pNodeMap->GetNode("Command");
        pCommand->SetValue(GenICam::gcstring(CT2A(strCommand).c_str()), true);
    } catch (const GenICam::GenericException& e) {
        ShowGenICamError(e.GetDescription());
    }
}

void CFrameRateDlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CFrameRateDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// A refused "Off" keeps the page, its caption and the mode without a verdict so the operator can try
// again. The rate and the reference picture's window are left as they are.
void CFrameRateDlg::Finish(BOOL bPass) {
    if (!IsConnected())
        return;
    m_pMainDlg->SetFeature(kRateEnable, FEATURE_VALUE_AS_STRING, L"Off");
    if (!m_pMainDlg->CheckMilError(kRateEnable))
        return;
    FocusControl(IDC_FRAME_MODE);
    SetDlgItemText(IDC_FRAME_MODE, L"OFF");
    m_bFrameMode = 0;
    HandOver(bPass);
}

LRESULT CFrameRateDlg::OnKeypadMessage(WPARAM wParam, LPARAM lParam) {
    const int nCount = static_cast<int>(m_vecButtonIds.size());
    if (LOBYTE(static_cast<DWORD_PTR>(lParam)) != 4 || m_nFocusIndex < 0 || m_nFocusIndex >= nCount ||
        m_vecButtonIds[static_cast<std::size_t>(m_nFocusIndex)] != IDC_FRAME_RATE)
        return CTestPageDlg::OnKeypadMessage(wParam, lParam);

    // Selecting by program sends no selection change, so the handler is run here; unconnected it writes
    // nothing, but the index still advances. An empty list has nothing to apply.
    CComboBox* pList = FrameRateList();
    const int nEntries = pList ? pList->GetCount() : 0;
    if (nEntries <= 0)
        return 0;
    if (m_nComboIdx < 0 || m_nComboIdx >= nEntries)
        m_nComboIdx = 0;
    pList->SetCurSel(m_nComboIdx);
    OnCbnSelchangeFrameRate();
    if (++m_nComboIdx >= nEntries)
        m_nComboIdx = 0;
    return 0;
}

void CFrameRateDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    DrawOwnerButton(lpDrawItemStruct, static_cast<UINT>(nIDCtl));
    CDialog::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

void CFrameRateDlg::DrawOwnerButton(LPDRAWITEMSTRUCT lpDrawItemStruct, UINT nIDCtl) {
    PaintButton(lpDrawItemStruct, nIDCtl, TRUE);
}
