#pragma once
// The decimation page: the image-mode selector switches the camera into horizontal and vertical
// decimation (factor 2) and back (factor 1); PASS and FAIL return it to the plain region-of-interest mode.

#include "CTestPageDlg.h"

class CDecimationDlg : public CTestPageDlg {
public:
    enum { IDD = 160 };
    enum { IDC_ON = 1122, IDC_OFF = 1003, IDC_PASS = 1031, IDC_FAIL = 1032 };
    enum { ITEM_ON = 0, ITEM_OFF = 1 };

    explicit CDecimationDlg(CWnd* pParent = nullptr);
    ~CDecimationDlg() override;

    BOOL OnInitDialog() override;

    void OnBnClickedOn();
    void OnBnClickedOff();
    void OnBnClickedPass();
    void OnBnClickedFail();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void Finish(BOOL bPass);
};
