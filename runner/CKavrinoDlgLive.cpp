// Live acquisition: the grab hook that copies every frame into the frame buffer, the frame-rate readout
// and "Grab One".

#include "CKavrinoDlg.h"

#include "CDisplayDlg.h"
#include "FrameSlots.h"
#include "HeldFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstring>
#include <opencv2/highgui.hpp>
#include <opencv2/imgproc.hpp>

namespace {

bool IsBayerFormat(const CString& strPixelFormat) {
    return strPixelFormat.Left(7) == L"BayerRG";
}

// Significant bits of a 16-bit sample, from the format's name ("Mono10" -> 10).
int SampleBits(const CString& strPixelFormat) {
    if (strPixelFormat.Right(2) == L"12")
        return 12;
    if (strPixelFormat.Right(2) == L"10")
        return 10;
    return 8;
}

// highgui needs a display; the headless platforms have none.
bool HasGuiDisplay() {
    const QString platform = QGuiApplication::platformName();
    return !platform.isEmpty() && platform != QLatin1String("offscreen") &&
           platform != QLatin1String("minimal");
}

const char* const kGrabOneWindow = "Grab One Image";

// Whether the "Grab One" window is open (the operator may have closed it).
bool GrabOneWindowExists() {
    try {
        return cv::getWindowProperty(kGrabOneWindow, cv::WND_PROP_AUTOSIZE) >= 0;
    } catch (const cv::Exception&) {
        return false; // no image window at all
    }
}

// Room around the picture for the window's frame, tool bar and status bar.
constexpr int kGrabOneFrameWidth = 40;
constexpr int kGrabOneFrameHeight = 140;
// Room above the window for the title bar: a window placed before the window manager has framed it may
// be taken as placing its client area, with the title above.
constexpr int kGrabOneTitleHeight = 30;

// The image area for a picture of that size that lets its window fit on the screen; a smaller picture
// keeps its size.
cv::Size FitOnScreen(const cv::Size& picture, const QRect& area) {
    if (picture.width <= 0 || picture.height <= 0)
        return picture;
    const double scale = std::min(
        {1.0, static_cast<double>(area.width() - kGrabOneFrameWidth) / picture.width,
         static_cast<double>(area.height() - kGrabOneFrameHeight - kGrabOneTitleHeight) / picture.height});
    if (scale <= 0.0)
        return picture;
    return cv::Size(std::max(1, static_cast<int>(picture.width * scale)),
                    std::max(1, static_cast<int>(picture.height * scale)));
}

} // namespace

int CKavrinoDlg::BytesPerPixel(const CString& strPixelFormat) {
    if (strPixelFormat == L"Mono8" || strPixelFormat == L"BayerRG8")
        return 1;
    if (strPixelFormat == L"Mono10" || strPixelFormat == L"BayerRG10" || strPixelFormat == L"Mono12" ||
        strPixelFormat == L"BayerRG12")
        return 2;
    return 0;
}

void CKavrinoDlg::StartLive() {
    // Without a digitizer (a reconnection that failed) there is nothing to grab.
    if (m_milDigitizer == M_NULL)
        return;
    // A start while live restarts: the hook is installed once, with the geometry of now.
    if (m_bLive)
        StopLive();

    m_nFrameCount = 0;
    m_nLastFrameCount = 0;
    SetDlgItemText(IDC_LIVE, L"영상 정지");
    m_bLive = TRUE;

    // The hook copies with this geometry; it is fixed before the hook runs, so the library's thread never
    // reads members the user-interface thread may be changing.
    m_nLiveWidth = m_nWidth > 0 ? m_nWidth : 0;
    m_nLiveHeight = m_nHeight > 0 ? m_nHeight : 0;
    m_strLiveFormat = m_strPixelFormat;
    m_nLiveBytesPerPixel = BytesPerPixel(m_strPixelFormat);
    const MIL_INT nBufferBits = m_milImage != M_NULL ? MbufInquire(m_milImage, M_SIZE_BIT) : 0;
    m_nLiveBufferBytes = nBufferBits > 8 ? 2 : (nBufferBits > 0 ? 1 : 0);
    m_bFormatWarned = false;

    MdigHookFunction(m_milDigitizer, M_GRAB_FRAME_END, &CKavrinoDlg::GrabFrameHook, this);
    MdigGrabContinuous(m_milDigitizer, m_milImage);

    if (m_pDisplayDlg != nullptr)
        m_pDisplayDlg->SetImageFormat(m_nWidth, m_nHeight, m_strPixelFormat);

    CString strMessage;
    strMessage.Format(L"width = %d  height = %d", m_nWidth, m_nHeight);
    AfxMessageBox(strMessage);

    if (m_pDisplayDlg != nullptr)
        m_pDisplayDlg->Invalidate(TRUE);
}

