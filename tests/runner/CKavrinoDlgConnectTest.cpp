// The main window's connection, device information, feature access and camera controls on the simulated
// camera.

#include "MainWindowFixture.h"

#include <cstdint>
#include <cwchar>

using kavrino_test::CameraFile;
using kavrino_test::MainWindowTest;

namespace {
const CameraFile kMono{"M0001", 640, 480, false, 8, 30.0};
const CameraFile kColor{"C0001", 320, 240, true, 8, 30.0};
} // namespace

TEST_F(MainWindowTest, ConnectDisconnectAndConnectAgainWithAnotherCamera) {
    UseCamera(kMono);
    Open();
    EXPECT_EQ(Text(CKavrinoDlg::IDC_CONNECT), L"연결");

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_CONNECT), L"연결 끊음");
    EXPECT_NE(m_dlg->m_milDigitizer, M_NULL);
    EXPECT_EQ(m_dlg->m_nWidth, 640);
    EXPECT_EQ(m_dlg->m_nFullHeight, 480);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_WIDTH), L"640");
    EXPECT_EQ(Text(CKavrinoDlg::IDC_HEIGHT), L"480");
    EXPECT_EQ(g_nImageWidth, 640);
    EXPECT_EQ(g_nImageHeight, 480);
    ASSERT_NE(m_dlg->m_pFrameBuf, nullptr);
    EXPECT_EQ(m_dlg->FrameBufferSize(), 640u * 480u * 2u);
    EXPECT_EQ(m_dlg->m_strModelName, L"KV-M640");
    EXPECT_EQ(m_dlg->m_strSerialNumber, L"M0001");
    EXPECT_EQ(m_dlg->m_strDeviceVersion, L"2.1.7");
    EXPECT_EQ(m_dlg->m_strPixelFormat, L"Mono8");
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCurSel(), 0);
    // The camera's exposure is shown, and kept for the pages to restore.
    double dExposure = 0.0;
    m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &dExposure);
    ASSERT_GT(dExposure, 0.0);
    CString strExposure;
    strExposure.Format(L"%lf", dExposure);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_EXPOSURE), strExposure);
    EXPECT_DOUBLE_EQ(m_dlg->m_dSavedExposure, dExposure);

    // Disconnecting frees the grabber but keeps the frame buffer.
    BYTE* const pOldBuffer = m_dlg->m_pFrameBuf;
    Click(CKavrinoDlg::IDC_CONNECT);
    EXPECT_FALSE(m_dlg->m_bConnected);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_CONNECT), L"연결");
    ExpectNoLibraryObjects();
    EXPECT_EQ(m_dlg->m_pFrameBuf, pOldBuffer);
    EXPECT_EQ(m_dlg->FrameBufferSize(), 640u * 480u * 2u);

    // Another camera behind the same list entry: a fresh buffer of its size.
    UseCamera(CameraFile{"M0002", 800, 600, false, 8, 30.0});
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    EXPECT_EQ(m_dlg->FrameBufferSize(), 800u * 600u * 2u);
    EXPECT_EQ(m_dlg->m_strSerialNumber, L"M0002");
    EXPECT_EQ(g_nImageWidth, 800);
    EXPECT_TRUE(m_boxes.Texts().empty());
}

