// Dialogs from templates, message maps, data exchange, Enter/Esc handling, timers and window lifetime.

#include "ModalStack.h"
#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace uitest;

namespace {

// The set-up window's template: radios, edits, list boxes, check boxes and buttons.
class SetupLikeDlg : public CDialog {
public:
    SetupLikeDlg() : CDialog(150u) {}

    int clicks = 0;
    UINT lastRadio = 0;
    int timerTicks = 0;
    int nameChanges = 0;
    int nameFocus = 0;
    int okCalls = 0;
    int cancelCalls = 0;
    int preTranslated = 0;
    bool filterKeys = false;

    CString m_strName;
    int m_nUserType = 0;
    int m_nColor = 0;
    int m_nFrame = 0;
    CListBox m_listSupported;

    void OnBnClickedAddAll() { ++clicks; }
    int focusOnAdministrator = 0; // a control the 관리자 radio's click hands the focus to
    void OnBnClickedUserType(UINT id) {
        lastRadio = id;
        if (id == 1060 && focusOnAdministrator)
            GetDlgItem(focusOnAdministrator)->SetFocus();
    }
    void OnTimer(UINT_PTR id) {
        if (id == 7)
            ++timerTicks;
    }
    void OnEnChangeName() { ++nameChanges; }
    void OnEnSetfocusName() { ++nameFocus; }
    void OnOK() override {
        ++okCalls;
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++cancelCalls;
        CDialog::OnCancel();
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        ++preTranslated;
        if (filterKeys && pMsg->message == WM_KEYDOWN &&
            (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
            return TRUE;
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Text(pDX, 1062, m_strName);
        DDX_Radio(pDX, 1059, m_nUserType);
        DDX_Check(pDX, 1057, m_nColor);
        DDX_Text(pDX, 1065, m_nFrame);
        DDX_Control(pDX, 1063, m_listSupported);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SetupLikeDlg, CDialog)
ON_BN_CLICKED(1005, &SetupLikeDlg::OnBnClickedAddAll)
ON_CONTROL_RANGE(BN_CLICKED, 1059, 1060, &SetupLikeDlg::OnBnClickedUserType)
ON_WM_TIMER()
ON_EN_CHANGE(1062, &SetupLikeDlg::OnEnChangeName)
ON_EN_SETFOCUS(1062, &SetupLikeDlg::OnEnSetfocusName)
END_MESSAGE_MAP()

struct DialogFixture : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dlg.Create(150u, nullptr));
        dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        dlg.DestroyWindow();
        Settle();
    }
    SetupLikeDlg dlg;
};

} // namespace

TEST_F(DialogFixture, EveryTemplateControlExistsWithItsIdTextAndState) {
    const kavrino::DialogTemplate* t = kavrino::DialogTemplate::Find(150);
    ASSERT_NE(t, nullptr);
    CString caption;
    dlg.GetWindowText(caption);
    EXPECT_EQ(caption, t->caption);
    for (const kavrino::ControlTemplate& c : t->controls) {
        if (c.id < 0)
            continue;
        SCOPED_TRACE(c.id);
        CWnd* item = dlg.GetDlgItem(c.id);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetDlgCtrlID(), c.id);
        EXPECT_EQ(item->GetParent(), &dlg);
        // 1062 and 1065 are exchanged with members by OnInitDialog.
        const bool exchanged = c.id == 1062 || c.id == 1065;
        if (!exchanged && c.kind != "LISTBOX" && c.kind != "COMBOBOX" && c.kind != "LISTCTRL" &&
            c.kind != "IPADDRESS") {
            CString text;
            item->GetWindowText(text);
            EXPECT_EQ(text, c.text);
        }
        EXPECT_EQ(item->IsWindowEnabled() != FALSE, !c.Has("DISABLED"));
        EXPECT_EQ((item->GetStyle() & WS_VISIBLE) != 0, !c.Has("HIDDEN"));
    }
    EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
}

