// The region-of-interest page on the simulated camera (320 x 240; "Width" from 64 to 320): the size and
// offset arithmetic, the digitizer window the steps leave, the refused size that keeps the main
// window's size, and the restore of PASS and FAIL.

#include "CROIDlg.h"
#include "PageFixture.h"
#include "TestHooks.h"
#include "UiThread.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

using kavrino_test::PageTest;

namespace {

class ROIPageTest : public PageTest {
protected:
    void OpenRoi(bool bConnect) {
        if (bConnect)
            OpenConnected({L"ROI"});
        else
            OpenWith({L"ROI"});
        m_pPage = m_dlg->m_pROIDlg;
        ASSERT_NE(m_pPage, nullptr);
        m_pPage->ShowWindow(SW_SHOW);
        m_boxes.Clear();
    }

    MIL_INT Digitizer(MIL_INT64 nInquiry) const {
        return MdigInquire(m_pPage->m_milDigitizer, nInquiry, M_NULL);
    }

    void PressAllSteps() {
        for (int id : {CROIDlg::IDC_WIDTH_25, CROIDlg::IDC_WIDTH_50, CROIDlg::IDC_OFFSETX_20,
                       CROIDlg::IDC_OFFSETX_80, CROIDlg::IDC_HEIGHT_75, CROIDlg::IDC_HEIGHT_50,
                       CROIDlg::IDC_OFFSETY_20, CROIDlg::IDC_OFFSETY_80})
            Press(m_pPage, id);
    }

    CROIDlg* m_pPage = nullptr;
};

} // namespace

TEST(ROIGeometry, StepsScaleTheirRangeAndKeepMultiplesOfFour) {
    EXPECT_EQ(CROIDlg::ScaledWidth(8, 2590, 0.25), 652); // 653.5 -> 653 -> 652
    EXPECT_EQ(CROIDlg::ScaledWidth(8, 2590, 0.5), 1296);
    EXPECT_EQ(CROIDlg::ScaledHeight(1999, 0.5), 996);
    EXPECT_EQ(CROIDlg::ScaledHeight(2048, 0.75), 1536);
    EXPECT_EQ(CROIDlg::ScaledOffset(2448, 1232, 0.2), 240);
    EXPECT_EQ(CROIDlg::ScaledOffset(2448, 1232, 0.8), 972);
    EXPECT_EQ(CROIDlg::ScaledOffset(2448, 2448, 0.8), 0);
}

TEST_F(ROIPageTest, StepsChangeTheDigitizerWindowAndTheMainWindowsSize) {
    OpenRoi(false);
    // Disconnected: nothing, not even the tried flag.
    Press(m_pPage, CROIDlg::IDC_WIDTH_25);
    EXPECT_EQ(m_pPage->m_vecItems[CROIDlg::ITEM_WIDTH_25].bTested, 0);

    EXPECT_EQ(m_pPage->m_vecButtonIds, (std::vector<int>{1026, 1028, 1037, 1038, 1034, 1033, 1040, 1041}));
    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    EXPECT_EQ(m_pPage->m_milDigitizer, m_dlg->m_milDigitizer);
    m_dlg->StartLive();
    m_boxes.Clear();

    // At the full size an offset step computes 0: tried and ok, nothing written.
    Press(m_pPage, CROIDlg::IDC_OFFSETX_80);
    EXPECT_EQ(m_pPage->m_vecItems[CROIDlg::ITEM_OFFSETX_80].bTested, 1);
    EXPECT_EQ(Digitizer(M_SOURCE_OFFSET_X), 0);

    Press(m_pPage, CROIDlg::IDC_WIDTH_25); // (320 - 64) x 0.25 + 64
    EXPECT_EQ(Digitizer(M_SIZE_X), 128);
    EXPECT_EQ(m_dlg->m_nWidth, 128);
    EXPECT_TRUE(m_dlg->m_bLive);
    EXPECT_EQ(m_boxes.Texts(), std::vector<CString>{L"width = 128  height = 240"});

    // Offsets move the window while live acquisition runs.
    Press(m_pPage, CROIDlg::IDC_OFFSETX_20); // (320 - 128) x 0.2 = 38.4 -> 36
    EXPECT_EQ(Digitizer(M_SOURCE_OFFSET_X), 36);
    Press(m_pPage, CROIDlg::IDC_OFFSETX_80); // 153.6 -> 152, absolute
    EXPECT_EQ(Digitizer(M_SOURCE_OFFSET_X), 152);

    Press(m_pPage, CROIDlg::IDC_HEIGHT_75);
    EXPECT_EQ(Digitizer(M_SIZE_Y), 180);
    EXPECT_EQ(m_dlg->m_nHeight, 180);
    Press(m_pPage, CROIDlg::IDC_OFFSETY_80); // (240 - 180) x 0.8 = 48
    EXPECT_EQ(Digitizer(M_SOURCE_OFFSET_Y), 48);
    Press(m_pPage, CROIDlg::IDC_HEIGHT_50); // 120 still fits beside offset 48
    EXPECT_EQ(Digitizer(M_SIZE_Y), 120);
    EXPECT_TRUE(PageBoxes().empty());
}