void CKavrinoDlg::StopLive() {
    if (!m_bLive)
        return;
    if (m_milDigitizer != M_NULL) {
        MdigHookFunction(m_milDigitizer, M_GRAB_FRAME_END + M_UNHOOK, &CKavrinoDlg::GrabFrameHook, this);
        // Returns once the last hook call has returned.
        MdigHalt(m_milDigitizer);
    }
    SetDlgItemText(IDC_LIVE, L"영상 시작");
    m_bLive = FALSE;
    m_bNewFrame = FALSE;
}

void CKavrinoDlg::OnBnClickedLive() {
    if (m_milApplication == M_NULL)
        return;
    if (!m_bLive)
        StartLive();
    else
        StopLive();
}

MIL_INT CKavrinoDlg::GrabFrameHook(MIL_INT /*hookType*/, MIL_ID eventId, void* userData) {
    auto* pDlg = static_cast<CKavrinoDlg*>(userData);
    MIL_ID milBuffer = M_NULL;
    MdigGetHookInfo(eventId, M_MODIFIED_BUFFER + M_BUFFER_ID, &milBuffer);
    pDlg->OnFrameGrabbed(milBuffer);
    return 0;
}

void CKavrinoDlg::OnFrameGrabbed(MIL_ID milBuffer) {
    if (m_nLiveBytesPerPixel == 0) {
        // One warning per live start: a box per frame would flood the operator, and the library's thread
        // must not wait for a box while the user-interface thread may be halting the grab.
        if (!m_bFormatWarned.exchange(true))
            ::PostMessage(m_hWnd, WM_PIXEL_FORMAT_WARNING, 0, 0);
        return;
    }
    // A grab buffer of another depth than the format's would give samples of the wrong size.
    if (milBuffer == M_NULL || m_nLiveBufferBytes != m_nLiveBytesPerPixel || m_nLiveWidth == 0 ||
        m_nLiveHeight == 0)
        return;

    // The library copies the frame straight into a frame buffer that no reader holds: no temporary block
    // and no second copy per frame, and no wait for the display, whatever it is doing.
    const std::size_t nFrameBytes = static_cast<std::size_t>(m_nLiveWidth) *
                                    static_cast<std::size_t>(m_nLiveHeight) *
                                    static_cast<std::size_t>(m_nLiveBytesPerPixel);
    const bool bFits = WriteFrame(nFrameBytes, [&](BYTE* pTarget) {
        MbufGet2d(milBuffer, 0, 0, m_nLiveWidth, m_nLiveHeight, pTarget);
    });

    // A frame that found no room is not counted: the rate shows what reaches the frame buffer.
    if (bFits) {
        ++m_nFrameCount;
        m_bNewFrame = TRUE;
    }
}

template <typename Fill> bool CKavrinoDlg::WriteFrame(std::size_t nBytes, const Fill& fill) {
    std::shared_ptr<FrameSlots> pSlots;
    BYTE* pTarget = nullptr;
    m_csFrame.Lock();
    if (m_pFrameSlots && nBytes <= m_pFrameSlots->Bytes()) {
        pSlots = m_pFrameSlots;
        pTarget = pSlots->TakeForWriting();
    }
    m_csFrame.Unlock();
    if (!pSlots)
        return false;
    // With every buffer taken by readers the frame is not shown; it still arrived.
    if (pTarget == nullptr)
        return true;

    fill(pTarget);

    m_csFrame.Lock();
    pSlots->Publish(pTarget);
    // A new connection may have replaced the buffers meanwhile: then this frame is nobody's.
    if (pSlots == m_pFrameSlots)
        m_pFrameBuf = pTarget;
    m_csFrame.Unlock();
    return true;
}

void CKavrinoDlg::CopyFrame(const BYTE* pSrc) {
    if (pSrc == nullptr)
        return;
    const std::size_t nBytes = static_cast<std::size_t>(m_nLiveWidth) *
                               static_cast<std::size_t>(m_nLiveHeight) *
                               static_cast<std::size_t>(m_nLiveBytesPerPixel);
    WriteFrame(nBytes, [&](BYTE* pTarget) { std::memcpy(pTarget, pSrc, nBytes); });
}

