#include "CTestPageDlg.h"

#include "CCvImage.h"
#include "CKavrinoApp.h"
#include "CKavrinoDlg.h"
#include "ModalStack.h"

#include <QGuiApplication>
#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>

const char* const kRefImageWindow = "검사이미지";

namespace {

// OpenCV's Qt windows look a window up by a name they keep as Latin-1 text: a Korean name is never found
// again, so every showing opened one more window and none could be closed. The window goes by a plain
// name and shows the Korean caption as its title.
const char* const kRefImageWindowName = "kavrino-reference-picture";

const wchar_t kKeyMethod[] = L"검사방법";
// Shown in the picture's frame when the test set names a picture that cannot be shown.
const wchar_t kRefImageFailed[] = L"이미지 불러오기 실패";
const wchar_t kKeyImagePath[] = L"이미지경로";
constexpr DWORD kProfileBuffer = 1024;

// OpenCV's own windows need a screen; without one (headless runs) the picture is still prepared but not
// shown.
bool CanShowCvWindows() {
    const QString platform = QGuiApplication::platformName();
    return !platform.isEmpty() && platform != QLatin1String("offscreen") &&
           platform != QLatin1String("minimal");
}

// The largest size of the picture's proportions that fits into the frame, at least a pixel a side.
CSize FitInto(CSize picture, CSize frame) {
    if (picture.cx <= 0 || picture.cy <= 0)
        return CSize(0, 0);
    const double scale =
        std::min(static_cast<double>(frame.cx) / picture.cx, static_cast<double>(frame.cy) / picture.cy);
    const auto fit = [scale](LONG side, LONG room) {
        return std::max(LONG{1}, std::min(room, static_cast<LONG>(std::lround(side * scale))));
    };
    return CSize(fit(picture.cx, frame.cx), fit(picture.cy, frame.cy));
}

// The test-set file stores the method text on one line: line breaks become commas.
CString MethodToProfile(CString strText) {
    strText.Replace(L"\r\n", L",");
    strText.Replace(L"\n", L",");
    strText.Replace(L"\r", L",");
    return strText;
}

} // namespace

CTestPageDlg::CTestPageDlg(UINT nIDTemplate, LPCTSTR lpszSection, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_strSection(lpszSection ? lpszSection : L"") {}

CTestPageDlg::~CTestPageDlg() {
    // A page that was never created (or never destroyed) still owns these.
    delete m_pShowImage;
    delete m_pRefImage;
    if (m_hEvent)
        CloseHandle(m_hEvent);
}

BOOL CTestPageDlg::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    m_pMainDlg = dynamic_cast<CKavrinoDlg*>(pParentWnd);
    return CDialog::Create(lpszTemplateName, pParentWnd);
}

void CTestPageDlg::AddItem(LPCTSTR lpszName) {
    TestItem item;
    item.bOk = 1;
    item.bTested = 0;
    item.strName = lpszName;
    m_vecItems.push_back(item);
}

void CTestPageDlg::CreatePageEvent() {
    if (!m_hEvent)
        m_hEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
}

void CTestPageDlg::LoadMethodPanel() {
    wchar_t szMethod[kProfileBuffer] = {};
    GetPrivateProfileString(m_strSection, kKeyMethod, nullptr, szMethod, kProfileBuffer, theApp.g_strIniPath);
    CString strMethod(szMethod);
    strMethod.Replace(L",", L"\r\n");
    SetDlgItemText(m_nMethodEditId, strMethod);

    wchar_t szPath[kProfileBuffer] = {};
    GetPrivateProfileString(m_strSection, kKeyImagePath, nullptr, szPath, kProfileBuffer,
                            theApp.g_strIniPath);
    theApp.g_strImagePath = szPath;

    delete m_pRefImage;
    m_pRefImage = new CCvImage;
    LoadRefImage(theApp.g_strImagePath);
    DrawRefImage();
}

void CTestPageDlg::LoadRefImage(const CString& strPath) {
    m_pFitImage.reset();
    // The file named may be missing or damaged, of a kind the holder does not take (1 or 4 bits a
    // pixel), or the pictures of the other pages may have taken the memory they are allowed: whatever the
    // reason, the frame says so instead of staying empty.
    m_bRefImageFailed = m_pRefImage->LoadImage(strPath) == 0 && !strPath.IsEmpty();
}