TEST_F(ROIPageTest, SizeTheDigitizerRefusesIsReportedAndTheMainWindowKeepsTheGrabbedSize) {
    OpenRoi(true);
    Press(m_pPage, CROIDlg::IDC_WIDTH_25);
    Press(m_pPage, CROIDlg::IDC_OFFSETX_80); // 152 + 128 fits in 320
    m_boxes.Clear();

    // 192 beside offset 152 would leave the sensor.
    Press(m_pPage, CROIDlg::IDC_WIDTH_50);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'Width'"});
    EXPECT_EQ(Digitizer(M_SIZE_X), 128);
    EXPECT_EQ(m_dlg->m_nWidth, 128);
    EXPECT_TRUE(m_dlg->m_bLive);
    CString strErrors;
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: Width 50% ");

    // A failed read of the limits writes nothing and leaves live acquisition alone.
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    camera->SetMissing(L"Width", true);
    m_boxes.Clear();
    Press(m_pPage, CROIDlg::IDC_WIDTH_25);
    Press(m_pPage, CROIDlg::IDC_OFFSETX_20);
    EXPECT_EQ(PageBoxes(), (std::vector<CString>{L"ERROR : 'Width'", L"ERROR : 'OffsetX'"}));
    EXPECT_EQ(m_boxes.Count(), 2u); // live acquisition was not restarted
    EXPECT_EQ(Digitizer(M_SIZE_X), 128);
    EXPECT_EQ(Digitizer(M_SOURCE_OFFSET_X), 152);
    EXPECT_EQ(m_pPage->m_vecItems[CROIDlg::ITEM_WIDTH_25].bOk, 0);
    EXPECT_EQ(m_pPage->m_vecItems[CROIDlg::ITEM_OFFSETX_20].bOk, 0);
}

// While a box is open over the page the key pad acts on nothing behind it. FAIL's restore shows the
// frame-size box: focus moves (2, 1) and "Width 25%" (4) sent meanwhile are dropped, so the camera is back
// at its full width after the verdict. PASS's list of untried steps comes once, however often PASS (8)
// is sent while it is open, and FAIL (16) sent then gives no verdict.
TEST_F(ROIPageTest, KeyPadCodesSentWhileABoxIsOpenActOnNothingBehindIt) {
    OpenRoi(true);
    Press(m_pPage, CROIDlg::IDC_WIDTH_50);
    ASSERT_EQ(m_dlg->m_nWidth, 192);
    m_boxes.Clear();
    m_boxes.SetAnswerDelay(200);
    for (LPARAM code : {2, 1, 4})
        m_pPage->PostMessage(WM_KEYPAD, 0, code);
    Press(m_pPage, IDCANCEL);
    EXPECT_EQ(m_boxes.Texts(), std::vector<CString>{L"width = 320  height = 240"});
    EXPECT_EQ(Digitizer(M_SIZE_X), 320);
    EXPECT_EQ(m_dlg->m_nWidth, 320);
    EXPECT_EQ(m_pPage->m_bResult, 0);
    EXPECT_EQ(m_pPage->m_nFocusIndex, 0);
    EXPECT_FALSE(Visible(m_pPage));

    ResetEvent(m_pPage->m_hEvent);
    m_pPage->ShowWindow(SW_SHOW);
    m_boxes.Clear();
    for (LPARAM code : {8, 8, 8, 16})
        m_pPage->PostMessage(WM_KEYPAD, 0, code);
    Press(m_pPage, IDOK);
    m_boxes.SetAnswerDelay(0);
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0].Find(L"검사 안 한 항목"), 0);
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));
    EXPECT_TRUE(Visible(m_pPage));

    // With no box open the key pad acts as always: FAIL.
    m_pPage->SendMessage(WM_KEYPAD, 0, 16);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_EQ(m_pPage->m_bResult, 0);

    // The key pad's Space (3) is what answers a box: sent while FAIL's frame-size box is open (a real box
    // this time), its focused button takes it and the verdict goes on. A box the Space did not reach is
    // ended once the key's events are through, so that the test fails instead of waiting on it.
    ResetEvent(m_pPage->m_hEvent);
    m_pPage->ShowWindow(SW_SHOW);
    Press(m_pPage, CROIDlg::IDC_WIDTH_50);
    ASSERT_EQ(m_dlg->m_nWidth, 192);
    QString strShown;
    bool bEndedByTest = false;
    {
        struct RealBoxes {
            kavrino::MessageBoxHandler recorder = kavrino::SetMessageBoxHandler(nullptr);
            ~RealBoxes() { kavrino::SetMessageBoxHandler(std::move(recorder)); }
        } real;
        m_pPage->PostMessage(WM_KEYPAD, 0, 3);
        // Runs after code 3, before the Space it queues; then once more after the Space.
        kavrino::PostToUiThread([&strShown, &bEndedByTest] {
            QPointer<QMessageBox> box;
            for (QWidget* pWindow : QApplication::topLevelWidgets())
                if (auto* pBox = qobject_cast<QMessageBox*>(pWindow); pBox && pBox->isVisible())
                    box = pBox;
            if (box)
                strShown = box->text();
            kavrino::PostToUiThread([box, &bEndedByTest] {
                if (box && box->isVisible()) {
                    bEndedByTest = true;
                    box->reject();
                }
            });
        });
        Press(m_pPage, IDCANCEL);
    }
    EXPECT_EQ(strShown, QStringLiteral("width = 320  height = 240"));
    EXPECT_FALSE(bEndedByTest) << "the key pad's Space did not answer the box";
    EXPECT_EQ(Digitizer(M_SIZE_X), 320);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_EQ(m_pPage->m_bResult, 0);
    EXPECT_FALSE(Visible(m_pPage));
}

