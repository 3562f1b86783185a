// The frame-rate page on the simulated camera (maximum 30 frames per second): the value list sorted as
// text, the capped writes, the limit toggle, the key pad stepping through the list, the checked verdict,
// and the hidden pixel-clock buttons.

#include "CExposureDlg.h"
#include "CFrameRateDlg.h"
#include "PageFixture.h"
#include "SimNodeMap.h"
#include "WindowState.h"

#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>

using kavrino_test::PageTest;

namespace {

class FrameRatePageTest : public PageTest {
protected:
    void Open(std::initializer_list<const wchar_t*> rates, bool connect = true) {
        for (const wchar_t* rate : rates)
            m_frameRates.AddTail(rate);
        if (connect)
            OpenConnected({L"프레임 레이트"});
        else
            OpenWith({L"프레임 레이트"});
        m_pPage = m_dlg->m_pFrameRateDlg;
        ASSERT_NE(m_pPage, nullptr);
    }
    CComboBox& List() { return *static_cast<CComboBox*>(m_pPage->GetDlgItem(CFrameRateDlg::IDC_FRAME_RATE)); }
    void Pick(int index) {
        List().SetCurSel(index);
        m_pPage->SendMessage(WM_COMMAND, MAKEWPARAM(CFrameRateDlg::IDC_FRAME_RATE, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(List().GetSafeHwnd()));
    }
    double Rate() {
        double dRate = -1.0;
        m_dlg->GetFeature(L"AcquisitionFrameRate", FEATURE_VALUE, &dRate);
        return dRate;
    }
    void SetRate(double dRate) { m_dlg->SetFeature(L"AcquisitionFrameRate", FEATURE_VALUE, &dRate); }
    CString Caption() {
        CString text;
        m_pPage->GetDlgItemText(CFrameRateDlg::IDC_FRAME_MODE, text);
        return text;
    }

    CFrameRateDlg* m_pPage = nullptr;
};

} // namespace

TEST_F(FrameRatePageTest, ValuesAreListedAsTextAndCappedToTheCameraMaximum) {
    Open({L"30", L"100", L"25", L"12.5 fps"});
    EXPECT_EQ(List().GetCount(), 4);
    EXPECT_EQ(List().GetItemHeight(-1), 20); // the selection field
    EXPECT_EQ(List().FindStringExact(-1, L"100"), 0);
    EXPECT_EQ(List().FindStringExact(-1, L"30"), 3);
    EXPECT_EQ(List().GetCurSel(), 0);

    SetRate(17.0);
    Pick(0); // 100 is above the maximum: the maximum is written
    EXPECT_DOUBLE_EQ(Rate(), 30.0);
    Pick(1); // the leading number of the text
    EXPECT_DOUBLE_EQ(Rate(), 12.5);
    // The list alone neither switches the limit on nor marks the toggle's step.
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"Off");
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ 프레임 모드\r\n"});
}

TEST_F(FrameRatePageTest, AMaximumThatCannotBeReadIsReportedAndWritesNoRate) {
    Open({L"25"});
    m_pPage->ShowWindow(SW_SHOW);
    SetRate(17.0);
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    camera->SetMissing(L"AcquisitionFrameRate", true);
    Pick(0);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'AcquisitionFrameRate'"});
    // The toggle reports it too and still switches the limit on, at the rate the camera has.
    m_boxes.Clear();
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'AcquisitionFrameRate'"});
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"On");
    camera->SetMissing(L"AcquisitionFrameRate", false);
    EXPECT_DOUBLE_EQ(Rate(), 17.0);
    // Both steps were tried, and the verdict is not blamed for the reads.
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_EQ(m_pPage->m_bResult, 1);
}

