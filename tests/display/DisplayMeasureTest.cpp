// Brightness measurement windows: column profiles and bars, the deviations in the main window's
// order, the colour planes' start sites, and windows that do not lie inside the image.
#include "DisplayFixture.h"

namespace {

const Bgr kBar{255, 128, 0};
const Bgr kFrame{255, 0, 0};

void SetWindow(int index, int l, int t, int w, int h) {
    g_rcBrightWindow[index][0] = l;
    g_rcBrightWindow[index][1] = t;
    g_rcBrightWindow[index][2] = w;
    g_rcBrightWindow[index][3] = h;
}

} // namespace

TEST_F(DisplayFixture, CentreWindowMeanAndColumnBars) {
    StartFrames(1100, 1100, L"Mono8", 1);
    Fill8(128);
    SetWindow(0, 974, 974, 100, 100);
    disp->m_bCenterMode = true;
    disp->DrawFrame();
    EXPECT_EQ(main->m_nBrightAverage, 128);
    CCvImage* img = disp->m_pDispImage;
    // Bars 128 high from the window's bottom (row 1074) reach 28 rows above its top.
    EXPECT_EQ(PixelOf(img, 1000, 1050), kBar);
    EXPECT_EQ(PixelOf(img, 1000, 950), kBar);
    EXPECT_EQ(PixelOf(img, 1000, 940), (Bgr{128, 128, 128}));
    // The window itself is framed in blue (its left edge lies below the bars' area only at x = 974).
    EXPECT_EQ(PixelOf(img, 1074, 1000), kFrame);

    // Column means 10, 11, 12 give 11.
    StartFrames(64, 64, L"Mono8", 1);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            Set8(x, y, static_cast<BYTE>(x < 20 ? 10 : x == 20 ? 11 : 12));
    disp->ConvertFrame();
    BYTE profile[3] = {};
    ASSERT_TRUE(disp->GetColumnProfile(19, 5, 3, 7, profile));
    EXPECT_EQ(profile[0], 10);
    EXPECT_EQ(profile[1], 11);
    EXPECT_EQ(profile[2], 12);
    int value = -1;
    disp->MeasureAverageWindow(19, 5, 3, 7, &value);
    EXPECT_EQ(value, 11);
}

TEST_F(DisplayFixture, DeviationsGoToTheMainWindowInItsOrder) {
    StartFrames(1000, 1000, L"Mono8", 1);
    const struct {
        int l, t;
        BYTE v;
    } windows[5] = {{450, 450, 150}, {10, 10, 140}, {890, 10, 152}, {10, 890, 150}, {890, 890, 149}};
    Fill8(60);
    for (int i = 0; i < 5; ++i) {
        SetWindow(i, windows[i].l, windows[i].t, 100, 100);
        for (int y = windows[i].t; y < windows[i].t + 100; ++y)
            for (int x = windows[i].l; x < windows[i].l + 100; ++x)
                Set8(x, y, windows[i].v);
    }
    disp->m_bBrightMode = true;
    disp->m_bCenterMode = true; // brightness mode takes precedence
    main->m_nBrightAverage = 7;
    disp->DrawFrame();
    EXPECT_EQ(main->m_nBrightDev[0], 10);
    EXPECT_EQ(main->m_nBrightDev[1], 0);
    EXPECT_EQ(main->m_nBrightDev[2], -2);
    EXPECT_EQ(main->m_nBrightDev[3], 1);
    EXPECT_EQ(main->m_nBrightAverage, 7);

    // A corner window reaching outside the image is neither read nor framed; it reads 0, so its
    // deviation is the centre's whole value and cannot pass (as on a colour camera).
    SetWindow(1, 10, -5, 100, 100);
    disp->DrawFrame();
    EXPECT_EQ(main->m_nBrightDev[0], 150);
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 10, 50), (Bgr{140, 140, 140}));
    EXPECT_EQ(main->m_nBrightDev[2], -2);
}

TEST_F(DisplayFixture, ColourPlanesStartOnTheirOwnSites) {
    main->m_bColorCamera = TRUE;
    StartFrames(300, 300, L"Mono8", 1); // the raw mosaic under a grey name
    FillMosaic(200, 100, 50);
    disp->ConvertFrame();
    struct Channel {
        bool red, green, blue;
        int expected;
    };
    const Channel channels[3] = {
        {true, false, false, 200}, {false, true, false, 100}, {false, false, true, 50}};
    for (const Channel& c : channels) {
        disp->m_bShowRed = c.red;
        disp->m_bShowGreen = c.green;
        disp->m_bShowBlue = c.blue;
        for (const CPoint origin : {CPoint(11, 20), CPoint(10, 20), CPoint(10, 21), CPoint(11, 21)}) {
            for (const int size : {100, 37}) {
                int value = -1;
                disp->MeasureRgbWindow(origin.x, origin.y, size, size, &value);
                EXPECT_EQ(value, c.expected) << origin.x << "," << origin.y << " size " << size;
            }
        }
        int narrow = -1;
        disp->MeasureRgbWindow(11, 20, 1, 50, &narrow);
        EXPECT_EQ(narrow, 0);
    }

    // The red plane of (11, 20, 100, 100) starts at column 12, row 20 and has 50 columns of 50 rows.
    BYTE profile[60] = {};
    std::fill(std::begin(profile), std::end(profile), 1);
    ASSERT_TRUE(disp->GetPlaneProfile(11, 20, 100, 100, profile, 12, 20));
    EXPECT_EQ(profile[0], 200);
    EXPECT_EQ(profile[49], 200);
    EXPECT_EQ(profile[50], 1);

    // Through a tick: the label is drawn and the centre value goes to the main window.
    SetWindow(0, 101, 120, 50, 50);
    disp->m_bShowRed = false;
    disp->m_bShowGreen = true;
    disp->m_bShowBlue = false;
    disp->m_bCenterMode = true;
    disp->DrawFrame();
    EXPECT_EQ(main->m_nBrightAverage, 100);
}

