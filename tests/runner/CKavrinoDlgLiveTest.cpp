// Live acquisition on the main window: the grab hook, the frame-rate readout, the pixel-format combo,
// "Grab One", and the frame buffer's limits.

#include "BrightWindows.h"
#include "CDisplayDlg.h"
#include "FrameSlots.h"
#include "HeldFrame.h"
#include "MainWindowFixture.h"
#include "MilObjectTable.h"
#include "SimDigitizer.h"

#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>
#include <opencv2/core.hpp>

using kavrino_test::CameraFile;
using kavrino_test::MainWindowTest;

namespace {
const CameraFile kMono{"LM0001", 320, 240, false, 8, 30.0};
const CameraFile kColor{"LC0001", 320, 240, true, 8, 30.0};

// The display measures a 100 x 100 centre window at (110, 70) on every tick while it lives.
class CentreMeasurement {
public:
    explicit CentreMeasurement(CDisplayDlg* pDisplay) : m_pDisplay(pDisplay) {
        std::copy(std::begin(g_rcBrightWindow[0]), std::end(g_rcBrightWindow[0]), m_saved);
        const int window[4] = {110, 70, 100, 100};
        std::copy(std::begin(window), std::end(window), g_rcBrightWindow[0]);
        m_pDisplay->m_bCenterMode = true;
    }
    ~CentreMeasurement() {
        m_pDisplay->m_bCenterMode = false;
        std::copy(std::begin(m_saved), std::end(m_saved), g_rcBrightWindow[0]);
    }

private:
    CDisplayDlg* m_pDisplay;
    int m_saved[4] = {};
};

// Byte x of row y of an 8-bit holder.
int PixelOf8(CCvImage* image, int x, int y) {
    Gdiplus::BitmapData data{};
    Gdiplus::Rect rc(x, y, 1, 1);
    image->m_pBitmap->LockBits(&rc, Gdiplus::ImageLockModeRead, PixelFormat8bppIndexed, &data);
    const int value = *static_cast<const BYTE*>(data.Scan0);
    image->m_pBitmap->UnlockBits(&data);
    return value;
}

QWidget* TopLevelWithTitle(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == title && w->isVisible())
            return w;
    return nullptr;
}
} // namespace

TEST_F(MainWindowTest, LiveFramesArriveCountAndGiveTheRate) {
    UseCamera(kMono);
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);

    Click(CKavrinoDlg::IDC_LIVE);
    ASSERT_TRUE(m_dlg->m_bLive);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_LIVE), L"영상 정지");
    EXPECT_TRUE(HasBox(L"width = 320  height = 240"));

    ASSERT_TRUE(WaitForFrames(3));
    EXPECT_TRUE(m_dlg->m_bNewFrame);
    // The scene reached the frame buffer.
    m_dlg->m_csFrame.Lock();
    const BYTE* pFrame = m_dlg->m_pFrameBuf;
    const bool bAnyPixel = std::any_of(pFrame, pFrame + 320 * 240, [](BYTE b) { return b != 0; });
    m_dlg->m_csFrame.Unlock();
    EXPECT_TRUE(bAnyPixel);

    // The first tick only primes; the next one shows the rate of the frames since.
    m_dlg->SetDlgItemText(CKavrinoDlg::IDC_FRAME_RATE, L"");
    m_dlg->UpdateFrameRate();
    EXPECT_EQ(Text(CKavrinoDlg::IDC_FRAME_RATE), L"");
    const ULONGLONG nPrimed = m_dlg->m_nLastFrameCount.load();
    EXPECT_GT(nPrimed, 0u);
    ASSERT_TRUE(WaitForFrames(nPrimed + 15));
    m_dlg->UpdateFrameRate();
    CString strRate;
    strRate.Format(L"%.2f", m_dlg->m_dFrameRate);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_FRAME_RATE), strRate);
    // Loose bounds: a busy machine may deliver fewer frames than the camera's 30 per second.
    EXPECT_GT(m_dlg->m_dFrameRate, 5.0);
    EXPECT_LT(m_dlg->m_dFrameRate, 45.0);

    // A start while live restarts: the hook stays installed once, so every grabbed frame counts once.
    m_dlg->StartLive();
    ASSERT_TRUE(m_dlg->m_bLive);
    auto digitizer = kavrino::MilObjectTable::Instance().Get<kavrino::SimDigitizer>(
        m_dlg->m_milDigitizer, kavrino::MilObject::Digitizer);
    ASSERT_NE(digitizer, nullptr);
    const std::uint64_t nGrabbed = digitizer->Frames();
    const ULONGLONG nCounted = m_dlg->m_nFrameCount.load();
    ASSERT_TRUE(kavrino::PumpUntil([&] { return digitizer->Frames() >= nGrabbed + 10; }));
    const std::uint64_t nNewGrabbed = digitizer->Frames() - nGrabbed;
    // One frame may be between the two reads.
    EXPECT_LE(m_dlg->m_nFrameCount.load() - nCounted, nNewGrabbed + 1);

    Click(CKavrinoDlg::IDC_LIVE);
    EXPECT_FALSE(m_dlg->m_bLive);
    EXPECT_FALSE(m_dlg->m_bNewFrame);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_LIVE), L"영상 시작");
    // Stopped: the count no longer grows, so the rate falls to 0.00 from the second tick of the window's
    // frame-rate timer on.
    m_dlg->SendMessage(WM_TIMER, CKavrinoDlg::TIMER_FRAME_RATE);
    m_dlg->SendMessage(WM_TIMER, CKavrinoDlg::TIMER_FRAME_RATE);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_FRAME_RATE), L"0.00");
}

