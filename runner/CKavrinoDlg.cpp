// The main window: its creation and destruction, the connect button, the imaging-library connection and
// the reading of the device information.

#include "CKavrinoDlg.h"

#include "CAboutDlg.h"
#include "EnterEscFilter.h"
#include "FrameSlots.h"
#include "RunnerLink.h"

#include "CKavrinoApp.h"
#include "CDisplayDlg.h"
#include "CROIDlg.h"
#include "CTestPatternDlg.h"
#include "CPixelFormatDlg.h"
#include "CTapBalanceDlg.h"
#include "CDeviceInfoDlg.h"
#include "CFrameRateDlg.h"
#include "CExposureDlg.h"
#include "CGainDlg.h"
#include "CTriggerIODlg.h"
#include "CNotSupportDlg.h"
#include "CReportDlg.h"
#include "CWhiteBalanceDlg.h"
#include "CAlignDlg.h"
#include "CBlackLevelDlg.h"
#include "CReverseXYDlg.h"
#include "CGamma_LUTDlg.h"
#include "CCXPLinkConfigDlg.h"
#include "CBinningDlg.h"
#include "CDecimationDlg.h"
#include "CBrightDlg.h"
#include "CBrightCenterDlg.h"

int g_nImageWidth = 0;
int g_nImageHeight = 0;

namespace {
constexpr int kProgramIcon = 128;
constexpr UINT kAboutString = 101;
constexpr int kDisplayTemplate = 134;
constexpr COLORREF kIconBackground = RGB(240, 240, 240);
} // namespace

BEGIN_MESSAGE_MAP(CKavrinoDlg, CDialog)
ON_BN_CLICKED(IDC_CONNECT, &CKavrinoDlg::OnBnClickedConnect)
ON_LBN_SELCHANGE(IDC_TEST_LIST, &CKavrinoDlg::OnLbnSelchangeTestList)
ON_BN_CLICKED(IDC_START_TEST, &CKavrinoDlg::OnBnClickedStartTest)
ON_BN_CLICKED(IDC_LIVE, &CKavrinoDlg::OnBnClickedLive)
ON_BN_CLICKED(IDOK, &CKavrinoDlg::OnBnClickedOk)
ON_BN_CLICKED(IDCANCEL, &CKavrinoDlg::OnBnClickedCancel)
ON_WM_CLOSE()
ON_MESSAGE(WM_TEST_FINISHED, &CKavrinoDlg::OnTestFinished)
ON_MESSAGE(WM_PIXEL_FORMAT_WARNING, &CKavrinoDlg::OnPixelFormatWarning)
ON_CONTROL_RANGE(BN_CLICKED, IDC_TAP2, IDC_TAP4, &CKavrinoDlg::OnBnClickedMode)
ON_WM_TIMER()
ON_BN_CLICKED(IDC_EXPOSURE_APPLY, &CKavrinoDlg::OnBnClickedExposureApply)
ON_BN_CLICKED(IDC_EXPOSURE_MIN, &CKavrinoDlg::OnBnClickedExposureMin)
ON_BN_CLICKED(IDC_EXPOSURE_MAX, &CKavrinoDlg::OnBnClickedExposureMax)
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_GAIN_SLIDER, &CKavrinoDlg::OnNMReleasedcaptureGainSlider)
ON_CBN_SELCHANGE(IDC_PIXEL_FORMAT, &CKavrinoDlg::OnCbnSelchangePixelFormat)
ON_NOTIFY(IPN_FIELDCHANGED, IDC_IP_ADDRESS, &CKavrinoDlg::OnIpnFieldchangedIpAddress)
ON_BN_CLICKED(IDC_GRAB_ONE, &CKavrinoDlg::OnBnClickedGrabOne)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

CKavrinoDlg::CKavrinoDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_hIcon = ::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(kProgramIcon));
}

CKavrinoDlg::~CKavrinoDlg() {
    // A window ended without WM_CLOSE (IDCANCEL, or destroyed outright) still holds the grabber, the
    // pages, the stop event, the runner's thread handle and the frame buffer: release them here, before
    // the members the grab hook writes go away.
    BeginRunnerCleanup();
    MilDisconnect();
    DestroyPages();
    DestroyDisplay();
    CloseRunHandles();
    ReleaseFrameBuffer();
    delete[] m_pResults;
    m_pResults = nullptr;
}

void CKavrinoDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEST_LIST, m_listTest);
    DDX_Control(pDX, IDC_GAIN_SLIDER, m_sliderGain);
    DDX_Control(pDX, IDC_PIXEL_FORMAT, m_cmbPixelFormat);
    DDX_Radio(pDX, IDC_TAP2, m_nTapMode);
    DDX_Control(pDX, IDC_IP_ADDRESS, m_ipAddress);
}

BOOL CKavrinoDlg::PreTranslateMessage(MSG* pMsg) {
    // Enter and Esc never close the main window.
    return kavrino::EnterEscFilter(this, pMsg);
}

BOOL CKavrinoDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    m_dMsPerTick = frequency.QuadPart > 0 ? 1000.0 / static_cast<double>(frequency.QuadPart) : 0.0;

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    const CString strAboutMenu = kavrino::LoadResourceString(kAboutString);
    if (pSysMenu != nullptr && !strAboutMenu.IsEmpty()) {
        pSysMenu->AppendMenu(MF_SEPARATOR);
        pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // A window created again on the same object does not keep the stop event of its earlier life.
    if (m_hStopEvent != nullptr)
        CloseHandle(m_hStopEvent);
    m_hStopEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);

    if (m_pTestItemList != nullptr) {
        for (POSITION pos = m_pTestItemList->GetHeadPosition(); pos != nullptr;)
            m_listTest.AddString(m_pTestItemList->GetNext(pos));
    }
    m_listTest.SetCurSel(0);

    CreatePages();

    m_pDisplayDlg = new CDisplayDlg;
    m_pDisplayDlg->Create(kDisplayTemplate, this);
    m_pDisplayDlg->ShowWindow(SW_SHOW);

    m_fontList.CreateFont(15, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, HANGEUL_CHARSET, OUT_STROKE_PRECIS,
                          CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_MODERN, L"Arial");
    m_listTest.SetFont(&m_fontList, TRUE);

    m_cmbPixelFormat.AddString(L"Mono8");
    m_cmbPixelFormat.AddString(L"Mono10");
    if (m_bColorCamera) {
        m_cmbPixelFormat.AddString(L"BayerRG8");
        m_cmbPixelFormat.AddString(L"BayerRG10");
    }

    // Outside edit mode the operator can neither reselect nor reorder the items.
    m_listTest.EnableWindow(IsEditMode());

    SetTimer(TIMER_FRAME_RATE, 1000, nullptr);
    return TRUE;
}

BOOL CKavrinoDlg::IsEditMode() const {
    return theApp.g_bEditMode ? TRUE : FALSE;
}

void CKavrinoDlg::OnBnClickedConnect() {
    CWaitCursor wait;

    if (m_bConnected) {
        MilDisconnect();
        SetDisconnected();
        return;
    }

    if (!ConnectCamera()) {
        AfxMessageBox(L"Mil 연결 실패");
        MilDisconnect();
        return;
    }

    SetDlgItemText(IDC_CONNECT, L"연결 끊음");
    m_bConnected = TRUE;
    ReadDeviceInfo();
    InitGainSlider();
    SetDlgItemInt(IDC_WIDTH, static_cast<UINT>(m_nWidth), TRUE);
    SetDlgItemInt(IDC_HEIGHT, static_cast<UINT>(m_nHeight), TRUE);

    AllocateFrameBuffer();
    g_nImageWidth = m_nWidth;
    g_nImageHeight = m_nHeight;
}

BOOL CKavrinoDlg::ConnectCamera() {
    m_strPixelFormat = L"Mono8";
    m_strDcfFile.Empty();
    if (m_pDcfList != nullptr && !m_pDcfList->IsEmpty())
        m_strDcfFile = m_pDcfList->GetHead();
    MilConnect(m_strDcfFile);
    return m_milDigitizer != M_NULL ? TRUE : FALSE;
}

