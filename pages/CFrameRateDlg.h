#pragma once
// The frame-rate page: the operator applies the test set's frame values from a list and switches the
// camera's frame-rate limit on and off, watching the measured rate. A requested rate above the camera's
// maximum is capped to it. PASS and FAIL switch the limit off and keep the page open when the camera
// reports an error for that write; the last rate written stays in the camera.
//
// The main window hands the page its list of frame values after constructing it and before creating it.
// Two hidden buttons derive a frame rate from the camera's pixel-clock register; no operator reaches them.

#include "CTestPageDlg.h"

class CStringList;

class CFrameRateDlg : public CTestPageDlg {
public:
    enum { IDD = 144 };
    enum { IDC_FRAME10 = 1031, IDC_FRAME50 = 1032, IDC_FRAME_MODE = 1035, IDC_FRAME_RATE = 1014 };
    enum { ITEM_FRAME_MODE = 0, ITEM_FRAME_RATE = 1 };

    explicit CFrameRateDlg(CWnd* pParent = nullptr);
    ~CFrameRateDlg() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnBnClickedPass();
    void OnBnClickedFail();
    void OnBnClickedFrame10();
    void OnBnClickedFrame50();
    void OnBnClickedFrameMode();
    void OnCbnSelchangeFrameRate();
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // The shared key pad, but code 4 on the list applies its entries one after another.
    LRESULT OnKeypadMessage(WPARAM wParam, LPARAM lParam);

    // The shared button painter, and the caption once more over the whole face before the face is
    // shrunk: a pressed control shows its caption twice, the second one a pixel lower right.
    void DrawOwnerButton(LPDRAWITEMSTRUCT lpDrawItemStruct, UINT nIDCtl);

    // The limit is on (caption of the toggle "ON").
    BYTE m_bFrameMode = 0;
    // The test set's frame values; not owned.
    CStringList* m_pFrameRateList = nullptr;
    // The list entry the next key-pad press applies; runs on over the page's whole life.
    int m_nComboIdx = 0;

protected:
    DECLARE_MESSAGE_MAP()

private:
    CComboBox* FrameRateList() const;
    // The selected entry's rate, capped to the camera's maximum. Nothing is written while no entry is
    // selected (a test set without frame values), nor when the maximum cannot be read (that is reported).
    void WriteCappedFrameRate();
    void Finish(BOOL bPass);
    void ShowGenICamError(const char* pszDescription);
};
