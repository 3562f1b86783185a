#pragma once
// The main window of a test run ("Movrane"): the connection to the frame grabber and the camera, camera
// feature access, live acquisition and the test runner. It is also the shared record of the system: the
// pages, the display window and the runner read and write its members directly.

#include "Platform.h"
#include "Mil.h"
#include "GenApi.h"
#include "CDragAndDropListBox.h"
#include "CMyCriticalSection.h"
#include "TestResult.h"

#include <atomic>
#include <cstddef>
#include <memory>

#include <opencv2/core.hpp>

#ifndef afx_msg
#define afx_msg
#endif

class CDisplayDlg;
class CROIDlg;
class CTestPatternDlg;
class CPixelFormatDlg;
class CTapBalanceDlg;
class CDeviceInfoDlg;
class CFrameRateDlg;
class FrameSlots;
class CExposureDlg;
class CGainDlg;
class CTriggerIODlg;
class CNotSupportDlg;
class CReportDlg;
class CWhiteBalanceDlg;
class CAlignDlg;
class CBlackLevelDlg;
class CReverseXYDlg;
class CGamma_LUTDlg;
class CCXPLinkConfigDlg;
class CBinningDlg;
class CDecimationDlg;
class CBrightDlg;
class CBrightCenterDlg;
class RunnerLink;

// The frame size at connection; the alignment and brightness pages place their defaults by it.
extern int g_nImageWidth;
extern int g_nImageHeight;

// Posted by the runner when the report page has been closed.
constexpr UINT WM_TEST_FINISHED = WM_APP + 1;

// Access codes of the feature operations.
enum FeatureAccess : MIL_INT64 {
    FEATURE_VALUE = 0xfa0000,
    FEATURE_VALUE_AS_STRING = 0xfb0000,
    FEATURE_EXECUTE = 0xfc0000,
    FEATURE_MIN = 0xfd0000,
    FEATURE_MAX = 0xfe0000,
    FEATURE_INCREMENT = 0xff0000,
};

// Feature types the imaging library reports.
enum FeatureType : MIL_INT64 {
    FEATURE_TYPE_COMMAND = 0x8000,
    FEATURE_TYPE_DOUBLE = 0x1000000,
    FEATURE_TYPE_STRING = 0x40000000,
    FEATURE_TYPE_BOOLEAN = 0x5000000000,
    FEATURE_TYPE_ENUMERATION = 0x7000000000,
    FEATURE_TYPE_INT64 = 0x8000000000,
};

class CKavrinoDlg : public CDialog {
public:
    enum { IDD = 102 };
    // Controls of the main window.
    enum {
        IDC_CONNECT = 1000,
        IDC_TEST_LIST = 1002,
        IDC_START_TEST = 1003,
        IDC_LIVE = 1005,
        IDC_WIDTH = 1006,
        IDC_HEIGHT = 1007,
        IDC_GAIN_SLIDER = 1008,
        IDC_GAIN_STEP = 1009,
        IDC_EXPOSURE = 1010,
        IDC_EXPOSURE_APPLY = 1011,
        IDC_EXPOSURE_MIN = 1012,
        IDC_EXPOSURE_MAX = 1013,
        IDC_PIXEL_FORMAT = 1014,
        IDC_TAP2 = 1016,
        IDC_TAP4 = 1017,
        IDC_FRAME_RATE = 1032,
        IDC_IP_ADDRESS = 1106,
        IDC_GRAB_ONE = 1144,
    };
    static constexpr UINT TIMER_FRAME_RATE = 1034;
    static constexpr UINT IDM_ABOUTBOX = 0x10;

    explicit CKavrinoDlg(CWnd* pParent = nullptr);
    ~CKavrinoDlg() override;

    // Connection (runner/CKavrinoDlg.cpp)
    BOOL ConnectCamera();
    void MilConnect(CString strDcfFile);
    void MilDisconnect();
    // Allocates the grabber again with another configuration file (a pixel-format or file change). When
    // no digitizer comes of it, the window is disconnected as by the connect button and the operator is
    // told why; returns FALSE then.
    BOOL Reconnect(CString strDcfFile);
    // The camera is gone: the library is released, a connected window becomes unconnected (a run is
    // cancelled) and the reason is shown.
    void ConnectionLost(LPCTSTR lpszReason);
    void ReadDeviceInfo();
    void DestroyPages();

