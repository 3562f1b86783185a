#pragma once
// The region-of-interest page: eight steps shrink the grabbed window to fixed fractions of the camera's
// range and move the smaller window inside the full image, through the digitizer's own size and offset
// controls. The page keeps its own copy of the digitizer identifier (the main window hands it over at
// every connection) and writes the new frame size into the main window, so that live acquisition and
// the display follow. PASS and FAIL put the offsets back to 0 and the size back to the full frame.

#include "CTestPageDlg.h"
#include "Mil.h"

class CROIDlg : public CTestPageDlg {
public:
    enum { IDD = 130 };
    enum {
        IDC_WIDTH_25 = 1026,
        IDC_WIDTH_50 = 1028,
        IDC_OFFSETX_20 = 1037,
        IDC_OFFSETX_80 = 1038,
        IDC_HEIGHT_75 = 1034,
        IDC_HEIGHT_50 = 1033,
        IDC_OFFSETY_20 = 1040,
        IDC_OFFSETY_80 = 1041,
    };
    enum {
        ITEM_WIDTH_25,
        ITEM_WIDTH_50,
        ITEM_OFFSETX_20,
        ITEM_OFFSETX_80,
        ITEM_HEIGHT_75,
        ITEM_HEIGHT_50,
        ITEM_OFFSETY_20,
        ITEM_OFFSETY_80,
    };

    explicit CROIDlg(CWnd* pParent = nullptr);
    ~CROIDlg() override;

    // The geometry the steps write: the width scales the range above the minimum, the height the maximum
    // alone, the offset the free range beside the current size; each truncated, then a multiple of 4.
    static int ScaledWidth(MIL_INT64 nMin, MIL_INT64 nMax, double dFactor);
    static int ScaledHeight(MIL_INT64 nMax, double dFactor);
    static int ScaledOffset(MIL_INT64 nMax, MIL_INT nCurrent, double dFactor);

    // Written by the main window each time it allocates a digitizer; used only while it is connected.
    MIL_ID m_milDigitizer = M_NULL;
    CString m_strMethod;

    void OnBnClickedWidth25();
    void OnBnClickedWidth50();
    void OnBnClickedOffsetX20();
    void OnBnClickedOffsetX80();
    void OnBnClickedHeight75();
    void OnBnClickedHeight50();
    void OnBnClickedOffsetY20();
    void OnBnClickedOffsetY80();
    void OnBnClickedPass();
    void OnBnClickedFail();
    // The shared clean-up, and the key-pad list emptied.
    void OnDestroy();

    void DoDataExchange(CDataExchange* pDX) override;
    // Esc is swallowed; Enter still reaches the dialog manager.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Width or height step: with live acquisition stopped, the digitizer's size := the scaled size.
    void ChangeSize(std::size_t nItem, bool bHorizontal, double dFactor);
    // Offset step: moves the window while live acquisition runs; an offset of 0 writes nothing.
    void ChangeOffset(std::size_t nItem, bool bHorizontal, double dFactor);
    // Both offsets := 0; a failed horizontal reset ends the reset.
    void ResetOffsets();
    // The full frame read at connection, in the digitizer and in the main window.
    void RestoreFullSize();
    // One size control followed by the error query; TRUE when the digitizer took the size.
    BOOL WriteSize(bool bHorizontal, int nSize);
    void Finish(BOOL bPass);
};
