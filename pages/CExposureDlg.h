#pragma once
// The exposure page: two fixed exposure times and the camera's automatic exposure once and off, watched
// on the live image. PASS and FAIL restore the exposure the main window saved; no write of this page is
// checked. The key pad drives the four step buttons.

#include "CTestPageDlg.h"

class CExposureDlg : public CTestPageDlg {
public:
    enum { IDD = 145 };
    enum {
        IDC_EXPOSURE_4000 = 1031,
        IDC_EXPOSURE_20000 = 1032,
        IDC_AUTO_ONCE = 1033,
        IDC_AUTO_OFF = 1027,
        IDC_CHECK_ONCE = 1057,
        IDC_CHECK_CONTINUOUS = 1058,
    };
    enum { ITEM_EXPOSURE_4000 = 0, ITEM_EXPOSURE_20000 = 1, ITEM_AUTO_ONCE = 2, ITEM_AUTO_OFF = 3 };

    explicit CExposureDlg(CWnd* pParent = nullptr);
    ~CExposureDlg() override;

    // Esc never closes the page.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnBnClickedExposure4000();
    void OnBnClickedExposure20000();
    void OnBnClickedAutoOff();
    void OnBnClickedAutoOnce();
    void OnTimer(UINT_PTR nIDEvent);
    // The hidden automatic-exposure boxes: no operator reaches them, and a click does nothing.
    void OnBnClickedAutoCheck();

    CButton m_btnOnce;
    CButton m_btnContinuous;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    // Writes the exposure time and shows it in the main window's exposure edit.
    void ApplyExposure(double dExposure);
    void WriteExposureAuto(LPCTSTR lpszMode);
    void Finish(BOOL bPass);
};
