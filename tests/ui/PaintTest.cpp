// Painting: owner-drawn buttons, client device contexts outside painting, the pop-up window's scroll
// bars, a control with its own message map, and a screenshot of the set-up window.

#include "UiTestSupport.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace uitest;

namespace {

// A page with an owner-drawn step button (1031), or the frame-rate page with its owner-drawn list (1014),
// that paints as the pages do.
class OwnerDrawPage : public CDialog {
public:
    explicit OwnerDrawPage(UINT templateId = 143u) : CDialog(templateId) {}
    int draws = 0;
    UINT lastState = 0;
    UINT lastId = 0;
    DRAWITEMSTRUCT lastItem{};
    CSize lastExtent;
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT dis) {
        ++draws;
        lastId = static_cast<UINT>(nIDCtl);
        lastState = dis->itemState;
        lastItem = *dis;
        CDC* dc = CDC::FromHandle(dis->hDC);
        CRect rc(dis->rcItem);
        if (dis->itemState & ODS_DISABLED)
            dc->FillSolidRect(&rc, RGB(0xC0, 0xC0, 0xC0));
        else if (dis->itemState & ODS_SELECTED)
            dc->FillSolidRect(&rc, RGB(0, 0, 0xFF));
        else
            dc->FillSolidRect(&rc, RGB(0, 0x80, 0xC0));
        CString text;
        GetDlgItemText(nIDCtl, text);
        lastExtent = dc->GetTextExtent(text);
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
        dc->DrawText(text, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnerDrawPage, CDialog)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

QRgb Centre(const QImage& image) {
    return image.pixel(image.width() / 2, 2);
}

} // namespace

TEST(OwnerDraw, TheDialogPaintsTheButtonWithItsState) {
    OwnerDrawPage page;
    ASSERT_TRUE(page.Create(143u, nullptr));
    page.ShowWindow(SW_SHOW);
    auto* button = qobject_cast<QPushButton*>(ItemWidget(&page, 1031));
    ASSERT_NE(button, nullptr);

    QImage normal = button->grab().toImage();
    EXPECT_GT(page.draws, 0);
    EXPECT_EQ(page.lastId, 1031u);
    EXPECT_EQ(page.lastState & (ODS_SELECTED | ODS_DISABLED), 0u);
    EXPECT_EQ(QColor(Centre(normal)), QColor(0x00, 0x80, 0xC0));
    // The context comes with the button's font selected: the dialog font.
    EXPECT_EQ(button->font().family(), kavrino::DialogFont().family());
    EXPECT_EQ(button->font().pixelSize(), kavrino::DialogFont().pixelSize());
    EXPECT_EQ(page.lastExtent.cx,
              QFontMetrics(kavrino::DialogFont()).horizontalAdvance(QStringLiteral("검사")));

    button->setDown(true);
    QImage pressed = button->grab().toImage();
    EXPECT_NE(page.lastState & ODS_SELECTED, 0u);
    EXPECT_EQ(QColor(Centre(pressed)), QColor(0, 0, 0xFF));
    button->setDown(false);

    page.GetDlgItem(1031)->EnableWindow(FALSE);
    QImage disabled = button->grab().toImage();
    EXPECT_NE(page.lastState & ODS_DISABLED, 0u);
    EXPECT_EQ(QColor(Centre(disabled)), QColor(0xC0, 0xC0, 0xC0));
    page.DestroyWindow();
    Settle();
}

TEST(OwnerDraw, TheDialogPaintsTheSelectionFieldOfAnOwnerDrawnList) {
    OwnerDrawPage page(144u);
    ASSERT_TRUE(page.Create(144u, nullptr));
    page.ShowWindow(SW_SHOW);
    auto* list = static_cast<CComboBox*>(page.GetDlgItem(1014));
    QWidget* combo = ItemWidget(&page, 1014);
    ASSERT_NE(combo, nullptr);

    // Nothing selected yet: the field is painted all the same, for entry -1.
    combo->grab();
    EXPECT_EQ(page.lastId, 1014u);
    EXPECT_EQ(page.lastItem.CtlType, ODT_COMBOBOX);
    EXPECT_EQ(page.lastItem.itemID, static_cast<UINT>(-1));
    EXPECT_EQ(page.lastItem.hwndItem, list->GetSafeHwnd());
    EXPECT_EQ(page.lastState, ODS_COMBOBOXEDIT);
    // The field lies inside the control, left of the drop-down button the control keeps drawing.
    EXPECT_LT(page.lastItem.rcItem.right, combo->width() - 8);
    EXPECT_LE(page.lastItem.rcItem.bottom, combo->height());

    list->AddString(L"30");
    list->AddString(L"60");
    list->SetItemData(1, 77);
    list->SetCurSel(1);
    QImage painted = combo->grab().toImage();
    EXPECT_EQ(page.lastItem.itemID, 1u);
    EXPECT_EQ(page.lastItem.itemData, 77u);
    EXPECT_EQ(QColor(painted.pixel(page.lastItem.rcItem.left + 8, combo->height() / 2)),
              QColor(0x00, 0x80, 0xC0));

    page.GetDlgItem(1014)->EnableWindow(FALSE);
    combo->grab();
    EXPECT_EQ(page.lastState, ODS_COMBOBOXEDIT | ODS_DISABLED);
    page.DestroyWindow();

    // A dialog that does not paint it leaves the list to paint itself: the entry's text in the field.
    CDialog plain(144u);
    ASSERT_TRUE(plain.Create(144u, nullptr));
    plain.ShowWindow(SW_SHOW);
    auto* plainList = static_cast<CComboBox*>(plain.GetDlgItem(1014));
    plainList->AddString(L"30");
    plainList->SetCurSel(0);
    const QImage own = ItemWidget(&plain, 1014)->grab().toImage();
    bool text = false;
    for (int x = 0; x < own.width() / 2 && !text; ++x)
        for (int y = 0; y < own.height() && !text; ++y)
            text = qGray(own.pixel(x, y)) < 0x60;
    EXPECT_TRUE(text);
    plain.DestroyWindow();
    Settle();
}

TEST(ClientDC, DrawingOutsidePaintingReachesTheWindowAndThePictureControl) {
    CDialog display(134u);
    ASSERT_TRUE(display.Create(134u, CWnd::GetDesktopWindow()));
    display.ShowWindow(SW_SHOW);
    CRect client;
    display.GetClientRect(&client);
    ASSERT_GT(client.Width(), 0);
    {
        CClientDC dc(&display);
        dc.SetViewportOrg(-10, -20);
        // Logical (10, 20) is the client's top-left corner.
        dc.FillSolidRect(10, 20, 30, 30, RGB(0xFF, 0, 0));
    }
    kavrino::WindowState* s = display.State();
    ASSERT_NE(s, nullptr);
    QImage shown = s->client->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(5, 5)), QColor(0xFF, 0, 0));
    EXPECT_NE(QColor(shown.pixel(40, 40)), QColor(0xFF, 0, 0));
    display.DestroyWindow();

    // A picture static keeps what a client context drew into it.
    CDialog page(143u);
    ASSERT_TRUE(page.Create(143u, nullptr));
    page.ShowWindow(SW_SHOW);
    {
        CClientDC dc(page.GetDlgItem(1079));
        CRect rc;
        page.GetDlgItem(1079)->GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(0, 0xFF, 0));
    }
    QImage picture = ItemWidget(&page, 1079)->grab().toImage();
    EXPECT_EQ(QColor(picture.pixel(picture.width() / 2, picture.height() / 2)), QColor(0, 0xFF, 0));
    page.DestroyWindow();
    Settle();
}

