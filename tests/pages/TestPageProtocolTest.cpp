// What every test page shares: the method panel and its test-set keys, the reference picture, the
// untried-steps message, the failed-steps comment, the key pad, the key filters and owner-drawn buttons.

#include "CBinningDlg.h"
#include "CBlackLevelDlg.h"
#include "CCXPLinkConfigDlg.h"
#include "CCvImage.h"
#include "CDecimationDlg.h"
#include "CExposureDlg.h"
#include "CFrameRateDlg.h"
#include "CGainDlg.h"
#include "CGamma_LUTDlg.h"
#include "CPixelFormatDlg.h"
#include "CROIDlg.h"
#include "CReverseXYDlg.h"
#include "CTestPatternDlg.h"
#include "CTriggerIODlg.h"
#include "CWhiteBalanceDlg.h"
#include "EnterEscFilter.h"
#include "PageFixture.h"

#include <QImage>
#include <opencv2/core.hpp>

using kavrino_test::PageTest;

namespace {

CString ReadProfile(const CString& path, const wchar_t* section, const wchar_t* key) {
    wchar_t text[2048] = {};
    GetPrivateProfileString(section, key, L"<none>", text, 2048, path);
    return text;
}

// Line ends as the edit gives them back, for comparing texts across platforms.
CString Lines(CString text) {
    text.Replace(L"\r\n", L"\n");
    return text;
}

CString WriteBitmap(const QString& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(0, 0, 255));
    image.setPixelColor(0, 0, QColor(255, 0, 0));
    EXPECT_TRUE(image.save(path, "BMP"));
    return CString(path.toStdWString());
}

// What a page's picture frame holds now.
QImage FrameImage(CWnd* pPage, int nPictureId) {
    CClientDC dc(pPage->GetDlgItem(nPictureId));
    return dc.Surface()->Image().copy();
}

// The pixels of a page's picture frame that are not its background: what was drawn into it.
int DrawnPixels(CWnd* pPage, int nPictureId, QRect* pBounds = nullptr) {
    const QImage frame = FrameImage(pPage, nPictureId);
    const QRgb background = frame.pixel(frame.width() - 1, frame.height() - 1);
    int nDrawn = 0;
    QRect bounds;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (frame.pixel(x, y) != background) {
                ++nDrawn;
                bounds |= QRect(x, y, 1, 1);
            }
    if (pBounds)
        *pBounds = bounds;
    return nDrawn;
}

MSG KeyDown(CWnd* pWnd, UINT vk) {
    MSG msg{};
    msg.hwnd = pWnd->GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = vk;
    return msg;
}

} // namespace

TEST_F(PageTest, MethodTextRoundTripsThroughTheTestSetFileAsOneLine) {
    OpenWith({L"비닝"});
    CBinningDlg* pPage = m_dlg->m_pBinningDlg;
    ASSERT_NE(pPage, nullptr);

    // Empty text: refused, nothing written.
    pPage->SetDlgItemText(1078, L"");
    Press(pPage, 1080);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사방법을 입력하세요."});
    EXPECT_EQ(ReadProfile(m_strIniPath, L"BINNING", L"검사방법"), L"<none>");

    // Two lines are stored with a comma between them; an operator's comma comes back as a line break.
    m_boxes.Clear();
    pPage->SetDlgItemText(1078, L"렌즈를 덮는다\r\n영상 확인, 끝");
    Press(pPage, 1080);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"저장완료"});
    EXPECT_EQ(ReadProfile(m_strIniPath, L"BINNING", L"검사방법"), L"렌즈를 덮는다,영상 확인, 끝");
    Close();

    OpenWith({L"비닝"});
    CString strShown;
    m_dlg->m_pBinningDlg->GetDlgItemText(1078, strShown);
    EXPECT_EQ(Lines(strShown), L"렌즈를 덮는다\n영상 확인\n 끝");
    // Other pages read their own sections.
    m_dlg->m_pDecimationDlg->GetDlgItemText(1078, strShown);
    EXPECT_EQ(strShown, L"");
}

TEST_F(PageTest, MethodTextIsCutToTheBufferAndAFailedWriteSaysSo) {
    ASSERT_TRUE(WritePrivateProfileString(L"DECIMATION", L"검사방법", CString(L'가', 1500), m_strIniPath));
    OpenWith({L"데시메이션"});
    CString strShown;
    m_dlg->m_pDecimationDlg->GetDlgItemText(1078, strShown);
    EXPECT_EQ(strShown.GetLength(), 1023);

    theApp.g_strIniPath = CString(m_dir.filePath("no/such/folder/set.ini").toStdWString());
    Press(m_dlg->m_pDecimationDlg, 1080);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"실패"});
}