LRESULT CKavrinoDlg::OnPixelFormatWarning(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    CString strMessage;
    strMessage.Format(L"[Warning] - Pixel Format (%s) not supported.", m_strLiveFormat.GetString());
    AfxMessageBox(strMessage);
    return 0;
}

void CKavrinoDlg::UpdateFrameRate() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);

    if (m_nLastFrameCount == 0) {
        // Not primed yet (or no frame since the start): this tick only takes the reference.
        m_nLastFrameCount = m_nFrameCount.load();
        m_nLastTick = now.QuadPart;
        return;
    }

    const ULONGLONG nCount = m_nFrameCount.load();
    const ULONGLONG nFrames = nCount - m_nLastFrameCount.load();
    m_nLastFrameCount = nCount;
    const double dElapsedMs = static_cast<double>(now.QuadPart - m_nLastTick) * m_dMsPerTick;
    m_nLastTick = now.QuadPart;
    m_dFrameRate = dElapsedMs > 0.0 ? static_cast<double>(nFrames) * 1000.0 / dElapsedMs : 0.0;

    CString strRate;
    strRate.Format(L"%.2f", m_dFrameRate);
    SetDlgItemText(IDC_FRAME_RATE, strRate);
}

void CKavrinoDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_FRAME_RATE)
        UpdateFrameRate();
    CDialog::OnTimer(nIDEvent);
}

bool CKavrinoDlg::GetFrameImage(cv::Mat& image) {
    const int nBytesPerPixel = BytesPerPixel(m_strPixelFormat);
    if (m_nWidth <= 0 || m_nHeight <= 0 || nBytesPerPixel == 0)
        return false;
    const std::size_t nBytes = static_cast<std::size_t>(m_nWidth) * static_cast<std::size_t>(m_nHeight) *
                               static_cast<std::size_t>(nBytesPerPixel);

    cv::Mat frame;
    {
        // The hook goes on publishing into the other buffers while the frame is copied out.
        const HeldFrame held(*this);
        if (held.Data() != nullptr && nBytes <= held.Size())
            frame = cv::Mat(m_nHeight, m_nWidth, nBytesPerPixel == 1 ? CV_8UC1 : CV_16UC1,
                            const_cast<BYTE*>(held.Data()))
                        .clone();
    }
    if (frame.empty())
        return false;

    if (nBytesPerPixel == 2)
        frame.convertTo(frame, CV_8UC1, 1.0 / static_cast<double>(1 << (SampleBits(m_strPixelFormat) - 8)));
    if (IsBayerFormat(m_strPixelFormat))
        cv::cvtColor(frame, image, cv::COLOR_BayerBG2BGR);
    else
        image = frame;
    return true;
}

void CKavrinoDlg::OnBnClickedGrabOne() {
    cv::Mat image;
    if (!GetFrameImage(image))
        return;
    if (!HasGuiDisplay())
        return;
    // A new window opens whole on the screen: a frame larger than the screen is shown scaled to fit,
    // with its aspect ratio; the operator may resize and zoom it. An open window keeps its size.
    const bool opening = !GrabOneWindowExists();
    cv::Size size = image.size();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (opening) {
        cv::namedWindow(kGrabOneWindow, cv::WINDOW_NORMAL | cv::WINDOW_KEEPRATIO);
        if (screen) {
            const QRect area = screen->availableGeometry();
            size = FitOnScreen(image.size(), area);
            // Placed before it is shown (the resize shows it): a window that is up already would be
            // placed by the window manager first.
            cv::moveWindow(kGrabOneWindow,
                           area.x() + std::max(0, (area.width() - size.width - kGrabOneFrameWidth) / 2),
                           area.y() + kGrabOneTitleHeight +
                               std::max(0, (area.height() - size.height - kGrabOneFrameHeight) / 2));
            cv::resizeWindow(kGrabOneWindow, size.width, size.height);
        }
    }
    cv::imshow(kGrabOneWindow, image);
    // The first picture asks the window for its own size once more; the fitted size has the last word.
    if (opening && screen)
        cv::resizeWindow(kGrabOneWindow, size.width, size.height);
}

void CKavrinoDlg::CloseGrabOneWindow() {
    if (!HasGuiDisplay() || !GrabOneWindowExists())
        return;
    try {
        cv::destroyWindow(kGrabOneWindow);
    } catch (const cv::Exception&) {
        // The operator closed it already.
    }
}