TEST_F(DialogFixture, ClicksAndNotificationsReachTheMappedHandlers) {
    // A real mouse click on the button.
    QWidget* button = ItemWidget(&dlg, 1005);
    ASSERT_NE(button, nullptr);
    button->setEnabled(true);
    const QPoint centre = button->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
    EXPECT_EQ(dlg.clicks, 1);

    // A range entry gets the radio's id.
    static_cast<QAbstractButton*>(ItemWidget(&dlg, 1060))->click();
    EXPECT_EQ(dlg.lastRadio, 1060u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1060), 1u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1059), 0u);

    // Setting an edit's text notifies as the user's typing does.
    const int before = dlg.nameChanges;
    dlg.SetDlgItemText(1062, L"홍길동");
    EXPECT_GT(dlg.nameChanges, before);
    // The same text set again is reported again.
    const int again = dlg.nameChanges;
    dlg.SetDlgItemText(1062, L"홍길동");
    EXPECT_GT(dlg.nameChanges, again);

    // Focus given by the program notifies the edit's parent once, also while the window is not active.
    const int focusBefore = dlg.nameFocus;
    dlg.GetDlgItem(1062)->SetFocus();
    dlg.GetDlgItem(1062)->SetFocus();
    EXPECT_EQ(dlg.nameFocus, focusBefore + 1);
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(1062));

    // A command sent by the program reaches the same handler.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    EXPECT_EQ(dlg.clicks, 2);
}

namespace {
// A press and a release at one point of a control, as they come from the mouse (spontaneous events: the
// press moves the focus as the control's policy says).
void ClickAt(QWidget* widget, const QPoint& at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    // Delivered as the application delivers the window system's events (sendEvent would clear the mark).
    QSpontaneKeyEvent::setSpontaneous(&press);
    QSpontaneKeyEvent::setSpontaneous(&release);
    QApplication::instance()->notify(widget, &press);
    QApplication::instance()->notify(widget, &release);
}

// A point of the control right of its label, where the style's own click area (indicator and text)
// ends.
QPoint RightOfLabel(QAbstractButton* button, QStyle::SubElement clickArea) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.iconSize = button->iconSize();
    const QRect label = button->style()->subElementRect(clickArea, &option, button);
    const QPoint at(button->width() - 3, button->height() / 2);
    EXPECT_FALSE(label.contains(at)) << "the label reaches the control's right edge";
    return at;
}
} // namespace

TEST_F(DialogFixture, RadiosAndCheckBoxesTakeAClickAnywhereInTheirRectangle) {
    auto* operatorRadio = static_cast<QAbstractButton*>(ItemWidget(&dlg, 1059));
    auto* adminRadio = static_cast<QAbstractButton*>(ItemWidget(&dlg, 1060));
    ASSERT_TRUE(operatorRadio && adminRadio);
    // The window is active, as the one the operator clicks in is: the click moves the focus.
    QApplication::setActiveWindow(WidgetOf(&dlg));
    ClickAt(adminRadio, RightOfLabel(adminRadio, QStyle::SE_RadioButtonClickRect));
    EXPECT_EQ(dlg.lastRadio, 1060u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1060), 1u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1059), 0u);
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(1060));

    // Right of "작업자 :", inside the template's rectangle: the focus and the click go to the radio.
    dlg.GetDlgItem(1062)->SetFocus();
    ClickAt(operatorRadio, RightOfLabel(operatorRadio, QStyle::SE_RadioButtonClickRect));
    EXPECT_EQ(dlg.lastRadio, 1059u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1059), 1u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1060), 0u);
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(1059));

    // A check box likewise, each click toggling it.
    auto* colour = static_cast<QAbstractButton*>(ItemWidget(&dlg, 1057));
    ASSERT_NE(colour, nullptr);
    colour->setEnabled(true);
    const QPoint right = RightOfLabel(colour, QStyle::SE_CheckBoxClickRect);
    ClickAt(colour, right);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1057), 1u);
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(1057));
    ClickAt(colour, right);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1057), 0u);
}

