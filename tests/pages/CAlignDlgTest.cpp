// The alignment page: the parameters from and to section "ALIGN", the edits that feed the display, the
// overlay switches, the clicked edge values, the key pad, and PASS with its question.

#include "AlignParameters.h"
#include "CAlignDlg.h"
#include "CDisplayDlg.h"
#include "PageFixture.h"
#include "Profile.h"

using kavrino_test::PageTest;

namespace {

std::vector<int> AlignValues() {
    return {g_nAlignCenterX,   g_nAlignCenterY,   g_nAlignTop,        g_nAlignBottom,
            g_nAlignLeft,      g_nAlignRight,     g_nAlignThresholdX, g_nAlignThresholdY,
            g_nEdgeBoxSize[0], g_nEdgeBoxSize[1], g_nEdgeBoxSize[2],  g_nEdgeBoxSize[3]};
}

void SendKeypad(CWnd* pPage, int code) {
    pPage->SendMessage(WM_KEYPAD, 0, code);
}

} // namespace

TEST_F(PageTest, AlignmentLoadsDefaultsAndNumbersAndSavesTheTwelveKeys) {
    theApp.g_bEditMode = 1;
    OpenWith({L"얼라인검사"});
    theApp.g_bEditMode = 0;
    CAlignDlg* pPage = m_dlg->m_pAlignDlg;
    ASSERT_NE(pPage, nullptr);
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    g_nImageWidth = 2448;
    g_nImageHeight = 2048;
    pPage->CheckDlgButton(CAlignDlg::IDC_OVERLAY, 0);
    pPage->LoadParameters();
    EXPECT_EQ(AlignValues(), (std::vector<int>{1224, 1024, 200, 200, 200, 200, 10, 10, 76, 56, 56, 76}));
    EXPECT_EQ(ItemText(pPage, CAlignDlg::IDC_CENTER_X), L"1224");
    EXPECT_EQ(ItemText(pPage, CAlignDlg::IDC_BOX_HEIGHT2), L"76");
    EXPECT_TRUE(pDisplay->m_bShowAlign);
    EXPECT_TRUE(pDisplay->m_bShowEdgeBoxes);
    EXPECT_EQ(pPage->IsDlgButtonChecked(CAlignDlg::IDC_OVERLAY), 0u); // the boxes are not touched

    ASSERT_TRUE(WritePrivateProfileString(L"ALIGN", L"Threshold X", L"15px", m_strIniPath));
    ASSERT_TRUE(WritePrivateProfileString(L"ALIGN", L"Threshold Y", L"abc", m_strIniPath));
    ASSERT_TRUE(WritePrivateProfileString(L"ALIGN", L"TOP", L"", m_strIniPath));
    ASSERT_TRUE(WritePrivateProfileString(L"ALIGN", L"Center Y", L"  -12", m_strIniPath));
    pPage->LoadParameters();
    EXPECT_EQ(g_nAlignThresholdX, 15);
    EXPECT_EQ(g_nAlignThresholdY, 0);
    EXPECT_EQ(g_nAlignTop, 200);
    EXPECT_EQ(g_nAlignCenterY, -12);
    EXPECT_EQ(ItemText(pPage, CAlignDlg::IDC_THRESHOLD_X), L"15");

    Press(pPage, CAlignDlg::IDC_SAVE_PARAM);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"저장되었습니다."});
    const wchar_t* keys[] = {L"Center X",    L"Center Y",     L"TOP",         L"BOTTOM",
                             L"LEFT",        L"RIGHT",        L"Threshold X", L"Threshold Y",
                             L"세로_Width1", L"세로_Height1", L"가로_Width2", L"가로_Height2"};
    const wchar_t* values[] = {L"1224", L"-12", L"200", L"200", L"200", L"200",
                               L"15",   L"0",   L"76",  L"56",  L"56",  L"76"};
    for (std::size_t i = 0; i < 12; ++i) {
        wchar_t text[128] = {};
        GetPrivateProfileString(L"ALIGN", keys[i], nullptr, text, 128, m_strIniPath);
        EXPECT_EQ(CString(text), values[i]) << kavrino::WideToUtf8(keys[i]);
    }

    // A test set that cannot take the keys (its folder gone) is not reported as saved.
    m_boxes.Clear();
    theApp.g_strIniPath = CString(m_dir.filePath("gone/testset.ini").toStdWString());
    Press(pPage, CAlignDlg::IDC_SAVE_PARAM);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"파라미터 저장 실패"});
}

