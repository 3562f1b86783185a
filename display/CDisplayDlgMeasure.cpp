// The brightness measurement windows: per-column means on a grey camera (drawn as bars), per-channel
// means over the Bayer sites on a colour camera, with their values drawn on the display image and
// written into the main window.
#include "CDisplayDlg.h"

#include "BrightWindows.h"
#include "CKavrinoDlg.h"
#include "LockedBitmap.h"

#include <cstring>

namespace {

const wchar_t* const kLabelFont = L"맑은고딕";
constexpr float kLabelSize = 24.0f;
// The bottom windows sit at the image's bottom edge: their labels go inside them.
constexpr float kBottomLabelLift = 24.0f;

int SumEntries(const BYTE* profile, int count) {
    int sum = 0;
    for (int i = 0; i < count; ++i)
        sum += profile[i];
    return sum;
}

} // namespace

BOOL CDisplayDlg::WindowInsideImage(int nLeft, int nTop, int nWidth, int nHeight) const {
    // A window of no size, one wider than the profile, or one reaching outside the frame is not
    // measured: the means divide by its size and every sample read must lie inside the source image.
    if (!m_pSrcImage || !m_pSrcImage->m_pBitmap || nWidth <= 0 || nHeight <= 0 || nWidth > PROFILE_SIZE)
        return FALSE;
    const int W = std::min(m_nWidth, m_pSrcImage->m_nWidth);
    const int H = std::min(m_nHeight, m_pSrcImage->m_nHeight);
    return nLeft >= 0 && nTop >= 0 && nLeft <= W - nWidth && nTop <= H - nHeight;
}

BOOL CDisplayDlg::GetColumnProfile(int nLeft, int nTop, int nWidth, int nHeight, BYTE* pProfile) {
    if (!pProfile || !WindowInsideImage(nLeft, nTop, nWidth, nHeight))
        return FALSE;
    LockedBitmap src(m_pSrcImage->m_pBitmap, nLeft, nTop, nWidth, nHeight, PixelFormat8bppIndexed);
    if (!src.Ok())
        return FALSE;
    unsigned sums[PROFILE_SIZE] = {};
    for (int y = 0; y < nHeight; ++y) {
        const BYTE* row = src.Row(y);
        for (int x = 0; x < nWidth; ++x)
            sums[x] += row[x];
    }
    for (int x = 0; x < nWidth; ++x)
        pProfile[x] = static_cast<BYTE>(sums[x] / static_cast<unsigned>(nHeight));
    return TRUE;
}

BOOL CDisplayDlg::GetPlaneProfile(int nLeft, int nTop, int nWidth, int nHeight, BYTE* pProfile, int nStartX,
                                  int nStartY) {
    if (!pProfile || !WindowInsideImage(nLeft, nTop, nWidth, nHeight))
        return FALSE;
    // A plane starts on the window's first or second column and row; a window one row high has no
    // second row of sites to average (the mean would divide by zero).
    const int rows = nHeight / 2;
    if (rows == 0 || nStartX < nLeft || nStartX > nLeft + 1 || nStartY < nTop || nStartY > nTop + 1)
        return FALSE;
    LockedBitmap src(m_pSrcImage->m_pBitmap, nLeft, nTop, nWidth, nHeight, PixelFormat8bppIndexed);
    if (!src.Ok())
        return FALSE;
    const int x0 = nStartX - nLeft;
    const int y0 = nStartY - nTop;
    const int columns = (nWidth - x0 + 1) / 2; // sites x0, x0 + 2, ... inside the window
    unsigned sums[PROFILE_SIZE / 2 + 1] = {};
    for (int k = 0; k < rows; ++k) {
        const BYTE* row = src.Row(y0 + 2 * k);
        for (int i = 0; i < columns; ++i)
            sums[i] += row[x0 + 2 * i];
    }
    for (int i = 0; i < columns; ++i)
        pProfile[i] = static_cast<BYTE>(sums[i] / static_cast<unsigned>(rows));
    return TRUE;
}

void CDisplayDlg::MeasureAverageWindow(int nLeft, int nTop, int nWidth, int nHeight, int* pResult) {
    if (!WindowInsideImage(nLeft, nTop, nWidth, nHeight))
        return;
    std::memset(m_profile, 0, sizeof(m_profile));
    if (!GetColumnProfile(nLeft, nTop, nWidth, nHeight, m_profile))
        return;

    std::unique_ptr<Gdiplus::Graphics> own;
    if (Gdiplus::Graphics* graphics = DisplayGraphics(own)) {
        Gdiplus::Pen frame(Gdiplus::Color(255, 0, 0, 255), 0.0f);
        graphics->DrawRectangle(&frame, nLeft, nTop, nWidth, nHeight);
        // Each column's mean as a bar up from the window's bottom; bright columns reach above the window.
        Gdiplus::Pen bar(Gdiplus::Color(255, 0, 128, 255), 0.0f);
        const int bottom = nTop + nHeight;
        for (int i = 0; i < nWidth; ++i)
            graphics->DrawLine(&bar, nLeft + i, bottom, nLeft + i, bottom - m_profile[i]);
    }
    if (pResult)
        *pResult = SumEntries(m_profile, nWidth) / nWidth;
}

