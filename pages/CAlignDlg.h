#pragma once
// The alignment page: keeps the alignment parameters (axis position, tolerances, tolerance segments,
// edge-box sizes and zoom) in the test set and hands them to the display, which draws the cross, the
// segments and the magnified edge boxes; the operator clicks the features in the boxes and reads the
// measured values here. There are no sub-steps: PASS only asks whether the check was done, and both
// verdicts finish with or without a camera.

#include "CTestPageDlg.h"

class CAlignDlg : public CTestPageDlg {
public:
    enum { IDD = 153 };
    enum {
        IDC_OVERLAY = 1057,
        IDC_SCALE = 1058,
        IDC_ZOOM = 1096,
        IDC_CENTER_X = 1088,
        IDC_CENTER_Y = 1090,
        IDC_THRESHOLD_X = 1094,
        IDC_THRESHOLD_Y = 1095,
        IDC_TOP = 1097,
        IDC_BOTTOM = 1099,
        IDC_LEFT = 1098,
        IDC_RIGHT = 1100,
        IDC_BOX_WIDTH1 = 1101,
        IDC_BOX_HEIGHT1 = 1103,
        IDC_BOX_WIDTH2 = 1104,
        IDC_BOX_HEIGHT2 = 1102,
        IDC_TEMP_COORD = 1143,
        IDC_SAVE_PARAM = 1003,
        IDC_PASS = 1031,
        IDC_FAIL = 1032,
    };
    static constexpr UINT_PTR TIMER_EDGE_VALUES = 0x8064;
    static constexpr UINT TIMER_PERIOD_MS = 100;
    static constexpr int DEFAULT_ZOOM = 4;

    explicit CAlignDlg(CWnd* pParent = nullptr);
    ~CAlignDlg() override;

    BOOL OnInitDialog() override;
    // Esc never closes the page.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Runner: reads section "ALIGN" of the test set into the alignment values, shows them, and switches
    // the display's overlay and edge boxes on.
    void LoadParameters();

    void OnDestroy();
    void OnBnClickedOverlay();
    void OnBnClickedScale();
    // Every parameter edit: its value goes to its alignment value at once.
    void OnEnChangeParam(UINT nID);
    void OnBnClickedTempCoord();
    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnBnClickedSaveParam();
    // The reduced key pad: 3 Space, 8 PASS, 16 FAIL.
    LRESULT OnKeypadMessage(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    // The display's frame images again for its own frame size and format (the edge boxes follow the zoom
    // and the switch), and a repaint.
    void RebuildDisplay();
    void Finish(BOOL bPass);
};