TEST_F(ROIPageTest, PassListsUntriedStepsThenRestoresTheFullFrameAndHandsOver) {
    OpenRoi(true);
    Press(m_pPage, CROIDlg::IDC_WIDTH_25);
    Press(m_pPage, CROIDlg::IDC_OFFSETX_80);
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(),
              std::vector<CString>{L"검사 안 한 항목\r\n@ Width 50%\r\n@ OffsetX 20%\r\n@ Height 75%\r\n"
                                   L"@ Height 50%\r\n@ OffsetY 20%\r\n@ OffsetY 80%\r\n"});
    EXPECT_EQ(Digitizer(M_SIZE_X), 128);
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));

    PressAllSteps();
    // Tried everywhere, but no verdict while disconnected.
    m_dlg->m_bConnected = FALSE;
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));
    m_dlg->m_bConnected = TRUE;

    Press(m_pPage, IDOK);
    EXPECT_EQ(Digitizer(M_SOURCE_OFFSET_X), 0);
    EXPECT_EQ(Digitizer(M_SOURCE_OFFSET_Y), 0);
    EXPECT_EQ(Digitizer(M_SIZE_X), 320);
    EXPECT_EQ(Digitizer(M_SIZE_Y), 240);
    EXPECT_EQ(m_dlg->m_nWidth, 320);
    EXPECT_EQ(m_dlg->m_nHeight, 240);
    EXPECT_EQ(m_pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_FALSE(Visible(m_pPage));
    for (const TestItem& item : m_pPage->m_vecItems)
        EXPECT_EQ(item.bTested, 0);
}

TEST_F(ROIPageTest, FailRestoresBeforeAnyStepAndAFailedOffsetResetStillGivesTheVerdict) {
    OpenRoi(true);
    Press(m_pPage, CROIDlg::IDC_HEIGHT_50);
    Press(m_pPage, CROIDlg::IDC_OFFSETY_20);
    m_pPage->m_vecItems[CROIDlg::ITEM_WIDTH_25].bOk = 0; // failed in an earlier showing
    Press(m_pPage, IDCANCEL);
    EXPECT_EQ(Digitizer(M_SIZE_Y), 240);
    EXPECT_EQ(Digitizer(M_SOURCE_OFFSET_Y), 0);
    EXPECT_EQ(m_pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    CString strErrors;
    m_pPage->GetErrorItems(strErrors);
    EXPECT_EQ(strErrors, L"에러항목: Width 25% ");

    // A digitizer identifier that names nothing: the horizontal reset fails and ends the reset; the
    // size writes fail as well, and the verdict is delivered all the same.
    ResetEvent(m_pPage->m_hEvent);
    m_pPage->ShowWindow(SW_SHOW);
    const MIL_ID milDigitizer = m_pPage->m_milDigitizer;
    m_pPage->m_milDigitizer = milDigitizer + 1000;
    m_boxes.Clear();
    Press(m_pPage, IDCANCEL);
    EXPECT_EQ(PageBoxes(),
              (std::vector<CString>{L"ERROR : '4024'", L"ERROR : 'Width'", L"ERROR : 'Height'"}));
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_FALSE(Visible(m_pPage));
    m_pPage->m_milDigitizer = milDigitizer;
}

TEST_F(ROIPageTest, DestroyingThePageEmptiesItsStepsAndItsKeyPadList) {
    OpenRoi(false);
    ASSERT_EQ(m_pPage->m_vecButtonIds.size(), 8u);
    m_pPage->DestroyWindow();
    EXPECT_TRUE(m_pPage->m_vecItems.empty());
    EXPECT_TRUE(m_pPage->m_vecButtonIds.empty());
    EXPECT_EQ(m_pPage->m_hEvent, nullptr);
}