void CKavrinoDlg::MilConnect(CString strDcfFile) {
    // Connecting over a connection would leak it and leave its grab hook running: release it first.
    if (m_milApplication != M_NULL || m_milSystem != M_NULL || m_milDigitizer != M_NULL ||
        m_milImage != M_NULL)
        MilDisconnect();

    m_strDcfFile = strDcfFile;
    m_milApplication = MappAlloc(M_SYSTEM_DEFAULT, M_DEFAULT);
    m_milSystem = MsysAlloc(M_DEFAULT, M_SYSTEM_RADIENTCXP, M_DEFAULT, M_DEFAULT);
    m_milDigitizer = MdigAlloc(m_milSystem, M_DEV0, m_strDcfFile, M_DEFAULT);
    if (m_milDigitizer == M_NULL)
        return;

    HandDigitizerToPages();

    const MIL_INT nWidth = MdigInquire(m_milDigitizer, M_SIZE_X);
    const MIL_INT nHeight = MdigInquire(m_milDigitizer, M_SIZE_Y);
    m_nWidth = m_nFullWidth = static_cast<int>(nWidth);
    m_nHeight = m_nFullHeight = static_cast<int>(nHeight);

    const bool b8Bit = m_strPixelFormat == L"Mono8" || m_strPixelFormat == L"BayerRG8";
    m_milImage =
        MbufAlloc2d(m_milSystem, nWidth, nHeight, (b8Bit ? 8 : 16) + M_UNSIGNED, M_IMAGE + M_GRAB + M_PROC);
}

BOOL CKavrinoDlg::Reconnect(CString strDcfFile) {
    MilDisconnect();
    MilConnect(strDcfFile);
    if (m_milDigitizer != M_NULL)
        return TRUE;
    ConnectionLost(L"Mil 연결 실패");
    return FALSE;
}

void CKavrinoDlg::ConnectionLost(LPCTSTR lpszReason) {
    // Without a digitizer every page step would "succeed" without reaching a camera.
    MilDisconnect();
    if (m_bConnected)
        SetDisconnected();
    AfxMessageBox(lpszReason);
}

void CKavrinoDlg::SetDisconnected() {
    StopTest();
    m_bConnected = FALSE;
    SetDlgItemText(IDC_CONNECT, L"연결");
}

void CKavrinoDlg::MilDisconnect() {
    StopLive();
    if (m_milImage != M_NULL)
        MbufFree(m_milImage);
    if (m_milDigitizer != M_NULL)
        MdigFree(m_milDigitizer);
    if (m_milSystem != M_NULL)
        MsysFree(m_milSystem);
    if (m_milApplication != M_NULL)
        MappFree(m_milApplication);
    m_milImage = M_NULL;
    m_milDigitizer = M_NULL;
    m_milSystem = M_NULL;
    m_milApplication = M_NULL;
}

void CKavrinoDlg::ReadDeviceInfo() {
    const struct {
        const wchar_t* name;
        CString* target;
    } deviceStrings[] = {
        {L"DeviceModelName", &m_strModelName},
        {L"DeviceSerialNumber", &m_strSerialNumber},
        {L"DeviceVersion", &m_strDeviceVersion},
    };
    for (const auto& entry : deviceStrings) {
        wchar_t szValue[kFeatureTextSize] = {};
        GetFeature(entry.name, FEATURE_VALUE, szValue, kFeatureTextSize);
        *entry.target = szValue;
    }

    SetFeature(L"AcquisitionStop", FEATURE_EXECUTE, nullptr);
    SetFeature(L"TriggerMode", FEATURE_VALUE_AS_STRING, L"Off");
    SetFeature(L"PixelFormat", FEATURE_VALUE_AS_STRING, L"Mono8");
    m_cmbPixelFormat.SetCurSel(0);

    double dExposure = 0.0;
    GetFeature(L"ExposureTime", FEATURE_VALUE, &dExposure);
    m_dExposure = dExposure;
    m_dSavedExposure = dExposure;
    ShowExposure();

    if (m_bColorCamera == 1) {
        for (const wchar_t* colour : {L"Red", L"Green", L"Blue"}) {
            SetFeature(L"BalanceRatioSelector", FEATURE_VALUE_AS_STRING, colour);
            const double dRatio = 1.0;
            SetFeature(L"BalanceRatio", FEATURE_VALUE, &dRatio);
        }
    }
}