namespace {
// A mouse event as the window system delivers it: with the time of the press and its place on the screen.
void TimedMouse(QWidget* widget, QEvent::Type type, const QPoint& at, const QPoint& screen, ulong time) {
    QMouseEvent event(type, at, screen, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    event.setTimestamp(time);
    QApplication::sendEvent(widget, &event);
}

// A click, or the second click of a double click (its press comes with the double-click event).
void TimedClick(QWidget* widget, const QPoint& at, const QPoint& screen, ulong time, bool second = false) {
    TimedMouse(widget, QEvent::MouseButtonPress, at, screen, time);
    if (second)
        TimedMouse(widget, QEvent::MouseButtonDblClick, at, screen, time);
    TimedMouse(widget, QEvent::MouseButtonRelease, at, screen, time + 1);
}
} // namespace

TEST_F(DialogFixture, QuickClicksStayWithTheControlTheyBeganOnWithinTheDoubleClickDistance) {
    auto* first = static_cast<QAbstractButton*>(ItemWidget(&dlg, 1003));
    auto* other = static_cast<QAbstractButton*>(ItemWidget(&dlg, 1005));
    ASSERT_TRUE(first && other);
    first->setEnabled(true);
    other->setEnabled(true);
    int firstClicks = 0;
    QObject::connect(first, &QAbstractButton::clicked, [&] { ++firstClicks; });
    const QStyleHints* hints = QGuiApplication::styleHints();
    const ulong interval = static_cast<ulong>(hints->mouseDoubleClickInterval());
    const int distance = hints->mouseDoubleClickDistance();
    const QPoint spot(700, 400);
    const QPoint in = first->rect().center();
    const QPoint otherIn = other->rect().center();
    ulong t = 50000000;

    // A double click whose second click lands on another control (a window that came up under the
    // pointer): the press, its double-click event and the release are all dropped, and the control is
    // not left held down.
    TimedClick(first, in, spot, t);
    EXPECT_EQ(firstClicks, 1);
    TimedClick(other, otherIn, spot + QPoint(distance, 0), t += interval / 4, true);
    EXPECT_EQ(dlg.clicks, 0);
    EXPECT_FALSE(other->isDown());

    // Farther than the double-click distance from the last press, it is a click of its own.
    TimedClick(other, otherIn, spot + QPoint(2 * distance + 1, 0), t += interval / 4);
    EXPECT_EQ(dlg.clicks, 1);

    // A double click on the control the burst began on reaches it whole: the list's double click.
    auto* list = qobject_cast<QListWidget*>(ItemWidget(&dlg, 1063));
    ASSERT_NE(list, nullptr);
    list->setEnabled(true);
    dlg.m_listSupported.AddString(L"ROI");
    int doubleClicks = 0;
    QObject::connect(list, &QListWidget::itemDoubleClicked, [&] { ++doubleClicks; });
    const QPoint row = list->visualItemRect(list->item(0)).center();
    const QPoint listSpot(100, 100);
    TimedClick(list->viewport(), row, listSpot, t += 10 * interval);
    TimedClick(list->viewport(), row, listSpot, t += interval / 4, true);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(DialogFixture, UpdateDataExchangesBothWaysAndRefusesANonNumber) {
    dlg.m_strName = L"이름입력";
    dlg.m_nUserType = 1;
    dlg.m_nColor = 1;
    dlg.m_nFrame = 30;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    CString text;
    dlg.GetDlgItemText(1062, text);
    EXPECT_EQ(text, L"이름입력");
    EXPECT_EQ(dlg.IsDlgButtonChecked(1060), 1u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1057), 1u);
    EXPECT_EQ(dlg.GetDlgItemInt(1065), 30u);

    // The attached member now answers for the control.
    EXPECT_EQ(dlg.GetDlgItem(1063), &dlg.m_listSupported);
    dlg.m_listSupported.AddString(L"ROI");
    EXPECT_EQ(dlg.m_listSupported.GetCount(), 1);

    dlg.SetDlgItemText(1062, L"  작업자 ");
    dlg.CheckRadioButton(1059, 1060, 1059);
    dlg.CheckDlgButton(1057, BST_UNCHECKED);
    dlg.SetDlgItemText(1065, L"45");
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strName, L"  작업자 ");
    EXPECT_EQ(dlg.m_nUserType, 0);
    EXPECT_EQ(dlg.m_nColor, 0);
    EXPECT_EQ(dlg.m_nFrame, 45);