TEST_F(PageTest, AlignmentEditsFeedTheDisplay) {
    OpenConnected({L"얼라인검사"});
    CAlignDlg* pPage = m_dlg->m_pAlignDlg;
    ASSERT_NE(pPage, nullptr);
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;

    pPage->SetDlgItemText(CAlignDlg::IDC_CENTER_X, L" 321abc");
    EXPECT_EQ(g_nAlignCenterX, 321);
    pPage->SetDlgItemText(CAlignDlg::IDC_RIGHT, L"x");
    EXPECT_EQ(g_nAlignRight, 0);
    pPage->SetDlgItemText(CAlignDlg::IDC_LEFT, L"150");
    EXPECT_EQ(g_nAlignLeft, 150);

    // Not live: only the value changes.
    ASSERT_FALSE(m_dlg->m_bLive);
    CCvImage* pTopBefore = pDisplay->m_pZoomTop;
    pPage->SetDlgItemText(CAlignDlg::IDC_BOX_WIDTH1, L"90");
    EXPECT_EQ(g_nEdgeBoxSize[0], 90);
    EXPECT_EQ(pDisplay->m_pZoomTop, pTopBefore);

    // Live: the display's boxes are rebuilt at the new size; a size of 0 leaves no box.
    m_dlg->StartLive();
    ASSERT_TRUE(m_dlg->m_bLive);
    pPage->SetDlgItemText(CAlignDlg::IDC_BOX_WIDTH1, L"80");
    ASSERT_NE(pDisplay->m_pZoomTop, nullptr);
    EXPECT_EQ(pDisplay->m_pZoomTop->m_nWidth, 80);
    EXPECT_EQ(pDisplay->m_pZoomBottom->m_nWidth, 80);
    pPage->SetDlgItemText(CAlignDlg::IDC_BOX_HEIGHT2, L"0");
    EXPECT_EQ(g_nEdgeBoxSize[3], 0);
    EXPECT_EQ(pDisplay->m_pZoomLeft, nullptr);
    pPage->SetDlgItemText(CAlignDlg::IDC_BOX_HEIGHT2, L"76");
    m_dlg->StopLive();

    // The zoom rebuilds the display's images only while a new frame is there.
    pDisplay->SetImageFormat(0, 0, L"Mono8");
    pDisplay->m_nWidth = 64;
    pDisplay->m_nHeight = 48;
    m_dlg->m_bNewFrame = FALSE;
    pPage->SetDlgItemText(CAlignDlg::IDC_ZOOM, L"2");
    EXPECT_EQ(g_nEdgeZoom, 2);
    EXPECT_EQ(pDisplay->m_pSrcImage, nullptr);
    m_dlg->m_bNewFrame = TRUE;
    pPage->SetDlgItemText(CAlignDlg::IDC_ZOOM, L"3");
    m_dlg->m_bNewFrame = FALSE;
    EXPECT_EQ(g_nEdgeZoom, 3);
    ASSERT_NE(pDisplay->m_pSrcImage, nullptr);
    EXPECT_EQ(pDisplay->m_pSrcImage->m_nWidth, 64);
}

TEST_F(PageTest, AlignmentSwitchesAndEdgeValuesReachTheDisplayAndThePage) {
    g_nEdgeBoxSize[0] = 1;
    g_nEdgeZoom = 9;
    OpenWith({L"얼라인검사"});
    CAlignDlg* pPage = m_dlg->m_pAlignDlg;
    ASSERT_NE(pPage, nullptr);
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    // Creation sets the zoom and the box sizes, and checks the switches without touching the display.
    EXPECT_EQ(g_nEdgeZoom, 4);
    EXPECT_EQ((std::vector<int>{g_nEdgeBoxSize[0], g_nEdgeBoxSize[1], g_nEdgeBoxSize[2], g_nEdgeBoxSize[3]}),
              (std::vector<int>{76, 56, 56, 76}));
    EXPECT_EQ(ItemText(pPage, CAlignDlg::IDC_ZOOM), L"4");
    EXPECT_EQ(ItemText(pPage, CAlignDlg::IDC_CENTER_X), L"");
    EXPECT_EQ(pPage->IsDlgButtonChecked(CAlignDlg::IDC_OVERLAY), 1u);
    EXPECT_EQ(pPage->IsDlgButtonChecked(CAlignDlg::IDC_SCALE), 1u);
    EXPECT_FALSE(pDisplay->m_bShowAlign);
    EXPECT_FALSE(pDisplay->m_bShowEdgeBoxes);
    EXPECT_FALSE(pPage->GetDlgItem(CAlignDlg::IDC_SAVE_PARAM)->IsWindowEnabled());

    pPage->CheckDlgButton(CAlignDlg::IDC_TEMP_COORD, 1);
    Press(pPage, CAlignDlg::IDC_TEMP_COORD);
    EXPECT_TRUE(pDisplay->m_bUseClickCenter);
    Press(pPage, CAlignDlg::IDC_OVERLAY);
    EXPECT_TRUE(pDisplay->m_bShowAlign);
    pPage->CheckDlgButton(CAlignDlg::IDC_OVERLAY, 0);
    Press(pPage, CAlignDlg::IDC_OVERLAY);
    EXPECT_FALSE(pDisplay->m_bShowAlign);
    // The scale switch rebuilds the display for its own frame size (none without a camera).
    pPage->CheckDlgButton(CAlignDlg::IDC_SCALE, 1);
    Press(pPage, CAlignDlg::IDC_SCALE);
    EXPECT_TRUE(pDisplay->m_bShowEdgeBoxes);
    ASSERT_NE(pDisplay->m_pZoomTop, nullptr);
    EXPECT_EQ(pDisplay->m_pZoomTop->m_nWidth, g_nEdgeBoxSize[0]);

    const int edge[8] = {11, 12, 21, 22, 31, 32, 41, 42};
    std::copy(edge, edge + 8, m_dlg->m_nAlignEdge);
    pPage->SendMessage(WM_TIMER, CAlignDlg::TIMER_EDGE_VALUES);
    const int statics[8] = {1135, 1136, 1137, 1138, 1133, 1134, 1139, 1140};
    for (int i = 0; i < 8; ++i) {
        CString expected;
        expected.Format(L"%d", edge[i]);
        EXPECT_EQ(ItemText(pPage, statics[i]), expected) << statics[i];
    }
}

