// The alignment overlay: the tolerance segments, the edge boxes' source rectangles and the temporary
// coordinate system, on a 2448 x 2048 frame with the alignment page's defaults.
#include "DisplayFixture.h"

#include <climits>

namespace {

const Bgr kRed{0, 0, 255};
const Bgr kBlue{255, 0, 0};
const Bgr kGrey{40, 40, 40};

class OverlayTest : public DisplayFixture {
protected:
    void SetUp() override {
        DisplayFixture::SetUp();
        StartFrames(2448, 2048, L"Mono8", 1);
        Fill8(40);
        g_nAlignCenterX = 1224;
        g_nAlignCenterY = 1024;
    }
    CRect Source(int box) {
        const CPoint c = disp->m_bUseClickCenter ? CPoint(disp->m_nScrollX + disp->m_ptClick.x,
                                                          disp->m_nScrollY + disp->m_ptClick.y)
                                                 : CPoint(g_nAlignCenterX, g_nAlignCenterY);
        CRect rc;
        EXPECT_TRUE(disp->GetEdgeBoxSource(box, c.x, c.y, rc));
        return rc;
    }
};

} // namespace

TEST_F(OverlayTest, SegmentsAndCrossAreDrawnOnTheDisplayImage) {
    disp->m_bShowAlign = TRUE;
    disp->DrawFrame();
    CCvImage* img = disp->m_pDispImage;
    EXPECT_EQ(PixelOf(img, 1224, 600), kRed);
    EXPECT_EQ(PixelOf(img, 600, 1024), kRed);
    // Top segments at x 1214 and 1234 from row 0 to 200; right segments at rows 1014 and 1034.
    EXPECT_EQ(PixelOf(img, 1214, 5), kBlue);
    EXPECT_EQ(PixelOf(img, 1234, 195), kBlue);
    EXPECT_EQ(PixelOf(img, 1214, 230), kGrey);
    EXPECT_EQ(PixelOf(img, 2300, 1014), kBlue);
    EXPECT_EQ(PixelOf(img, 2300, 1034), kBlue);
    EXPECT_EQ(PixelOf(img, 2200, 1014), kGrey);
    EXPECT_EQ(PixelOf(img, 100, 1034), kBlue);
    EXPECT_EQ(PixelOf(img, 1234, 2000), kBlue);
}

TEST_F(OverlayTest, BoxSourcesLieJustBeyondTheSegmentsAndInsideTheFrame) {
    EXPECT_EQ(Source(0), CRect(1186, 154, 1186 + 76, 154 + 56));
    EXPECT_EQ(Source(1), CRect(1186, 1838, 1186 + 76, 1838 + 56));
    EXPECT_EQ(Source(2), CRect(154, 986, 154 + 56, 986 + 76));
    EXPECT_EQ(Source(3), CRect(2238, 986, 2238 + 56, 986 + 76));

    // A segment as long as the box leaves no room beyond it: the box sits at the frame's edge.
    g_nAlignTop = g_nAlignBottom = g_nAlignLeft = g_nAlignRight = 56;
    EXPECT_EQ(Source(0).top, 0);
    EXPECT_EQ(Source(1).top, 2048 - 56);
    EXPECT_EQ(Source(2).left, 0);
    EXPECT_EQ(Source(3).left, 2448 - 56);
    g_nAlignBottom = g_nAlignLeft = g_nAlignRight = 200;

    g_nAlignTop = 40;
    EXPECT_EQ(Source(0).top, 0);
    g_nAlignTop = 2040;
    EXPECT_EQ(Source(0).top, 2048 - 56);
    g_nAlignCenterX = 20;
    EXPECT_EQ(Source(0).left, 0);
    g_nAlignCenterX = 2448 - 20;
    EXPECT_EQ(Source(1).right, 2448);
    // An odd box width halves down; the box still ends at the last column.
    g_nEdgeBoxSize[0] = 77;
    EXPECT_EQ(Source(0).right, 2448);
    // Lengths beyond the frame, negative lengths.
    g_nAlignBottom = -50;
    g_nAlignLeft = 99999;
    g_nAlignRight = 99999;
    EXPECT_EQ(Source(1).bottom, 2048);
    EXPECT_EQ(Source(2).right, 2448);
    EXPECT_EQ(Source(3).left, 0);
}