    // No radio of the group checked reads as -1.
    dlg.CheckRadioButton(1059, 1060, 0);
    dlg.UpdateData(TRUE);
    EXPECT_EQ(dlg.m_nUserType, -1);

    kavrino::MessageBoxRecorder boxes;
    dlg.SetDlgItemText(1065, L"12abc");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_nFrame, 45);
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(DialogFixture, EnterAndEscReachOkAndCancelOnlyWithoutAFilter) {
    QWidget* name = ItemWidget(&dlg, 1062);
    ASSERT_NE(name, nullptr);

    dlg.filterKeys = true;
    PressKey(name, Qt::Key_Return);
    PressKey(name, Qt::Key_Escape);
    EXPECT_EQ(dlg.okCalls, 0);
    EXPECT_EQ(dlg.cancelCalls, 0);
    EXPECT_TRUE(dlg.IsWindowVisible());

    dlg.filterKeys = false;
    PressKey(name, Qt::Key_Return);
    EXPECT_EQ(dlg.okCalls, 1);
    // A modeless dialog's OnOK hides it.
    EXPECT_FALSE(dlg.IsWindowVisible());
    dlg.ShowWindow(SW_SHOW);
    PressKey(name, Qt::Key_Escape);
    EXPECT_EQ(dlg.cancelCalls, 1);
    EXPECT_FALSE(dlg.IsWindowVisible());
}

TEST_F(DialogFixture, EnterPressesTheFocusedButtonOrTheDefaultButNeverADisabledOne) {
    QWidget* name = ItemWidget(&dlg, 1062);
    ASSERT_NE(name, nullptr);
    // The Enter key of the numeric key pad is the dialog's Enter too.
    QKeyEvent padEnter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::sendEvent(name, &padEnter);
    EXPECT_EQ(dlg.okCalls, 1);
    dlg.ShowWindow(SW_SHOW);

    // A focused push button takes Enter for itself: its own command, not the default's.
    CWnd* addAll = dlg.GetDlgItem(1005);
    addAll->EnableWindow(TRUE);
    addAll->SetFocus();
    PressKey(ItemWidget(&dlg, 1005), Qt::Key_Return);
    EXPECT_EQ(dlg.clicks, 1);
    EXPECT_EQ(dlg.okCalls, 1);

    // A disabled button is not pressed by Enter: neither the focused one (disabled while it has the
    // focus) nor the default one.
    MSG enter{};
    enter.hwnd = addAll->GetSafeHwnd();
    enter.message = WM_KEYDOWN;
    enter.wParam = VK_RETURN;
    addAll->EnableWindow(FALSE);
    EXPECT_TRUE(dlg.CDialog::PreTranslateMessage(&enter));
    EXPECT_EQ(dlg.clicks, 1);
    EXPECT_EQ(dlg.okCalls, 1);
    dlg.GetDlgItem(IDOK)->EnableWindow(FALSE);
    dlg.GetDlgItem(1062)->SetFocus();
    PressKey(name, Qt::Key_Return);
    EXPECT_EQ(dlg.okCalls, 1);
    EXPECT_TRUE(dlg.IsWindowVisible());
}

TEST_F(DialogFixture, AWindowOpenedOverTheDialogKeepsItsOwnEnter) {
    // A window the window system did not make (a message box, a file dialog) over the dialog.
    QDialog box(WidgetOf(&dlg));
    auto* ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
    box.show();
    dlg.filterKeys = true;
    const int before = dlg.preTranslated;
    PressKey(ok, Qt::Key_Return);
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(dlg.preTranslated, before);
    EXPECT_EQ(dlg.okCalls, 0);
}

