// The frame-rate page on the simulated camera (maximum 30 frames per second): the sorted value list,
// the capped writes, the limit toggle, the key pad stepping through the list, the checked verdict and
// the hidden pixel-clock buttons.

#include "CFrameRateDlg.h"
#include "PageFixture.h"
#include "SimNodeMap.h"

using kavrino_test::PageTest;

namespace {

class FrameRatePageTest : public PageTest {
protected:
    void OpenWithRates(std::initializer_list<const wchar_t*> rates, bool connect) {
        m_frameRates.RemoveAll();
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
    std::vector<CString> Entries() {
        std::vector<CString> entries(static_cast<std::size_t>(List().GetCount()));
        for (std::size_t i = 0; i < entries.size(); ++i)
            List().GetLBText(static_cast<int>(i), entries[i]);
        return entries;
    }
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
    OpenWithRates({L"30", L"100", L"25", L"12.5 fps"}, true);
    EXPECT_EQ(Entries(), (std::vector<CString>{L"100", L"12.5 fps", L"25", L"30"}));
    EXPECT_EQ(List().GetCurSel(), 0);

    Pick(0); // 100 is above the maximum of 30
    EXPECT_DOUBLE_EQ(Rate(), 30.0);
    Pick(1); // the leading number of the text
    EXPECT_DOUBLE_EQ(Rate(), 12.5);
    Pick(3); // equal to the maximum
    EXPECT_DOUBLE_EQ(Rate(), 30.0);
    EXPECT_EQ(m_pPage->m_vecItems[CFrameRateDlg::ITEM_FRAME_RATE].bTested, 1);
    // The list alone neither switches the limit on nor marks the toggle's step.
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"Off");
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ 프레임 모드\r\n"});
}

TEST_F(FrameRatePageTest, TheToggleWritesTheRateBeforeTheLimitAndTheVerdictSwitchesItOff) {
    OpenWithRates({L"25", L"10"}, true);
    m_pPage->ShowWindow(SW_SHOW);
    SetRate(17.0);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_DOUBLE_EQ(Rate(), 10.0); // entry 0: "10" sorts before "25"
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"On");
    EXPECT_EQ(Caption(), L"ON");
    EXPECT_EQ(m_pPage->m_bFrameMode, 1);

    // Off marks nothing and writes no rate.
    m_pPage->m_vecItems[CFrameRateDlg::ITEM_FRAME_MODE].bTested = 0;
    SetRate(17.0);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"Off");
    EXPECT_EQ(Caption(), L"OFF");
    EXPECT_EQ(m_pPage->m_vecItems[CFrameRateDlg::ITEM_FRAME_MODE].bTested, 0);
    EXPECT_DOUBLE_EQ(Rate(), 17.0);

    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    Pick(1);
    // A refused "Off" keeps the page open with its caption and mode, and no verdict.
    Refuse(L"AcquisitionFrameRateEnable");
    m_boxes.Clear();
    Press(m_pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'AcquisitionFrameRateEnable'"});
    EXPECT_TRUE(Visible(m_pPage));
    EXPECT_FALSE(Signalled(m_pPage->m_hEvent));
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
    EXPECT_FALSE(Visible(m_pPage));
}

TEST_F(FrameRatePageTest, KeyPadAppliesTheEntriesInTurn) {
    OpenWithRates({L"20", L"10"}, false);
    m_pPage->m_nFocusIndex = 1; // the list
    // Unconnected: the entry is selected and the index advances, but nothing is written or marked.
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(List().GetCurSel(), 0);
    EXPECT_EQ(m_pPage->m_nComboIdx, 1);
    EXPECT_EQ(m_pPage->m_vecItems[CFrameRateDlg::ITEM_FRAME_RATE].bTested, 0);

    Click(CKavrinoDlg::IDC_CONNECT);
    ASSERT_TRUE(m_dlg->m_bConnected);
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(List().GetCurSel(), 1);
    EXPECT_DOUBLE_EQ(Rate(), 20.0);
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(List().GetCurSel(), 0);
    EXPECT_DOUBLE_EQ(Rate(), 10.0);
    EXPECT_EQ(m_pPage->m_nComboIdx, 1);

    // On the toggle, code 4 presses it.
    m_pPage->m_nFocusIndex = 0;
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(m_pPage->m_bFrameMode, 1);
    m_pPage->OnKeypadMessage(0, 2);
    EXPECT_EQ(m_pPage->m_nFocusIndex, 1);
}