// The whole picture in its frame, centred: reduced to fit with its proportions kept, never enlarged. A
// reduced picture is drawn from a copy of the frame's size, made once per picture and frame, so that a
// picture of a whole sensor costs its reduction once and not on every paint.
void CTestPageDlg::DrawRefImage() {
    CWnd* pPicture = GetDlgItem(m_nPictureId);
    // A hidden page's frame cannot be seen; it is drawn when the page is shown.
    if (!m_pRefImage || !pPicture || !pPicture->IsWindowVisible())
        return;
    CRect rcFrame;
    pPicture->GetClientRect(&rcFrame);
    CClientDC dc(pPicture);
    // The frame is cleared first: the picture before, or the note drawn over itself, must not show.
    dc.FillSolidRect(&rcFrame, GetSysColor(COLOR_3DFACE));
    CCvImage* pShown = m_pRefImage;
    CSize size(m_pRefImage->m_nWidth, m_pRefImage->m_nHeight);
    BOOL bFailed = m_bRefImageFailed;
    if (!bFailed && m_pRefImage->m_pBitmap && (size.cx > rcFrame.Width() || size.cy > rcFrame.Height())) {
        size = FitInto(size, rcFrame.Size());
        if (!m_pFitImage || m_pFitImage->m_nWidth != size.cx || m_pFitImage->m_nHeight != size.cy) {
            m_pFitImage = std::make_unique<CCvImage>();
            m_pRefImage->ReduceInto(*m_pFitImage, size.cx, size.cy);
        }
        pShown = m_pFitImage.get();
        // A picture that could not be reduced (no memory to read it with) cannot be shown either.
        bFailed = !pShown->m_pBitmap;
    }
    if (bFailed) {
        const int nOldMode = dc.SetBkMode(TRANSPARENT);
        dc.DrawText(kRefImageFailed, &rcFrame, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SetBkMode(nOldMode);
        return;
    }
    dc.SetViewportOrg((rcFrame.Width() - size.cx) / 2, (rcFrame.Height() - size.cy) / 2);
    pShown->DrawImage(dc.GetSafeHdc());
}

void CTestPageDlg::OnBnClickedSaveMethod() {
    CString strMethod;
    GetDlgItemText(m_nMethodEditId, strMethod);
    if (strMethod.IsEmpty()) {
        AfxMessageBox(L"검사방법을 입력하세요.");
        return;
    }
    if (WritePrivateProfileString(m_strSection, kKeyMethod, MethodToProfile(strMethod), theApp.g_strIniPath))
        AfxMessageBox(L"저장완료");
    else
        AfxMessageBox(L"실패");
}

void CTestPageDlg::OnBnClickedChangeImage() {
    CFileDialog dlg(TRUE, L"Support Files", nullptr, OFN_HIDEREADONLY, L"BITMAP File(*.bmp)|*.bmp|", nullptr,
                    0, TRUE);
    if (dlg.DoModal() != IDOK)
        return;
    theApp.g_strImagePath = dlg.GetPathName();
    // The picture is shown either way; a test set that did not take its path is told, as the method's
    // save tells it, instead of losing the choice at the next opening without a word.
    if (!WritePrivateProfileString(m_strSection, kKeyImagePath, theApp.g_strImagePath, theApp.g_strIniPath))
        AfxMessageBox(L"실패");
    if (m_pRefImage) {
        m_pRefImage->ClearImage();
        delete m_pRefImage;
    }
    m_pRefImage = new CCvImage;
    LoadRefImage(theApp.g_strImagePath);
    // The frame is cleared of the picture or the note before it, which the new one may not cover.
    if (CWnd* pPicture = GetDlgItem(m_nPictureId))
        pPicture->Invalidate(TRUE);
    Invalidate(TRUE);
}

void CTestPageDlg::OnPaint() {
    CPaintDC dc(this);
    if (m_pRefImage)
        DrawRefImage();
}

void CTestPageDlg::OnStnDblclickImage() {
    if (!m_pRefImage || !m_pRefImage->m_pBitmap)
        return;
    Gdiplus::Bitmap* pBitmap = m_pRefImage->m_pBitmap;
    const int nWidth = m_pRefImage->m_nWidth;
    const int nHeight = m_pRefImage->m_nHeight;
    delete m_pShowImage;
    m_pShowImage = nullptr;
    if (nWidth <= 0 || nHeight <= 0)
        return;

    // Rows of the copy are 3 x width bytes; each side advances by its own stride.
    auto* pImage = new cv::Mat(nHeight, nWidth, CV_8UC3);
    Gdiplus::Rect rcLock(0, 0, nWidth, nHeight);
    Gdiplus::BitmapData data{};
    if (pBitmap->LockBits(&rcLock, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) != Gdiplus::Ok) {
        // Nothing may be copied from a lock that failed; the bitmap keeps the lock's status.
        delete pImage;
        return;
    }
    const auto* pSrc = static_cast<const BYTE*>(data.Scan0);
    for (int y = 0; y < nHeight; ++y)
        std::memcpy(pImage->ptr(y), pSrc + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    static_cast<std::size_t>(nWidth) * 3);
    pBitmap->UnlockBits(&data);
    m_pShowImage = pImage;

    if (CanShowCvWindows()) {
        cv::namedWindow(kRefImageWindowName, 0);
        cv::setWindowTitle(kRefImageWindowName, kRefImageWindow);
        cv::imshow(kRefImageWindowName, *m_pShowImage);
    }
}

void CTestPageDlg::CloseShowImage() {
    if (!m_pShowImage)
        return;
    if (CanShowCvWindows()) {
        try {
            cv::destroyWindow(kRefImageWindowName);
        } catch (const cv::Exception&) {
            // The operator closed it already.
        }
    }
    delete m_pShowImage;
    m_pShowImage = nullptr;
}

void CTestPageDlg::OnDestroy() {
    CDialog::OnDestroy();
    CloseShowImage();
    m_vecItems.clear();
    if (m_hEvent) {
        CloseHandle(m_hEvent);
        m_hEvent = nullptr;
    }
    if (m_pRefImage) {
        m_pRefImage->ClearImage();
        delete m_pRefImage;
        m_pRefImage = nullptr;
    }
    m_pFitImage.reset();
}

void CTestPageDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    DrawButton(lpDrawItemStruct, static_cast<UINT>(nIDCtl));
    CDialog::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

void CTestPageDlg::DrawButton(LPDRAWITEMSTRUCT lpDrawItemStruct, UINT nIDCtl) {
    PaintButton(lpDrawItemStruct, nIDCtl, FALSE);
}

void CTestPageDlg::PaintButton(LPDRAWITEMSTRUCT lpDrawItemStruct, UINT nIDCtl, BOOL bCaptionOnFace) {
    if (!lpDrawItemStruct)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    CRect rcItem(lpDrawItemStruct->rcItem);
    const UINT nState = lpDrawItemStruct->itemState;
    CString strText;
    GetDlgItemText(static_cast<int>(nIDCtl), strText);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

    if (nState & ODS_DISABLED) {
        pDC->FillSolidRect(&rcItem, 0xC0C0C0);
        pDC->SetTextColor(0x808080);
        pDC->DrawText(strText, &rcItem, nFormat);
        pDC->SetBkMode(nOldMode);
        return;
    }

    pDC->FillSolidRect(&rcItem, 0xC08000);
    if (nState & ODS_FOCUS) {
        pDC->FillSolidRect(&rcItem, 0x4080FF);
        CBrush brFrame(0x0000FF);
        pDC->FrameRect(&rcItem, &brFrame);
    } else {
        CBrush brFrame(0x808080);
        pDC->FrameRect(&rcItem, &brFrame);
    }
    pDC->SetTextColor(0xFFFFFF);
    if (bCaptionOnFace)
        pDC->DrawText(strText, &rcItem, nFormat);

    rcItem.DeflateRect(1, 1);
    if (nState & ODS_SELECTED) {
        pDC->Draw3dRect(&rcItem, 0x000000, 0xC0C0C0);
        CRect rcText(rcItem);
        rcText.OffsetRect(1, 1);
        pDC->DrawText(strText, &rcText, nFormat);
    } else {
        pDC->Draw3dRect(&rcItem, 0xC0C0C0, 0x000000);
        pDC->DrawText(strText, &rcItem, nFormat);
    }
    pDC->SetBkMode(nOldMode);
}

LRESULT CTestPageDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYPAD) {
        if (!IsWindowVisible())
            return 0;
        // A box over the page has the operator's attention: the key pad's Space (3) answers its focused
        // button, and every other code is dropped, never kept for later. A code that ran a step, a verdict
        // or a focus move behind the box would act on a page the operator cannot see.
        if (LOBYTE(static_cast<DWORD_PTR>(lParam)) != 3 && kavrino::IsModalWindowOpenOver(m_hWnd))
            return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

LRESULT CTestPageDlg::OnKeypadMessage(WPARAM wParam, LPARAM lParam) {
    UNREFERENCED_PARAMETER(wParam);
    const int nCount = static_cast<int>(m_vecButtonIds.size());
    switch (LOBYTE(static_cast<DWORD_PTR>(lParam))) {
    case 1:
        // A page without a focus list (the trigger page) has nothing to move to.
        if (nCount == 0)
            break;
        --m_nFocusIndex;
        if (m_nFocusIndex < 0 || m_nFocusIndex >= nCount)
            m_nFocusIndex = nCount - 1;
        FocusControl(m_vecButtonIds[static_cast<std::size_t>(m_nFocusIndex)]);
        break;
    case 2:
        if (nCount == 0)
            break;
        ++m_nFocusIndex;
        if (m_nFocusIndex >= nCount || m_nFocusIndex < 0)
            m_nFocusIndex = 0;
        FocusControl(m_vecButtonIds[static_cast<std::size_t>(m_nFocusIndex)]);
        break;
    case 3:
        keybd_event(static_cast<BYTE>(VK_SPACE), 0, 0, 0);
        keybd_event(static_cast<BYTE>(VK_SPACE), 0, KEYEVENTF_KEYUP, 0);
        break;
    case 4:
        if (m_nFocusIndex >= 0 && m_nFocusIndex < nCount)
            SendMessage(
                WM_COMMAND,
                MAKEWPARAM(static_cast<WORD>(m_vecButtonIds[static_cast<std::size_t>(m_nFocusIndex)]), 0), 0);
        break;
    case 8:
        SendMessage(WM_COMMAND, IDOK, 0);
        break;
    case 16:
        SendMessage(WM_COMMAND, IDCANCEL, 0);
        break;
    default:
        break;
    }
    return 0;
}

void CTestPageDlg::FocusControl(int nID) {
    CWnd* pControl = GetDlgItem(nID);
    if (pControl)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pControl->GetSafeHwnd()), TRUE);
}

