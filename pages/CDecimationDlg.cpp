#include "CDecimationDlg.h"

CDecimationDlg::CDecimationDlg(CWnd* pParent)
    : CImageModePageDlg(IDD, L"DECIMATION", L"DecimationHorizontalVertical", FALSE, TRUE, pParent) {}

CDecimationDlg::~CDecimationDlg() = default;