TEST_F(OverlayTest, ValuesAtTheEndsOfTheirRangeDrawNothingOutOfPlace) {
    // The test-set file and the page's edits give any int. Lines that fall outside the frame are not
    // seen, boxes stay inside it, and nothing overflows on the way.
    disp->m_bShowAlign = TRUE;
    disp->m_bShowEdgeBoxes = TRUE;
    for (const int v : {INT_MIN, INT_MAX}) {
        SCOPED_TRACE(v);
        g_nAlignCenterX = g_nAlignCenterY = v;
        g_nAlignThresholdX = g_nAlignThresholdY = v == INT_MAX ? INT_MAX : INT_MIN;
        g_nAlignTop = g_nAlignBottom = g_nAlignLeft = g_nAlignRight = v;
        g_nEdgeBoxSize[0] = g_nEdgeBoxSize[3] = INT_MAX;
        g_nEdgeBoxSize[1] = g_nEdgeBoxSize[2] = 56;
        Fill8(40);
        main->m_bNewFrame = TRUE;
        disp->DrawFrame();
        EXPECT_EQ(PixelOf(disp->m_pDispImage, 1224, 600), kGrey);
        EXPECT_EQ(PixelOf(disp->m_pDispImage, 600, 1024), kGrey);
        for (int b = 0; b < 4; ++b) {
            CRect rc;
            if (disp->GetEdgeBoxSource(b, v, v, rc)) {
                EXPECT_GE(rc.left, 0);
                EXPECT_GE(rc.top, 0);
                EXPECT_LE(rc.right, 2448);
                EXPECT_LE(rc.bottom, 2048);
            }
        }
    }
}

TEST_F(OverlayTest, BoxesOfAFrameSmallerThanTheBoxesStayInsideIt) {
    StartFrames(40, 30, L"Mono8", 1);
    g_nAlignCenterX = 20;
    g_nAlignCenterY = 15;
    for (int b = 0; b < 4; ++b) {
        const CRect rc = Source(b);
        EXPECT_GE(rc.left, 0);
        EXPECT_GE(rc.top, 0);
        EXPECT_LE(rc.right, 40);
        EXPECT_LE(rc.bottom, 30);
    }
    disp->m_bShowAlign = TRUE;
    disp->m_bShowEdgeBoxes = true;
    disp->DrawFrame(); // region copies into the boxes stay inside both images
}