TEST_F(MainWindowTest, ConnectingStopsTheCameraAndResetsItsTriggerAndFormat) {
    UseCamera(kMono);
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    auto text = [&](const wchar_t* name) {
        wchar_t szValue[CKavrinoDlg::kFeatureTextSize] = {};
        m_dlg->GetFeature(name, FEATURE_VALUE_AS_STRING, szValue, CKavrinoDlg::kFeatureTextSize);
        return CString(szValue);
    };
    // The camera as another program may leave it: triggered, in another format, acquiring.
    m_dlg->SetFeature(L"TriggerMode", FEATURE_VALUE_AS_STRING, L"On");
    m_dlg->SetFeature(L"PixelFormat", FEATURE_VALUE_AS_STRING, L"Mono10");
    ASSERT_EQ(text(L"PixelFormat"), L"Mono10");
    Click(CKavrinoDlg::IDC_CONNECT);
    auto camera = kavrino::SimCameraRegistry::Find(L"M0001");
    ASSERT_NE(camera, nullptr);
    camera->SetAcquiring(true);
    const int nStops = camera->Executions(L"AcquisitionStop");

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    EXPECT_EQ(camera->Executions(L"AcquisitionStop"), nStops + 1);
    EXPECT_FALSE(camera->IsAcquiring());
    EXPECT_EQ(text(L"TriggerMode"), L"Off");
    // Written once the camera has stopped (a format cannot change while it acquires).
    EXPECT_EQ(text(L"PixelFormat"), L"Mono8");
    EXPECT_EQ(kavrino::MilLastErrorCode(), kavrino::kMilErrorNone)
        << CString(kavrino::MilLastErrorText()).ToUtf8();
}

TEST_F(MainWindowTest, FailingConfigurationFileLeavesNothingAllocated) {
    m_dcfList.AddTail(CString((m_dir.path() + "/missing.dcf").toStdWString()));
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    EXPECT_TRUE(HasBox(L"Mil 연결 실패"));
    EXPECT_FALSE(m_dlg->m_bConnected);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_CONNECT), L"연결");
    ExpectNoLibraryObjects();
    EXPECT_EQ(m_dlg->m_pFrameBuf, nullptr);

    // No list at all behaves the same.
    Close();
    m_dcfList.RemoveAll();
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    EXPECT_FALSE(m_dlg->m_bConnected);
    EXPECT_EQ(m_dlg->m_milApplication, M_NULL);
}

TEST_F(MainWindowTest, ColourCameraGetsFourFormatsAndUnitBalanceRatios) {
    UseCamera(kColor);
    Open();
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCount(), 4);
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    EXPECT_EQ(m_dlg->m_strModelName, L"KV-C640");

    // Spoil the ratios; the camera keeps them across a reconnection, which resets them to 1.0.
    for (const wchar_t* colour : {L"Red", L"Green", L"Blue"}) {
        m_dlg->SetFeature(L"BalanceRatioSelector", FEATURE_VALUE_AS_STRING, colour);
        const double dRatio = 2.5;
        m_dlg->SetFeature(L"BalanceRatio", FEATURE_VALUE, &dRatio);
    }
    Click(CKavrinoDlg::IDC_CONNECT);
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    for (const wchar_t* colour : {L"Red", L"Green", L"Blue"}) {
        m_dlg->SetFeature(L"BalanceRatioSelector", FEATURE_VALUE_AS_STRING, colour);
        double dRatio = 0.0;
        m_dlg->GetFeature(L"BalanceRatio", FEATURE_VALUE, &dRatio);
        EXPECT_DOUBLE_EQ(dRatio, 1.0) << colour;
    }
    EXPECT_EQ(kavrino::MilLastErrorCode(), kavrino::kMilErrorNone)
        << CString(kavrino::MilLastErrorText()).ToUtf8();
}

TEST_F(MainWindowTest, MonoCameraGetsTwoFormatsAndNoBalanceWrites) {
    UseCamera(kMono);
    Open();
    EXPECT_EQ(m_dlg->m_cmbPixelFormat.GetCount(), 2);
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    // A mono camera has no balance features: writing them would have failed.
    EXPECT_EQ(kavrino::MilLastErrorCode(), kavrino::kMilErrorNone)
        << CString(kavrino::MilLastErrorText()).ToUtf8();
}