TEST_F(MainWindowTest, LiveRunsAndIsDrawnWhileTheFrameSizeMessageIsOpen) {
    UseCamera(kMono);
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    CentreMeasurement centre(m_dlg->m_pDisplayDlg);
    m_dlg->m_nBrightAverage = -1;
    // The operator reads the message for 600 ms: the grab hook and the display's tick go on under it.
    m_boxes.SetAnswerDelay(600);
    Click(CKavrinoDlg::IDC_LIVE);
    m_boxes.SetAnswerDelay(0);
    EXPECT_TRUE(HasBox(L"width = 320  height = 240"));
    EXPECT_GT(m_dlg->m_nFrameCount.load(), 0u);
    EXPECT_GT(m_dlg->m_nBrightAverage, 0);
    Click(CKavrinoDlg::IDC_LIVE);
    EXPECT_FALSE(m_dlg->m_bLive);
}

TEST_F(MainWindowTest, LiveButtonNeedsTheLibrary) {
    UseCamera(kMono);
    Open();
    Click(CKavrinoDlg::IDC_LIVE);
    EXPECT_FALSE(m_dlg->m_bLive);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_LIVE), L"영상 시작");
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(MainWindowTest, PixelFormatComboReconnectsWithTheBitDepthsFile) {
    UseCamera(kColor);
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    Click(CKavrinoDlg::IDC_LIVE);
    ASSERT_TRUE(m_dlg->m_bLive);

    SelectPixelFormat(L"BayerRG10");
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"BayerRG10");
    EXPECT_EQ(m_dlg->m_strDcfFile, m_dcfList.GetAt(m_dcfList.FindIndex(1)));
    ASSERT_NE(m_dlg->m_milImage, M_NULL);
    EXPECT_EQ(MbufInquire(m_dlg->m_milImage, M_SIZE_BIT), 16);
    EXPECT_TRUE(m_dlg->m_bLive);
    wchar_t szFormat[CKavrinoDlg::kFeatureTextSize] = {};
    m_dlg->GetFeature(L"PixelFormat", FEATURE_VALUE_AS_STRING, szFormat);
    EXPECT_STREQ(szFormat, L"BayerRG10");
    // Two bytes per pixel fit the buffer of the connection: frames keep coming.
    ASSERT_TRUE(WaitForFrames(2));
    cv::Mat image;
    ASSERT_TRUE(m_dlg->GetFrameImage(image));
    EXPECT_EQ(image.type(), CV_8UC3);
    EXPECT_EQ(image.cols, 320);
    EXPECT_EQ(image.rows, 240);

    SelectPixelFormat(L"BayerRG8");
    EXPECT_EQ(m_dlg->m_strDcfFile, m_dcfList.GetHead());
    EXPECT_EQ(MbufInquire(m_dlg->m_milImage, M_SIZE_BIT), 8);

    SelectPixelFormat(L"Mono8");
    ASSERT_TRUE(WaitForFrames(2));
    ASSERT_TRUE(m_dlg->GetFrameImage(image));
    EXPECT_EQ(image.type(), CV_8UC1);
    // Headless, "Grab One" builds the picture without a highgui window.
    Click(CKavrinoDlg::IDC_GRAB_ONE);
    const auto texts = m_boxes.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), CString(L"width = 320  height = 240")), 4);
}

