// The display window: set-up, scroll bars, scrolling codes, panning, edge-box clicks, the sizes that
// must not break it (minimised window, zoom 0, boxes of size 0), and ticks that allocate no memory.
#include "DisplayFixture.h"

#include "AllocationCount.h"
#include "ParallelStripes.h"
#include "CMenu.h"
#include "UiThread.h"

#include <opencv2/core/utility.hpp>

#include <atomic>
#include <chrono>
#include <thread>

TEST_F(DisplayFixture, CreationStateAndTickBeforeLiveStart) {
    EXPECT_EQ(disp->m_pMainDlg, main.get());
    EXPECT_TRUE(disp->m_bShowRed);
    EXPECT_FALSE(disp->m_bShowGreen || disp->m_bShowBlue || disp->m_bBrightMode || disp->m_bCenterMode);
    EXPECT_FALSE(disp->m_bShowAlign);
    EXPECT_EQ(disp->m_dTapLeft + disp->m_dTapRight + disp->m_dTapA + disp->m_dTapD, 0.0);
    // A top-level window of its own, not closable by the operator.
    EXPECT_EQ(disp->GetParent(), nullptr);
    CMenu* menu = disp->GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->IsEnabled(SC_CLOSE));
    // Nor by a key: Enter and Esc on the display leave it shown.
    disp->ShowWindow(SW_SHOW);
    disp->SetFocus();
    for (BYTE key : {BYTE(VK_RETURN), BYTE(VK_ESCAPE)}) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
    disp->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    kavrino::ProcessUiEvents();
    EXPECT_TRUE(disp->IsWindowVisible());
    // No image until live start: a tick does nothing.
    main->m_bNewFrame = TRUE;
    disp->OnTimer(CDisplayDlg::TIMER_DRAW);
    EXPECT_EQ(disp->m_pDispImage, nullptr);
}

TEST_F(DisplayFixture, SetImageFormatBuildsImagesOfTheRightTypes) {
    StartFrames(64, 48, L"BayerRG10", 2);
    EXPECT_EQ(disp->m_pSrcImage->m_nType, 2);
    EXPECT_EQ(disp->m_pDispImage->m_nType, 2);
    EXPECT_EQ(disp->m_pViewImage->m_nWidth, 1000);
    EXPECT_EQ(disp->m_pViewImage->m_nHeight, 800);
    EXPECT_EQ(disp->m_pZoomTop->m_nWidth, 76);
    EXPECT_EQ(disp->m_pZoomLeft->m_nHeight, 76);
    // Top and bottom boxes take sizes 0 and 1, left and right 2 and 3.
    const int boxes[4] = {70, 50, 60, 80};
    std::copy(std::begin(boxes), std::end(boxes), g_nEdgeBoxSize);
    disp->SetImageFormat(64, 48, L"BayerRG10");
    for (CCvImage* box : {disp->m_pZoomTop, disp->m_pZoomBottom})
        EXPECT_EQ(CSize(box->m_nWidth, box->m_nHeight), CSize(70, 50));
    for (CCvImage* box : {disp->m_pZoomLeft, disp->m_pZoomRight})
        EXPECT_EQ(CSize(box->m_nWidth, box->m_nHeight), CSize(60, 80));
    // Only exact names are Bayer.
    disp->SetImageFormat(64, 48, L"bayerRG8");
    EXPECT_EQ(disp->m_pSrcImage->m_nType, 1);
    disp->SetImageFormat(64, 48, L"Mono8");
    EXPECT_EQ(disp->m_pSrcImage->m_nType, 1);
    // A resize while a Bayer format is live keeps the colour source.
    disp->SetImageFormat(64, 48, L"BayerRG8");
    SetClientSize(900, 700);
    disp->OnSize(SIZE_RESTORED, 900, 700);
    EXPECT_EQ(disp->m_pSrcImage->m_nType, 2);
    EXPECT_EQ(disp->m_pViewImage->m_nWidth, 900);
}