TEST_F(PageTest, ReferencePictureIsCopiedFullSizeOnDoubleClickAndChangedWithTheFileDialog) {
    const CString strFirst = WriteBitmap(m_dir.filePath("first.bmp"), 7, 5);
    ASSERT_TRUE(WritePrivateProfileString(L"BINNING", L"이미지경로", strFirst, m_strIniPath));
    OpenWith({L"비닝"});
    CBinningDlg* pPage = m_dlg->m_pBinningDlg;
    ASSERT_NE(pPage->m_pRefImage, nullptr);
    EXPECT_EQ(pPage->m_pRefImage->m_nWidth, 7);

    pPage->OnStnDblclickImage();
    ASSERT_NE(pPage->m_pShowImage, nullptr);
    EXPECT_EQ(pPage->m_pShowImage->cols, 7);
    EXPECT_EQ(pPage->m_pShowImage->rows, 5);
    // Blue, green, red as OpenCV shows them.
    EXPECT_EQ(pPage->m_pShowImage->at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 255));
    EXPECT_EQ(pPage->m_pShowImage->at<cv::Vec3b>(4, 6), cv::Vec3b(255, 0, 0));
    pPage->OnStnDblclickImage();
    ASSERT_NE(pPage->m_pShowImage, nullptr);
    EXPECT_EQ(pPage->m_pShowImage->cols, 7);

    // Another picture: stored in the page's section; Cancel changes nothing.
    const CString strSecond = WriteBitmap(m_dir.filePath("second.bmp"), 12, 3);
    {
        kavrino::FileDialogAnswer answer(strSecond);
        Press(pPage, 1081);
        ASSERT_EQ(answer.Requests().size(), 1u);
        EXPECT_TRUE(answer.Requests()[0].open);
        EXPECT_EQ(answer.Requests()[0].filter, L"BITMAP File(*.bmp)|*.bmp|");
        EXPECT_EQ(answer.Requests()[0].flags, OFN_HIDEREADONLY);
    }
    EXPECT_EQ(ReadProfile(m_strIniPath, L"BINNING", L"이미지경로"), strSecond);
    EXPECT_EQ(theApp.g_strImagePath, strSecond);
    EXPECT_EQ(pPage->m_pRefImage->m_nWidth, 12);
    {
        kavrino::FileDialogAnswer cancel(L"");
        Press(pPage, 1081);
    }
    EXPECT_EQ(ReadProfile(m_strIniPath, L"BINNING", L"이미지경로"), strSecond);

    // A test set that cannot take the path (its folder gone) says so; the chosen picture is shown.
    m_boxes.Clear();
    theApp.g_strIniPath = CString(m_dir.filePath("gone/set.ini").toStdWString());
    {
        kavrino::FileDialogAnswer answer(strFirst);
        Press(pPage, 1081);
    }
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"실패"});
    EXPECT_EQ(pPage->m_pRefImage->m_nWidth, 7);
    theApp.g_strIniPath = m_strIniPath;

    // A page without a readable picture ignores the double-click.
    CDecimationDlg* pOther = m_dlg->m_pDecimationDlg;
    pOther->OnStnDblclickImage();
    EXPECT_EQ(pOther->m_pShowImage, nullptr);
}