TEST_F(MainWindowTest, BayerImagesOfTheColourCameraAreMeasured) {
    UseCamera(kColor);
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    SelectPixelFormat(L"BayerRG8");
    ASSERT_TRUE(m_dlg->m_bLive);
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    CentreMeasurement centre(pDisplay);
    pDisplay->m_bShowRed = false;
    pDisplay->m_bShowGreen = true;
    pDisplay->m_bShowBlue = false;
    // The display's own ticks measure the centre of the scene.
    auto measureAfterNewFrames = [&] {
        const ULONGLONG nFrames = m_dlg->m_nFrameCount.load();
        EXPECT_TRUE(WaitForFrames(nFrames + 3));
        m_dlg->m_nBrightAverage = -1;
        EXPECT_TRUE(kavrino::PumpUntil([&] { return m_dlg->m_nBrightAverage >= 0; }));
        return m_dlg->m_nBrightAverage;
    };
    const int nDim = measureAfterNewFrames();
    EXPECT_GT(nDim, 0);
    // Brighter, and the measurement follows.
    double dExposure = 0.0;
    m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &dExposure);
    const double dLonger = dExposure * 3.0;
    m_dlg->SetFeature(L"ExposureTime", FEATURE_VALUE, &dLonger);
    const int nBright = measureAfterNewFrames();
    EXPECT_GT(nBright, nDim + 10);
}

TEST_F(MainWindowTest, FailedReconnectionDisconnectsTheWindowAndSaysWhy) {
    UseCamera(kMono);
    // No 10-bit file in the test set.
    m_dcfList.SetAt(m_dcfList.FindIndex(1), CString());
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    Click(CKavrinoDlg::IDC_LIVE);
    m_boxes.Clear();

    SelectPixelFormat(L"Mono10");
    EXPECT_EQ(m_boxes.Texts(), std::vector<CString>{L"10비트 DCF파일을 선택하지 않았습니다."});
    EXPECT_FALSE(m_dlg->m_bConnected);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_CONNECT), L"연결");
    ExpectNoLibraryObjects();
    EXPECT_FALSE(m_dlg->m_bLive);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_LIVE), L"영상 시작");
    Click(CKavrinoDlg::IDC_LIVE);
    EXPECT_FALSE(m_dlg->m_bLive);
    // Feature access without a digitizer does nothing.
    double dExposure = -1.0;
    m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &dExposure);
    EXPECT_EQ(dExposure, -1.0);

    // Connected again, a digitizer that cannot be allocated: the hook is never installed and the window
    // is disconnected again, with what the connect button says when it fails.
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    m_dcfList.SetAt(m_dcfList.FindIndex(1), CString((m_dir.path() + "/broken.dcf").toStdWString()));
    m_boxes.Clear();
    SelectPixelFormat(L"Mono10");
    EXPECT_EQ(m_boxes.Texts(), std::vector<CString>{L"Mil 연결 실패"});
    EXPECT_FALSE(m_dlg->m_bConnected);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_CONNECT), L"연결");
    EXPECT_FALSE(m_dlg->m_bLive);
    ExpectNoLibraryObjects();

    // Connecting works as before.
    Click(CKavrinoDlg::IDC_CONNECT);
    EXPECT_TRUE(m_dlg->m_bConnected);
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono8");
}

TEST_F(MainWindowTest, HookCopiesNothingWithoutRoom) {
    UseCamera(kMono);
    Open();

    // The combo before "연결" connects the library and starts live without a frame buffer.
    SelectPixelFormat(L"Mono8");
    ASSERT_NE(m_dlg->m_milDigitizer, M_NULL);
    EXPECT_TRUE(m_dlg->m_bLive);
    EXPECT_EQ(m_dlg->m_pFrameBuf, nullptr);
    m_dlg->OnFrameGrabbed(m_dlg->m_milImage);
    EXPECT_EQ(m_dlg->m_nFrameCount.load(), 0u);
    EXPECT_FALSE(m_dlg->m_bNewFrame);
    m_dlg->StopLive();

    // Connected with a small camera, then reconnected with a larger one: its frames do not fit.
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    ASSERT_EQ(m_dlg->FrameBufferSize(), 320u * 240u * 2u);
    m_dlg->MilDisconnect();
    CameraFile big = kMono;
    big.serial = "LM0002";
    big.width = 640;
    big.height = 480;
    m_dlg->MilConnect(WriteDcf(big));
    ASSERT_EQ(m_dlg->m_nWidth, 640);
    m_dlg->StartLive();
    ASSERT_TRUE(m_dlg->m_bLive);
    m_dlg->OnFrameGrabbed(m_dlg->m_milImage);
    EXPECT_EQ(m_dlg->m_nFrameCount.load(), 0u);
    EXPECT_FALSE(m_dlg->m_bNewFrame);
    // "Grab One" refuses a frame larger than the buffer as well.
    cv::Mat image;
    EXPECT_FALSE(m_dlg->GetFrameImage(image));
}