TEST_F(FrameRatePageTest, AnEmptyListHasNothingToApply) {
    OpenWithRates({}, true);
    EXPECT_EQ(List().GetCurSel(), CB_ERR);
    SetRate(17.0);
    m_pPage->m_nFocusIndex = 1;
    m_pPage->OnKeypadMessage(0, 4);
    EXPECT_EQ(m_pPage->m_nComboIdx, 0);
    // The limit still switches on, with the rate the camera has.
    Press(m_pPage, CFrameRateDlg::IDC_FRAME_MODE);
    EXPECT_EQ(TextFeature(L"AcquisitionFrameRateEnable"), L"On");
    EXPECT_DOUBLE_EQ(Rate(), 17.0);
}

TEST_F(FrameRatePageTest, HiddenButtonsDeriveTheRateFromThePixelClock) {
    OpenWithRates({L"10"}, true);
    auto camera = kavrino::SimCameraRegistry::Find(L"P0001");
    ASSERT_NE(camera, nullptr);

    // Without a node map "50프레임" does nothing at all.
    Press(m_pPage, CFrameRateDlg::IDC_FRAME50);
    EXPECT_TRUE(PageBoxes().empty());

    kavrino::SimNodeMap map(camera);
    m_dlg->m_pNodeMap = &map;
    Press(m_pPage, CFrameRateDlg::IDC_FRAME50);
    GenApi::CStringPtr pCommand = map.GetNode("Command");
    EXPECT_EQ(pCommand->GetValue(), "WFREERUN 7D0"); // 100000 / 50 = 2000
    camera->SetMissing(L"PixelClockReg", true);
    Press(m_pPage, CFrameRateDlg::IDC_FRAME50);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"ERROR : 'NULL pointer dereferenced'"});
    m_dlg->m_pNodeMap = nullptr;

    // An unreadable clock writes nothing, and its error is not left for the verdict's query.
    SetRate(17.0);
    m_boxes.Clear();
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

TEST_F(FrameRatePageTest, PressedToggleShowsItsCaptionTwice) {
    OpenWithRates({L"10"}, false);
    auto textLeft = [&](bool bOwnPainter, UINT state) {
        kavrino::ImageSurface surface(60, 30);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = CFrameRateDlg::IDC_FRAME_MODE;
        item.itemState = state;
        item.hDC = kavrino::ToHdc(&surface);
        item.rcItem = RECT{0, 0, 60, 30};
        if (bOwnPainter)
            m_pPage->DrawOwnerButton(&item, CFrameRateDlg::IDC_FRAME_MODE);
        else
            m_pPage->DrawButton(&item, CFrameRateDlg::IDC_FRAME_MODE);
        // The first column the text touched, inside the frames (the face has no red).
        for (int x = 3; x < 57; ++x)
            for (int y = 3; y < 27; ++y)
                if (qRed(surface.Image().pixel(x, y)) > 0x40)
                    return x;
        return -1;
    };
    // Not pressed, the two captions fall on the same place; pressed, the first stays where it was.
    const int nLeft = textLeft(false, 0);
    ASSERT_GT(nLeft, 3);
    EXPECT_EQ(textLeft(true, 0), nLeft);
    EXPECT_EQ(textLeft(false, ODS_SELECTED), nLeft + 1);
    EXPECT_EQ(textLeft(true, ODS_SELECTED), nLeft);
}
