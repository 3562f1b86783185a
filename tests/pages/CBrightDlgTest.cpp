// The brightness-deviation page: the five windows from and to the test set, the edits, the channel steps
// on a colour camera, the read-out with the automatic verdict, PASS and FAIL.

#include "BrightWindows.h"
#include "CBrightDlg.h"
#include "CDisplayDlg.h"
#include "PageFixture.h"
#include "Profile.h"

#include <climits>

namespace kavrino_test {

class BrightPageTest : public PageTest {
protected:
    void TearDown() override {
        PageTest::TearDown();
        theApp.g_bEditMode = 0;
    }

    // The main window of a colour or black-and-white camera, not connected, with the page shown.
    CBrightDlg* OpenBright(bool bColor) {
        m_items.RemoveAll();
        m_items.AddTail(L"휘도편차");
        m_dlg = std::make_unique<CKavrinoDlg>();
        m_dlg->m_pTestItemList = &m_items;
        m_dlg->m_pFrameRateList = &m_frameRates;
        m_dlg->m_pDcfList = &m_dcfList;
        m_dlg->m_bColorCamera = bColor ? TRUE : FALSE;
        m_dlg->m_nDeviationLimit = 6;
        EXPECT_TRUE(m_dlg->Create(CKavrinoDlg::IDD, nullptr));
        CBrightDlg* pPage = m_dlg->m_pBrightDlg;
        EXPECT_NE(pPage, nullptr);
        if (pPage)
            pPage->ShowWindow(SW_SHOW);
        return pPage;
    }

    CString ReadKey(const wchar_t* key) {
        wchar_t text[128] = {};
        GetPrivateProfileString(L"BRIGHT", key, nullptr, text, 128, m_strIniPath);
        return text;
    }
    static std::vector<int> Windows() {
        return std::vector<int>(&g_rcBrightWindow[0][0], &g_rcBrightWindow[0][0] + 20);
    }
    std::vector<bool> Channels() const {
        const CDisplayDlg* d = m_dlg->m_pDisplayDlg;
        return {d->m_bShowRed, d->m_bShowGreen, d->m_bShowBlue};
    }
};

} // namespace kavrino_test

using kavrino_test::BrightPageTest;

TEST(BrightDeviation, EveryDeviationMustLieStrictlyInsideTheLimit) {
    const int dev[4] = {5, -5, 3, 0};
    EXPECT_TRUE(CBrightDlg::DeviationsWithin(dev, 6));
    EXPECT_FALSE(CBrightDlg::DeviationsWithin(dev, 5));
    const int extreme[4] = {0, INT_MIN, 0, 0};
    EXPECT_FALSE(CBrightDlg::DeviationsWithin(extreme, INT_MAX));
}

TEST_F(BrightPageTest, MissingKeysPlaceTheWindowsByTheImageSizeAndPresentOnesAreNumbers) {
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    // Loading switches the measuring on whatever the check box shows.
    pPage->CheckDlgButton(CBrightDlg::IDC_SHOW, 0);
    Press(pPage, CBrightDlg::IDC_SHOW);
    EXPECT_FALSE(m_dlg->m_pDisplayDlg->m_bBrightMode);
    g_nImageWidth = 1920;
    g_nImageHeight = 1080;
    pPage->LoadParameters();
    EXPECT_EQ(Windows(), (std::vector<int>{910, 490, 100, 100, 10,  10,  100,  100, 1810, 10,
                                           100, 100, 10,  970, 100, 100, 1810, 970, 100,  100}));
    EXPECT_TRUE(m_dlg->m_pDisplayDlg->m_bBrightMode);
    EXPECT_EQ(ItemText(pPage, 1089), L"910");
    EXPECT_EQ(ItemText(pPage, 1113), L"1810"); // right-bottom's edits are 1113 to 1116

    g_nImageWidth = 1001;
    for (auto [key, value] :
         {std::pair{L"Center top", L"0"}, std::pair{L"LeftTopRect left", L"12px"},
          std::pair{L"LeftTopRect top", L"abc"}, std::pair{L"RightBottomRect bottom", L"-7"}})
        ASSERT_TRUE(WritePrivateProfileString(L"BRIGHT", key, value, m_strIniPath));
    pPage->LoadParameters();
    EXPECT_EQ(g_rcBrightWindow[0][0], 450);
    EXPECT_EQ(g_rcBrightWindow[0][1], 0); // "0" is a value, not the default
    EXPECT_EQ(g_rcBrightWindow[1][0], 12);
    EXPECT_EQ(g_rcBrightWindow[1][1], 0);
    EXPECT_EQ(ItemText(pPage, 1116), L"-7");
}