namespace {
// Delivers a key press as the window system does, from one frame: consecutive calls use the same address
// for their events.
[[gnu::noinline]] void DeliverKeyPress(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}
} // namespace

TEST_F(DialogFixture, AKeyAfterTheLastKeysWidgetIsGoneReachesTheDialog) {
    // A widget in the dialog that takes a key and is deleted (a window that closed) ...
    auto* gone = new QPushButton(WidgetOf(&dlg));
    gone->show();
    DeliverKeyPress(gone, Qt::Key_Space);
    delete gone;
    // ... leaves nothing behind that the next key, delivered from the same place, could reach.
    const int before = dlg.preTranslated;
    DeliverKeyPress(ItemWidget(&dlg, 1062), Qt::Key_A);
    EXPECT_EQ(dlg.preTranslated, before + 1);
}

TEST_F(DialogFixture, ArrowKeysGoRoundARadioGroupAndTabEntersItAtTheCheckedButton) {
    auto* operatorRadio = static_cast<QAbstractButton*>(ItemWidget(&dlg, 1059));
    auto* adminRadio = static_cast<QAbstractButton*>(ItemWidget(&dlg, 1060));
    ASSERT_TRUE(operatorRadio && adminRadio);
    ASSERT_TRUE(operatorRadio->isChecked());
    // Only the checked button of the group is a tab stop.
    EXPECT_TRUE(operatorRadio->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(adminRadio->focusPolicy() & Qt::TabFocus);

    // Down moves to the next button and checks it; Down again goes round to the first.
    dlg.GetDlgItem(1059)->SetFocus();
    PressKey(operatorRadio, Qt::Key_Down);
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(1060));
    EXPECT_TRUE(adminRadio->isChecked());
    EXPECT_EQ(dlg.lastRadio, 1060u);
    EXPECT_TRUE(adminRadio->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(operatorRadio->focusPolicy() & Qt::TabFocus);
    PressKey(adminRadio, Qt::Key_Down);
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(1059));
    EXPECT_TRUE(operatorRadio->isChecked());
    EXPECT_EQ(dlg.lastRadio, 1059u);

    // A click handler that moves the focus on keeps it there: the focus moves before the click.
    dlg.focusOnAdministrator = 1062;
    PressKey(operatorRadio, Qt::Key_Up);
    EXPECT_TRUE(adminRadio->isChecked());
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(1062));
    dlg.focusOnAdministrator = 0;

    // A disabled button is passed over, and a group with one button left has nowhere to go.
    dlg.GetDlgItem(1059)->EnableWindow(FALSE);
    dlg.GetDlgItem(1060)->SetFocus();
    PressKey(adminRadio, Qt::Key_Down);
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(1060));
    EXPECT_TRUE(adminRadio->isChecked());
    EXPECT_FALSE(operatorRadio->isChecked());
}

TEST(DialogKeys, TheArrowKeysPassOverHiddenRadioButtons) {
    // The trigger page: "Off" shares its group with the hidden "CC1"; the trigger sources are three.
    CDialog page(147u);
    ASSERT_TRUE(page.Create(147u, nullptr));
    page.ShowWindow(SW_SHOW);
    auto radio = [&](int id) { return static_cast<QAbstractButton*>(ItemWidget(&page, id)); };
    page.CheckRadioButton(1038, 1044, 1038);
    page.GetDlgItem(1038)->SetFocus();
    PressKey(radio(1038), Qt::Key_Down);
    EXPECT_EQ(CWnd::GetFocus(), page.GetDlgItem(1038));
    EXPECT_TRUE(radio(1038)->isChecked());
    EXPECT_FALSE(radio(1044)->isChecked());

    page.CheckRadioButton(1124, 1126, 1124);
    page.GetDlgItem(1125)->ShowWindow(SW_HIDE);
    page.GetDlgItem(1124)->SetFocus();
    PressKey(radio(1124), Qt::Key_Right);
    EXPECT_EQ(CWnd::GetFocus(), page.GetDlgItem(1126));
    EXPECT_TRUE(radio(1126)->isChecked());
    EXPECT_FALSE(radio(1125)->isChecked());
    PressKey(radio(1126), Qt::Key_Left);
    EXPECT_EQ(CWnd::GetFocus(), page.GetDlgItem(1124));
    EXPECT_TRUE(radio(1124)->isChecked());
    page.DestroyWindow();
    Settle();
}

