#include "CBinningDlg.h"

CBinningDlg::CBinningDlg(CWnd* pParent)
    : CImageModePageDlg(IDD, L"BINNING", L"BinningVertical", TRUE, FALSE, pParent) {}

CBinningDlg::~CBinningDlg() = default;