    // Feature access (runner/CKavrinoDlgFeature.cpp)
    // value is a value of the feature's own type (double, MIL_INT64, MIL_BOOL, wide text); with
    // FEATURE_VALUE_AS_STRING it is a wide text, which also writes an enumeration by its entry name. Only
    // the value the caller handed over is read, whatever type the camera reports: a 32-bit boolean for an
    // integer or float feature is widened, any other mismatch goes to the library in the caller's own
    // type, which converts what fits and refuses the rest (the error query reports it). A command is
    // executed with no value (nullptr, or whatever is handed over).
    void SetFeature(const wchar_t* name, MIL_INT64 access, const MIL_DOUBLE* value);
    void SetFeature(const wchar_t* name, MIL_INT64 access, const MIL_INT64* value);
    void SetFeature(const wchar_t* name, MIL_INT64 access, const MIL_BOOL* value);
    void SetFeature(const wchar_t* name, MIL_INT64 access, const wchar_t* value);
    void SetFeature(const wchar_t* name, MIL_INT64 access, std::nullptr_t);
    // out is the caller's initialised variable of the feature's own type; only that variable is written,
    // in its own type (the library converts what fits; a value that does not leaves it unchanged). A text
    // (string, enumeration, or any value read with FEATURE_VALUE_AS_STRING) goes into a buffer of
    // kFeatureTextSize wide characters.
    void GetFeature(const wchar_t* name, MIL_INT64 access, MIL_DOUBLE* out);
    void GetFeature(const wchar_t* name, MIL_INT64 access, MIL_INT64* out);
    void GetFeature(const wchar_t* name, MIL_INT64 access, MIL_BOOL* out);
    void GetFeature(const wchar_t* name, MIL_INT64 access, wchar_t* out);
    // A text read into a buffer of capacity wide characters (terminating zero included); a longer text is
    // cut to capacity - 1 characters.
    void GetFeature(const wchar_t* name, MIL_INT64 access, wchar_t* out, std::size_t capacity);
    BOOL CheckMilError(CString strContext);

    // Live acquisition (runner/CKavrinoDlgLive.cpp)
    void StartLive();
    void StopLive();
    static MIL_INT GrabFrameHook(MIL_INT hookType, MIL_ID eventId, void* userData);
    // The hook's work for one grabbed buffer (library thread): the frame goes into the frame buffer when
    // it fits there; otherwise it is neither copied nor counted.
    void OnFrameGrabbed(MIL_ID milBuffer);
    // Copies one frame of the live geometry from a block into the frame buffer (when it fits), handed over
    // as the hook hands over a grabbed frame.
    void CopyFrame(const BYTE* pSrc);
    void UpdateFrameRate();
    // The current frame as an 8-bit picture (grey, or colour for the Bayer formats); false when there is
    // no frame of the current size and format in the frame buffer.
    bool GetFrameImage(cv::Mat& image);
    // Closes the "Grab One" window when it is open (the run's pictures go with the main window).
    void CloseGrabOneWindow();
    // Bytes per pixel of a pixel-format name in the frame buffer; 0 for a name that is not supported.
    static int BytesPerPixel(const CString& strPixelFormat);
    // A fresh, zeroed frame buffer of m_nWidth x m_nHeight x 2 bytes (done at every connection), with the
    // two buffers the hook fills while a reader holds a frame.
    void AllocateFrameBuffer();
    // Bytes allocated for m_pFrameBuf at connection (0 without a buffer).
    std::size_t FrameBufferSize();
    // Whether a frame buffer is allocated.
    bool HasFrameBuffer();

    // Text buffers of the device information and of the text reads that give no size.
    static constexpr std::size_t kFeatureTextSize = 100;

    // Camera controls (runner/CKavrinoDlgControls.cpp)
    BOOL ShowExposure();
    void InitGainSlider();
    // The gain per slider position for the camera's maximum gain, and the position that shows a gain.
    static double GainStepFor(double dMax);
    static int GainSliderPosition(double dGain, double dStep);

    // Test runner (runner/CKavrinoDlgRunner.cpp)
    static DWORD WINAPI TestThreadProc(LPVOID param);
    void RunTests();
    void StopTest();
    void ResetTestEvents();

