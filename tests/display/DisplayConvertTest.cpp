// Frame conversion: sample reduction, padded bitmap rows, the demosaic's colour order, and the names
// and sizes that must convert nothing.
#include "DisplayFixture.h"

#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>
#include <vector>

namespace {

// Byte x of row y of a holder's bitmap, as locked in its own format.
int SourceByte(CCvImage* image, int x, int y) {
    Gdiplus::BitmapData data{};
    Gdiplus::Rect rc(0, 0, static_cast<INT>(image->m_pBitmap->GetWidth()),
                     static_cast<INT>(image->m_pBitmap->GetHeight()));
    image->m_pBitmap->LockBits(&rc, Gdiplus::ImageLockModeRead, image->m_pBitmap->GetPixelFormat(), &data);
    const int value = static_cast<const BYTE*>(data.Scan0)[y * data.Stride + x];
    image->m_pBitmap->UnlockBits(&data);
    return value;
}

} // namespace

TEST_F(DisplayFixture, DeepGreySamplesAreShiftedToEightBits) {
    StartFrames(6, 2, L"Mono10", 2);
    const unsigned row0[6] = {1023, 4, 3, 512, 0, 1};
    for (int x = 0; x < 6; ++x) {
        Set16(x, 0, row0[x]);
        Set16(x, 1, 100 + x * 4);
    }
    disp->DrawFrame();
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 0, 0), 255);
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 1, 0), 1);
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 2, 0), 0);
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 3, 0), 128);
    // The second frame row starts the second bitmap row (byte 8), with no shift from row to row.
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 0, 1), 25);
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 5, 1), 30);

    StartFrames(4, 2, L"Mono12", 2);
    Set16(0, 0, 4095);
    Set16(1, 0, 15);
    Set16(2, 0, 16);
    disp->DrawFrame();
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 0, 0), 255);
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 1, 0), 0);
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 2, 0), 1);
}

TEST_F(DisplayFixture, Mono8CopiesTheFrameIntoPaddedRows) {
    StartFrames(6, 3, L"Mono8", 1);
    for (int i = 0; i < 18; ++i)
        frame[static_cast<size_t>(i)] = static_cast<BYTE>(i * 10);
    disp->DrawFrame();
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 0, 1), 60);
    EXPECT_EQ(SourceByte(disp->m_pSrcImage, 5, 2), 170);
    // The grey image is expanded to blue = green = red in the display image (below the text).
    StartFrames(66, 100, L"Mono8", 1);
    Set8(65, 90, 160);
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 65, 90), (Bgr{160, 160, 160}));
}

TEST_F(DisplayFixture, BayerRGDemosaicsWithRedAtTheOrigin) {
    // 1282 columns: the mosaic and the colour bitmap are 1284 wide, the display shows 1282.
    StartFrames(1282, 64, L"BayerRG8", 1);
    FillMosaic(200, 100, 50);
    disp->DrawFrame();
    EXPECT_EQ(disp->m_pSrcImage->m_pBitmap->GetWidth(), 1284u);
    EXPECT_EQ(disp->m_pDispImage->m_nWidth, 1282);
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 600, 30), (Bgr{50, 100, 200}));
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 601, 31), (Bgr{50, 100, 200}));
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 1279, 31), (Bgr{50, 100, 200}));
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 1280, 62), (Bgr{50, 100, 200}));

    // Deep Bayer samples are reduced first.
    StartFrames(64, 128, L"BayerRG12", 2);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 64; ++x)
            Set16(x, y, (x % 2 == 0 && y % 2 == 0) ? 4000 : (x % 2 && y % 2) ? 800 : 1600);
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 20, 100), (Bgr{50, 100, 250}));
    StartFrames(64, 128, L"BayerRG10", 2);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 64; ++x)
            Set16(x, y, (x % 2 == 0 && y % 2 == 0) ? 1000 : (x % 2 && y % 2) ? 200 : 400);
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 21, 101), (Bgr{50, 100, 250}));
}

TEST_F(DisplayFixture, NamesAndSizesThatDoNotFitConvertNothing) {
    StartFrames(16, 80, L"Mono8", 1);
    Fill8(77);
    disp->DrawFrame();
    ASSERT_EQ(PixelOf(disp->m_pDispImage, 3, 75), (Bgr{77, 77, 77}));
    Fill8(10);
    for (const wchar_t* name : {L"", L"mono8", L"Mono8 ", L"BayerGR8"}) {
        main->m_strPixelFormat = name;
        disp->DrawFrame();
        EXPECT_EQ(PixelOf(disp->m_pDispImage, 3, 75), (Bgr{77, 77, 77})) << CString(name).ToUtf8();
    }
    // A Bayer name while the images were made grey, and the reverse.
    main->m_strPixelFormat = L"BayerRG8";
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 3, 75), (Bgr{77, 77, 77}));
    disp->SetImageFormat(16, 80, L"BayerRG8");
    main->m_strPixelFormat = L"Mono8";
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 3, 75), (Bgr{0, 0, 0}));
    // A frame larger than the buffer allocated at connection is not read, also when a later connection
    // (a pixel-format change) reports the larger size.
    disp->SetImageFormat(16, 80, L"Mono8");
    main->m_nWidth = 8;
    main->m_nHeight = 20;
    main->AllocateFrameBuffer(); // 320 bytes
    main->m_nWidth = main->m_nFullWidth = 16;
    main->m_nHeight = main->m_nFullHeight = 80;
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 3, 75), (Bgr{0, 0, 0}));
    // Connection allocates for the full size: the frame is read.
    main->AllocateFrameBuffer();
    frame = main->m_pFrameBuf;
    Fill8(10);
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 3, 75), (Bgr{10, 10, 10}));
    // No new frame: nothing happens.
    Fill8(99);
    main->m_bNewFrame = FALSE;
    disp->DrawFrame();
    EXPECT_EQ(PixelOf(disp->m_pDispImage, 3, 75), (Bgr{10, 10, 10}));
}