TEST_F(OverlayTest, EdgeBoxesMagnifyTheImageAndHandOverTheClickValues) {
    // A bright block just beyond the top segments' end, inside the top box's source (1186, 154).
    for (int y = 160; y < 170; ++y)
        for (int x = 1220; x < 1230; ++x)
            Set8(x, y, 250);
    disp->m_bShowAlign = TRUE;
    disp->m_bShowEdgeBoxes = true;
    disp->OnLButtonDown(MK_LBUTTON, CPoint(520, 100));
    disp->OnLButtonUp(0, CPoint(520, 100));
    disp->DrawFrame();
    // Image pixel (1220, 160) is box pixel (34, 6): view (348 + 4 * 34, 4 * 6) to 4 pixels further.
    EXPECT_EQ(PixelOf(disp->m_pViewImage, 348 + 4 * 34 + 2, 4 * 6 + 2), (Bgr{250, 250, 250}));
    EXPECT_EQ(PixelOf(disp->m_pViewImage, 348 + 4 * 20, 4 * 40), kGrey);
    const int expected[8] = {5, 75, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(main->m_nAlignEdge[i], expected[i]) << i;
}

TEST_F(OverlayTest, EachEdgeBoxIsDrawnWholeInTurn) {
    // The top box's label lies inside the left box, the right box's inside the top box. Boxes are drawn
    // top, bottom, left, right, each with its copy, frame and label: the left box covers the top box's
    // label, and the right box's label lies over the top box.
    disp->m_bShowAlign = TRUE;
    disp->m_bShowEdgeBoxes = true;
    disp->m_ptEdgeRaw[0] = POINT{20, 300};
    disp->m_ptEdgeRaw[3] = POINT{400, 50};
    disp->DrawFrame();
    auto labelPixels = [&](int left, int top) {
        int count = 0;
        for (int y = top; y < top + 30; ++y)
            for (int x = left; x < left + 60; ++x)
                count += PixelOf(disp->m_pViewImage, x, y) == (Bgr{186, 2, 197});
        return count;
    };
    EXPECT_EQ(labelPixels(20, 300), 0);
    EXPECT_GT(labelPixels(400, 50), 10);
}

TEST_F(OverlayTest, TemporaryCoordinateSystemMovesOnlyTheSegments) {
    disp->m_bShowAlign = TRUE;
    disp->m_bUseClickCenter = TRUE;
    disp->m_nScrollX = 400;
    disp->m_nScrollY = 300;
    disp->OnLButtonDown(MK_LBUTTON, CPoint(100, 50)); // in no box
    disp->OnLButtonUp(0, CPoint(100, 50));
    ASSERT_EQ(disp->m_ptClick, CPoint(100, 50));
    disp->DrawFrame();
    CCvImage* img = disp->m_pDispImage;
    // Segments around image point (500, 350); the red cross stays on the axis.
    EXPECT_EQ(PixelOf(img, 490, 100), kBlue);
    EXPECT_EQ(PixelOf(img, 510, 100), kBlue);
    EXPECT_EQ(PixelOf(img, 100, 340), kBlue);
    EXPECT_EQ(PixelOf(img, 100, 360), kBlue);
    EXPECT_EQ(PixelOf(img, 1224, 600), kRed);
    EXPECT_EQ(PixelOf(img, 1214, 100), kGrey);
    // The cyan cross runs through the click over the whole image (dash-dot: look along a stretch).
    int cyan = 0;
    for (int x = 1000; x < 1100; ++x)
        cyan += PixelOf(img, x, 350) == (Bgr{255, 255, 0});
    EXPECT_GT(cyan, 30);
    EXPECT_EQ(Source(0).left, 500 - 38);
}

TEST_F(OverlayTest, TheFrameRateTextStandsAtTheTopLeftOfTheScrolledView) {
    disp->m_nScrollX = 600;
    disp->m_nScrollY = 200;
    disp->DrawFrame();
    // The text's own colour, counted in the view's corner and at the mirrored place.
    auto textPixels = [&](int left, int top) {
        int count = 0;
        for (int y = top; y < top + 60; ++y)
            for (int x = left; x < left + 200; ++x)
                count += PixelOf(disp->m_pDispImage, x, y) == Bgr{39, 127, 255};
        return count;
    };
    EXPECT_GT(textPixels(600, 200), 20);
    EXPECT_EQ(textPixels(200, 600), 0);
}

TEST_F(OverlayTest, WithoutModesTheViewIsUntouchedAndTheFrameIsPainted) {
    disp->m_nScrollX = 0;
    disp->m_nScrollY = 0;
    Set8(500, 600, 200);
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pViewImage, 500, 600), (Bgr{0, 0, 0}));
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 500, 600), (Bgr{200, 200, 200}));
    CClientDC dc(disp);
    const QImage& shown = dc.Surface()->Image();
    EXPECT_EQ(qRed(shown.pixel(500, 600)), 200);
    EXPECT_EQ(qRed(shown.pixel(501, 600)), 40);
}
