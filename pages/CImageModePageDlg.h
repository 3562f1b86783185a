#pragma once
// The twin image-mode pages (binning, decimation): the selector "ImageModeSelector" switches the camera
// into a mode whose factor feature bears the same name, "On" with factor 2 and "Off" with factor 1, while
// the operator watches the live image. PASS and FAIL return the camera to the plain region-of-interest
// mode; the factor itself is not written back.

#include "CTestPageDlg.h"
#include "Mil.h"

class CImageModePageDlg : public CTestPageDlg {
public:
    enum { IDC_ON = 1122, IDC_OFF = 1003, IDC_PASS = 1031, IDC_FAIL = 1032 };
    enum { ITEM_ON = 0, ITEM_OFF = 1 };

    BOOL OnInitDialog() override;

    void OnBnClickedOn();
    void OnBnClickedOff();
    void OnBnClickedPass();
    void OnBnClickedFail();

protected:
    // bCheckOn: "On" queries the library's error after its write. bCloseShowImage: PASS and FAIL close the
    // reference picture's full-size window.
    CImageModePageDlg(UINT nIDTemplate, LPCTSTR lpszSection, LPCTSTR lpszMode, BOOL bCheckOn,
                      BOOL bCloseShowImage, CWnd* pParent);
    DECLARE_MESSAGE_MAP()

private:
    // With live acquisition stopped: the selector := the mode, then the factor.
    void SwitchImageMode(std::size_t nIndex, MIL_INT64 nFactor, BOOL bCheckWrite);
    void Finish(BOOL bPass);

    const CString m_strMode;
    const BOOL m_bCheckOn;
    const BOOL m_bCloseShowImage;
};
