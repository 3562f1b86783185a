// Live acquisition on the simulated camera for about a second, with the display's own 33 ms timer
// drawing: the window's picture shows the camera image and changes when the camera's exposure does.
// A screenshot of the window is written to the build folder.
#include "DisplayFixture.h"

#include "Mil.h"
#include "SimCameraRegistry.h"

#include <QElapsedTimer>
#include <QImage>

namespace {

struct LiveLink {
    CKavrinoDlg* main = nullptr;
    MIL_INT width = 0;
    MIL_INT height = 0;
};

// Copies each grabbed frame into the main window's frame buffer, as the main window's own hook does.
MIL_INT CopyFrameHook(MIL_INT, MIL_ID eventId, void* userData) {
    auto* link = static_cast<LiveLink*>(userData);
    MIL_ID buffer = M_NULL;
    MdigGetHookInfo(eventId, M_MODIFIED_BUFFER + M_BUFFER_ID, &buffer);
    link->main->m_csFrame.Lock();
    MbufGet2d(buffer, 0, 0, link->width, link->height, link->main->m_pFrameBuf);
    link->main->m_bNewFrame = TRUE;
    link->main->m_csFrame.Unlock();
    return 0;
}

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

    LiveLink link;
    link.main = main.get();
    link.width = MdigInquire(dig, M_SIZE_X);
    link.height = MdigInquire(dig, M_SIZE_Y);
    const MIL_ID image = MbufAlloc2d(sys, link.width, link.height, 8 + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC);
    StartFrames(static_cast<int>(link.width), static_cast<int>(link.height), L"Mono8", 1);
    main->m_bNewFrame = FALSE;
    main->m_dFrameRate = 60.0;

    MdigHookFunction(dig, M_GRAB_FRAME_END, CopyFrameHook, &link);
    MdigGrabContinuous(dig, image);
    RunEvents(500);
    const QImage before = Shown(disp);
    MdigControlFeature(dig, M_FEATURE_VALUE, MIL_TEXT("ExposureTime"), MIL_DOUBLE(2500.0));
    RunEvents(500);
    const QImage after = Shown(disp);
    MdigHookFunction(dig, M_GRAB_FRAME_END + M_UNHOOK, CopyFrameHook, &link);
    MdigHalt(dig);
    after.save(QString::fromUtf8(KAVRINO_BINARY_DIR "/display_live.png"));

    MbufFree(image);
    MdigFree(dig);
    MsysFree(sys);
    MappFree(app);

    ASSERT_TRUE(main->m_bNewFrame);
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