void CKavrinoDlg::OnClose() {
    KillTimer(TIMER_FRAME_RATE);
    MilDisconnect();
    StopTest();
    // From here on a woken runner must not reach the rows or the pages that are freed below.
    BeginRunnerCleanup();
    delete[] m_pResults;
    m_pResults = nullptr;
    DestroyPages();
    DestroyDisplay();
    CloseGrabOneWindow();
    CloseRunHandles();
    ReleaseFrameBuffer();
    StopLive();
    m_bConnected = FALSE;
    CDialog::OnClose();
}

void CKavrinoDlg::CreatePages() {
    m_pROIDlg = new CROIDlg;
    m_pROIDlg->Create(CROIDlg::IDD, this);
    m_pTestPatternDlg = new CTestPatternDlg;
    m_pTestPatternDlg->Create(CTestPatternDlg::IDD, this);
    m_pPixelFormatDlg = new CPixelFormatDlg;
    m_pPixelFormatDlg->SetDcfPaths(m_pDcfList);
    m_pPixelFormatDlg->Create(CPixelFormatDlg::IDD, this);
    m_pTapBalanceDlg = new CTapBalanceDlg;
    m_pTapBalanceDlg->Create(CTapBalanceDlg::IDD, this);
    m_pDeviceInfoDlg = new CDeviceInfoDlg;
    m_pDeviceInfoDlg->Create(CDeviceInfoDlg::IDD, this);
    m_pFrameRateDlg = new CFrameRateDlg;
    m_pFrameRateDlg->m_pFrameRateList = m_pFrameRateList;
    m_pFrameRateDlg->Create(CFrameRateDlg::IDD, this);
    m_pExposureDlg = new CExposureDlg;
    m_pExposureDlg->Create(CExposureDlg::IDD, this);
    m_pGainDlg = new CGainDlg;
    m_pGainDlg->Create(CGainDlg::IDD, this);
    m_pTriggerIODlg = new CTriggerIODlg;
    m_pTriggerIODlg->Create(CTriggerIODlg::IDD, this);
    m_pNotSupportDlg = new CNotSupportDlg;
    m_pNotSupportDlg->Create(CNotSupportDlg::IDD, this);
    m_pReportDlg = new CReportDlg;
    m_pReportDlg->Create(CReportDlg::IDD, this);
    m_pWhiteBalanceDlg = new CWhiteBalanceDlg;
    m_pWhiteBalanceDlg->Create(CWhiteBalanceDlg::IDD, this);
    m_pAlignDlg = new CAlignDlg;
    m_pAlignDlg->Create(CAlignDlg::IDD, this);
    m_pBlackLevelDlg = new CBlackLevelDlg;
    m_pBlackLevelDlg->Create(CBlackLevelDlg::IDD, this);
    m_pReverseXYDlg = new CReverseXYDlg;
    m_pReverseXYDlg->Create(CReverseXYDlg::IDD, this);
    m_pGammaLUTDlg = new CGamma_LUTDlg;
    m_pGammaLUTDlg->Create(CGamma_LUTDlg::IDD, this);
    m_pCXPLinkConfigDlg = new CCXPLinkConfigDlg;
    m_pCXPLinkConfigDlg->Create(CCXPLinkConfigDlg::IDD, this);
    m_pBinningDlg = new CBinningDlg;
    m_pBinningDlg->Create(CBinningDlg::IDD, this);
    m_pDecimationDlg = new CDecimationDlg;
    m_pDecimationDlg->Create(CDecimationDlg::IDD, this);
    m_pBrightDlg = new CBrightDlg;
    m_pBrightDlg->Create(CBrightDlg::IDD, this);
    m_pBrightCenterDlg = new CBrightCenterDlg;
    m_pBrightCenterDlg->Create(CBrightCenterDlg::IDD, this);
}

namespace {
template <typename T> void DestroyPage(T*& pPage) {
    if (pPage != nullptr) {
        pPage->DestroyWindow();
        delete pPage;
        pPage = nullptr;
    }
}
} // namespace