// A picture the test set names but that cannot be shown (missing, of a kind the holder does not take,
// or past what the pages' pictures may hold together) is told in its frame, alike on every paint; a page
// that names none shows an empty frame. A picture that can be shown is drawn whole and centred: one larger
// than the frame in either direction reduced with its proportions kept, a small one as it is; a picture
// chosen in place of a reduced one is drawn from its own reduction, never from the one before.
TEST_F(PageTest, ReferencePictureFitsItsFrameOrIsToldThatItCannotBeShown) {
    const CString strGood = WriteBitmap(m_dir.filePath("good.bmp"), 7, 5);
    const CString strMissing(m_dir.filePath("missing.bmp").toStdWString());
    QImage mono(16, 8, QImage::Format_Mono); // written as a 1-bit file
    mono.fill(1);
    ASSERT_TRUE(mono.save(m_dir.filePath("mono.bmp"), "BMP"));
    // Red all round a band, of another colour inside.
    auto writeFramed = [this](const char* name, int width, int height, int band, QColor inside) {
        QImage image(width, height, QImage::Format_RGB888);
        image.fill(QColor(255, 0, 0));
        for (int y = band; y < height - band; ++y)
            for (int x = band; x < width - band; ++x)
                image.setPixelColor(x, y, inside);
        EXPECT_TRUE(image.save(m_dir.filePath(name), "BMP"));
        return CString(m_dir.filePath(name).toStdWString());
    };
    const CString strLarge = writeFramed("large.bmp", 640, 480, 40, QColor(0, 0, 255));
    // Of the same size, so reduced to the same size as the one before it.
    const CString strLargeGreen = writeFramed("large-green.bmp", 640, 480, 40, QColor(0, 255, 0));
    // Wider than the frame, not as high.
    const CString strWide = writeFramed("wide.bmp", 800, 100, 20, QColor(0, 0, 255));

    ASSERT_TRUE(WritePrivateProfileString(L"BINNING", L"이미지경로", strMissing, m_strIniPath));
    ASSERT_TRUE(WritePrivateProfileString(L"DECIMATION", L"이미지경로", strGood, m_strIniPath));
    ASSERT_TRUE(WritePrivateProfileString(L"GAMMA_LUT", L"이미지경로",
                                          CString(m_dir.filePath("mono.bmp").toStdWString()), m_strIniPath));
    const long long nBudget = CCvImage::SetLoadBudget(LoadedPicture::HeldBytes() + 7 * 5 * 3 - 1);
    OpenWith({L"비닝", L"데시메이션"});
    CCvImage::SetLoadBudget(nBudget);
    CBinningDlg* pMissing = m_dlg->m_pBinningDlg;
    CDecimationDlg* pRefused = m_dlg->m_pDecimationDlg;
    CGamma_LUTDlg* pOneBit = m_dlg->m_pGammaLUTDlg;
    EXPECT_EQ(pRefused->m_pRefImage->m_pBitmap, nullptr);
    // The window system's request to paint, as it comes when a page is shown or uncovered.
    auto paint = [](CWnd* pPage) {
        pPage->ShowWindow(SW_SHOW);
        pPage->SendMessage(WM_PAINT, 0, 0);
    };
    QRect note;
    for (CWnd* pPage : std::initializer_list<CWnd*>{pMissing, pRefused, pOneBit}) {
        paint(pPage);
        const QImage first = FrameImage(pPage, 1079);
        EXPECT_GT(DrawnPixels(pPage, 1079, &note), 20);
        EXPECT_GT(note.left(), 10); // the note stands in the middle of the frame
        paint(pPage);
        paint(pPage);
        EXPECT_EQ(FrameImage(pPage, 1079), first) << "the note changed from one paint to the next";
    }
    paint(m_dlg->m_pReverseXYDlg);
    EXPECT_EQ(DrawnPixels(m_dlg->m_pReverseXYDlg, 1079), 0);

    CRect rcFrame;
    pMissing->GetDlgItem(1079)->GetClientRect(&rcFrame);
    const QSize frame(rcFrame.Width(), rcFrame.Height());
    ASSERT_LT(frame.width(), 640);
    ASSERT_GT(frame.height(), 100);
    QRect drawn;
    // The operator chooses a picture wider than the frame ("이미지 변경"): all of it, reduced to the
    // frame's width, in the middle, its red band at the corners and its inside colour in the centre.
    auto chooseReduced = [&](const CString& strPath, int nWidth, int nHeight, QRgb inside) {
        {
            kavrino::FileDialogAnswer answer(strPath);
            Press(pMissing, 1081);
        }
        paint(pMissing);
        EXPECT_GT(DrawnPixels(pMissing, 1079, &drawn), 0);
        const int nShownHeight = (nHeight * frame.width() + nWidth / 2) / nWidth;
        EXPECT_EQ(drawn, QRect(0, (frame.height() - nShownHeight) / 2, frame.width(), nShownHeight))
            << nWidth << "x" << nHeight << " drawn at " << drawn.x() << "," << drawn.y() << " "
            << drawn.width() << "x" << drawn.height();
        const QImage shown = FrameImage(pMissing, 1079);
        for (const QPoint& corner :
             {drawn.topLeft(), drawn.topRight(), drawn.bottomLeft(), drawn.bottomRight()})
            EXPECT_EQ(shown.pixel(corner), qRgb(255, 0, 0)) << corner.x() << "," << corner.y();
        EXPECT_EQ(shown.pixel(drawn.center()), inside) << nWidth << "x" << nHeight;
    };
    chooseReduced(strLarge, 640, 480, qRgb(0, 0, 255));
    // The double-click still shows it at full size.
    pMissing->OnStnDblclickImage();
    ASSERT_NE(pMissing->m_pShowImage, nullptr);
    EXPECT_EQ(pMissing->m_pShowImage->cols, 640);
    // Another picture reduced to the same size, then one reduced to another size: each is its own.
    chooseReduced(strLargeGreen, 640, 480, qRgb(0, 255, 0));
    chooseReduced(strWide, 800, 100, qRgb(0, 0, 255));

    // A picture smaller than the frame is not enlarged, and nothing of the large one is left around it.
    {
        kavrino::FileDialogAnswer answer(strGood);
        Press(pMissing, 1081);
    }
    paint(pMissing);
    EXPECT_EQ(DrawnPixels(pMissing, 1079, &drawn), 7 * 5);
    EXPECT_EQ(drawn, QRect((frame.width() - 7) / 2, (frame.height() - 5) / 2, 7, 5));
    // And one that cannot be shown: the note again, over no picture.
    {
        kavrino::FileDialogAnswer answer(strMissing);
        Press(pMissing, 1081);
    }
    paint(pMissing);
    EXPECT_EQ(pMissing->m_pRefImage->m_pBitmap, nullptr);
    EXPECT_GT(DrawnPixels(pMissing, 1079, &drawn), 20);
    EXPECT_EQ(drawn, note);
    EXPECT_TRUE(PageBoxes().empty());
}