TEST_F(MainWindowTest, FeatureAccessByType) {
    UseCamera(kMono);
    Open();

    // Without a digitizer nothing is read or written and no error is left behind.
    double dUntouched = 12.5;
    m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &dUntouched);
    EXPECT_EQ(dUntouched, 12.5);
    EXPECT_TRUE(m_dlg->CheckMilError(L"none"));

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);

    // Limits in the feature's own type: a double for a float, a 64-bit integer for an integer.
    double dMin = 0.0, dMax = 0.0;
    m_dlg->GetFeature(L"ExposureTime", FEATURE_MIN, &dMin);
    m_dlg->GetFeature(L"ExposureTime", FEATURE_MAX, &dMax);
    EXPECT_DOUBLE_EQ(dMin, 4.0);
    EXPECT_GT(dMax, dMin);
    MIL_INT64 nWidthMax = 0, nWidthInc = 0;
    m_dlg->GetFeature(L"Width", FEATURE_MAX, &nWidthMax);
    m_dlg->GetFeature(L"Width", FEATURE_INCREMENT, &nWidthInc);
    EXPECT_EQ(nWidthMax, 640);
    EXPECT_GT(nWidthInc, 0);

    // Booleans are 32-bit values.
    const MIL_BOOL bOn = 1;
    m_dlg->SetFeature(L"ReverseX", FEATURE_VALUE, &bOn);
    MIL_BOOL bRead = 0;
    m_dlg->GetFeature(L"ReverseX", FEATURE_VALUE, &bRead);
    EXPECT_EQ(bRead, 1);

    // An enumeration is written by its entry name and read back as text.
    m_dlg->SetFeature(L"TriggerMode", FEATURE_VALUE_AS_STRING, L"On");
    wchar_t szMode[CKavrinoDlg::kFeatureTextSize] = {};
    m_dlg->GetFeature(L"TriggerMode", FEATURE_VALUE_AS_STRING, szMode);
    EXPECT_STREQ(szMode, L"On");
    EXPECT_TRUE(m_dlg->CheckMilError(L"TriggerMode"));

    // An entry the camera does not offer is refused and reported by the error query.
    m_dlg->SetFeature(L"TriggerMode", FEATURE_VALUE_AS_STRING, L"Sometimes");
    EXPECT_FALSE(m_dlg->CheckMilError(L"TriggerMode"));
    EXPECT_TRUE(HasBox(L"ERROR : 'TriggerMode'"));

    // A command passes no value, whatever the caller supplies.
    const double dJunk = 3.0;
    m_dlg->SetFeature(L"AcquisitionStop", FEATURE_EXECUTE, &dJunk);
    EXPECT_TRUE(m_dlg->CheckMilError(L"AcquisitionStop"));

    // A name the camera lacks: the output stays, nothing is written.
    double dKeep = 7.0;
    m_dlg->GetFeature(L"NoSuchFeature", FEATURE_VALUE, &dKeep);
    EXPECT_EQ(dKeep, 7.0);
    m_dlg->SetFeature(L"NoSuchFeature", FEATURE_VALUE, &dKeep);
    MappGetError(M_DEFAULT, M_CURRENT, M_NULL);

    // A text read never writes past the caller's buffer: it is cut and ends with a zero.
    wchar_t szShort[8];
    std::wmemset(szShort, L'#', 8);
    m_dlg->GetFeature(L"DeviceModelName", FEATURE_VALUE, szShort, 5);
    EXPECT_STREQ(szShort, L"KV-M");
    EXPECT_EQ(szShort[5], L'#');
    EXPECT_EQ(szShort[7], L'#');
}