namespace {

class ScrollingDlg : public CDialog {
public:
    ScrollingDlg() : CDialog(134u) {}
    UINT lastCode = 99;
    UINT lastPos = 0;
    void OnHScroll(UINT code, UINT pos, CScrollBar*) {
        lastCode = code;
        lastPos = pos;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScrollingDlg, CDialog)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

} // namespace

TEST(ScrollBars, RangePagePositionAndDisableRatherThanHide) {
    ScrollingDlg display;
    ASSERT_TRUE(display.Create(134u, CWnd::GetDesktopWindow()));
    display.MoveWindow(0, 0, 800, 600);
    display.ShowWindow(SW_SHOW);
    EXPECT_NE(display.GetStyle() & WS_HSCROLL, 0u);
    EXPECT_NE(display.GetStyle() & WS_VSCROLL, 0u);
    CRect client, window;
    display.GetClientRect(&client);
    display.GetWindowRect(&window);
    // The bars stand beside the client area.
    EXPECT_LT(client.Width(), window.Width());
    EXPECT_LT(client.Height(), window.Height());

    SCROLLINFO si{sizeof(SCROLLINFO),
                  SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                  0,
                  2447,
                  static_cast<UINT>(client.Width()),
                  (2448 - client.Width() - 1) / 2,
                  0};
    display.SetScrollInfo(SB_HORZ, &si, TRUE);
    EXPECT_EQ(display.GetScrollPos(SB_HORZ), (2448 - client.Width() - 1) / 2);
    // Positions are held to the last page.
    display.SetScrollPos(SB_HORZ, 5000);
    EXPECT_EQ(display.GetScrollPos(SB_HORZ), 2448 - client.Width());
    SCROLLINFO back{};
    ASSERT_TRUE(display.GetScrollInfo(SB_HORZ, &back, SIF_ALL));
    EXPECT_EQ(back.nMax, 2447);
    EXPECT_EQ(back.nPage, static_cast<UINT>(client.Width()));

    kavrino::WindowState* s = display.State();
    QScrollBar* bar = s->bars[SB_HORZ];
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isEnabled());
    // The user's page step reaches the window as SB_PAGERIGHT; the bar moves only when the window says so.
    const int before = bar->value();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(display.lastCode, SB_PAGERIGHT);
    EXPECT_EQ(bar->value(), before);

