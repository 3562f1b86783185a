// Controls beyond buttons and edits: report list, combo box, slider, address field; the system menu,
// focus moves, the injected Space key and the input-method calls.

#include "UiInternal.h"
#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace uitest;

namespace {

class MainLikeDlg : public CDialog {
public:
    MainLikeDlg() : CDialog(102u) {}
    int comboChanges = 0;
    int sliderReleases = 0;
    int fieldChanges = 0;
    int fieldIndex = -1;
    UINT sysCommand = 0;
    int grabOne = 0;
    CSliderCtrl m_sliderGain;
    CComboBox m_cmbPixelFormat;
    CIPAddressCtrl m_ipAddress;

    void OnCbnSelchange() { ++comboChanges; }
    void OnReleased(NMHDR* header, LRESULT* result) {
        EXPECT_EQ(header->idFrom, 1008u);
        ++sliderReleases;
        *result = 0;
    }
    void OnField(NMHDR* header, LRESULT*) {
        ++fieldChanges;
        fieldIndex = reinterpret_cast<NMIPADDRESS*>(header)->iField;
    }
    void OnSysCommand(UINT id, LPARAM lParam) {
        sysCommand = id;
        if ((id & 0xFFF0) != 0x10)
            CDialog::OnSysCommand(id, lParam);
    }
    void OnBnClickedGrabOne() { ++grabOne; }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, 1008, m_sliderGain);
        DDX_Control(pDX, 1014, m_cmbPixelFormat);
        DDX_Control(pDX, 1106, m_ipAddress);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MainLikeDlg, CDialog)
ON_CBN_SELCHANGE(1014, &MainLikeDlg::OnCbnSelchange)
ON_NOTIFY(NM_RELEASEDCAPTURE, 1008, &MainLikeDlg::OnReleased)
ON_NOTIFY(IPN_FIELDCHANGED, 1106, &MainLikeDlg::OnField)
ON_WM_SYSCOMMAND()
ON_BN_CLICKED(1144, &MainLikeDlg::OnBnClickedGrabOne)
END_MESSAGE_MAP()

struct MainFixture : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dlg.Create(102u, nullptr));
        dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        dlg.DestroyWindow();
        Settle();
    }
    MainLikeDlg dlg;
};

} // namespace

TEST_F(MainFixture, ComboSliderAndAddressFieldNotifyOnlyForTheUser) {
    for (const wchar_t* f : {L"Mono8", L"Mono10", L"BayerRG8", L"BayerRG10"})
        dlg.m_cmbPixelFormat.AddString(f);
    EXPECT_EQ(dlg.m_cmbPixelFormat.GetCurSel(), CB_ERR);
    dlg.m_cmbPixelFormat.SetCurSel(0);
    EXPECT_EQ(dlg.comboChanges, 0);
    auto* combo = qobject_cast<QComboBox*>(ItemWidget(&dlg, 1014));
    ASSERT_NE(combo, nullptr);
    emit combo->activated(2); // what the user's pick emits
    EXPECT_EQ(dlg.comboChanges, 1);
    CString text;
    dlg.m_cmbPixelFormat.GetLBText(3, text);
    EXPECT_EQ(text, L"BayerRG10");
    EXPECT_EQ(dlg.m_cmbPixelFormat.FindStringExact(-1, L"bayerrg8"), 2);

    dlg.m_sliderGain.SetRange(0, 15);
    dlg.m_sliderGain.SetPos(20);
    EXPECT_EQ(dlg.m_sliderGain.GetPos(), 15);
    QWidget* slider = ItemWidget(&dlg, 1008);
    const QPoint at(5, slider->height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &press);
    QApplication::sendEvent(slider, &release);
    EXPECT_EQ(dlg.sliderReleases, 1);

    dlg.m_ipAddress.SetAddress(192, 168, 0, 7);
    BYTE a, b, c, d;
    EXPECT_EQ(dlg.m_ipAddress.GetAddress(a, b, c, d), 4);
    EXPECT_EQ(d, 7);
    EXPECT_EQ(dlg.fieldChanges, 0);
    auto* field = qobject_cast<QLineEdit*>(ItemWidget(&dlg, 1106));
    field->setCursorPosition(5);
    emit field->textEdited(field->text());
    EXPECT_EQ(dlg.fieldChanges, 1);
    EXPECT_EQ(dlg.fieldIndex, 1);
    EXPECT_FALSE(dlg.m_ipAddress.IsWindowEnabled());
}

TEST_F(MainFixture, ComboSelectionFieldAndEntriesTakeTheirHeight) {
    for (const wchar_t* f : {L"Mono8", L"Mono10"})
        dlg.m_cmbPixelFormat.AddString(f);
    CComboBox& combo = dlg.m_cmbPixelFormat;
    CRect rcBefore;
    combo.GetWindowRect(&rcBefore);
    // The window follows its selection field.
    EXPECT_EQ(combo.SetItemHeight(-1, 20), 0);
    EXPECT_EQ(combo.GetItemHeight(-1), 20);
    CRect rc20;
    combo.GetWindowRect(&rc20);
    EXPECT_EQ(combo.SetItemHeight(-1, 40), 0);
    EXPECT_EQ(combo.GetItemHeight(-1), 40);
    CRect rc40;
    combo.GetWindowRect(&rc40);
    EXPECT_EQ(rc40.Height() - rc20.Height(), 20);
    EXPECT_EQ(rc40.Width(), rcBefore.Width());
    EXPECT_EQ(rc40.TopLeft(), rcBefore.TopLeft());
    // Entries: every one of a list without variable heights.
    EXPECT_EQ(combo.SetItemHeight(1, 30), 0);
    EXPECT_EQ(combo.GetItemHeight(0), 30);
    EXPECT_EQ(combo.GetItemHeight(1), 30);
    EXPECT_EQ(combo.GetItemHeight(-1), 40);
    // Out of range.
    EXPECT_EQ(combo.SetItemHeight(2, 30), CB_ERR);
    EXPECT_EQ(combo.SetItemHeight(-2, 30), CB_ERR);
    EXPECT_EQ(combo.SetItemHeight(-1, 0), CB_ERR);
    EXPECT_EQ(combo.SetItemHeight(-1, 256), CB_ERR);
    EXPECT_EQ(combo.GetItemHeight(2), CB_ERR);
}