// A camera may describe "ReverseX", "ReverseY" and "LineInverter" as 64-bit integers. The pages hand a
// 32-bit boolean over for them: exactly that is read and written, widened, never the bytes after it, and
// a read gives back exactly the caller's variable.
TEST_F(MainWindowTest, ABooleanHandedOverForAnIntegerFeatureIsReadAsItIs) {
    UseCamera(kMono);
    {
        QFile file(QString::fromStdWString(std::wstring(m_dcfList.GetHead().GetString())));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("integer_booleans = ReverseX, LineInverter\n");
    }
    Open();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    MIL_INT64 nType = 0;
    MdigInquireFeature(m_dlg->m_milDigitizer, M_FEATURE_TYPE, L"ReverseX", M_DEFAULT, &nType);
    ASSERT_EQ(nType, FEATURE_TYPE_INT64);

    // What lies after the boolean in memory is not part of the value.
    struct {
        MIL_BOOL bValue;
        std::int32_t nAfter;
    } handed{1, 0x7F};
    m_dlg->SetFeature(L"ReverseX", FEATURE_VALUE, &handed.bValue);
    EXPECT_TRUE(m_dlg->CheckMilError(L"ReverseX"));
    MIL_INT64 nRead = -1;
    m_dlg->GetFeature(L"ReverseX", FEATURE_VALUE, &nRead);
    EXPECT_EQ(nRead, 1);
    struct {
        MIL_BOOL bValue;
        std::int32_t nAfter;
    } read{0, 0x55};
    m_dlg->GetFeature(L"ReverseX", FEATURE_VALUE, &read.bValue);
    EXPECT_EQ(read.bValue, 1);
    EXPECT_EQ(read.nAfter, 0x55);
    handed.bValue = 0;
    m_dlg->SetFeature(L"ReverseX", FEATURE_VALUE, &handed.bValue);
    m_dlg->GetFeature(L"ReverseX", FEATURE_VALUE, &nRead);
    EXPECT_EQ(nRead, 0);

    // The line inverter of the selected line, as the trigger page writes it.
    m_dlg->SetFeature(L"LineSelector", FEATURE_VALUE_AS_STRING, L"Line1");
    handed.bValue = 1;
    m_dlg->SetFeature(L"LineInverter", FEATURE_VALUE, &handed.bValue);
    EXPECT_TRUE(m_dlg->CheckMilError(L"LineInverter"));
    m_dlg->GetFeature(L"LineInverter", FEATURE_VALUE, &nRead);
    EXPECT_EQ(nRead, 1);

    // A number of another type goes to the library as it is, which takes what fits: a whole double for
    // an integer feature; a value a boolean cannot hold is refused and reported.
    const double dWidth = 320.0;
    m_dlg->SetFeature(L"Width", FEATURE_VALUE, &dWidth);
    EXPECT_TRUE(m_dlg->CheckMilError(L"Width"));
    m_dlg->GetFeature(L"Width", FEATURE_VALUE, &nRead);
    EXPECT_EQ(nRead, 320);
    const MIL_INT64 nTwo = 2;
    m_dlg->SetFeature(L"ReverseY", FEATURE_VALUE, &nTwo);
    EXPECT_FALSE(m_dlg->CheckMilError(L"ReverseY"));
    EXPECT_TRUE(HasBox(L"ERROR : 'ReverseY'"));
}

