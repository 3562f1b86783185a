// The camera controls of the main window: exposure, gain slider, pixel format, and the hidden tap-mode
// radios and address field.

#include "CKavrinoDlg.h"

#include <cmath>

namespace {
// The camera accepts no shorter exposure than this.
constexpr double kExposureFloor = 4.0;
// Slider position 0 is the gain 1.0; each of the four steps adds a quarter of the range above it.
constexpr double kGainOffset = 1.0;
constexpr double kGainStepFactor = 0.25;
constexpr int kGainPositions = 4;
} // namespace

BOOL CKavrinoDlg::ShowExposure() {
    CString strExposure;
    strExposure.Format(L"%lf", m_dExposure);
    SetDlgItemText(IDC_EXPOSURE, strExposure);
    return TRUE;
}

void CKavrinoDlg::OnBnClickedExposureApply() {
    CString strExposure;
    GetDlgItemText(IDC_EXPOSURE, strExposure);
    const double dValue = _wtof(strExposure);
    // The exposure page restores the saved value, which keeps what the operator typed.
    m_dExposure = dValue;
    m_dSavedExposure = dValue;
    const double dWrite = dValue < kExposureFloor ? kExposureFloor : dValue;
    SetFeature(L"ExposureTime", FEATURE_VALUE, &dWrite);
}

void CKavrinoDlg::OnBnClickedExposureMin() {
    ApplyExposureLimit(FEATURE_MIN);
}

void CKavrinoDlg::OnBnClickedExposureMax() {
    ApplyExposureLimit(FEATURE_MAX);
}

void CKavrinoDlg::ApplyExposureLimit(MIL_INT64 limit) {
    // Unreadable (no camera): the shown exposure stays, raised to the floor. The saved exposure stays.
    GetFeature(L"ExposureTime", limit, &m_dExposure);
    if (m_dExposure < kExposureFloor)
        m_dExposure = kExposureFloor;
    SetFeature(L"ExposureTime", FEATURE_VALUE, &m_dExposure);
    ShowExposure();
}

double CKavrinoDlg::GainStepFor(double dMax) {
    return (dMax - kGainOffset) * kGainStepFactor;
}

int CKavrinoDlg::GainSliderPosition(double dGain, double dStep) {
    if (dStep == 0.0)
        return 0;
    // Kept on the slider: a camera whose maximum is below 1.0 gives a negative step, and a value the
    // slider cannot show must not reach the integer conversion.
    const double dPosition = std::trunc(dGain / dStep);
    if (!(dPosition >= 0.0))
        return 0;
    if (dPosition > kGainPositions)
        return kGainPositions;
    return static_cast<int>(dPosition);
}

void CKavrinoDlg::InitGainSlider() {
    m_sliderGain.SetRange(0, kGainPositions, FALSE);

    double dMax = 0.0;
    GetFeature(L"Gain", FEATURE_MAX, &dMax);
    m_dGainStep = GainStepFor(dMax);

    double dGain = 0.0;
    GetFeature(L"Gain", FEATURE_VALUE, &dGain);

    const int nPosition = GainSliderPosition(dGain, m_dGainStep);
    m_sliderGain.SetPos(nPosition);
    SetDlgItemInt(IDC_GAIN_STEP, static_cast<UINT>(nPosition + 1), TRUE);
}

void CKavrinoDlg::OnNMReleasedcaptureGainSlider(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
    CWnd* pFocus = GetFocus();
    if (pFocus == nullptr || pFocus->m_hWnd != m_sliderGain.m_hWnd)
        return;

    const int nPosition = m_sliderGain.GetPos();
    SetDlgItemInt(IDC_GAIN_STEP, static_cast<UINT>(nPosition + 1), TRUE);

    double dGain = 0.0;
    if (nPosition == kGainPositions)
        GetFeature(L"Gain", FEATURE_MAX, &dGain);
    else
        dGain = nPosition * m_dGainStep + kGainOffset;
    SetFeature(L"Gain", FEATURE_VALUE, &dGain);
}

void CKavrinoDlg::OnCbnSelchangePixelFormat() {
    CWaitCursor wait;

    StopLive();
    const int nSel = m_cmbPixelFormat.GetCurSel();
    if (nSel < 0)
        return;
    CString strFormat;
    m_cmbPixelFormat.GetLBText(nSel, strFormat);

    // The grab buffer's depth follows the name, so it is set before the reconnection.
    m_strPixelFormat = strFormat;
    SetFeature(L"PixelFormat", FEATURE_VALUE_AS_STRING, strFormat.GetString());
    MilDisconnect();

    CString strDcf;
    const bool bTenBit = strFormat.Right(2) == L"10";
    if (m_pDcfList != nullptr) {
        POSITION pos = m_pDcfList->FindIndex(bTenBit ? 1 : 0);
        if (pos != nullptr)
            strDcf = m_pDcfList->GetAt(pos);
    }
    // Without a file, or when the digitizer cannot be allocated, the window is disconnected and says why.
    if (strDcf.IsEmpty()) {
        CString strReason;
        strReason.Format(L"%d비트 DCF파일을 선택하지 않았습니다.", bTenBit ? 10 : 8);
        ConnectionLost(strReason);
        return;
    }
    if (Reconnect(strDcf))
        StartLive();
}

void CKavrinoDlg::OnIpnFieldchangedIpAddress(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
}