TEST(DialogKeys, TabPassesOverTheControlsAPageCovers) {
    // The main window with a page shown over its camera controls, where the runner shows its pages.
    CDialog main(102u);
    ASSERT_TRUE(main.Create(102u, nullptr));
    main.ShowWindow(SW_SHOW);
    CDialog page(159u);
    ASSERT_TRUE(page.Create(159u, &main));
    page.MoveWindow(200, 20, 1050, 410);
    page.ShowWindow(SW_SHOW);
    QWidget* window = WidgetOf(&main);
    ASSERT_NE(window, nullptr);

    // From the last control left of the page, Tab goes into the page, not to the width field under it.
    main.GetDlgItem(1032)->SetFocus();
    PressKey(ItemWidget(&main, 1032), Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), ItemWidget(&page, 1122));
    // Shift+Tab from there comes back past the covered controls too.
    PressKey(ItemWidget(&page, 1122), Qt::Key_Backtab);
    EXPECT_EQ(window->focusWidget(), ItemWidget(&main, 1032));
    // Once the page is hidden, its controls are passed over and the camera controls are stops again.
    page.ShowWindow(SW_HIDE);
    PressKey(ItemWidget(&main, 1032), Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), ItemWidget(&main, 1006));

    page.DestroyWindow();
    main.DestroyWindow();
    Settle();
}

TEST(DialogKeys, TabLeavesAListControlWithoutSelectingItsCells) {
    CDialog report(149u);
    ASSERT_TRUE(report.Create(149u, nullptr));
    report.ShowWindow(SW_SHOW);
    auto* list = dynamic_cast<CListCtrl*>(report.GetDlgItem(1056));
    ASSERT_NE(list, nullptr);
    list->InsertColumn(0, L"검사 항목", LVCFMT_LEFT, 80);
    list->InsertColumn(1, L"결과", LVCFMT_LEFT, 60);
    list->InsertItem(0, L"비닝");
    list->SetItemText(0, 1, L"PASS");
    list->InsertItem(1, L"리버스");
    list->SetItemText(1, 1, L"FAIL");
    report.GetDlgItem(1056)->SetFocus();
    PressKey(ItemWidget(&report, 1056), Qt::Key_Tab);
    EXPECT_EQ(WidgetOf(&report)->focusWidget(), ItemWidget(&report, 1));
    EXPECT_EQ(list->GetSelectedCount(), 0u);
    report.DestroyWindow();
    Settle();
}

TEST(DialogKeys, EnterInAMultiLineEditThatWantsItMakesANewLine) {
    CDialog page(143u);
    ASSERT_TRUE(page.Create(143u, nullptr));
    page.ShowWindow(SW_SHOW);
    auto* method = qobject_cast<QPlainTextEdit*>(ItemWidget(&page, 1078));
    ASSERT_NE(method, nullptr);
    method->setPlainText(QStringLiteral("a"));
    method->moveCursor(QTextCursor::End);
    PressKey(method, Qt::Key_Return);
    EXPECT_TRUE(page.IsWindowVisible());
    CString text;
    page.GetDlgItemText(1078, text);
    // The multi-line edit reports its line breaks as CR LF.
    EXPECT_EQ(text, L"a\r\n");
    page.DestroyWindow();
    Settle();
}