TEST_F(FrameRatePageTest, TheToggleWritesTheRateBeforeTheLimitAndTheVerdictSwitchesItOff) {
    Open({L"25", L"10"});
    m_pPage->ShowWindow(SW_SHOW);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_DOUBLE_EQ(Rate(), 10.0); // entry 0: "10" sorts before "25"
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"On");
    EXPECT_EQ(Caption(), L"ON");

    // Off marks nothing and writes no rate.
    m_pPage->m_vecItems[CFrameRateDlg::ITEM_FRAME_MODE].bTested = 0;
    SetRate(17.0);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"Off");
    EXPECT_EQ(Caption(), L"OFF");
    EXPECT_EQ(m_pPage->m_vecItems[CFrameRateDlg::ITEM_FRAME_MODE].bTested, 0);
    EXPECT_DOUBLE_EQ(Rate(), 17.0);

    // A refused "Off" at the verdict keeps the page open with its caption and mode, and no verdict.
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    Pick(1);
    Refuse(L"AcquisitionFrameRateEnable");
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'AcquisitionFrameRateEnable'"});
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));
    EXPECT_TRUE(Visible(m_pPage));
    EXPECT_EQ(Caption(), L"ON");
    EXPECT_EQ(m_pPage->m_bFrameMode, 1);

    Refuse(L"AcquisitionFrameRateEnable", false);
    Press(m_pPage, IDCANCEL);
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"Off");
    EXPECT_DOUBLE_EQ(Rate(), 25.0); // the last rate stays
    EXPECT_EQ(Caption(), L"OFF");
    EXPECT_EQ(m_pPage->m_bFrameMode, 0);
    EXPECT_EQ(m_pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
}

TEST_F(FrameRatePageTest, TheVerdictChecksItsOwnWriteOnly) {
    // A refused rate when the limit goes on is not checked, and the verdict's "Off" is not blamed for it.
    Open({L"25"});
    m_pPage->ShowWindow(SW_SHOW);
    Refuse(L"AcquisitionFrameRate");
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"On");
    Press(m_pPage, IDCANCEL);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"Off");
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_EQ(m_pPage->m_bResult, 0);
    Refuse(L"AcquisitionFrameRate", false);
    Close();

    // Nor for the exposure page's refused restore, earlier in the run.
    OpenConnected({L"익스포즈", L"프레임 레이트"});
    m_pPage = m_dlg->m_pFrameRateDlg;
    CExposureDlg* pExposure = m_dlg->m_pExposureDlg;
    pExposure->ShowWindow(SW_SHOW);
    Refuse(L"ExposureTime");
    Press(pExposure, IDCANCEL);
    EXPECT_TRUE(Signalled(pExposure->m_hEvent));
    m_pPage->ShowWindow(SW_SHOW);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    Pick(0);
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_TRUE(Signalled(m_pPage->m_hEvent));
    EXPECT_EQ(m_pPage->m_bResult, 1);
}

TEST_F(FrameRatePageTest, KeyPadAppliesTheEntriesInTurn) {
    Open({L"20", L"10"}, false);
    m_pPage->m_nFocusIndex = 1; // the list
    // Unconnected: the entry is selected and the index advances, but nothing is written or marked.
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(m_pPage->m_nComboIdx, 1);
    EXPECT_EQ(m_pPage->m_vecItems[CFrameRateDlg::ITEM_FRAME_RATE].bTested, 0);

    Click(CKavrinoDlg::IDC_CONNECT);
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(List().GetCurSel(), 1);
    EXPECT_DOUBLE_EQ(Rate(), 20.0);
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_DOUBLE_EQ(Rate(), 10.0);
    EXPECT_EQ(m_pPage->m_nComboIdx, 1);
    m_pPage->m_nFocusIndex = 0; // on the toggle, code 4 presses it
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(m_pPage->m_bFrameMode, 1);
}

TEST_F(FrameRatePageTest, AnEmptyListHasNothingToApplyButTheLimitStillSwitches) {
    Open({});
    SetRate(17.0);
    m_pPage->m_nFocusIndex = 1;
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(m_pPage->m_nComboIdx, 0);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"On");
    EXPECT_DOUBLE_EQ(Rate(), 17.0);
}

TEST_F(FrameRatePageTest, HiddenButtonsDeriveTheRateFromThePixelClock) {
    Open({L"10"});
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    Press(m_pPage, CFrameRateDlg::IDC_FRAME50); // no node map: nothing at all
    EXPECT_TRUE(PageBoxes().empty());

    kavrino::SimNodeMap map(camera);
    m_dlg->m_pNodeMap = &map;
    Press(m_pPage, CFrameRateDlg::IDC_FRAME50);
    GenApi::CStringPtr pCommand = map.GetNode("Command");
    EXPECT_EQ(pCommand->GetValue(), "WFREERUN 7D0"); // 100000 / 50 = 2000
    m_dlg->m_pNodeMap = nullptr;

    // An unreadable clock writes nothing, and its error is not left for the verdict's query.
    camera->SetMissing(L"PixelClockReg", true);
    SetRate(17.0);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME10);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'PixelClockReg'"});
    EXPECT_DOUBLE_EQ(Rate(), 17.0);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    Pick(0);
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(m_pPage->m_bResult, 1);
}