// Whether every byte of a frame held from the main window has this value.
bool HeldFrameIs(const HeldFrame& held, std::size_t nBytes, BYTE value) {
    return held.Data() != nullptr &&
           std::all_of(held.Data(), held.Data() + nBytes, [value](BYTE b) { return b == value; });
}

TEST_F(MainWindowTest, HookNeverWritesIntoTheFrameAReaderHolds) {
    ASSERT_TRUE(ConnectedWithLiveGeometry(kMono));
    const std::size_t nBytes = 320 * 240;
    const ULONGLONG nCounted = m_dlg->m_nFrameCount.load();

    std::vector<BYTE> block(nBytes, 1);
    m_dlg->CopyFrame(block.data());
    const HeldFrame held(*m_dlg);
    ASSERT_TRUE(HeldFrameIs(held, nBytes, 1));
    // Newer frames, more of them than there are buffers, by the copy and by the hook itself: the held
    // frame stays the one it was, and every reader after it gets the newest.
    for (BYTE value = 2; value <= 5; ++value) {
        std::fill(block.begin(), block.end(), value);
        m_dlg->CopyFrame(block.data());
        EXPECT_TRUE(HeldFrameIs(held, nBytes, 1)) << "after frame " << int(value);
        const HeldFrame newest(*m_dlg);
        EXPECT_TRUE(HeldFrameIs(newest, nBytes, value));
    }
    std::vector<BYTE> grabbed(nBytes, 0);
    MbufGet2d(m_dlg->m_milImage, 0, 0, 320, 240, grabbed.data());
    std::replace(grabbed.begin(), grabbed.end(), BYTE{1}, BYTE{0}); // told apart from the held frame
    for (int i = 0; i < 3; ++i)
        m_dlg->OnFrameGrabbed(m_dlg->m_milImage);
    EXPECT_TRUE(HeldFrameIs(held, nBytes, 1));
    EXPECT_EQ(m_dlg->m_nFrameCount.load(), nCounted + 3);
    {
        const HeldFrame newest(*m_dlg);
        std::vector<BYTE> shown(newest.Data(), newest.Data() + nBytes);
        std::replace(shown.begin(), shown.end(), BYTE{1}, BYTE{0});
        EXPECT_EQ(shown, grabbed);
        m_dlg->m_csFrame.Lock();
        EXPECT_EQ(m_dlg->m_pFrameBuf, newest.Data());
        m_dlg->m_csFrame.Unlock();
    }
    // "Grab One" reads the same published frame as the display.
    std::fill(block.begin(), block.end(), 9);
    m_dlg->CopyFrame(block.data());
    cv::Mat image;
    ASSERT_TRUE(m_dlg->GetFrameImage(image));
    EXPECT_EQ(cv::countNonZero(image != 9), 0);
}

TEST_F(MainWindowTest, HeldFrameOutlivesANewFrameBuffer) {
    ASSERT_TRUE(ConnectedWithLiveGeometry(kMono));
    const std::size_t nBytes = 320 * 240;
    std::vector<BYTE> block(nBytes, 7);
    m_dlg->CopyFrame(block.data());
    {
        const HeldFrame held(*m_dlg);
        // A new connection replaces the frame buffer while a reader still holds a frame of the old one:
        // the held frame stays readable, and the new buffer starts empty.
        m_dlg->AllocateFrameBuffer();
        EXPECT_TRUE(HeldFrameIs(held, nBytes, 7));
        const HeldFrame fresh(*m_dlg);
        EXPECT_NE(fresh.Data(), held.Data());
        EXPECT_TRUE(HeldFrameIs(fresh, nBytes, 0));
        std::fill(block.begin(), block.end(), 8);
        m_dlg->CopyFrame(block.data());
        EXPECT_TRUE(HeldFrameIs(held, nBytes, 7));
    }
    const HeldFrame newest(*m_dlg);
    EXPECT_TRUE(HeldFrameIs(newest, nBytes, 8));
}

