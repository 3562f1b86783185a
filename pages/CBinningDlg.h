#pragma once
// The binning page: vertical binning on (factor 2) and off; only "On" checks its write, and the reference
// picture's window stays open at the verdict.

#include "CImageModePageDlg.h"

class CBinningDlg : public CImageModePageDlg {
public:
    enum { IDD = 159 };

    explicit CBinningDlg(CWnd* pParent = nullptr);
    ~CBinningDlg() override;
};