TEST_F(PageTest, UntriedStepsAndFailedStepsAreListedInItemOrder) {
    OpenWith({L"비닝"});
    CBinningDlg* pPage = m_dlg->m_pBinningDlg;
    Press(pPage, CBinningDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ ON\r\n@ OFF\r\n"});

    CString strErrors = L"caller's text";
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"caller's text");
    pPage->m_vecItems[0].bOk = 0;
    pPage->m_vecItems[1].bOk = 0;
    pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: ON OFF ");
}

TEST_F(PageTest, KeyPadMovesAroundItsListAndPressesTheFocusedButton) {
    OpenWith({L"비닝"});
    CBinningDlg* pPage = m_dlg->m_pBinningDlg;

    // No list: moving and pressing do nothing.
    for (LPARAM code : {1, 2, 4})
        EXPECT_EQ(pPage->OnKeypadMessage(0, code), 0);
    EXPECT_EQ(pPage->m_nFocusIndex, 0);

    pPage->m_vecButtonIds = {1122, 1003, 1080};
    pPage->OnKeypadMessage(0, 1);
    EXPECT_EQ(pPage->m_nFocusIndex, 2);
    pPage->OnKeypadMessage(0, 2);
    EXPECT_EQ(pPage->m_nFocusIndex, 0);
    pPage->OnKeypadMessage(0, 0x200 | 2); // only the low byte counts
    EXPECT_EQ(pPage->m_nFocusIndex, 1);
    for (LPARAM code : {0, 5, 9, 17, 3, 8})
        pPage->OnKeypadMessage(0, code);
    EXPECT_EQ(pPage->m_nFocusIndex, 1);
    // The Space of code 3 is queued like real input: it reaches the focus here, not in the next test.
    kavrino::ProcessUiEvents();

    // Code 4 clicks the button at the index: "검사 방법 변경" with an empty text complains.
    pPage->SetDlgItemText(1078, L"");
    pPage->m_nFocusIndex = 2;
    m_boxes.Clear();
    pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사방법을 입력하세요."});

    // Codes 8 and 16 are IDOK and IDCANCEL: a page without handlers for them is not hidden, since only a
    // verdict may hide it.
    pPage->ShowWindow(SW_SHOW);
    pPage->OnKeypadMessage(0, 8);
    pPage->OnKeypadMessage(0, 16);
    EXPECT_TRUE(Visible(pPage));
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
}

TEST_F(PageTest, KeyFiltersSwallowTheirKeysOnly) {
    OpenWith({L"비닝"});
    CBinningDlg* pPage = m_dlg->m_pBinningDlg;
    pPage->ShowWindow(SW_SHOW);
    MSG esc = KeyDown(pPage, VK_ESCAPE);
    MSG enter = KeyDown(pPage, VK_RETURN);
    EXPECT_TRUE(kavrino::EscFilter(pPage, &esc));
    EXPECT_TRUE(kavrino::EnterEscFilter(pPage, &esc));
    EXPECT_TRUE(kavrino::EnterEscFilter(pPage, &enter));
    EXPECT_TRUE(Visible(pPage));
    MSG keyUp = esc;
    keyUp.message = WM_KEYUP;
    EXPECT_FALSE(kavrino::EnterEscFilter(pPage, &keyUp));
}