// Two writers at once (a frame copied in while the hook fills another) each get a buffer of their own,
// and neither is the one a reader takes before it is published.
TEST(FrameSlotsTest, ABufferBeingFilledIsNobodyElsesUntilItIsPublished) {
    FrameSlots frames(16);
    BYTE* const pFirstShown = frames.Published();
    BYTE* const pA = frames.TakeForWriting();
    BYTE* const pB = frames.TakeForWriting();
    ASSERT_NE(pA, nullptr);
    ASSERT_NE(pB, nullptr);
    EXPECT_NE(pA, pB);
    EXPECT_NE(pA, pFirstShown);
    EXPECT_NE(pB, pFirstShown);
    EXPECT_EQ(frames.TakeForWriting(), nullptr) << "every buffer is shown or being filled";
    EXPECT_EQ(frames.Hold(), pFirstShown);
    frames.Release(pFirstShown);

    frames.Publish(pA);
    EXPECT_EQ(frames.Published(), pA);
    // The buffer shown before is free again; the one still being filled is not.
    EXPECT_EQ(frames.TakeForWriting(), pFirstShown);
    EXPECT_EQ(frames.TakeForWriting(), nullptr);
    frames.Publish(pB);
    EXPECT_EQ(frames.Published(), pB);
}

// The grab hook hands frames over on its own thread while the display converts on the user-interface
// thread: every frame is uniform, so a picture of more than one value mixes two frames.
TEST_F(MainWindowTest, DisplayShowsOneWholeFrameWhileTheHookHandsOverNewOnes) {
    const CameraFile big{"LM0003", 1024, 1024, false, 8, 30.0};
    ASSERT_TRUE(ConnectedWithLiveGeometry(big));
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    ASSERT_NE(pDisplay, nullptr);
    ASSERT_NE(pDisplay->m_pSrcImage, nullptr);
    pDisplay->KillTimer(CDisplayDlg::TIMER_DRAW); // the ticks are driven below
    const std::size_t nBytes = 1024 * 1024;

    constexpr int kFrames = 400;
    std::vector<BYTE> first(nBytes, 250);
    m_dlg->CopyFrame(first.data()); // the live start's last frame is the camera's scene
    std::atomic<bool> bDone{false};
    std::thread hook([&] {
        std::vector<BYTE> block(nBytes);
        for (int i = 0; i < kFrames; ++i) {
            std::fill(block.begin(), block.end(), static_cast<BYTE>(1 + i % 250));
            m_dlg->CopyFrame(block.data());
        }
        bDone = true;
    });
    int nTicks = 0;
    int nMixed = 0;
    std::vector<BYTE> picture(nBytes);
    while (!bDone.load() || nTicks < 3) {
        m_dlg->m_bNewFrame = TRUE;
        pDisplay->ConvertFrame();
        ++nTicks;
        Gdiplus::BitmapData data{};
        Gdiplus::Rect rc(0, 0, 1024, 1024);
        pDisplay->m_pSrcImage->m_pBitmap->LockBits(&rc, Gdiplus::ImageLockModeRead, PixelFormat8bppIndexed,
                                                   &data);
        const auto* pRows = static_cast<const BYTE*>(data.Scan0);
        const BYTE first = pRows[0];
        bool bMixed = false;
        for (int y = 0; y < 1024 && !bMixed; ++y)
            bMixed = std::any_of(pRows + y * data.Stride, pRows + y * data.Stride + 1024,
                                 [first](BYTE b) { return b != first; });
        pDisplay->m_pSrcImage->m_pBitmap->UnlockBits(&data);
        nMixed += bMixed;
    }
    hook.join();
    EXPECT_EQ(nMixed, 0) << "of " << nTicks << " ticks";
    // The next tick shows the last frame.
    pDisplay->ConvertFrame();
    EXPECT_EQ(PixelOf8(pDisplay->m_pSrcImage, 1023, 1023), 1 + (kFrames - 1) % 250);
}

