#include "BrightWindows.h"

#include "CDisplayDlg.h"
#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"

int g_rcBrightWindow[5][4] = {};

const wchar_t* const kBrightSection = L"BRIGHT";

const BrightWindowField g_brightWindowFields[kBrightFieldCount] = {
    {L"Center left", 1089, 0, 0},           {L"Center top", 1091, 0, 1},
    {L"Center right", 1092, 0, 2},          {L"Center bottom", 1093, 0, 3},
    {L"LeftTopRect left", 1105, 1, 0},      {L"LeftTopRect top", 1106, 1, 1},
    {L"LeftTopRect right", 1107, 1, 2},     {L"LeftTopRect bottom", 1108, 1, 3},
    {L"RightTopRect left", 1109, 2, 0},     {L"RightTopRect top", 1110, 2, 1},
    {L"RightTopRect right", 1111, 2, 2},    {L"RightTopRect bottom", 1112, 2, 3},
    {L"LeftBottomRect left", 1117, 3, 0},   {L"LeftBottomRect top", 1118, 3, 1},
    {L"LeftBottomRect right", 1119, 3, 2},  {L"LeftBottomRect bottom", 1120, 3, 3},
    {L"RightBottomRect left", 1113, 4, 0},  {L"RightBottomRect top", 1114, 4, 1},
    {L"RightBottomRect right", 1115, 4, 2}, {L"RightBottomRect bottom", 1116, 4, 3},
};

namespace {

constexpr int kWindowSize = 100;
constexpr int kCornerInset = 10;
constexpr DWORD kValueBuffer = 128;

int ClampCount(int nCount) {
    return nCount < 0 ? 0 : (nCount > kBrightFieldCount ? kBrightFieldCount : nCount);
}

} // namespace

int BrightWindowDefault(int nWindow, int nField) {
    if (nField >= 2)
        return kWindowSize;
    const bool bX = nField == 0;
    const int nExtent = bX ? g_nImageWidth : g_nImageHeight;
    // Windows 1 and 3 hug the left edge, 2 and 4 the right; 1 and 2 the top, 3 and 4 the bottom.
    switch (nWindow) {
    case 0:
        return nExtent / 2 - kWindowSize / 2;
    case 1:
        return kCornerInset;
    case 2:
        return bX ? nExtent - kWindowSize - kCornerInset : kCornerInset;
    case 3:
        return bX ? kCornerInset : nExtent - kWindowSize - kCornerInset;
    default:
        return nExtent - kWindowSize - kCornerInset;
    }
}

void LoadBrightWindows(int nCount) {
    nCount = ClampCount(nCount);
    for (int i = 0; i < nCount; ++i) {
        const BrightWindowField& field = g_brightWindowFields[i];
        wchar_t szValue[kValueBuffer] = {};
        const DWORD nRead = GetPrivateProfileString(kBrightSection, field.key, nullptr, szValue, kValueBuffer,
                                                    theApp.g_strIniPath);
        g_rcBrightWindow[field.nWindow][field.nField] =
            nRead > 0 ? _wtoi(szValue) : BrightWindowDefault(field.nWindow, field.nField);
    }
}

bool SaveBrightWindows(int nCount) {
    nCount = ClampCount(nCount);
    bool bWritten = true;
    for (int i = 0; i < nCount; ++i) {
        const BrightWindowField& field = g_brightWindowFields[i];
        CString strValue;
        strValue.Format(L"%d", g_rcBrightWindow[field.nWindow][field.nField]);
        if (!WritePrivateProfileString(kBrightSection, field.key, strValue, theApp.g_strIniPath))
            bWritten = false;
    }
    return bWritten;
}

void ShowBrightWindows(CWnd* pPage, int nCount) {
    nCount = ClampCount(nCount);
    for (int i = 0; i < nCount; ++i) {
        const BrightWindowField& field = g_brightWindowFields[i];
        pPage->SetDlgItemInt(field.nEditId, static_cast<UINT>(g_rcBrightWindow[field.nWindow][field.nField]),
                             TRUE);
    }
}

void StoreBrightEdit(CWnd* pPage, int nEditId, int nCount) {
    nCount = ClampCount(nCount);
    for (int i = 0; i < nCount; ++i) {
        const BrightWindowField& field = g_brightWindowFields[i];
        if (field.nEditId == nEditId) {
            g_rcBrightWindow[field.nWindow][field.nField] =
                static_cast<int>(pPage->GetDlgItemInt(nEditId, nullptr, TRUE));
            return;
        }
    }
}

void SelectBrightChannel(CKavrinoDlg* pMainDlg, bool bRed, bool bGreen, bool bBlue) {
    if (!pMainDlg || !pMainDlg->m_pDisplayDlg)
        return;
    CDisplayDlg* pDisplay = pMainDlg->m_pDisplayDlg;
    pDisplay->m_bShowRed = bRed;
    pDisplay->m_bShowGreen = bGreen;
    pDisplay->m_bShowBlue = bBlue;
}

void SetBrightReadoutFont(CWnd* pPage, CFont& font, int nStaticId) {
    font.CreateFont(30, 20, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"굴림체");
    if (CWnd* pStatic = pPage->GetDlgItem(nStaticId))
        pStatic->SetFont(&font, TRUE);
}
