#pragma once
// The reverse X/Y page: two toggle buttons switch the camera's horizontal and vertical mirrors on and off;
// each button's text names the action of its next click. PASS and FAIL switch both mirrors off again, and
// a failed restore keeps the page open.

#include "CTestPageDlg.h"

class CReverseXYDlg : public CTestPageDlg {
public:
    enum { IDD = 156 };
    enum { IDC_REVERSE_X = 1116, IDC_REVERSE_Y = 1032, IDC_PASS = 1031, IDC_FAIL = 1033 };
    enum { ITEM_REVERSE_X = 0, ITEM_REVERSE_Y = 1 };

    explicit CReverseXYDlg(CWnd* pParent = nullptr);
    ~CReverseXYDlg() override;

    BOOL OnInitDialog() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnBnClickedReverseX();
    void OnBnClickedReverseY();
    void OnBnClickedPass();
    void OnBnClickedFail();

protected:
    DECLARE_MESSAGE_MAP()

private:
    // "ON" writes 1 and relabels the button "OFF", "OFF" writes 0 and relabels it "ON"; any other text
    // does nothing.
    void ToggleMirror(int nButtonId, LPCTSTR lpszFeature);
    void Finish(BOOL bPass);
};