TEST_F(DialogFixture, TimersFireUntilKilledAndStopWithTheWindow) {
    ASSERT_NE(dlg.SetTimer(7, 5, nullptr), 0u);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return dlg.timerTicks >= 2; }));
    EXPECT_TRUE(dlg.KillTimer(7));
    EXPECT_FALSE(dlg.KillTimer(7));
    const int ticks = dlg.timerTicks;
    for (int i = 0; i < 20; ++i)
        Settle();
    EXPECT_EQ(dlg.timerTicks, ticks);

    dlg.SetTimer(7, 1, nullptr);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    const int atDestroy = dlg.timerTicks;
    for (int i = 0; i < 20; ++i)
        Settle();
    EXPECT_EQ(dlg.timerTicks, atDestroy);
}

TEST_F(DialogFixture, ADestroyedWindowsHandleNamesNothing) {
    HWND hwnd = dlg.m_hWnd;
    HWND item = nullptr;
    dlg.GetDlgItem(1062, &item);
    ASSERT_TRUE(IsWindow(hwnd));
    ASSERT_TRUE(IsWindow(item));
    dlg.DestroyWindow();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(item));
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
    EXPECT_FALSE(::PostMessage(hwnd, WM_APP + 1, 0, 0));
    EXPECT_EQ(::SendMessage(hwnd, WM_APP + 1, 0, 0), 0);
    // Operations on the dead window fail quietly.
    EXPECT_FALSE(dlg.ShowWindow(SW_SHOW));
    EXPECT_EQ(dlg.GetDlgItem(1062), nullptr);
    // The member attached by data exchange is detached as well.
    EXPECT_EQ(dlg.m_listSupported.m_hWnd, nullptr);
}