TEST_F(DisplayFixture, BayerFramesAreMeasuredOnTheGreyLevelsOfTheirColourImage) {
    // A colour camera in BayerRG8: the source image holds the demosaiced colour, and the windows read its
    // grey levels. A scene bright on the left (every site 180) and dark on the right (40).
    main->m_bColorCamera = TRUE;
    disp->m_bShowRed = true;
    StartFrames(400, 300, L"BayerRG8", 1);
    auto fill = [&](BYTE left, BYTE right) {
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                Set8(x, y, x < 200 ? left : right);
        main->m_bNewFrame = TRUE;
    };
    fill(180, 40);
    SetWindow(0, 50, 100, 100, 100);
    SetWindow(1, 250, 10, 100, 80);
    SetWindow(2, 290, 10, 100, 80);
    SetWindow(3, 250, 210, 100, 80);
    SetWindow(4, 290, 210, 100, 80);
    disp->m_bBrightMode = true;
    disp->DrawFrame();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(main->m_nBrightDev[i], 140) << i;

    // Centre mode follows the image: its value is the window's grey level, on every channel.
    disp->m_bBrightMode = false;
    disp->m_bCenterMode = true;
    for (const BYTE level : {BYTE(90), BYTE(200)}) {
        fill(level, 40);
        disp->m_bShowRed = false;
        disp->m_bShowGreen = true;
        disp->DrawFrame();
        EXPECT_EQ(main->m_nBrightAverage, level);
    }
}

TEST_F(DisplayFixture, WindowsAtTheEndsOfTheIntRangeAreNotMeasured) {
    // The five windows come from the test-set file and the pages' edits: any int. None of them is
    // measured, on a grey or a colour camera, in either mode, and nothing overflows.
    StartFrames(300, 200, L"Mono8", 1);
    Fill8(80);
    for (const BOOL colour : {FALSE, TRUE}) {
        main->m_bColorCamera = colour;
        for (const bool green : {false, true}) {
            disp->m_bShowRed = !green;
            disp->m_bShowGreen = green;
            for (const int v : {INT_MIN, INT_MAX, INT_MAX - 1}) {
                for (auto& window : g_rcBrightWindow)
                    std::fill(std::begin(window), std::end(window), v);
                for (const bool bright : {true, false}) {
                    disp->m_bBrightMode = bright;
                    disp->m_bCenterMode = !bright;
                    main->m_nBrightAverage = -7;
                    main->m_bNewFrame = TRUE;
                    disp->DrawFrame();
                    EXPECT_EQ(main->m_nBrightAverage, bright ? -7 : 0) << v;
                }
            }
        }
    }
}

TEST_F(DisplayFixture, WindowsThatDoNotFitAreNotMeasured) {
    StartFrames(9000, 6, L"Mono8", 1);
    Fill8(80);
    disp->ConvertFrame();
    BYTE profile[CDisplayDlg::PROFILE_SIZE] = {};
    const int windows[][4] = {{0, 0, 0, 4},       {0, 0, 4, 0}, {-2, 0, 4, 4},   {0, -1, 4, 4},
                              {8990, 0, 20, 4},   {0, 4, 4, 4}, {0, 0, 8193, 4}, {0, 0, 9000, 6},
                              {INT_MAX, 0, 4, 4}, {0, 0, -4, 4}};
    for (const auto& w : windows) {
        int value = -7;
        disp->MeasureAverageWindow(w[0], w[1], w[2], w[3], &value);
        EXPECT_EQ(value, 0) << w[0] << "," << w[1] << "," << w[2] << "," << w[3];
        EXPECT_FALSE(disp->GetColumnProfile(w[0], w[1], w[2], w[3], profile));
        EXPECT_FALSE(disp->GetPlaneProfile(w[0], w[1], w[2], w[3], profile, w[0], w[1]));
    }
    // The widest window the profile holds is measured.
    int value = -7;
    disp->MeasureAverageWindow(0, 0, 8192, 6, &value);
    EXPECT_EQ(value, 80);
    // So is a window that ends on the image's last column and row.
    value = -7;
    disp->MeasureAverageWindow(8996, 2, 4, 4, &value);
    EXPECT_EQ(value, 80);
    EXPECT_TRUE(disp->GetPlaneProfile(8996, 2, 4, 4, profile, 8996, 2));
    // One row has no second row of sites: nothing to average.
    EXPECT_FALSE(disp->GetPlaneProfile(0, 0, 4, 1, profile, 0, 0));
    // A colour window outside the image measures nothing and reads 0.
    main->m_bColorCamera = TRUE;
    value = -7;
    disp->MeasureRgbWindow(-3, 0, 4, 4, &value);
    EXPECT_EQ(value, 0);
    // So does one wider than the profile, as an operator may type into the brightness pages; its half
    // width is never summed over the profile.
    for (const int width : {8194, 20000, INT_MAX}) {
        for (const bool green : {false, true}) {
            disp->m_bShowRed = !green;
            disp->m_bShowGreen = green;
            value = -7;
            disp->MeasureRgbWindow(0, 0, width, 4, &value);
            EXPECT_EQ(value, 0) << width;
        }
    }
}
