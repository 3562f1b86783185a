// The brightness measurement windows: per-column means on a grey camera (drawn as bars), per-channel
// means over the Bayer sites on a colour camera, with their values drawn on the display image and
// written into the main window.
#include "CDisplayDlg.h"

#include "BrightWindows.h"
#include "CKavrinoDlg.h"
#include "DisplayTools.h"
#include "LockedBitmap.h"

#include <algorithm>
#include <cstring>

namespace {

// The colour of the column bars, as the display image stores it (blue, green, red): red 0, green 128,
// blue 255.
constexpr BYTE kBarColour[3] = {255, 128, 0};
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
    // A window that is not read reads 0, as on a colour camera: in brightness mode it must not take the
    // value of the window measured before it, whose deviation would then read 0 and could pass.
    std::memset(m_profile, 0, sizeof(m_profile));
    if (!WindowInsideImage(nLeft, nTop, nWidth, nHeight) ||
        !GetColumnProfile(nLeft, nTop, nWidth, nHeight, m_profile)) {
        if (pResult)
            *pResult = 0;
        return;
    }

    if (Gdiplus::Graphics* graphics = DisplayGraphics()) {
        graphics->DrawRectangle(&Tools().windowFrame, nLeft, nTop, nWidth, nHeight);
        DrawColumnBars(nLeft, nTop + nHeight, nWidth, m_profile);
    }
    if (pResult)
        *pResult = SumEntries(m_profile, nWidth) / nWidth;
}

void CDisplayDlg::DrawColumnBars(int nLeft, int nBottom, int nWidth, const BYTE* pProfile) {
    if (!m_pDispImage || !m_pDispImage->m_pBitmap || nWidth <= 0)
        return;
    // A bar covers the pixels from the window's bottom line up to its height, both ends included (as a
    // line of the thinnest pen would); bright columns reach above the window. Kept inside the image.
    const int tallest = *std::max_element(pProfile, pProfile + nWidth);
    const int left = std::max(nLeft, 0);
    const int right = std::min(nLeft + nWidth, m_pDispImage->m_nWidth);
    const int top = std::max(nBottom - tallest, 0);
    const int bottom = std::min(nBottom, m_pDispImage->m_nHeight - 1);
    if (left >= right || top > bottom)
        return;
    LockedBitmap disp(m_pDispImage->m_pBitmap, left, top, right - left, bottom - top + 1,
                      PixelFormat24bppRGB);
    if (!disp.Ok())
        return;
    for (int y = top; y <= bottom; ++y) {
        BYTE* row = disp.Row(y - top);
        for (int x = left; x < right; ++x) {
            if (y < nBottom - pProfile[x - nLeft])
                continue;
            BYTE* pixel = row + 3 * static_cast<std::ptrdiff_t>(x - left);
            std::memcpy(pixel, kBarColour, sizeof(kBarColour));
        }
    }
}

void CDisplayDlg::MeasureRgbWindow(int nLeft, int nTop, int nWidth, int nHeight, int* pResult) {
    if (Gdiplus::Graphics* graphics = DisplayGraphics())
        graphics->DrawRectangle(&Tools().windowFrame, nLeft, nTop, nWidth, nHeight);
    std::memset(m_profile, 0, sizeof(m_profile));
    const int hw = nWidth > 0 ? nWidth / 2 : 0;
    const bool inside = WindowInsideImage(nLeft, nTop, nWidth, nHeight) != 0;
    // Parity in image coordinates, the mosaic's red site at (0, 0).
    const bool leftEven = (nLeft & 1) == 0;
    const bool topEven = (nTop & 1) == 0;
    // The sum of the plane that starts dx columns and dy rows into the window. A window that does not lie
    // inside the image (or is wider than the profile) reads 0 and leaves the profile as it was: its half
    // width may run past the profile, and its corner, any int, is not offset.
    auto planeSum = [&](int dx, int dy) {
        if (!inside)
            return 0;
        GetPlaneProfile(nLeft, nTop, nWidth, nHeight, m_profile, nLeft + dx, nTop + dy);
        return SumEntries(m_profile, hw);
    };

    if (m_bShowRed) {
        const int sum = planeSum(leftEven ? 0 : 1, topEven ? 0 : 1);
        if (pResult)
            *pResult = hw ? sum / hw : 0;
    }
    if (m_bShowGreen) {
        int sum = 0;
        if (leftEven != topEven)
            sum = planeSum(0, 0) + planeSum(1, 1);
        else
            sum = planeSum(1, 0) + planeSum(0, 1);
        // Two planes of hw columns each: their mean. (For an odd width the column left over is not
        // sampled, so it is not counted either.)
        if (pResult)
            *pResult = hw ? sum / (2 * hw) : 0;
    }
    if (m_bShowBlue) {
        const int sum = planeSum(leftEven ? 1 : 0, topEven ? 1 : 0);
        if (pResult)
            *pResult = hw ? sum / hw : 0;
    }
}

void CDisplayDlg::DrawValueLabel(LPCTSTR lpszName, int nValue, float x, float y,
                                 Gdiplus::Graphics* pGraphics) {
    Gdiplus::Graphics* graphics = pGraphics ? pGraphics : DisplayGraphics();
    if (!graphics)
        return;
    FormatText(L"%ls:%d", lpszName, nValue);
    DisplayTools& tools = Tools();
    graphics->DrawString(m_szText, -1, &tools.font, Gdiplus::PointF(x, y), &tools.valueLabel);
}

void CDisplayDlg::MeasureWindow(int nIndex, float fLabelLift, int* pValue) {
    const int l = g_rcBrightWindow[nIndex][0];
    const int t = g_rcBrightWindow[nIndex][1];
    const int w = g_rcBrightWindow[nIndex][2];
    const int h = g_rcBrightWindow[nIndex][3];
    const float x = static_cast<float>(l);
    // The windows are any int (from the test-set file and the pages' edits): summed in 64 bits.
    const float y = static_cast<float>(static_cast<long long>(t) + h) - fLabelLift;
    if (!m_pMainDlg || !m_pMainDlg->m_bColorCamera) {
        MeasureAverageWindow(l, t, w, h, pValue);
        DrawValueLabel(_T("Average"), *pValue, x, y, nullptr);
        return;
    }
    MeasureRgbWindow(l, t, w, h, pValue);
    if (m_bShowRed)
        DrawValueLabel(_T("Red"), *pValue, x, y, nullptr);
    if (m_bShowGreen)
        DrawValueLabel(_T("Green"), *pValue, x, y, nullptr);
    if (m_bShowBlue)
        DrawValueLabel(_T("Blue"), *pValue, x, y, nullptr);
}

void CDisplayDlg::MeasureCentreWindow() {
    int value = 0;
    MeasureWindow(0, 0.0f, &value);
    if (m_pMainDlg)
        m_pMainDlg->m_nBrightAverage = value;
}

void CDisplayDlg::MeasureBrightWindows() {
    // One value for the whole tick; a window that is not measured reads 0.
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