TEST(WindowLifetime, AWindowStillOpenWhenTheProgramExitsEndsItCleanly) {
    // The window's controls are destroyed by nothing before the process ends.
    EXPECT_EXIT(
        {
            auto* open = new SetupLikeDlg;
            open->Create(150u, nullptr);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

namespace {

class ModalDlg : public CDialog {
public:
    explicit ModalDlg(UINT templateId = 100u, CWnd* parent = nullptr) : CDialog(templateId, parent) {}
    bool initialised = false;
    int destroyed = 0;
    int focusId = 0; // a control OnInitDialog gives the focus
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        initialised = true;
        if (focusId)
            GetDlgItem(focusId)->SetFocus();
        return TRUE;
    }
    void OnDestroy() {
        ++destroyed;
        CDialog::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ModalDlg, CDialog)
ON_WM_DESTROY()
END_MESSAGE_MAP()

// A click on a control as the mouse makes it.
void ClickWidget(QWidget* widget) {
    const QPoint centre = widget->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

} // namespace

TEST(ModalDialog, DisablesItsOwnerOnlyWhileItRuns) {
    SetupLikeDlg owner;
    ASSERT_TRUE(owner.Create(150u, nullptr));
    owner.ShowWindow(SW_SHOW);
    // A top-level window of its own that the modal dialog does not own (as the display window).
    SetupLikeDlg other;
    ASSERT_TRUE(other.Create(150u, CWnd::GetDesktopWindow()));
    other.ShowWindow(SW_SHOW);
    for (SetupLikeDlg* d : {&owner, &other})
        ItemWidget(d, 1005)->setEnabled(true);

    ModalDlg about(100u, &owner);
    bool closedMeanwhile = false;
    bool overOwner = false;
    bool overItsOwnControl = true;
    kavrino::ModalDialogScope scope([&](CDialog* d) {
        // A modal window is over its owner, not over itself and the windows it holds.
        overOwner = kavrino::IsModalWindowOpenOver(owner.m_hWnd);
        overItsOwnControl = kavrino::IsModalWindowOpenOver(d->GetDlgItem(IDOK)->m_hWnd);
        ClickWidget(ItemWidget(&owner, 1005));
        PressKey(ItemWidget(&owner, 1062), Qt::Key_Escape);
        ClickWidget(ItemWidget(&other, 1005));
        // The close box of the disabled owner does nothing either.
        QWidget* ownerWindow = WidgetOf(&owner);
        ownerWindow->close();
        closedMeanwhile = !ownerWindow->isVisible();
        // The modal dialog's own button works.
        ClickWidget(ItemWidget(d, IDOK));
    });
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_TRUE(overOwner);
    EXPECT_FALSE(overItsOwnControl);
    EXPECT_FALSE(kavrino::IsModalWindowOpenOver(owner.m_hWnd));
    EXPECT_EQ(owner.clicks, 0);
    EXPECT_EQ(owner.cancelCalls, 0);
    EXPECT_FALSE(closedMeanwhile);
    EXPECT_EQ(other.clicks, 1);
    // Afterwards the owner takes input again.
    ClickWidget(ItemWidget(&owner, 1005));
    EXPECT_EQ(owner.clicks, 1);
    other.DestroyWindow();
    owner.DestroyWindow();
    Settle();
}

TEST(ModalDialog, AMessageBoxOrFileDialogOfTheLibraryIsModalToItsOwnerOnly) {
    SetupLikeDlg owner;
    ASSERT_TRUE(owner.Create(150u, nullptr));
    owner.ShowWindow(SW_SHOW);
    ItemWidget(&owner, 1005)->setEnabled(true);
    auto* box = new QDialog(WidgetOf(&owner));
    auto* ok = new QPushButton(QStringLiteral("OK"), box);
    QObject::connect(ok, &QPushButton::clicked, box, &QDialog::accept);
    // Once the box runs: a click on the owner does nothing, the box's own button ends it.
    QTimer::singleShot(0, box, [&] {
        ClickWidget(ItemWidget(&owner, 1005));
        EXPECT_TRUE(kavrino::ModalStack::IsDisabled(WidgetOf(&owner)));
        ClickWidget(ok);
    });
    // Should the box not end, it is ended anyway: the test never waits on a modal window.
    QTimer::singleShot(10000, box, [box] { box->reject(); });
    EXPECT_EQ(kavrino::ModalStack::Run(box, WidgetOf(&owner)), QDialog::Accepted);
    delete box;
    EXPECT_EQ(owner.clicks, 0);
    EXPECT_FALSE(kavrino::ModalStack::IsDisabled(WidgetOf(&owner)));
    owner.DestroyWindow();
    Settle();
}

TEST(ModalDialog, KeepsTheFocusThatOnInitDialogGaveOrFocusesTheFirstControl) {
    HWND focus = nullptr;
    HWND expected = nullptr;
    kavrino::ModalDialogScope scope([&](CDialog* d) {
        focus = ::GetFocus();
        expected = d->GetDlgItem(1062)->GetSafeHwnd();
        d->EndDialog(IDCANCEL);
    });
    ModalDlg setup(150u);
    setup.focusId = 1062;
    setup.DoModal();
    EXPECT_NE(focus, nullptr);
    EXPECT_EQ(focus, expected);

    kavrino::ModalDialogScope first([&](CDialog* d) {
        focus = ::GetFocus();
        expected = d->GetNextDlgTabItem(nullptr)->GetSafeHwnd();
        d->EndDialog(IDCANCEL);
    });
    ModalDlg plain(150u);
    plain.DoModal();
    EXPECT_NE(focus, nullptr);
    EXPECT_EQ(focus, expected);
    Settle();
}

TEST(ModalDialog, RunsUntilEndedAndIsDestroyedBeforeDoModalReturns) {
    ModalDlg dlg;
    bool sawVisible = false;
    kavrino::ModalDialogScope scope([&](CDialog* d) {
        sawVisible = d->IsWindowVisible() != FALSE;
        // The OK button of the About box ends it.
        static_cast<QAbstractButton*>(ItemWidget(d, IDOK))->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.initialised);
    EXPECT_TRUE(sawVisible);
    EXPECT_EQ(dlg.destroyed, 1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);

    kavrino::ModalDialogScope later([](CDialog* d) { d->PostMessage(WM_CLOSE); });
    // WM_CLOSE is a cancel for a dialog; the posted message ends the loop that DoModal runs.
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    Settle();
}
