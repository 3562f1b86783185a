#include "CGamma_LUTDlg.h"

#include "CKavrinoDlg.h"

#include <cmath>

namespace {
const wchar_t kGammaEnable[] = L"GammaEnable";
const wchar_t kLutEnable[] = L"LUTEnable";
const wchar_t kGamma[] = L"Gamma";
const wchar_t kLutIndex[] = L"LUTIndex";
const wchar_t kLutValue[] = L"LUTValue";
} // namespace

BEGIN_MESSAGE_MAP(CGamma_LUTDlg, CTestPageDlg)
ON_BN_CLICKED(CGamma_LUTDlg::IDC_GAMMA_ENABLE, &CGamma_LUTDlg::OnBnClickedGammaEnable)
ON_BN_CLICKED(CGamma_LUTDlg::IDC_LUT_ENABLE, &CGamma_LUTDlg::OnBnClickedLutEnable)
ON_BN_CLICKED(CGamma_LUTDlg::IDC_GAMMA_04, &CGamma_LUTDlg::OnBnClickedGamma04)
ON_BN_CLICKED(CGamma_LUTDlg::IDC_LUT_25, &CGamma_LUTDlg::OnBnClickedLut25)
ON_BN_CLICKED(CGamma_LUTDlg::IDC_PASS, &CGamma_LUTDlg::OnBnClickedPass)
ON_BN_CLICKED(CGamma_LUTDlg::IDC_FAIL, &CGamma_LUTDlg::OnBnClickedFail)
ON_BN_CLICKED(1080, &CGamma_LUTDlg::OnBnClickedSaveMethod)
ON_BN_CLICKED(1081, &CGamma_LUTDlg::OnBnClickedChangeImage)
ON_STN_DBLCLK(1079, &CGamma_LUTDlg::OnStnDblclickImage)
ON_WM_PAINT()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CGamma_LUTDlg::CGamma_LUTDlg(CWnd* pParent) : CTestPageDlg(IDD, L"GAMMA_LUT", pParent) {}

CGamma_LUTDlg::~CGamma_LUTDlg() = default;

BOOL CGamma_LUTDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddItem(L"Gamma Enable");
    AddItem(L"LUT Enable");
    AddItem(L"Gamma");
    AddItem(L"LUT");
    CreatePageEvent();
    LoadMethodPanel();
    ResetGamma();
    return TRUE;
}

// The pages are created before any connection, so at start-up this writes nothing.
void CGamma_LUTDlg::ResetGamma() {
    if (!IsConnected())
        return;
    const MIL_DOUBLE dGamma = 1.0;
    m_pMainDlg->SetFeature(kGamma, FEATURE_VALUE, &dGamma);
    m_pMainDlg->SetFeature(kGammaEnable, FEATURE_VALUE_AS_STRING, L"0");
    m_pMainDlg->CheckMilError(L"Gamma_LUT");
}

MIL_INT64 CGamma_LUTDlg::LutValue(MIL_INT64 nIndex, MIL_INT64 nMax, double dExponent) {
    const double k = 1.0 / static_cast<double>(nMax);
    return static_cast<MIL_INT64>(
        std::pow(static_cast<double>(nIndex) * k, dExponent) * static_cast<double>(nMax) + 0.5);
}

void CGamma_LUTDlg::WriteEnable(std::size_t nIndex, int nBoxId, LPCTSTR lpszFeature) {
    if (!IsConnected())
        return;
    StartItem(nIndex);
    const MIL_BOOL nEnable = IsDlgButtonChecked(nBoxId) == BST_CHECKED ? 1 : 0;
    m_pMainDlg->SetFeature(lpszFeature, FEATURE_VALUE, &nEnable);
    if (!m_pMainDlg->CheckMilError(lpszFeature)) {
        m_vecItems[nIndex].bOk = 0;
        return;
    }
    // The camera keeps at most one of the two on, so switching one on may have switched the other off.
    MIL_BOOL nGamma = 0;
    MIL_BOOL nLut = 0;
    m_pMainDlg->GetFeature(kGammaEnable, FEATURE_VALUE, &nGamma);
    m_pMainDlg->GetFeature(kLutEnable, FEATURE_VALUE, &nLut);
    CheckDlgButton(IDC_GAMMA_ENABLE, nGamma ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_LUT_ENABLE, nLut ? BST_CHECKED : BST_UNCHECKED);
}

void CGamma_LUTDlg::OnBnClickedGammaEnable() {
    WriteEnable(ITEM_GAMMA_ENABLE, IDC_GAMMA_ENABLE, kGammaEnable);
}

void CGamma_LUTDlg::OnBnClickedLutEnable() {
    WriteEnable(ITEM_LUT_ENABLE, IDC_LUT_ENABLE, kLutEnable);
}

void CGamma_LUTDlg::OnBnClickedGamma04() {
    if (!IsConnected())
        return;
    StartItem(ITEM_GAMMA);
    const MIL_DOUBLE dGamma = 0.4;
    m_pMainDlg->SetFeature(kGamma, FEATURE_VALUE, &dGamma);
    CheckItemWrite(ITEM_GAMMA, kGamma);
}