TEST_F(FrameRatePageTest, OwnerDrawnToggleDrawsItsCaptionBeforeTheBorder) {
    Open({L"30"}, false);
    // A caption taller than the control fills its rows: drawn before the 3-D border, the caption on the
    // whole face is covered by the border; only the second caption, a pixel lower right while pressed,
    // stays inside it.
    m_pPage->SetDlgItemText(CFrameRateDlg::IDC_FRAME_MODE, CString(L'\u2588', 12));
    kavrino::ImageSurface surface(40, 8);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = CFrameRateDlg::IDC_FRAME_MODE;
    item.itemState = ODS_SELECTED;
    item.hDC = kavrino::ToHdc(&surface);
    item.rcItem = RECT{0, 0, 40, 8};
    m_pPage->DrawOwnerButton(&item, CFrameRateDlg::IDC_FRAME_MODE);
    const QImage& image = surface.Image();
    // The sunken border's top and left lines are black.
    for (int x = 1; x < 38; ++x)
        EXPECT_EQ(image.pixel(x, 1) & 0xFFFFFF, 0x000000u) << "x " << x;
    for (int y = 1; y < 6; ++y)
        EXPECT_EQ(image.pixel(1, y) & 0xFFFFFF, 0x000000u) << "y " << y;
    // Both captions are there: the whole face's on the outer frame, the pressed one inside.
    EXPECT_EQ(image.pixel(20, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(20, 4) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(FrameRatePageTest, TheListsClosedFieldIsPaintedByThePageWithTheKeyPadsFocus) {
    Open({L"30", L"60"}, false);
    m_pPage->ShowWindow(SW_SHOW);
    // The operator's window is the active one, so the focus the key pad moves is the real focus.
    QApplication::setActiveWindow(m_dlg->State()->widget);
    auto* combo =
        qobject_cast<QComboBox*>(m_pPage->GetDlgItem(CFrameRateDlg::IDC_FRAME_RATE)->State()->widget);
    ASSERT_NE(combo, nullptr);
    QStyleOptionComboBox option;
    option.initFrom(combo);
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    ASSERT_GT(field.width(), 8);
    const int y = field.center().y();
    // Pixels as 0xRRGGBB: the painter's frame, the 3-D border inside it, the face; and whether the
    // selected entry's caption is there in white (near white where its edges are smoothed).
    auto paint = [&] {
        const QImage image = combo->grab().toImage();
        bool caption = false;
        for (int x = field.left() + 3; x < field.right() - 2 && !caption; ++x)
            for (int row = field.top() + 3; row < field.bottom() - 2 && !caption; ++row)
                caption = qGray(image.pixel(x, row)) > 0xE0;
        return std::make_tuple(image.pixel(field.left(), y) & 0xFFFFFF,
                               image.pixel(field.left() + 1, y) & 0xFFFFFF,
                               image.pixel(field.left() + 3, y) & 0xFFFFFF, caption);
    };
    EXPECT_EQ(paint(), std::make_tuple(0x808080u, 0xC0C0C0u, 0x0080C0u, true));

    // Code 2 moves the focus from the toggle onto the list: orange in a red frame, the entry shown
    // selected (sunken).
    m_pPage->OnKeypadMessage(0, 2);
    ASSERT_EQ(FocusId(), CFrameRateDlg::IDC_FRAME_RATE);
    EXPECT_EQ(paint(), std::make_tuple(0xFF0000u, 0x000000u, 0xFF8040u, true));
    // And back: the list shows no focus any more.
    m_pPage->OnKeypadMessage(0, 1);
    ASSERT_EQ(FocusId(), CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_EQ(paint(), std::make_tuple(0x808080u, 0xC0C0C0u, 0x0080C0u, true));
}