    // The shared record, in the order the rest of the system knows it.
    BOOL m_bConnected = FALSE;
    BOOL m_bLive = FALSE;
    GenApi::INodeMap* m_pNodeMap = nullptr;
    CString m_strModelName;
    CString m_strSerialNumber;
    CString m_strDeviceVersion;
    CString m_strPixelFormat;
    CDragAndDropListBox m_listTest;
    HANDLE m_hTestThread = nullptr;
    HANDLE m_hStopEvent = nullptr;
    CDisplayDlg* m_pDisplayDlg = nullptr;
    CROIDlg* m_pROIDlg = nullptr;
    CTestPatternDlg* m_pTestPatternDlg = nullptr;
    CPixelFormatDlg* m_pPixelFormatDlg = nullptr;
    CTapBalanceDlg* m_pTapBalanceDlg = nullptr;
    CDeviceInfoDlg* m_pDeviceInfoDlg = nullptr;
    CFrameRateDlg* m_pFrameRateDlg = nullptr;
    CExposureDlg* m_pExposureDlg = nullptr;
    CGainDlg* m_pGainDlg = nullptr;
    CTriggerIODlg* m_pTriggerIODlg = nullptr;
    CNotSupportDlg* m_pNotSupportDlg = nullptr;
    CReportDlg* m_pReportDlg = nullptr;
    CWhiteBalanceDlg* m_pWhiteBalanceDlg = nullptr;
    CAlignDlg* m_pAlignDlg = nullptr;
    CBlackLevelDlg* m_pBlackLevelDlg = nullptr;
    CReverseXYDlg* m_pReverseXYDlg = nullptr;
    CGamma_LUTDlg* m_pGammaLUTDlg = nullptr;
    CCXPLinkConfigDlg* m_pCXPLinkConfigDlg = nullptr;
    CBinningDlg* m_pBinningDlg = nullptr;
    CDecimationDlg* m_pDecimationDlg = nullptr;
    CBrightDlg* m_pBrightDlg = nullptr;
    CBrightCenterDlg* m_pBrightCenterDlg = nullptr;
    std::atomic<bool> m_bTesting{false};
    BOOL m_bColorCamera = FALSE;
    int m_nBrightAverage = 0;
    int m_nDeviationLimit = 0;
    int m_nVoltageRef = 0;
    int m_nCurrentRef = 0;
    int m_nBrightDev[4] = {};
    int m_nFullWidth = 0;
    int m_nFullHeight = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    double m_dExposure = 0.0;
    double m_dSavedExposure = 0.0;
    double m_dGainStep = 0.0;
    // The latest whole frame the hook published. The hook never writes into it: it fills another buffer
    // and then points m_pFrameBuf there, under m_csFrame; readers hold it through HeldFrame.
    BYTE* m_pFrameBuf = nullptr;
    // Guards m_pFrameBuf and the hand-over of the frame buffers; held only for the hand-over itself.
    CMyCriticalSection m_csFrame;
    std::atomic<BOOL> m_bNewFrame{FALSE};
    MIL_ID m_milApplication = M_NULL;
    MIL_ID m_milSystem = M_NULL;
    MIL_ID m_milDigitizer = M_NULL;
    MIL_ID m_milImage = M_NULL;
    CString m_strDcfFile;
    std::atomic<ULONGLONG> m_nLastFrameCount{0};
    std::atomic<ULONGLONG> m_nFrameCount{0};
    LONGLONG m_nLastTick = 0;
    double m_dMsPerTick = 0.0;
    double m_dFrameRate = 0.0;
    TestResult* m_pResults = nullptr;
    CStringList* m_pTestItemList = nullptr;
    CStringList* m_pFrameRateList = nullptr;
    CStringList* m_pDcfList = nullptr;
    int m_CheckItems[5] = {};
    int m_nAlignEdge[8] = {};
    HICON m_hIcon = nullptr;
    CSliderCtrl m_sliderGain;
    CComboBox m_cmbPixelFormat;
    int m_nTapMode = 0;
    CIPAddressCtrl m_ipAddress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    afx_msg void OnBnClickedConnect();
    afx_msg void OnLbnSelchangeTestList();
    afx_msg void OnBnClickedStartTest();
    afx_msg void OnBnClickedLive();
    afx_msg void OnBnClickedOk();
    afx_msg void OnBnClickedCancel();
    afx_msg void OnClose();
    afx_msg LRESULT OnTestFinished(WPARAM wParam, LPARAM lParam);
    afx_msg void OnBnClickedMode(UINT nID);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnBnClickedExposureApply();
    afx_msg void OnBnClickedExposureMin();
    afx_msg void OnBnClickedExposureMax();
    afx_msg void OnNMReleasedcaptureGainSlider(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCbnSelchangePixelFormat();
    afx_msg void OnIpnFieldchangedIpAddress(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBnClickedGrabOne();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg LRESULT OnPixelFormatWarning(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Posted by the grab hook, which must not wait for a message box on the library's thread.
    static constexpr UINT WM_PIXEL_FORMAT_WARNING = WM_APP + 0x101;

    BOOL IsEditMode() const;
    // The window's side of a disconnection: the run is cancelled and the button offers "연결" again.
    void SetDisconnected();
    void CreatePages();
    void HandDigitizerToPages();
    void DestroyDisplay();
    // Closes the stop event and the runner thread's handle.
    void CloseRunHandles();
    void BeginRunnerCleanup();
    void ApplyExposureLimit(MIL_INT64 limit);
    void ReleaseFrameBuffer();

    friend class HeldFrame;
    // Writes one frame of nBytes with fill into a buffer no reader holds and publishes it; false when the
    // frame does not fit in the frame buffer (or there is none).
    template <typename Fill> bool WriteFrame(std::size_t nBytes, const Fill& fill);

    CFont m_fontList;
    // The frame buffers, guarded by m_csFrame; the hook and the readers keep a set alive while they use
    // it, so a new connection may replace it at any time.
    std::shared_ptr<FrameSlots> m_pFrameSlots;
    // The geometry the grab hook copies with, fixed by StartLive before the hook is installed.
    int m_nLiveWidth = 0;
    int m_nLiveHeight = 0;
    int m_nLiveBytesPerPixel = 0;
    int m_nLiveBufferBytes = 0;
    CString m_strLiveFormat;
    std::atomic<bool> m_bFormatWarned{false};

    // Shared with the runner thread, which outlives nothing it reaches through it (runner/RunnerLink.h).
    std::shared_ptr<RunnerLink> m_pRunnerLink;
};