TEST_F(MainWindowTest, GrabOneScalesDeepSamplesByTheirFormatsDepth) {
    UseCamera(kMono);
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    // 16-bit samples with the value in the low bits: half of the format's range shows as 128.
    const struct {
        const wchar_t* format;
        std::uint16_t half;
    } cases[] = {{L"Mono10", 512}, {L"Mono12", 2048}};
    for (const auto& c : cases) {
        m_dlg->m_strPixelFormat = c.format;
        m_dlg->m_csFrame.Lock();
        auto* pSamples = reinterpret_cast<std::uint16_t*>(m_dlg->m_pFrameBuf);
        std::fill(pSamples, pSamples + 320 * 240, c.half);
        m_dlg->m_csFrame.Unlock();
        cv::Mat image;
        ASSERT_TRUE(m_dlg->GetFrameImage(image));
        ASSERT_EQ(image.type(), CV_8UC1);
        EXPECT_EQ(image.at<std::uint8_t>(239, 319), 128) << CString(c.format).ToUtf8();
    }
    // A Bayer frame is shown in colour with red on the mosaic's first site: only the red sites lit
    // gives a red picture (blue, green, red per pixel).
    m_dlg->m_strPixelFormat = L"BayerRG8";
    m_dlg->m_csFrame.Lock();
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            m_dlg->m_pFrameBuf[y * 320 + x] = (x % 2 == 0 && y % 2 == 0) ? 200 : 0;
    m_dlg->m_csFrame.Unlock();
    cv::Mat colour;
    ASSERT_TRUE(m_dlg->GetFrameImage(colour));
    ASSERT_EQ(colour.type(), CV_8UC3);
    EXPECT_EQ(colour.at<cv::Vec3b>(120, 160), cv::Vec3b(0, 0, 200));
}

TEST_F(MainWindowTest, UnsupportedPixelFormatWarnsOnceAndCopiesNothing) {
    UseCamera(kMono);
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);

    m_dlg->m_strPixelFormat = L"RGB8";
    m_dlg->StartLive();
    const wchar_t* const kWarning = L"[Warning] - Pixel Format (RGB8) not supported.";
    ASSERT_TRUE(kavrino::PumpUntil([&] { return HasBox(kWarning); }));
    // More frames of the same live start add no box.
    for (int i = 0; i < 3; ++i)
        m_dlg->OnFrameGrabbed(m_dlg->m_milImage);
    kavrino::ProcessUiEvents();
    m_dlg->StopLive();
    kavrino::ProcessUiEvents();
    const auto texts = m_boxes.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), CString(kWarning)), 1);
    EXPECT_EQ(m_dlg->m_nFrameCount.load(), 0u);
    m_dlg->m_csFrame.Lock();
    const BYTE* pFrame = m_dlg->m_pFrameBuf;
    const bool bUntouched = std::all_of(pFrame, pFrame + 320 * 240 * 2, [](BYTE b) { return b == 0; });
    m_dlg->m_csFrame.Unlock();
    EXPECT_TRUE(bUntouched);
}

TEST_F(MainWindowTest, ConnectedAndLiveScreenshot) {
    UseCamera(kColor);
    Open();
    m_dlg->ShowWindow(SW_SHOW);
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    Click(CKavrinoDlg::IDC_LIVE);
    ASSERT_TRUE(WaitForFrames(5));
    m_dlg->UpdateFrameRate();
    ASSERT_TRUE(WaitForFrames(m_dlg->m_nLastFrameCount.load() + 10));
    m_dlg->UpdateFrameRate();
    kavrino::ProcessUiEvents();

    QWidget* pWindow = TopLevelWithTitle("Movrane");
    ASSERT_NE(pWindow, nullptr);
    const QImage shot = pWindow->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString path = QString(KAVRINO_BINARY_DIR) + "/main_window_live.png";
    EXPECT_TRUE(shot.save(path));
    // Not blank: more than one colour.
    const QRgb first = shot.pixel(0, 0);
    bool bVaried = false;
    for (int y = 0; y < shot.height() && !bVaried; y += 7)
        for (int x = 0; x < shot.width() && !bVaried; x += 7)
            bVaried = shot.pixel(x, y) != first;
    EXPECT_TRUE(bVaried);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_CONNECT), L"연결 끊음");
    EXPECT_EQ(Text(CKavrinoDlg::IDC_LIVE), L"영상 정지");
    EXPECT_FALSE(Text(CKavrinoDlg::IDC_FRAME_RATE).IsEmpty());
}