TEST_F(PageTest, OwnerDrawnButtonShowsItsState) {
    OpenWith({L"비닝"});
    CBinningDlg* pPage = m_dlg->m_pBinningDlg;
    auto draw = [&](UINT state) {
        kavrino::ImageSurface surface(40, 20);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = 1122;
        item.itemState = state;
        item.hDC = kavrino::ToHdc(&surface);
        item.rcItem = RECT{0, 0, 40, 20};
        pPage->DrawButton(&item, 1122);
        const QImage& image = surface.Image();
        return std::vector<QRgb>{image.pixel(0, 0) & 0xFFFFFF, image.pixel(1, 1) & 0xFFFFFF,
                                 image.pixel(38, 18) & 0xFFFFFF, image.pixel(3, 3) & 0xFFFFFF};
    };
    // Pixels as 0xRRGGBB: frame, inner top-left, inner bottom-right, face.
    EXPECT_EQ(draw(0), (std::vector<QRgb>{0x808080, 0xC0C0C0, 0x000000, 0x0080C0}));
    EXPECT_EQ(draw(ODS_FOCUS), (std::vector<QRgb>{0xFF0000, 0xC0C0C0, 0x000000, 0xFF8040}));
    EXPECT_EQ(draw(ODS_FOCUS | ODS_SELECTED), (std::vector<QRgb>{0xFF0000, 0x000000, 0xC0C0C0, 0xFF8040}));
    EXPECT_EQ(draw(ODS_DISABLED), (std::vector<QRgb>{0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0}));
}

TEST_F(PageTest, CameraPagesActOnNothingAndGiveNoVerdictWithoutACamera) {
    OpenWith({L"비닝"});
    const struct {
        CTestPageDlg* pPage;
        int nPass;
        int nFail;
    } pages[] = {
        {m_dlg->m_pBinningDlg, 1031, 1032},         {m_dlg->m_pBlackLevelDlg, 1031, 1032},
        {m_dlg->m_pCXPLinkConfigDlg, 1031, 1032},   {m_dlg->m_pDecimationDlg, 1031, 1032},
        {m_dlg->m_pExposureDlg, IDOK, IDCANCEL},    {m_dlg->m_pFrameRateDlg, IDOK, IDCANCEL},
        {m_dlg->m_pGainDlg, IDOK, IDCANCEL},        {m_dlg->m_pGammaLUTDlg, 1031, 1033},
        {m_dlg->m_pPixelFormatDlg, IDOK, IDCANCEL}, {m_dlg->m_pReverseXYDlg, 1031, 1033},
        {m_dlg->m_pROIDlg, IDOK, IDCANCEL},         {m_dlg->m_pTestPatternDlg, IDOK, IDCANCEL},
        {m_dlg->m_pTriggerIODlg, IDOK, IDCANCEL},   {m_dlg->m_pWhiteBalanceDlg, IDOK, IDCANCEL},
    };
    int nPage = 0;
    for (const auto& entry : pages) {
        CTestPageDlg* pPage = entry.pPage;
        ++nPage;
        ASSERT_NE(pPage, nullptr) << nPage;
        pPage->ShowWindow(SW_SHOW);
        // The key pad's steps try nothing (steps ruled out by the set-up count as tried from the start).
        auto tried = [&] {
            std::vector<int> flags;
            for (const TestItem& item : pPage->m_vecItems)
                flags.push_back(item.bTested);
            return flags;
        };
        const std::vector<int> before = tried();
        for (int id : pPage->m_vecButtonIds)
            Press(pPage, id);
        EXPECT_EQ(tried(), before) << nPage;
        // Every step counts as tried: PASS and FAIL stop only for the missing camera.
        for (TestItem& item : pPage->m_vecItems)
            item.bTested = 1;
        pPage->m_bResult = 7;
        Press(pPage, entry.nFail);
        Press(pPage, entry.nPass);
        EXPECT_FALSE(Signalled(pPage->m_hEvent)) << nPage;
        EXPECT_TRUE(Visible(pPage)) << nPage;
        EXPECT_EQ(pPage->m_bResult, 7) << nPage;
        pPage->ShowWindow(SW_HIDE);
    }
    EXPECT_TRUE(PageBoxes().empty()) << PageBoxes().front().ToUtf8();
}