TEST_F(PageTest, AlignmentPassAsksFirstAndBothVerdictsClearTheOverlaysWithoutACamera) {
    OpenWith({L"얼라인검사"});
    CAlignDlg* pPage = m_dlg->m_pAlignDlg;
    ASSERT_NE(pPage, nullptr);
    CDisplayDlg* pDisplay = m_dlg->m_pDisplayDlg;
    ASSERT_FALSE(m_dlg->m_bConnected);
    const auto arm = [&] {
        pPage->ShowWindow(SW_SHOW);
        ResetEvent(pPage->m_hEvent);
        pPage->LoadParameters();
        pDisplay->m_bUseClickCenter = TRUE;
        pPage->CheckDlgButton(CAlignDlg::IDC_TEMP_COORD, 1);
        pPage->CheckDlgButton(CAlignDlg::IDC_OVERLAY, 1);
        pPage->CheckDlgButton(CAlignDlg::IDC_SCALE, 1);
        m_boxes.Clear();
    };
    const auto expectCleared = [&] {
        EXPECT_FALSE(pDisplay->m_bShowAlign);
        EXPECT_FALSE(pDisplay->m_bShowEdgeBoxes);
        EXPECT_FALSE(pDisplay->m_bUseClickCenter);
        for (int id : {CAlignDlg::IDC_TEMP_COORD, CAlignDlg::IDC_OVERLAY, CAlignDlg::IDC_SCALE})
            EXPECT_EQ(pPage->IsDlgButtonChecked(id), 0u) << id;
        EXPECT_TRUE(Signalled(pPage->m_hEvent));
        EXPECT_FALSE(Visible(pPage));
    };

    // Answered No: nothing changes. The key pad's 8 is PASS with its question.
    arm();
    m_boxes.SetAnswer(IDNO);
    SendKeypad(pPage, 8);
    ASSERT_EQ(m_boxes.Count(), 1u);
    EXPECT_EQ(m_boxes.Boxes()[0].text, L"검사를 진행하였습니까?");
    EXPECT_EQ(m_boxes.Boxes()[0].type & 0xF, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(pDisplay->m_bShowAlign);
    EXPECT_TRUE(pDisplay->m_bUseClickCenter);
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
    EXPECT_TRUE(Visible(pPage));
    // Codes 1, 2 and 4 have no focus list to act on here.
    for (int code : {1, 2, 4, 5, 17})
        SendKeypad(pPage, code);
    EXPECT_EQ(m_boxes.Count(), 1u);
    EXPECT_TRUE(Visible(pPage));
    // Code 3 is Space for the focused control: the focused box changes its tick.
    pPage->GotoDlgCtrl(pPage->GetDlgItem(CAlignDlg::IDC_TEMP_COORD));
    const UINT nTicked = pPage->IsDlgButtonChecked(CAlignDlg::IDC_TEMP_COORD);
    SendKeypad(pPage, 3);
    EXPECT_TRUE(
        kavrino::PumpUntil([&] { return pPage->IsDlgButtonChecked(CAlignDlg::IDC_TEMP_COORD) != nTicked; }));

    m_boxes.SetAnswer(IDYES);
    Press(pPage, CAlignDlg::IDC_PASS);
    EXPECT_EQ(pPage->m_bResult, 1);
    expectCleared();

    // FAIL does not ask; the key pad's 16 is FAIL.
    arm();
    SendKeypad(pPage, 16);
    EXPECT_EQ(m_boxes.Count(), 0u);
    EXPECT_EQ(pPage->m_bResult, 0);
    expectCleared();

    // Esc never reaches the dialog manager.
    MSG esc{pPage->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(pPage->PreTranslateMessage(&esc));
}
