// The device-information page: "검사" shows the values read at connection, PASS is refused until they are
// shown, FAIL is always accepted, and the key pad drives the page.

#include "CDeviceInfoDlg.h"
#include "PageFixture.h"

using kavrino_test::PageTest;

TEST_F(PageTest, DeviceInfoPassNeedsTheValuesShown) {
    OpenConnected({L"디바이스 정보"});
    CDeviceInfoDlg* pPage = m_dlg->m_pDeviceInfoDlg;
    ASSERT_NE(pPage, nullptr);
    pPage->ShowWindow(SW_SHOW);

    Press(pPage, IDOK);
    EXPECT_EQ(PageBoxes(), std::vector<CString>{L"검사 버튼을 누르세요."});
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
    EXPECT_TRUE(Visible(pPage));

    Press(pPage, CDeviceInfoDlg::IDC_CHECK);
    EXPECT_EQ(ItemText(pPage, CDeviceInfoDlg::IDC_MODEL_NAME), L"KV-M640");
    EXPECT_EQ(ItemText(pPage, CDeviceInfoDlg::IDC_SERIAL_NUMBER), L"P0001");
    EXPECT_EQ(ItemText(pPage, CDeviceInfoDlg::IDC_DEVICE_VERSION), L"2.1.7");
    Press(pPage, IDOK);
    EXPECT_EQ(PageBoxes().size(), 1u);
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_FALSE(Visible(pPage));
    // Model and version are cleared for the next showing; the serial number stays.
    EXPECT_EQ(ItemText(pPage, CDeviceInfoDlg::IDC_MODEL_NAME), L"");
    EXPECT_EQ(ItemText(pPage, CDeviceInfoDlg::IDC_DEVICE_VERSION), L"");
    EXPECT_EQ(ItemText(pPage, CDeviceInfoDlg::IDC_SERIAL_NUMBER), L"P0001");

    // A camera without a version text never allows PASS.
    ResetEvent(pPage->m_hEvent);
    m_dlg->m_strDeviceVersion.Empty();
    Press(pPage, CDeviceInfoDlg::IDC_CHECK);
    Press(pPage, IDOK);
    EXPECT_EQ(PageBoxes().size(), 2u);
    EXPECT_FALSE(Signalled(pPage->m_hEvent));
}

TEST_F(PageTest, DeviceInfoFailIsAcceptedWithoutCamera) {
    OpenWith({L"디바이스 정보"});
    CDeviceInfoDlg* pPage = m_dlg->m_pDeviceInfoDlg;
    pPage->ShowWindow(SW_SHOW);
    Press(pPage, CDeviceInfoDlg::IDC_CHECK);
    EXPECT_EQ(ItemText(pPage, CDeviceInfoDlg::IDC_MODEL_NAME), L"");
    Press(pPage, IDCANCEL);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 0);
    EXPECT_FALSE(Visible(pPage));
}

TEST_F(PageTest, DeviceInfoKeyPadShowsTheValuesAndPasses) {
    OpenConnected({L"디바이스 정보"});
    CDeviceInfoDlg* pPage = m_dlg->m_pDeviceInfoDlg;
    pPage->ShowWindow(SW_SHOW);
    for (LPARAM code : {1, 2}) {
        pPage->SendMessage(WM_KEYPAD, 0, code);
        EXPECT_EQ(FocusId(), CDeviceInfoDlg::IDC_CHECK);
    }
    pPage->SendMessage(WM_KEYPAD, 0, 4);
    EXPECT_EQ(ItemText(pPage, CDeviceInfoDlg::IDC_MODEL_NAME), L"KV-M640");
    pPage->SendMessage(WM_KEYPAD, 0, 8);
    EXPECT_TRUE(Signalled(pPage->m_hEvent));
    EXPECT_EQ(pPage->m_bResult, 1);
    EXPECT_TRUE(PageBoxes().empty());
}