namespace {

// The rows of a holder's bitmap as locked in the given format: row y starts at y x stride.
std::vector<BYTE> BitmapBytes(CCvImage* image, PixelFormat format, int bytesPerPixel, int& stride) {
    Gdiplus::BitmapData data{};
    const int width = static_cast<int>(image->m_pBitmap->GetWidth());
    const int height = static_cast<int>(image->m_pBitmap->GetHeight());
    Gdiplus::Rect rc(0, 0, width, height);
    image->m_pBitmap->LockBits(&rc, Gdiplus::ImageLockModeRead, format, &data);
    stride = width * bytesPerPixel;
    std::vector<BYTE> bytes(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        std::memcpy(bytes.data() + static_cast<size_t>(y) * stride,
                    static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride,
                    static_cast<size_t>(stride));
    image->m_pBitmap->UnlockBits(&data);
    return bytes;
}

// The straightforward conversion of a frame: each sample shifted right and its low 8 bits kept; a Bayer
// mosaic padded with zeros to a multiple of 4 columns and demosaiced by OpenCV as a whole (its BayerBG is
// the camera's BayerRG). Grey: width x height bytes; colour: stride x height pixels of blue, green, red.
cv::Mat ReferenceConversion(const BYTE* frame, int width, int height, int shift, bool bayer) {
    const int columns = bayer ? (width + 3) & ~3 : width;
    cv::Mat reduced(height, columns, CV_8UC1, cv::Scalar(0));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            const unsigned sample = shift ? frame[2 * i] | (frame[2 * i + 1] << 8) : frame[i];
            reduced.at<BYTE>(y, x) = static_cast<BYTE>(sample >> shift);
        }
    }
    if (!bayer)
        return reduced;
    cv::Mat colour;
    cv::cvtColor(reduced, colour, cv::COLOR_BayerBG2BGR);
    return colour;
}

} // namespace

// Every format converts a frame of random samples (every bit of the 16-bit words set somewhere, an odd
// size so that the colour rows are padded) exactly as the straightforward conversion does: the source
// image byte for byte, and the display image pixel for pixel, in the plain tick and under the brightness
// windows.
TEST_F(DisplayFixture, ConversionMatchesTheStraightforwardOnePixelForPixel) {
    const struct {
        const wchar_t* format;
        int shift;
        bool bayer;
    } formats[] = {{L"Mono8", 0, false},   {L"Mono10", 2, false},   {L"Mono12", 4, false},
                   {L"BayerRG8", 0, true}, {L"BayerRG10", 2, true}, {L"BayerRG12", 4, true}};
    const int width = 1282;
    const int height = 515;
    for (const auto& f : formats) {
        for (const bool bright : {false, true}) {
            SCOPED_TRACE(CString(f.format).ToUtf8() + (bright ? " bright" : " plain"));
            StartFrames(width, height, f.format, f.shift ? 2 : 1);
            std::mt19937 random(20240611u + static_cast<unsigned>(f.shift));
            for (size_t i = 0; i < frameBytes; ++i)
                frame[i] = static_cast<BYTE>(random());
            const cv::Mat expected = ReferenceConversion(frame, width, height, f.shift, f.bayer);
            main->m_bColorCamera = f.bayer ? TRUE : FALSE;
            disp->m_bBrightMode = bright;
            if (bright) {
                const int windows[5][4] = {{591, 207, 100, 100},
                                           {0, 0, 100, 100},
                                           {1182, 0, 100, 100},
                                           {0, 415, 100, 100},
                                           {1182, 415, 100, 100}};
                for (int w = 0; w < 5; ++w)
                    std::copy(std::begin(windows[w]), std::end(windows[w]), g_rcBrightWindow[w]);
                disp->DrawFrame();
            } else {
                disp->ConvertFrame();
            }

            int stride = 0;
            const int channels = f.bayer ? 3 : 1;
            const std::vector<BYTE> src = BitmapBytes(
                disp->m_pSrcImage, f.bayer ? PixelFormat24bppRGB : PixelFormat8bppIndexed, channels, stride);
            ASSERT_EQ(stride, expected.cols * channels);
            int differing = 0;
            for (int y = 0; y < height; ++y)
                differing += std::memcmp(src.data() + static_cast<size_t>(y) * stride, expected.ptr(y),
                                         static_cast<size_t>(stride)) != 0;
            EXPECT_EQ(differing, 0) << "source rows differ";
            if (bright)
                continue; // the windows and their labels are drawn on the display image
            int dispStride = 0;
            const std::vector<BYTE> shown =
                BitmapBytes(disp->m_pDispImage, PixelFormat24bppRGB, 3, dispStride);
            differing = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const BYTE* pixel = shown.data() + static_cast<size_t>(y) * dispStride + 3 * x;
                    const BYTE* want = f.bayer ? expected.ptr(y) + 3 * x : expected.ptr(y) + x;
                    const int step = f.bayer ? 1 : 0;
                    differing += pixel[0] != want[0] || pixel[1] != want[step] || pixel[2] != want[2 * step];
                }
            }
            EXPECT_EQ(differing, 0) << "display pixels differ";
        }
    }
}