TEST_F(DisplayFixture, ScrollBarsCentreTheViewAndCodesMoveWithinLimits) {
    SetClientSize(1600, 900);
    disp->m_nWidth = 2448;
    disp->m_nHeight = 2048;
    disp->ResetScrollBars();
    EXPECT_EQ(disp->m_nScrollX, 423);
    EXPECT_EQ(disp->m_nScrollY, 573);
    EXPECT_EQ(disp->GetScrollPos(SB_HORZ), 423);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    disp->GetScrollInfo(SB_HORZ, &si, SIF_ALL);
    EXPECT_EQ(si.nMax, 2447);
    EXPECT_EQ(si.nPage, 1600u);
    // One column more: the half of an odd remainder rounds down.
    disp->m_nWidth = 2449;
    disp->ResetScrollBars();
    EXPECT_EQ(disp->m_nScrollX, 424);
    disp->m_nWidth = 2448;

    const int maxX = 2448 - 1600;
    disp->m_nScrollX = 4;
    disp->OnHScroll(SB_PAGELEFT, 0, nullptr);
    EXPECT_EQ(disp->m_nScrollX, 0);
    disp->OnHScroll(SB_LINELEFT, 0, nullptr);
    EXPECT_EQ(disp->m_nScrollX, 0);
    disp->m_nScrollX = maxX - 5;
    disp->OnHScroll(SB_PAGERIGHT, 0, nullptr);
    EXPECT_EQ(disp->m_nScrollX, maxX);
    disp->OnHScroll(SB_LINERIGHT, 0, nullptr);
    EXPECT_EQ(disp->m_nScrollX, maxX);
    disp->OnHScroll(SB_THUMBTRACK, 100, nullptr);
    EXPECT_EQ(disp->m_nScrollX, 100);
    EXPECT_EQ(disp->GetScrollPos(SB_HORZ), 100);
    disp->OnHScroll(SB_ENDSCROLL, 500, nullptr);
    EXPECT_EQ(disp->m_nScrollX, 100);
    // A position past the end is held at the end.
    disp->OnVScroll(SB_THUMBPOSITION, 5000, nullptr);
    EXPECT_EQ(disp->m_nScrollY, 2048 - 900);

    // A frame smaller than the client: nothing to scroll, never a negative position.
    disp->m_nWidth = 640;
    disp->m_nHeight = 480;
    disp->ResetScrollBars();
    EXPECT_EQ(disp->m_nScrollX, 0);
    EXPECT_EQ(disp->m_nScrollY, 0);
    disp->OnHScroll(SB_LINERIGHT, 0, nullptr);
    disp->OnVScroll(SB_PAGEDOWN, 0, nullptr);
    EXPECT_EQ(disp->m_nScrollX, 0);
    EXPECT_EQ(disp->m_nScrollY, 0);
}

TEST_F(DisplayFixture, PanningMovesTheViewAgainstTheMouseWithinTheImage) {
    StartFrames(2448, 2048, L"Mono8", 1);
    disp->m_nScrollX = 20;
    disp->m_nScrollY = 20;
    disp->OnLButtonDown(MK_LBUTTON, CPoint(700, 400));
    disp->OnMouseMove(MK_LBUTTON, CPoint(730, 400));
    EXPECT_EQ(disp->m_nScrollX, 0); // 30 to the left, held at 0
    EXPECT_EQ(disp->m_nDragScrollX, 20);
    disp->OnMouseMove(MK_LBUTTON, CPoint(330, 380));
    EXPECT_EQ(disp->m_nScrollX, 400);
    EXPECT_EQ(disp->m_nScrollY, 40);
    disp->OnMouseMove(MK_LBUTTON, CPoint(-5000, -5000));
    EXPECT_EQ(disp->m_nScrollX, 2448 - 1000);
    EXPECT_EQ(disp->m_nScrollY, 2048 - 800);
    EXPECT_EQ(disp->GetScrollPos(SB_VERT), 2048 - 800);
    disp->OnLButtonUp(0, CPoint(0, 0));
    EXPECT_FALSE(disp->m_bDragging);
    // Without the button the mouse does not pan.
    disp->OnMouseMove(0, CPoint(900, 700));
    EXPECT_EQ(disp->m_nScrollX, 2448 - 1000);
}

TEST_F(DisplayFixture, EdgeBoxClicksGiveImagePixelsFromTheBoxCentreLines) {
    // Client 1000 x 800, zoom 4, boxes 76 x 56 and 56 x 76.
    CRect top;
    ASSERT_TRUE(disp->GetEdgeBoxArea(0, top));
    EXPECT_EQ(top, CRect(348, 0, 652, 224));
    CRect left;
    ASSERT_TRUE(disp->GetEdgeBoxArea(2, left));
    EXPECT_EQ(left, CRect(0, 248, 224, 552));

    disp->OnLButtonDown(MK_LBUTTON, CPoint(500, 100));
    disp->OnLButtonUp(0, CPoint(500, 100));
    EXPECT_EQ(disp->m_nEdgeClick[0], 0);
    EXPECT_EQ(disp->m_nEdgeClick[1], 75);
    EXPECT_EQ(disp->m_ptEdgeRaw[0].x, 500);
    const CPoint before = disp->m_ptClick;
    EXPECT_NE(before, CPoint(500, 100)); // a box click is not a free click

    // Bottom box and right box, offsets counted upwards.
    disp->OnLButtonDown(MK_LBUTTON, CPoint(520, 790));
    EXPECT_EQ(disp->m_nEdgeClick[2], 5);
    EXPECT_EQ(disp->m_nEdgeClick[3], -97);
    disp->OnLButtonDown(MK_LBUTTON, CPoint(1000, 360));
    EXPECT_EQ(disp->m_nEdgeClick[6], 125);
    EXPECT_EQ(disp->m_nEdgeClick[7], 10);

    // Outside every box: the centre of the temporary coordinate system.
    disp->OnLButtonDown(MK_LBUTTON, CPoint(700, 400));
    EXPECT_EQ(disp->m_ptClick, CPoint(700, 400));
    disp->OnLButtonDown(MK_LBUTTON, CPoint(240, 400)); // right of the left box
    EXPECT_EQ(disp->m_ptClick, CPoint(240, 400));
    EXPECT_EQ(disp->m_nEdgeClick[4], 0);
    disp->OnLButtonUp(0, CPoint(240, 400));
}