TEST_F(BrightPageTest, EditsStoreAtOnceAndTheSaveWritesEveryKeyForTheNextLoad) {
    theApp.g_bEditMode = 1;
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    g_nImageWidth = 640;
    g_nImageHeight = 480;
    pPage->LoadParameters();
    pPage->SetDlgItemText(1092, L"64");
    pPage->SetDlgItemText(1111, L""); // cleared: 0 at once
    pPage->SetDlgItemText(1117, L"33");
    EXPECT_EQ(g_rcBrightWindow[0][2], 64);
    EXPECT_EQ(g_rcBrightWindow[2][2], 0);
    EXPECT_EQ(g_rcBrightWindow[3][0], 33);
    EXPECT_EQ(ReadKey(L"Center right"), L""); // nothing reaches the file before the save

    Press(pPage, CBrightDlg::IDC_SAVE_PARAM);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"저장되었습니다."});
    EXPECT_EQ(ReadKey(L"Center left"), L"270");
    EXPECT_EQ(ReadKey(L"RightTopRect right"), L"0");
    EXPECT_EQ(ReadKey(L"LeftBottomRect left"), L"33");
    const std::vector<int> saved = Windows();
    for (auto& window : g_rcBrightWindow)
        std::fill(std::begin(window), std::end(window), -1);
    g_nImageWidth = 100;
    pPage->LoadParameters();
    EXPECT_EQ(Windows(), saved);

    // Every field has a key and an edit of its own: twenty distinct values from the file reach their
    // edits, and the save writes each back under its key.
    const struct {
        const wchar_t* key;
        int nEditId;
    } fields[] = {
        {L"Center left", 1089},           {L"Center top", 1091},
        {L"Center right", 1092},          {L"Center bottom", 1093},
        {L"LeftTopRect left", 1105},      {L"LeftTopRect top", 1106},
        {L"LeftTopRect right", 1107},     {L"LeftTopRect bottom", 1108},
        {L"RightTopRect left", 1109},     {L"RightTopRect top", 1110},
        {L"RightTopRect right", 1111},    {L"RightTopRect bottom", 1112},
        {L"LeftBottomRect left", 1117},   {L"LeftBottomRect top", 1118},
        {L"LeftBottomRect right", 1119},  {L"LeftBottomRect bottom", 1120},
        {L"RightBottomRect left", 1113},  {L"RightBottomRect top", 1114},
        {L"RightBottomRect right", 1115}, {L"RightBottomRect bottom", 1116},
    };
    int nValue = 200;
    for (const auto& field : fields) {
        CString strValue;
        strValue.Format(L"%d", ++nValue);
        ASSERT_TRUE(WritePrivateProfileString(L"BRIGHT", field.key, strValue, m_strIniPath));
    }
    pPage->LoadParameters();
    nValue = 200;
    for (const auto& field : fields) {
        CString strValue;
        strValue.Format(L"%d", ++nValue);
        EXPECT_EQ(ItemText(pPage, field.nEditId), strValue) << field.nEditId;
        pPage->SetDlgItemInt(field.nEditId, static_cast<UINT>(nValue + 100), TRUE);
    }
    Press(pPage, CBrightDlg::IDC_SAVE_PARAM);
    nValue = 300;
    for (const auto& field : fields) {
        CString strValue;
        strValue.Format(L"%d", ++nValue);
        EXPECT_EQ(ReadKey(field.key), strValue) << CString(field.key).ToUtf8();
    }

    // A test set that cannot take the keys (its folder gone) is not reported as saved.
    m_boxes.Clear();
    theApp.g_strIniPath = CString(m_dir.filePath("gone/testset.ini").toStdWString());
    Press(pPage, CBrightDlg::IDC_SAVE_PARAM);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"파라미터 저장 실패"});
}