void CKavrinoDlg::DestroyPages() {
    DestroyPage(m_pROIDlg);
    DestroyPage(m_pTestPatternDlg);
    DestroyPage(m_pPixelFormatDlg);
    DestroyPage(m_pTapBalanceDlg);
    DestroyPage(m_pDeviceInfoDlg);
    DestroyPage(m_pFrameRateDlg);
    DestroyPage(m_pExposureDlg);
    DestroyPage(m_pGainDlg);
    DestroyPage(m_pTriggerIODlg);
    DestroyPage(m_pNotSupportDlg);
    DestroyPage(m_pReportDlg);
    DestroyPage(m_pWhiteBalanceDlg);
    DestroyPage(m_pAlignDlg);
    DestroyPage(m_pBlackLevelDlg);
    DestroyPage(m_pReverseXYDlg);
    DestroyPage(m_pGammaLUTDlg);
    DestroyPage(m_pCXPLinkConfigDlg);
    DestroyPage(m_pBinningDlg);
    DestroyPage(m_pDecimationDlg);
    DestroyPage(m_pBrightDlg);
    DestroyPage(m_pBrightCenterDlg);
}

void CKavrinoDlg::HandDigitizerToPages() {
    if (m_pROIDlg != nullptr)
        m_pROIDlg->m_milDigitizer = m_milDigitizer;
}

void CKavrinoDlg::BeginRunnerCleanup() {
    if (m_pRunnerLink)
        m_pRunnerLink->BeginCleanup();
}

void CKavrinoDlg::CloseRunHandles() {
    if (m_hStopEvent != nullptr) {
        CloseHandle(m_hStopEvent);
        m_hStopEvent = nullptr;
    }
    if (m_hTestThread != nullptr) {
        CloseHandle(m_hTestThread);
        m_hTestThread = nullptr;
    }
}

void CKavrinoDlg::DestroyDisplay() {
    if (m_pDisplayDlg != nullptr) {
        m_pDisplayDlg->DestroyWindow();
        delete m_pDisplayDlg;
        m_pDisplayDlg = nullptr;
    }
}

void CKavrinoDlg::AllocateFrameBuffer() {
    // Two bytes per pixel hold every supported format.
    const std::size_t nBytes = static_cast<std::size_t>(m_nHeight > 0 ? m_nHeight : 0) *
                               static_cast<std::size_t>(m_nWidth > 0 ? m_nWidth : 0) * 2;
    auto pNew = std::make_shared<FrameSlots>(nBytes);
    std::shared_ptr<FrameSlots> pOld;
    m_csFrame.Lock();
    pOld = std::move(m_pFrameSlots);
    m_pFrameSlots = std::move(pNew);
    m_pFrameBuf = m_pFrameSlots->Published();
    m_csFrame.Unlock();
    // The old buffers go here, outside the lock, or with the last hook call or reader still using them.
}

void CKavrinoDlg::ReleaseFrameBuffer() {
    std::shared_ptr<FrameSlots> pOld;
    m_csFrame.Lock();
    pOld = std::move(m_pFrameSlots);
    m_pFrameBuf = nullptr;
    m_csFrame.Unlock();
}

std::size_t CKavrinoDlg::FrameBufferSize() {
    m_csFrame.Lock();
    const std::size_t nBytes = m_pFrameSlots ? m_pFrameSlots->Bytes() : 0;
    m_csFrame.Unlock();
    return nBytes;
}

bool CKavrinoDlg::HasFrameBuffer() {
    m_csFrame.Lock();
    const bool bHas = m_pFrameSlots != nullptr;
    m_csFrame.Unlock();
    return bHas;
}

void CKavrinoDlg::OnBnClickedOk() {
    m_bNewFrame = FALSE;
}

void CKavrinoDlg::OnBnClickedCancel() {
    CDialog::OnCancel();
}

void CKavrinoDlg::OnLbnSelchangeTestList() {
    // The selection itself is where the next run starts; the text is not needed here.
    CString strItem;
    const int nSel = m_listTest.GetCurSel();
    if (nSel >= 0)
        m_listTest.GetText(nSel, strItem);
}

void CKavrinoDlg::OnBnClickedMode(UINT /*nID*/) {
    UpdateData(TRUE);
    UpdateData(FALSE);
}

void CKavrinoDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CKavrinoDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, kIconBackground);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CKavrinoDlg::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(m_hIcon);
}