TEST_F(DisplayFixture, ZoomZeroAndEmptyBoxesHaveNothingToClickOrDraw) {
    StartFrames(320, 240, L"Mono8", 1);
    disp->m_bShowAlign = TRUE;
    disp->m_bShowEdgeBoxes = true;

    g_nEdgeZoom = 0;
    disp->OnLButtonDown(MK_LBUTTON, CPoint(500, 10));
    disp->OnLButtonUp(0, CPoint(500, 10));
    EXPECT_EQ(disp->m_ptClick, CPoint(500, 10));
    EXPECT_EQ(disp->m_nEdgeClick[0], 0);
    EXPECT_EQ(disp->m_nEdgeClick[1], 0);
    disp->DrawFrame();

    // A zoom typed far beyond any screen neither overflows nor draws.
    g_nEdgeZoom = 100000000;
    CRect area;
    EXPECT_FALSE(disp->GetEdgeBoxArea(0, area));
    disp->DrawFrame();

    g_nEdgeZoom = 4;
    g_nEdgeBoxSize[0] = 0;
    g_nEdgeBoxSize[3] = 0;
    disp->CreateZoomImages();
    EXPECT_EQ(disp->m_pZoomTop, nullptr);
    EXPECT_EQ(disp->m_pZoomLeft, nullptr);
    disp->OnLButtonDown(MK_LBUTTON, CPoint(500, 10));
    disp->OnLButtonUp(0, CPoint(500, 10));
    EXPECT_EQ(disp->m_nEdgeClick[1], 0);
    disp->DrawFrame();
    EXPECT_EQ(main->m_nAlignEdge[1], 0);

    // A box size typed far beyond the frame makes no box instead of a bitmap of gigabytes.
    g_nEdgeBoxSize[0] = 99999;
    g_nEdgeBoxSize[1] = 99999;
    g_nEdgeBoxSize[3] = 76;
    disp->CreateZoomImages();
    EXPECT_EQ(disp->m_pZoomTop, nullptr);
    EXPECT_EQ(disp->m_pZoomBottom, nullptr);
    ASSERT_NE(disp->m_pZoomLeft, nullptr);
    disp->DrawFrame();
}

TEST_F(DisplayFixture, MinimisedAndOversizedWindowsKeepEveryCopyInsideItsImage) {
    StartFrames(640, 480, L"Mono8", 1);
    Fill8(90);
    disp->m_bShowAlign = TRUE;
    disp->m_bShowEdgeBoxes = true;
    // The client is larger than the frame: the frame is shown at the top left, black beside it, whatever
    // the view held before.
    {
        ASSERT_NE(disp->m_pViewImage, nullptr);
        Gdiplus::Graphics stale(disp->m_pViewImage->m_pBitmap);
        const Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255));
        stale.FillRectangle(&white, 0, 0, disp->m_pViewImage->m_nWidth, disp->m_pViewImage->m_nHeight);
    }
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pViewImage, 300, 470), (Bgr{90, 90, 90}));
    EXPECT_EQ(PixelOf(disp->m_pViewImage, 700, 300), (Bgr{0, 0, 0}));

    // A minimised window has no client area and so no view image: a tick ends without painting.
    disp->ShowWindow(SW_MINIMIZE);
    QCoreApplication::processEvents();
    delete disp->m_pViewImage;
    disp->m_pViewImage = nullptr;
    disp->DrawFrame();
    disp->m_bShowAlign = FALSE;
    disp->m_bCenterMode = true;
    disp->DrawFrame();
}