bool CTestPageDlg::ListItems(int TestItem::*pFlag, LPCTSTR lpszHeading, LPCTSTR lpszLine,
                             CString& strList) const {
    strList = lpszHeading;
    bool bAny = false;
    for (const TestItem& item : m_vecItems) {
        if (item.*pFlag == 0) {
            strList.AppendFormat(lpszLine, item.strName);
            bAny = true;
        }
    }
    return bAny;
}

BOOL CTestPageDlg::ShowUntriedItems() {
    CString strList;
    if (!ListItems(&TestItem::bTested, L"검사 안 한 항목\r\n", L"@ %s\r\n", strList))
        return FALSE;
    AfxMessageBox(strList);
    return TRUE;
}

void CTestPageDlg::GetErrorItems(CString& strErrorItems) {
    CString strList;
    if (ListItems(&TestItem::bOk, L"에러항목: ", L"%s ", strList))
        strErrorItems = strList;
}

BOOL CTestPageDlg::IsConnected() const {
    return m_pMainDlg && m_pMainDlg->m_bConnected;
}

void CTestPageDlg::StartItem(std::size_t nIndex) {
    m_vecItems[nIndex].bTested = 1;
    m_vecItems[nIndex].bOk = 1;
}

void CTestPageDlg::CheckItemWrite(std::size_t nIndex, LPCTSTR lpszFeature) {
    if (!m_pMainDlg->CheckMilError(lpszFeature))
        m_vecItems[nIndex].bOk = 0;
}

void CTestPageDlg::ForgetTriedSteps() {
    for (TestItem& item : m_vecItems)
        item.bTested = 0;
}

void CTestPageDlg::HandOver(BOOL bPass) {
    m_bResult = bPass ? 1 : 0;
    ForgetTriedSteps();
    SetEvent(m_hEvent);
    if (bPass)
        CDialog::OnOK();
    else
        CDialog::OnCancel();
}

void CTestPageDlg::OnOK() {}

void CTestPageDlg::OnCancel() {}