TEST_F(MainFixture, SystemMenuItemsSendTheirCommandAndAGreyedCloseKeepsTheWindow) {
    CMenu* menu = dlg.GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, 0x10, L"Kavrino 정보(&A)...");
    EXPECT_EQ(menu->GetMenuItemID(static_cast<int>(menu->GetMenuItemCount()) - 1), 0x10u);
    dlg.SendMessage(WM_SYSCOMMAND, 0x10, 0);
    EXPECT_EQ(dlg.sysCommand, 0x10u);

    menu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    kavrino::RequestClose(dlg.m_hWnd); // the close box
    EXPECT_EQ(dlg.sysCommand, SC_CLOSE);
    EXPECT_TRUE(dlg.IsWindowVisible());
    menu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    kavrino::RequestClose(dlg.m_hWnd);
    // A dialog's close is its cancel: the modeless window hides.
    EXPECT_FALSE(dlg.IsWindowVisible());
}

TEST(Keyboard, FocusMovesAndTheInjectedSpaceClicksTheFocusedButton) {
    MainLikeDlg dlg;
    ASSERT_TRUE(dlg.Create(102u, nullptr));
    dlg.ShowWindow(SW_SHOW);
    CWnd* grab = dlg.GetDlgItem(1144);
    dlg.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(grab->m_hWnd), TRUE);
    EXPECT_EQ(CWnd::GetFocus(), grab);

    keybd_event(VK_SPACE, 0, 0, 0);
    keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return dlg.grabOne == 1; }));

    // Next control after the last wraps to the first that takes the focus.
    CWnd* first = dlg.GetNextDlgTabItem(nullptr);
    ASSERT_NE(first, nullptr);
    dlg.GotoDlgCtrl(first);
    dlg.NextDlgCtrl();
    EXPECT_NE(CWnd::GetFocus(), first);
    dlg.PrevDlgCtrl();
    EXPECT_EQ(CWnd::GetFocus(), first);
    dlg.DestroyWindow();
    Settle();
}

TEST(InputMethod, TheConversionModeIsRememberedPerWindow) {
    CDialog setup(150u);
    ASSERT_TRUE(setup.Create(150u, nullptr));
    HWND name = setup.GetDlgItem(1062)->m_hWnd;
    HIMC context = ImmGetContext(name);
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(ImmSetConversionStatus(context, IME_CMODE_NATIVE, IME_SMODE_CONVERSATION));
    EXPECT_TRUE(ImmReleaseContext(name, context));
    EXPECT_EQ(kavrino::GetImeConversionStatus(name), IME_CMODE_NATIVE);
    EXPECT_EQ(kavrino::GetImeSentenceStatus(name), IME_SMODE_CONVERSATION);
    setup.DestroyWindow();
    EXPECT_EQ(ImmGetContext(name), nullptr);
    Settle();
}

TEST(ReportList, ColumnsRowsAndStyles) {
    CDialog report(149u);
    ASSERT_TRUE(report.Create(149u, nullptr));
    auto* list = static_cast<CListCtrl*>(report.GetDlgItem(1056));
    EXPECT_EQ(list->InsertColumn(0, L"검사 항목", LVCFMT_CENTER, 100), 0);
    EXPECT_EQ(list->InsertColumn(1, L"결과", LVCFMT_CENTER, 100), 1);
    EXPECT_EQ(list->InsertColumn(2, L"데이터", LVCFMT_CENTER, 700), 2);
    EXPECT_EQ(list->SetExtendedStyleEx(0, 0x10221), 0u);
    EXPECT_EQ(list->GetExtendedStyle(), 0x10221u);
    list->ModifyStyle(0, LVS_SINGLESEL);
    EXPECT_NE(list->GetStyle() & LVS_SINGLESEL, 0u);
    EXPECT_NE(list->GetStyle() & LVS_REPORT, 0u);

    EXPECT_EQ(list->InsertItem(0, L"ROI"), 0);
    EXPECT_TRUE(list->SetItemText(0, 1, L"PASS"));
    EXPECT_TRUE(list->SetItemText(0, 2, L""));
    EXPECT_EQ(list->InsertItem(5, L"게인"), 1); // past the end appends
    EXPECT_FALSE(list->SetItemText(3, 1, L"FAIL"));
    EXPECT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(0, 1), L"PASS");
    EXPECT_EQ(list->GetItemText(1, 1), L"");
    EXPECT_EQ(list->GetColumnWidth(2), 700);
    auto* table = qobject_cast<QTableWidget*>(WidgetOf(list));
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->showGrid());
    EXPECT_EQ(table->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_TRUE(list->DeleteAllItems());
    EXPECT_EQ(list->GetItemCount(), 0);
    report.DestroyWindow();
    Settle();
}
