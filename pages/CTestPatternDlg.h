#pragma once
// The test-pattern page: the camera's grey horizontal ramp replaces the image and "OFF" brings the sensor
// image back, both written while live acquisition keeps running and both checked. PASS and FAIL switch the
// pattern off again and keep the page open when that write fails. The key pad drives the two step buttons.

#include "CTestPageDlg.h"

class CTestPatternDlg : public CTestPageDlg {
public:
    enum { IDD = 131 };
    enum { IDC_HORIZONTAL_RAMP = 1028, IDC_OFF = 1027 };
    enum { ITEM_HORIZONTAL_RAMP = 0, ITEM_OFF = 1 };

    explicit CTestPatternDlg(CWnd* pParent = nullptr);
    ~CTestPatternDlg() override;

    BOOL OnInitDialog() override;
    // Esc never closes the page.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnBnClickedPass();
    void OnBnClickedOff();
    void OnBnClickedHorizontalRamp();
    void OnBnClickedFail();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void WritePattern(std::size_t nIndex, LPCTSTR lpszPattern);
    void Finish(BOOL bPass);
};
