#pragma once
// The black-level page: the camera's black level at 20 % and at 80 % of its maximum, each write checked.
// PASS and FAIL put the black level back to its minimum and keep the page open when that fails.

#include "CTestPageDlg.h"
#include "Mil.h"

class CBlackLevelDlg : public CTestPageDlg {
public:
    enum { IDD = 155 };
    enum { IDC_20 = 1112, IDC_80 = 1113, IDC_PASS = 1031, IDC_FAIL = 1032 };
    enum { ITEM_MIN = 0, ITEM_MAX = 1 };

    explicit CBlackLevelDlg(CWnd* pParent = nullptr);
    ~CBlackLevelDlg() override;

    BOOL OnInitDialog() override;
    // Esc never closes the page.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnBnClicked20();
    void OnBnClicked80();

    // The share of the maximum, truncated toward zero.
    static MIL_INT64 BlackLevelFor(MIL_INT64 nMax, double dFactor);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    void WriteShare(std::size_t nIndex, double dFactor);
    void Finish(BOOL bPass);
};