TEST_F(BrightPageTest, ColourCameraAsksForBothChannelsAtEveryShowing) {
    CBrightDlg* pPage = OpenBright(true);
    ASSERT_NE(pPage, nullptr);
    EXPECT_TRUE(pPage->GetDlgItem(CBrightDlg::IDC_CHANNEL_G)->IsWindowEnabled());
    EXPECT_EQ(pPage->GetCheckedRadioButton(CBrightDlg::IDC_CHANNEL_R, CBrightDlg::IDC_CHANNEL_B),
              CBrightDlg::IDC_CHANNEL_R);
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ G\r\n@ B\r\n"});
    Press(pPage, CBrightDlg::IDC_CHANNEL_G);
    EXPECT_EQ(Channels(), (std::vector<bool>{false, true, false}));
    m_boxes.Clear();
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ B\r\n"});
    EXPECT_FALSE(Signalled(pPage->m_hEvent));

    Press(pPage, CBrightDlg::IDC_CHANNEL_B);
    EXPECT_EQ(Channels(), (std::vector<bool>{false, false, true}));
    m_boxes.Clear();
    m_dlg->m_pDisplayDlg->m_bBrightMode = true;
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    EXPECT_FALSE(m_dlg->m_pDisplayDlg->m_bBrightMode);
    EXPECT_EQ(pPage->IsDlgButtonChecked(CBrightDlg::IDC_SHOW), 0u);
    EXPECT_EQ(Channels(), (std::vector<bool>{false, false, true})); // left as chosen

    // The next showing asks again, and R counts for nothing; FAIL needs no step.
    ResetEvent(pPage->m_hEvent);
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CBrightDlg::IDC_CHANNEL_R);
    EXPECT_EQ(Channels(), (std::vector<bool>{true, false, false}));
    m_boxes.Clear();
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 안 한 항목\r\n@ G\r\n@ B\r\n"});
    Press(pPage, CBrightDlg::IDC_CHANNEL_G);
    Press(pPage, CBrightDlg::IDC_FAIL);
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_vecItems[CBrightDlg::ITEM_G].bTested, 0);
}

TEST_F(BrightPageTest, BlackAndWhiteCameraHasNoStepsAndPassesAtOnce) {
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    for (int id : {CBrightDlg::IDC_CHANNEL_R, CBrightDlg::IDC_CHANNEL_G, CBrightDlg::IDC_CHANNEL_B})
        EXPECT_FALSE(pPage->GetDlgItem(id)->IsWindowEnabled());
    EXPECT_FALSE(pPage->GetDlgItem(CBrightDlg::IDC_SAVE_PARAM)->IsWindowEnabled());
    // A click that reaches a disabled radio marks no step that does not exist.
    Press(pPage, CBrightDlg::IDC_CHANNEL_B);
    EXPECT_TRUE(pPage->m_vecItems.empty());
    MSG esc{pPage->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(pPage->PreTranslateMessage(&esc));
    Press(pPage, CBrightDlg::IDC_PASS);
    EXPECT_TRUE(PageBoxes().empty());
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
}

TEST_F(BrightPageTest, TimersShowTheDeviationsAndTheAutomaticVerdict) {
    CBrightDlg* pPage = OpenBright(false);
    ASSERT_NE(pPage, nullptr);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_LIMIT), L"6");
    const int dev[4] = {5, -5, 3, 0};
    std::copy(dev, dev + 4, m_dlg->m_nBrightDev);
    pPage->SendMessage(WM_TIMER, CBrightDlg::TIMER_DEVIATION);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_LEFT_TOP), L"5");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_LEFT_BOTTOM), L"-5");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_RIGHT_TOP), L"3");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_DEV_RIGHT_BOTTOM), L"0");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_VERDICT), L"통과/실패"); // the other timer's job

    pPage->SendMessage(WM_TIMER, CBrightDlg::TIMER_VERDICT);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_VERDICT), L"PASS!!");
    m_dlg->m_nDeviationLimit = 5;
    pPage->SendMessage(WM_TIMER, CBrightDlg::TIMER_VERDICT);
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_VERDICT), L"FAIL!!");
    EXPECT_EQ(ItemText(pPage, CBrightDlg::IDC_LIMIT), L"6"); // shown once, at creation
}
