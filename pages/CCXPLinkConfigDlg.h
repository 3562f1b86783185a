#pragma once
// The CoaXPress link-configuration page: each step switches the camera's link configuration with live
// acquisition stopped around the write, while the operator watches the image. PASS and FAIL return the
// camera to CXP6_X1. No write of this page is checked.

#include "CTestPageDlg.h"

class CCXPLinkConfigDlg : public CTestPageDlg {
public:
    enum { IDD = 158 };
    enum { IDC_CXP1_X1 = 1118, IDC_CXP1_X6 = 1119, IDC_PASS = 1031, IDC_FAIL = 1032 };
    enum { ITEM_CXP1_X1 = 0, ITEM_CXP1_X6 = 1 };

    explicit CCXPLinkConfigDlg(CWnd* pParent = nullptr);
    ~CCXPLinkConfigDlg() override;

    BOOL OnInitDialog() override;

    void OnBnClickedCxp1X1();
    void OnBnClickedPass();
    void OnBnClickedCxp1X6();
    void OnBnClickedFail();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void WriteLinkConfiguration(LPCTSTR lpszLink);
    void Finish(BOOL bPass);
};