TEST_F(MainWindowTest, ExposureControlsKeepTheFloor) {
    UseCamera(kMono);
    Open();

    // Before any connection "최소" reads nothing and raises the exposure to the floor.
    Click(CKavrinoDlg::IDC_EXPOSURE_MIN);
    EXPECT_DOUBLE_EQ(m_dlg->m_dExposure, 4.0);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_EXPOSURE), L"4.000000");

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    const double dConnected = m_dlg->m_dExposure;
    EXPECT_GT(dConnected, 0.0);
    EXPECT_DOUBLE_EQ(m_dlg->m_dSavedExposure, dConnected);

    // Typing 2 writes 4.0 to the camera but keeps 2 in the members and the edit.
    m_dlg->SetDlgItemText(CKavrinoDlg::IDC_EXPOSURE, L"2");
    Click(CKavrinoDlg::IDC_EXPOSURE_APPLY);
    double dCamera = 0.0;
    m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &dCamera);
    EXPECT_DOUBLE_EQ(dCamera, 4.0);
    EXPECT_DOUBLE_EQ(m_dlg->m_dExposure, 2.0);
    EXPECT_DOUBLE_EQ(m_dlg->m_dSavedExposure, 2.0);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_EXPOSURE), L"2");

    // A text that is no number, or no text at all, applies 0.0 to the members and the floor to the
    // camera.
    for (const wchar_t* text : {L"abc", L""}) {
        m_dlg->SetDlgItemText(CKavrinoDlg::IDC_EXPOSURE, L"1500.5");
        Click(CKavrinoDlg::IDC_EXPOSURE_APPLY);
        m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &dCamera);
        EXPECT_DOUBLE_EQ(dCamera, 1500.5);
        m_dlg->SetDlgItemText(CKavrinoDlg::IDC_EXPOSURE, text);
        Click(CKavrinoDlg::IDC_EXPOSURE_APPLY);
        EXPECT_DOUBLE_EQ(m_dlg->m_dSavedExposure, 0.0);
        m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &dCamera);
        EXPECT_DOUBLE_EQ(dCamera, 4.0) << CString(text).ToUtf8();
    }
    m_dlg->SetDlgItemText(CKavrinoDlg::IDC_EXPOSURE, L"1500.5");
    Click(CKavrinoDlg::IDC_EXPOSURE_APPLY);

    // "최대" writes the maximum and leaves the saved exposure alone.
    Click(CKavrinoDlg::IDC_EXPOSURE_MAX);
    double dMax = 0.0;
    m_dlg->GetFeature(L"ExposureTime", FEATURE_MAX, &dMax);
    EXPECT_DOUBLE_EQ(m_dlg->m_dExposure, dMax);
    m_dlg->GetFeature(L"ExposureTime", FEATURE_VALUE, &dCamera);
    EXPECT_DOUBLE_EQ(dCamera, dMax);
    EXPECT_DOUBLE_EQ(m_dlg->m_dSavedExposure, 1500.5);
    EXPECT_TRUE(m_dlg->CheckMilError(L"ExposureTime"));
}

TEST(GainSliderMath, StepAndPositionFollowTheMaximum) {
    // A maximum of 1.0 leaves no room: every gain sits at position 0.
    EXPECT_EQ(CKavrinoDlg::GainStepFor(1.0), 0.0);
    EXPECT_EQ(CKavrinoDlg::GainSliderPosition(1.0, 0.0), 0);
    // Maximum 9.0 and gain 4.0: step 2.0, position 2.
    EXPECT_DOUBLE_EQ(CKavrinoDlg::GainStepFor(9.0), 2.0);
    EXPECT_EQ(CKavrinoDlg::GainSliderPosition(4.0, 2.0), 2);
    EXPECT_EQ(CKavrinoDlg::GainSliderPosition(9.0, 2.0), 4);
    // Values the slider cannot show stay on it.
    EXPECT_EQ(CKavrinoDlg::GainSliderPosition(1e300, 1e-300), 4);
    EXPECT_EQ(CKavrinoDlg::GainSliderPosition(2.0, CKavrinoDlg::GainStepFor(0.0)), 0);
}