namespace {

enum class Overlay { None, Centre, Brightness, Alignment };

struct TickCase {
    const char* name;
    const wchar_t* format;
    int bytesPerSample;
    bool colourCamera;
    Overlay overlay;
};

void PrintTo(const TickCase& c, std::ostream* os) {
    *os << c.name;
}

class DisplayTickTest : public DisplayFixture, public ::testing::WithParamInterface<TickCase> {
protected:
    // Every worker thread of the conversion's parallel loops has run a stripe once: a thread's first
    // stripe sets up its thread-local state. Each stripe waits until all have started, so that no thread
    // runs two of them.
    static void RunEveryWorker() {
        const int workers = std::max(cv::getNumThreads(), 1);
        std::atomic<int> started{0};
        kavrino::RunInStripes(
            workers,
            [&](int first, int last) {
                for (int i = first; i < last; ++i) {
                    ++started;
                    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
                    while (started.load() < workers && std::chrono::steady_clock::now() < until)
                        std::this_thread::yield();
                }
            },
            workers);
    }
};

} // namespace

// A tick in every mode, grey and colour, allocates no memory once the display has drawn its first
// frame: the drawing objects are kept between ticks, the bars are written in one pass and the texts are
// laid out from the fonts' glyph caches. The window system's request to repaint is made once per shown
// frame, when the one before has been handled; the ticks here follow each other without that.
TEST_P(DisplayTickTest, ATickAllocatesNothing) {
    const TickCase& c = GetParam();
    SetClientSize(500, 400);
    StartFrames(640, 480, c.format, c.bytesPerSample);
    main->m_bColorCamera = c.colourCamera ? TRUE : FALSE;
    const int windows[5][4] = {{270, 190, 100, 100},
                               {10, 10, 100, 100},
                               {530, 10, 100, 100},
                               {10, 370, 100, 100},
                               {530, 370, 100, 100}};
    for (int i = 0; i < 5; ++i)
        std::copy(std::begin(windows[i]), std::end(windows[i]), g_rcBrightWindow[i]);
    g_nAlignCenterX = 320;
    g_nAlignCenterY = 240;
    disp->m_bCenterMode = c.overlay == Overlay::Centre;
    disp->m_bBrightMode = c.overlay == Overlay::Brightness;
    disp->m_bShowAlign = c.overlay == Overlay::Alignment ? TRUE : FALSE;
    disp->m_bShowEdgeBoxes = c.overlay == Overlay::Alignment;
    disp->m_bUseClickCenter = c.overlay == Overlay::Alignment ? TRUE : FALSE;
    disp->m_bShowRed = false;
    disp->m_bShowGreen = true;

    RunEveryWorker();
    // Frames with other values in every text the tick draws. The first showing may fill the fonts'
    // caches (a glyph at a new place between pixels, the first text that runs off the image); showing
    // them again must allocate nothing at all.
    auto tick = [&](int i) {
        Fill8(static_cast<BYTE>(40 + 37 * i));
        main->m_dFrameRate = 29.5 + i;
        disp->m_nEdgeClick[0] = -3 * i;
        disp->m_nEdgeClick[7] = 100 + i;
        disp->DrawFrame();
    };
    for (int i = 0; i < 5; ++i)
        tick(i);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        kavrino_test::AllocationCount allocations;
        tick(i);
        EXPECT_EQ(allocations.Count(), 0);
    }
    // The ticks did their work.
    if (c.overlay == Overlay::Centre && !c.colourCamera) {
        EXPECT_NE(main->m_nBrightAverage, 0);
    }
    if (c.overlay == Overlay::Alignment) {
        EXPECT_EQ(main->m_nAlignEdge[7], 104);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, DisplayTickTest,
    ::testing::Values(TickCase{"Mono8 plain", L"Mono8", 1, false, Overlay::None},
                      TickCase{"Mono8 centre", L"Mono8", 1, false, Overlay::Centre},
                      TickCase{"Mono8 brightness", L"Mono8", 1, false, Overlay::Brightness},
                      TickCase{"Mono8 alignment", L"Mono8", 1, false, Overlay::Alignment},
                      TickCase{"Mono10 brightness", L"Mono10", 2, false, Overlay::Brightness},
                      TickCase{"BayerRG8 plain", L"BayerRG8", 1, true, Overlay::None},
                      TickCase{"BayerRG8 centre", L"BayerRG8", 1, true, Overlay::Centre},
                      TickCase{"BayerRG8 brightness", L"BayerRG8", 1, true, Overlay::Brightness},
                      TickCase{"BayerRG10 alignment", L"BayerRG10", 2, true, Overlay::Alignment},
                      TickCase{"raw mosaic brightness", L"Mono8", 1, true, Overlay::Brightness}));
