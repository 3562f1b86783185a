#pragma once
// The live display: a top-level window of its own, maximised, that shows the latest frame 1:1 with
// scroll bars and mouse panning, and the overlays the test pages switch on (alignment cross and
// tolerance segments, four magnified edge boxes, brightness measurement windows). A 33 ms timer
// converts the main window's frame buffer and draws it; the measurements go back into the main window.
//
// Everything runs on the user-interface thread. The pages set the mode flags directly.

#include "Platform.h"
#include "CDialog.h"
#include "CCvImage.h"
#include "CMyCriticalSection.h"

#include <memory>
#include <vector>

class CKavrinoDlg;
class HeldFrame;
class CScrollBar;
struct DisplayTools;

namespace Gdiplus {
class Graphics;
}

class CDisplayDlg : public CDialog {
public:
    enum { IDD = 134 };
    // The drawing timer and its period.
    static constexpr UINT_PTR TIMER_DRAW = 0;
    static constexpr UINT DRAW_PERIOD_MS = 33;
    // Bytes of the per-column profile: the widest measurement window.
    static constexpr int PROFILE_SIZE = 8192;

    explicit CDisplayDlg(CWnd* pParent = nullptr);
    ~CDisplayDlg() override;

    using CDialog::Create;
    // Stores the main window and creates the display as a top-level window (the desktop is its parent).
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) override;
    BOOL OnInitDialog() override;
    // Enter and Esc reach the dialog manager as on every dialog; its OK and Cancel would hide the display
    // for the rest of the run with nothing to bring it back. The display has neither: it goes only with
    // the main window.
    void OnOK() override {}
    void OnCancel() override {}

    // Rebuilds every image for a frame size and pixel format, then the scroll bars.
    void SetImageFormat(int nWidth, int nHeight, CString strPixelFormat);
    // Rebuilds the four unmagnified edge boxes from g_nEdgeBoxSize.
    void CreateZoomImages();
    // Sets both scroll bars for the frame and client size and centres the view.
    void ResetScrollBars();
    // TRUE when m_ptDragStart lies in one of the four edge-box areas.
    BOOL HitTestEdgeBoxes();

    // One timer tick: conversion, frame-rate text, overlays, view copy, painting.
    void DrawFrame();
    // The cross of the temporary coordinate system, on the display image.
    void DrawClickCross();

    // Frame conversion: the main window's frame buffer into the source and display images.
    void ConvertFrame();
    void ConvertMono8();
    void ConvertMono10();
    void ConvertMono12();
    void ConvertBayerRG8();
    void ConvertBayerRG10();
    void ConvertBayerRG12();

    // Measurement windows (left, top, width, height in image pixels). A window that does not lie inside
    // the image is not measured and its result is 0.
    void MeasureAverageWindow(int nLeft, int nTop, int nWidth, int nHeight, int* pResult);
    void MeasureRgbWindow(int nLeft, int nTop, int nWidth, int nHeight, int* pResult);
    // Per-column means of a window over all its rows; FALSE (profile untouched) when it was not read.
    BOOL GetColumnProfile(int nLeft, int nTop, int nWidth, int nHeight, BYTE* pProfile);
    // Per-column means over one Bayer site class, starting at column nStartX and row nStartY.
    BOOL GetPlaneProfile(int nLeft, int nTop, int nWidth, int nHeight, BYTE* pProfile, int nStartX,
                         int nStartY);
    // Draws "name:value" on the display image at (x, y) (with the display's own graphics when null).
    void DrawValueLabel(LPCTSTR lpszName, int nValue, float x, float y, Gdiplus::Graphics* pGraphics);

    // The rectangles the edge boxes take in the client area (magnified), index top, bottom, left, right;
    // FALSE when the box has no area (zoom or box size not positive).
    BOOL GetEdgeBoxArea(int nBox, CRect& rcArea) const;
    // The source rectangle of an edge box in the display image for the tolerance centre (cx, cy); kept
    // inside the frame. FALSE when the box has no area or there is no frame.
    BOOL GetEdgeBoxSource(int nBox, int cx, int cy, CRect& rcSource) const;

    HICON m_hIcon = nullptr;
    CCvImage* m_pSrcImage = nullptr;
    CCvImage* m_pDispImage = nullptr;
    CCvImage* m_pViewImage = nullptr;
    CCvImage* m_pZoomTop = nullptr;
    CCvImage* m_pZoomBottom = nullptr;
    CCvImage* m_pZoomLeft = nullptr;
    CCvImage* m_pZoomRight = nullptr;
    CString m_strPixelFormat;
    CRect m_rcClient;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CKavrinoDlg* m_pMainDlg = nullptr;
    CMyCriticalSection m_csFrame;
    BOOL m_bDragging = FALSE;
    CPoint m_ptDragStart;
    CPoint m_ptClick;
    int m_nDragScrollX = 0;
    int m_nDragScrollY = 0;
    int m_nScrollY = 0;
    int m_nScrollX = 0;
    HCURSOR m_hCursorHand = nullptr;
    HCURSOR m_hCursorGrab = nullptr;
    double m_dTapLeft = 0.0;
    double m_dTapRight = 0.0;
    double m_dTapA = 0.0;
    double m_dTapB = 0.0;
    double m_dTapC = 0.0;
    double m_dTapD = 0.0;
    BOOL m_bShowAlign = FALSE;
    bool m_bShowEdgeBoxes = false;
    bool m_bBrightMode = false;
    bool m_bCenterMode = false;
    bool m_bShowRed = false;
    bool m_bShowGreen = false;
    bool m_bShowBlue = false;
    BOOL m_bUseClickCenter = FALSE;
    int m_nEdgeClick[8] = {};
    POINT m_ptEdgeRaw[4] = {};

    // Message handlers (public so that tests can drive them as the window system does).
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Frame conversion helpers.
    BOOL FrameFits(const HeldFrame& frame, int nBytesPerSample) const;
    void ConvertGrey(int nShift);
    void ConvertBayer(int nShift);
    void CopySourceToDisplay();
    // Brightness windows.
    void MeasureCentreWindow();
    void MeasureBrightWindows();
    void MeasureWindow(int nIndex, float fLabelLift, int* pValue);
    BOOL WindowInsideImage(int nLeft, int nTop, int nWidth, int nHeight) const;
    // Drawing steps of a tick.
    void DrawAlignOverlay(Gdiplus::Graphics& graphics);
    BOOL CopyView();
    void DrawEdgeBoxes();
    void PaintView();
    void PaintDisplayImage();
    void ScrollTo(int nBar, UINT nSBCode, UINT nPos);
    void HandleEdgeBoxClick(CPoint point);
    void DeleteImages();

    // The graphics objects on the display and view images, made with the images and kept between ticks;
    // null when there is no such image.
    Gdiplus::Graphics* DisplayGraphics();
    Gdiplus::Graphics* ViewGraphics();
    DisplayTools& Tools();
    // Drops both graphics objects; done before their images go.
    void ReleaseGraphics();
    // The grey camera's column bars: each column's mean as a bar up from the window's bottom line, in one
    // pass over the display image.
    void DrawColumnBars(int nLeft, int nBottom, int nWidth, const BYTE* pProfile);
    // Formats into m_szText (cut to its size); a tick formats its texts there.
    void FormatText(const wchar_t* pszFormat, ...);
    // The tolerance centre: the axis position, or the last free click in the temporary coordinate system.
    CPoint ToleranceCentre() const;

    // A tick allocates nothing: everything it draws with and into is kept from one tick to the next.
    std::unique_ptr<DisplayTools> m_pTools;
    std::unique_ptr<Gdiplus::Graphics> m_pDispGraphics;
    Gdiplus::Bitmap* m_pDispGraphicsBitmap = nullptr;
    std::unique_ptr<Gdiplus::Graphics> m_pViewGraphics;
    Gdiplus::Bitmap* m_pViewGraphicsBitmap = nullptr;
    wchar_t m_szText[256] = {};
    std::vector<BYTE> m_vecMosaic;
    BYTE m_profile[PROFILE_SIZE] = {};
};