BOOL CGamma_LUTDlg::WriteLut(double dExponent) {
    MIL_INT64 nMin = 0;
    MIL_INT64 nMax = 0;
    MIL_INT64 nInc = 0;
    m_pMainDlg->GetFeature(kLutIndex, FEATURE_MIN, &nMin);
    m_pMainDlg->GetFeature(kLutIndex, FEATURE_MAX, &nMax);
    m_pMainDlg->GetFeature(kLutIndex, FEATURE_INCREMENT, &nInc);
    // The walk needs a positive step to end and a positive maximum to scale by; a negative index has no
    // value on the curve.
    if (nMax <= 0 || nInc <= 0 || nMin < 0)
        return FALSE;
    // A minimum above the maximum is a table of no entries: nothing to write.
    if (nMin > nMax)
        return TRUE;
    // Errors are gathered by the one query after the table; a refused entry does not stop the walk.
    for (MIL_INT64 i = nMin;; i += nInc) {
        const MIL_INT64 nValue = LutValue(i, nMax, dExponent);
        m_pMainDlg->SetFeature(kLutIndex, FEATURE_VALUE, &i);
        m_pMainDlg->SetFeature(kLutValue, FEATURE_VALUE, &nValue);
        if (i > nMax - nInc) // the next index would pass the maximum (or overflow)
            break;
    }
    return TRUE;
}

BOOL CGamma_LUTDlg::CheckLutWrite(BOOL bRangeOk, LPCTSTR lpszWord) {
    if (!m_pMainDlg->CheckMilError(lpszWord))
        return FALSE;
    if (bRangeOk)
        return TRUE;
    CString strMessage;
    strMessage.Format(L"ERROR : '%s'", lpszWord);
    AfxMessageBox(strMessage);
    return FALSE;
}

BOOL CGamma_LUTDlg::CheckRestore(BOOL bRangeOk, LPCTSTR lpszWord) {
    // A refused write may succeed on another try, so the page stays for it. A range the table cannot be
    // walked over is reported too, but no try would change it: the verdict goes on.
    if (!m_pMainDlg->CheckMilError(lpszWord))
        return FALSE;
    CheckLutWrite(bRangeOk, lpszWord);
    return TRUE;
}

// The enable that is on goes off while the table is written and comes back on afterwards; after a failed
// table it stays off.
void CGamma_LUTDlg::OnBnClickedLut25() {
    CWaitCursor wait;
    if (!IsConnected())
        return;
    StartItem(ITEM_LUT);
    const BOOL bGamma = IsDlgButtonChecked(IDC_GAMMA_ENABLE) == BST_CHECKED;
    const BOOL bLut = IsDlgButtonChecked(IDC_LUT_ENABLE) == BST_CHECKED;
    const MIL_BOOL nOff = 0;
    const MIL_BOOL nOn = 1;
    if (bGamma)
        m_pMainDlg->SetFeature(kGammaEnable, FEATURE_VALUE, &nOff);
    else if (bLut)
        m_pMainDlg->SetFeature(kLutEnable, FEATURE_VALUE, &nOff);

    const BOOL bRangeOk = WriteLut(2.5);
    if (!CheckLutWrite(bRangeOk, kLutIndex)) {
        m_vecItems[ITEM_LUT].bOk = 0;
        return;
    }
    if (bGamma)
        m_pMainDlg->SetFeature(kGammaEnable, FEATURE_VALUE, &nOn);
    else if (bLut)
        m_pMainDlg->SetFeature(kLutEnable, FEATURE_VALUE, &nOn);
}

void CGamma_LUTDlg::OnBnClickedPass() {
    if (ShowUntriedItems())
        return;
    Finish(TRUE);
}

void CGamma_LUTDlg::OnBnClickedFail() {
    Finish(FALSE);
}

// Gamma off, gamma 1.0, LUT off and the identity table; a failure keeps the page without a verdict.
void CGamma_LUTDlg::Finish(BOOL bPass) {
    CloseShowImage();
    FocusControl(IDC_GAMMA_ENABLE);
    if (!IsConnected())
        return;
    const MIL_BOOL nOff = 0;
    const MIL_DOUBLE dGamma = 1.0;
    m_pMainDlg->SetFeature(kGammaEnable, FEATURE_VALUE, &nOff);
    m_pMainDlg->SetFeature(kGamma, FEATURE_VALUE, &dGamma);
    m_pMainDlg->SetFeature(kLutEnable, FEATURE_VALUE, &nOff);
    const BOOL bRangeOk = WriteLut(1.0);
    if (!CheckRestore(bRangeOk, bPass ? L"Gamma_LUT" : kLutIndex))
        return;
    // Both switches are off now; the boxes say so, so that the next showing starts from the camera's state.
    CheckDlgButton(IDC_GAMMA_ENABLE, BST_UNCHECKED);
    CheckDlgButton(IDC_LUT_ENABLE, BST_UNCHECKED);
    HandOver(bPass);
}