void CDisplayDlg::MeasureRgbWindow(int nLeft, int nTop, int nWidth, int nHeight, int* pResult) {
    std::unique_ptr<Gdiplus::Graphics> own;
    if (Gdiplus::Graphics* graphics = DisplayGraphics(own)) {
        Gdiplus::Pen frame(Gdiplus::Color(255, 0, 0, 255), 0.0f);
        graphics->DrawRectangle(&frame, nLeft, nTop, nWidth, nHeight);
    }
    std::memset(m_profile, 0, sizeof(m_profile));
    const int hw = nWidth > 0 ? nWidth / 2 : 0;
    const bool inside = WindowInsideImage(nLeft, nTop, nWidth, nHeight) != 0;
    // Parity in image coordinates, the mosaic's red site at (0, 0).
    const bool leftEven = (nLeft & 1) == 0;
    const bool topEven = (nTop & 1) == 0;
    // A plane that is not measured leaves the profile as it was.
    auto planeSum = [&](int startX, int startY) {
        if (inside)
            GetPlaneProfile(nLeft, nTop, nWidth, nHeight, m_profile, startX, startY);
        return SumEntries(m_profile, hw);
    };

    if (m_bShowRed) {
        const int sum = planeSum(leftEven ? nLeft : nLeft + 1, topEven ? nTop : nTop + 1);
        if (pResult)
            *pResult = hw ? sum / hw : 0;
    }
    if (m_bShowGreen) {
        int sum = 0;
        if (leftEven != topEven)
            sum = planeSum(nLeft, nTop) + planeSum(nLeft + 1, nTop + 1);
        else
            sum = planeSum(nLeft + 1, nTop) + planeSum(nLeft, nTop + 1);
        // Two planes of hw columns each: their mean. (For an odd width the column left over is not
        // sampled, so it is not counted either.)
        if (pResult)
            *pResult = hw ? sum / (2 * hw) : 0;
    }
    if (m_bShowBlue) {
        const int sum = planeSum(leftEven ? nLeft + 1 : nLeft, topEven ? nTop + 1 : nTop);
        if (pResult)
            *pResult = hw ? sum / hw : 0;
    }
}

void CDisplayDlg::DrawValueLabel(CString strName, int nValue, float x, float y,
                                 Gdiplus::Graphics* pGraphics) {
    std::unique_ptr<Gdiplus::Graphics> own;
    Gdiplus::Graphics* graphics = pGraphics ? pGraphics : DisplayGraphics(own);
    if (!graphics)
        return;
    CString text;
    text.Format(_T("%s:%d"), strName, nValue);
    Gdiplus::Font font(kLabelFont, kLabelSize, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush brush(Gdiplus::Color(255, 224, 75, 109));
    graphics->DrawString(text, -1, &font, Gdiplus::PointF(x, y), &brush);
}

void CDisplayDlg::MeasureWindow(int nIndex, float fLabelLift, int* pValue) {
    const int l = g_rcBrightWindow[nIndex][0];
    const int t = g_rcBrightWindow[nIndex][1];
    const int w = g_rcBrightWindow[nIndex][2];
    const int h = g_rcBrightWindow[nIndex][3];
    const float x = static_cast<float>(l);
    const float y = static_cast<float>(t + h) - fLabelLift;
    if (!m_pMainDlg || !m_pMainDlg->m_bColorCamera) {
        MeasureAverageWindow(l, t, w, h, pValue);
        DrawValueLabel(_T("Average"), *pValue, x, y, m_pDispGraphics);
        return;
    }
    MeasureRgbWindow(l, t, w, h, pValue);
    if (m_bShowRed)
        DrawValueLabel(_T("Red"), *pValue, x, y, m_pDispGraphics);
    if (m_bShowGreen)
        DrawValueLabel(_T("Green"), *pValue, x, y, m_pDispGraphics);
    if (m_bShowBlue)
        DrawValueLabel(_T("Blue"), *pValue, x, y, m_pDispGraphics);
}

void CDisplayDlg::MeasureCentreWindow() {
    int value = 0;
    MeasureWindow(0, 0.0f, &value);
    if (m_pMainDlg)
        m_pMainDlg->m_nBrightAverage = value;
}

void CDisplayDlg::MeasureBrightWindows() {
    // One value for the whole tick: a window that is not measured takes the value measured before it.
    int value = 0;
    MeasureWindow(0, 0.0f, &value);
    const int centre = value;
    // Windows in stored order (centre, left-top, right-top, left-bottom, right-bottom); deviations in
    // the main window's order (left-top, left-bottom, right-top, right-bottom).
    static const int kDevEntry[5] = {-1, 0, 2, 1, 3};
    for (int i = 1; i < 5; ++i) {
        MeasureWindow(i, i >= 3 ? kBottomLabelLift : 0.0f, &value);
        if (m_pMainDlg)
            m_pMainDlg->m_nBrightDev[kDevEntry[i]] = centre - value;
    }
}
