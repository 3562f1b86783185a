#pragma once
// The decimation page: horizontal and vertical decimation on (factor 2) and off; no step checks its
// write, and the verdict closes the reference picture's window.

#include "CImageModePageDlg.h"

class CDecimationDlg : public CImageModePageDlg {
public:
    enum { IDD = 160 };

    explicit CDecimationDlg(CWnd* pParent = nullptr);
    ~CDecimationDlg() override;
};