TEST_F(MainWindowTest, GainSliderShowsAndWritesSteps) {
    UseCamera(kMono);
    Open();
    // The keyboard focus needs a shown, active window.
    m_dlg->ShowWindow(SW_SHOW);
    m_dlg->SetActiveWindow();
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);

    double dMax = 0.0;
    m_dlg->GetFeature(L"Gain", FEATURE_MAX, &dMax);
    const double dStep = (dMax - 1.0) * 0.25;
    EXPECT_DOUBLE_EQ(m_dlg->m_dGainStep, dStep);

    // A gain of 2.2 steps starts the slider at position 2 (display 3).
    const double dGain = dStep * 2.2;
    m_dlg->SetFeature(L"Gain", FEATURE_VALUE, &dGain);
    m_dlg->InitGainSlider();
    EXPECT_EQ(m_dlg->m_sliderGain.GetPos(), 2);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_GAIN_STEP), L"3");

    auto release = [&](int position) {
        m_dlg->m_sliderGain.SetPos(position);
        NMHDR nm{m_dlg->m_sliderGain.GetSafeHwnd(), CKavrinoDlg::IDC_GAIN_SLIDER, NM_RELEASEDCAPTURE};
        m_dlg->SendMessage(WM_NOTIFY, CKavrinoDlg::IDC_GAIN_SLIDER, reinterpret_cast<LPARAM>(&nm));
    };
    auto cameraGain = [&] {
        double d = 0.0;
        m_dlg->GetFeature(L"Gain", FEATURE_VALUE, &d);
        return d;
    };

    // Without the keyboard focus on the slider a release changes nothing.
    m_dlg->GetDlgItem(CKavrinoDlg::IDC_EXPOSURE)->SetFocus();
    release(1);
    EXPECT_DOUBLE_EQ(cameraGain(), dGain);

    m_dlg->m_sliderGain.SetFocus();
    ASSERT_NE(CWnd::GetFocus(), nullptr);
    ASSERT_EQ(CWnd::GetFocus()->GetSafeHwnd(), m_dlg->m_sliderGain.GetSafeHwnd());
    release(1);
    EXPECT_DOUBLE_EQ(cameraGain(), 1.0 + dStep);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_GAIN_STEP), L"2");
    release(0);
    EXPECT_DOUBLE_EQ(cameraGain(), 1.0);
    release(4);
    EXPECT_DOUBLE_EQ(cameraGain(), dMax);
    EXPECT_EQ(Text(CKavrinoDlg::IDC_GAIN_STEP), L"5");
}

TEST_F(MainWindowTest, EnterAndEscapeDoNothing) {
    UseCamera(kMono);
    Open();
    m_dlg->ShowWindow(SW_SHOW);
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        MSG msg{};
        msg.hwnd = m_dlg->GetSafeHwnd();
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        EXPECT_TRUE(static_cast<CWnd*>(m_dlg.get())->PreTranslateMessage(&msg));
    }
    // Through the real key path with the focus on an edit of the window.
    m_dlg->GetDlgItem(CKavrinoDlg::IDC_EXPOSURE)->SetFocus();
    for (BYTE key : {BYTE(VK_RETURN), BYTE(VK_ESCAPE)}) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
    kavrino::ProcessUiEvents();
    EXPECT_TRUE(IsWindow(m_dlg->GetSafeHwnd()));
    EXPECT_TRUE(m_dlg->IsWindowVisible());
    // Other keys still reach the dialog manager.
    MSG other{};
    other.hwnd = m_dlg->GetSafeHwnd();
    other.message = WM_KEYDOWN;
    other.wParam = 'A';
    EXPECT_FALSE(static_cast<CWnd*>(m_dlg.get())->PreTranslateMessage(&other));
}

TEST_F(MainWindowTest, SystemMenuAboutBox) {
    Open();
    CMenu* pMenu = m_dlg->GetSystemMenu(FALSE);
    ASSERT_NE(pMenu, nullptr);
    bool bFound = false;
    for (const auto& item : pMenu->Items())
        bFound = bFound || (item.id == CKavrinoDlg::IDM_ABOUTBOX && item.text == L"Kavrino 정보(&A)...");
    EXPECT_TRUE(bFound);

    int nShown = 0;
    CString strCaption;
    {
        kavrino::ModalDialogScope scope([&](CDialog* pDlg) {
            ++nShown;
            pDlg->GetWindowText(strCaption);
            pDlg->EndDialog(IDOK);
        });
        m_dlg->SendMessage(WM_SYSCOMMAND, CKavrinoDlg::IDM_ABOUTBOX);
    }
    EXPECT_EQ(nShown, 1);
    EXPECT_EQ(strCaption, L"Kavrino 정보");
}