    // An image that fits: the bar stays, disabled.
    SCROLLINFO fits{
        sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 99, 640, 0, 0};
    display.SetScrollInfo(SB_HORZ, &fits, TRUE);
    EXPECT_FALSE(bar->isEnabled());
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(display.GetScrollPos(SB_HORZ), 0);
    display.DestroyWindow();
    Settle();
}

namespace {

// A list box with a message map of its own, as the drag-and-drop list has.
class PressList : public CListBox {
public:
    int presses = 0;
    BOOL outside = FALSE;
    UINT item = 0;
    void OnLButtonDown(UINT flags, CPoint point) {
        ++presses;
        Default(); // the list's own handling selects the entry
        item = ItemFromPoint(point, outside);
        (void)flags;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PressList, CListBox)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class ListHostDlg : public CDialog {
public:
    ListHostDlg() : CDialog(150u) {}
    PressList m_list;
    int selChanges = 0;
    void OnSelChange() { ++selChanges; }

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 1064, m_list); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListHostDlg, CDialog)
ON_LBN_SELCHANGE(1064, &ListHostDlg::OnSelChange)
END_MESSAGE_MAP()

} // namespace

TEST(AttachedControl, ItsMessageMapSeesTheMouseAndDefaultGivesTheListItsOwnHandling) {
    ListHostDlg dlg;
    ASSERT_TRUE(dlg.Create(150u, nullptr));
    dlg.ShowWindow(SW_SHOW);
    for (const wchar_t* item : {L"ROI", L"테스트 패턴", L"픽셀 포맷"})
        dlg.m_list.AddString(item);
    dlg.m_list.SetItemData(1, 77);
    EXPECT_EQ(dlg.m_list.GetCurSel(), LB_ERR);
    // The program's selection does not notify.
    dlg.m_list.SetCurSel(0);
    EXPECT_EQ(dlg.selChanges, 0);

    CRect second;
    ASSERT_EQ(dlg.m_list.GetItemRect(1, &second), 0);
    kavrino::WindowState* s = dlg.m_list.State();
    QWidget* viewport = s->client;
    const QPoint at(second.left + 5, second.top + second.Height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    EXPECT_EQ(dlg.m_list.presses, 1);
    EXPECT_EQ(dlg.m_list.item, 1u);
    EXPECT_FALSE(dlg.m_list.outside);
    EXPECT_EQ(dlg.m_list.GetCurSel(), 1);
    EXPECT_EQ(dlg.m_list.GetItemData(1), 77u);

    // Below the last entry: the last entry, outside.
    BOOL outside = FALSE;
    CRect client;
    dlg.m_list.GetClientRect(&client);
    EXPECT_EQ(dlg.m_list.ItemFromPoint(CPoint(5, client.Height() - 2), outside), 2u);
    EXPECT_TRUE(outside);

    EXPECT_EQ(dlg.m_list.FindStringExact(-1, L"픽셀 포맷"), 2);
    EXPECT_EQ(dlg.m_list.DeleteString(0), 2);
    EXPECT_EQ(dlg.m_list.DeleteString(5), LB_ERR);
    CString text;
    dlg.m_list.GetText(0, text);
    EXPECT_EQ(text, L"테스트 패턴");

    // A client context on the list draws over it.
    {
        CClientDC dc(&dlg.m_list);
        CPen pen(PS_SOLID, 2, RGB(0, 0, 0));
        CPen* old = dc.SelectObject(&pen);
        dc.MoveTo(0, 1);
        dc.LineTo(client.Width() - 1, 1);
        dc.SelectObject(old);
    }
    QImage shot = viewport->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(client.Width() / 2, 1)), QColor(0, 0, 0));
    dlg.DestroyWindow();
    Settle();
}

TEST(Screenshot, TheSetUpWindowRendersItsControls) {
    CDialog setup(150u);
    ASSERT_TRUE(setup.Create(150u, nullptr));
    setup.ShowWindow(SW_SHOW);
    kavrino::WindowState* s = setup.State();
    ASSERT_NE(s, nullptr);
    QImage shot = s->widget->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString path =
        QDir(QStringLiteral(KAVRINO_BINARY_DIR)).filePath(QStringLiteral("setup-window.png"));
    ASSERT_TRUE(shot.save(path));
    // Not blank: many distinct colours (controls, text, frames).
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3)
            colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 20);
    setup.DestroyWindow();
    Settle();
}
