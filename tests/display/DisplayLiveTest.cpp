// Live acquisition on the simulated camera for about a second through the main window's grab hook,
// with the display's own 33 ms timer drawing: the window's picture shows the camera image and changes
// when the camera's exposure does. A screenshot of the window is written to the build folder.
#include "DisplayFixture.h"

#include "Mil.h"
#include "SimCameraRegistry.h"
#include "TestHooks.h"

#include <QElapsedTimer>
#include <QImage>

namespace {

// Lets the user-interface thread run (timers included) for a while.
void RunEvents(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

QImage Shown(CDisplayDlg* disp) {
    CClientDC dc(disp);
    return dc.Surface()->Image().copy();
}

} // namespace

TEST_F(DisplayFixture, LiveImageOfTheSimulatedCameraIsDrawnByTheTimer) {
    kavrino::SimCameraRegistry::Reset();
    const std::wstring dcf = CString(KAVRINO_SOURCE_DIR "/samples/mono_8bit.dcf").str();
    const MIL_ID app = MappAlloc(MIL_TEXT("M_DEFAULT"), M_DEFAULT);
    const MIL_ID sys = MsysAlloc(app, M_SYSTEM_RADIENTCXP, M_DEV0, M_DEFAULT);
    const MIL_ID dig = MdigAlloc(sys, M_DEV0, dcf.c_str(), M_DEFAULT);
    ASSERT_NE(dig, M_NULL) << CString(kavrino::MilLastErrorText()).ToUtf8();

    const MIL_INT width = MdigInquire(dig, M_SIZE_X);
    const MIL_INT height = MdigInquire(dig, M_SIZE_Y);
    const MIL_ID image = MbufAlloc2d(sys, width, height, 8 + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC);
    StartFrames(static_cast<int>(width), static_cast<int>(height), L"Mono8", 1);
    main->m_bNewFrame = FALSE;
    main->m_dFrameRate = 60.0;

    // The main window's own live start: its grab hook hands the frames over to the display.
    kavrino::MessageBoxRecorder boxes{IDOK};
    main->m_milDigitizer = dig;
    main->m_milImage = image;
    main->StartLive();
    RunEvents(500);
    const QImage before = Shown(disp);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ExposureTime"), MIL_DOUBLE(2500.0));
    RunEvents(500);
    const QImage after = Shown(disp);
    main->StopLive();
    ASSERT_GT(main->m_nFrameCount.load(), 0u);
    main->m_milDigitizer = M_NULL;
    main->m_milImage = M_NULL;
    after.save(QString::fromUtf8(KAVRINO_BINARY_DIR "/display_live.png"));

    MbufFree(image);
    MdigFree(dig);
    MsysFree(sys);
    MappFree(app);

    // The picture is the camera's scene (not one flat colour) and it followed the exposure change.
    const QRgb first = before.pixel(0, before.height() - 1);
    bool varied = false;
    for (int y = 0; y < before.height() && !varied; y += 7)
        for (int x = 0; x < before.width() && !varied; x += 7)
            varied = before.pixel(x, y) != first;
    EXPECT_TRUE(varied);
    long long brightnessBefore = 0;
    long long brightnessAfter = 0;
    for (int y = 100; y < before.height(); y += 5) {
        for (int x = 0; x < before.width(); x += 5) {
            brightnessBefore += qGray(before.pixel(x, y));
            brightnessAfter += qGray(after.pixel(x, y));
        }
    }
    EXPECT_GT(brightnessBefore, brightnessAfter);
}
