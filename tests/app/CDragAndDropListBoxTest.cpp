// Reordering the entries of a list by dragging them with the mouse, on the set-up window's list.

#include "CDragAndDropListBox.h"
#include "DeviceSurface.h"
#include "TestHooks.h"
#include "UiThread.h"
#include "WindowState.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kSetupTemplate = 150;
constexpr int kListId = 1064;

// A dialog that owns the list and counts its selection-change notifications.
class ListOwnerDlg : public CDialog {
public:
    ListOwnerDlg() : CDialog(kSetupTemplate) {}
    int m_nSelChanges = 0;

protected:
    void OnSelChange() { ++m_nSelChanges; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListOwnerDlg, CDialog)
ON_LBN_SELCHANGE(kListId, &ListOwnerDlg::OnSelChange)
END_MESSAGE_MAP()

class DragAndDropListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_owner.Create(kSetupTemplate, nullptr));
        ASSERT_TRUE(m_list.SubclassDlgItem(kListId, &m_owner));
        m_list.ResetContent();
        const wchar_t* const names[] = {L"A", L"B", L"C", L"D", L"E"};
        for (int i = 0; i < 5; ++i) {
            m_list.AddString(names[i]);
            m_list.SetItemData(i, static_cast<DWORD_PTR>(100 + i));
        }
        m_nItemHeight = m_list.GetItemHeight(0);
        ASSERT_GT(m_nItemHeight, 0);
        m_list.GetClientRect(&m_rcClient);
        // Room below the last entry is needed for the drop-at-end cases.
        ASSERT_GT(m_rcClient.Height(), 6 * m_nItemHeight);
    }

    void TearDown() override {
        m_list.UnsubclassWindow();
        m_owner.DestroyWindow();
        // The list's records go with the next events: the drawing layer over it must not outlive the
        // application object.
        kavrino::ProcessUiEvents();
    }

    // The middle of entry i, in the list's client coordinates.
    CPoint Entry(int i) const {
        CRect rc;
        m_list.GetItemRect(i, &rc);
        return rc.CenterPoint();
    }

    void Mouse(UINT message, CPoint point, UINT flags) {
        m_list.SendMessage(message, flags,
                           MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    }
    void Drag(CPoint from, CPoint to) {
        Mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
    }
    void Drop(CPoint at) { Mouse(WM_LBUTTONUP, at, 0); }

    // What the list's context has drawn over the entries at height y, in the middle: the insertion line
    // (black), its erasure (white) or nothing.
    enum class Line { None, Drawn, Erased };
    Line LineAt(int y) const {
        kavrino::WindowState* s = m_list.State();
        if (!s || !s->overlay)
            return Line::None;
        const QImage& image = s->overlay->Image();
        const QColor pixel = QColor::fromRgba(image.pixel(Entry(0).x, y));
        if (pixel.alpha() == 0)
            return Line::None;
        if (pixel.rgb() == QColor(Qt::black).rgb())
            return Line::Drawn;
        return pixel.rgb() == QColor(Qt::white).rgb() ? Line::Erased : Line::None;
    }
    int EntryTop(int i) const {
        CRect rc;
        m_list.GetItemRect(i, &rc);
        return rc.top + 1;
    }
    int LastBottom() const {
        CRect rc;
        m_list.GetItemRect(m_list.GetCount() - 1, &rc);
        return rc.bottom;
    }

    std::vector<CString> Texts() const {
        std::vector<CString> texts;
        for (int i = 0; i < m_list.GetCount(); ++i) {
            CString text;
            m_list.GetText(i, text);
            texts.push_back(text);
        }
        return texts;
    }
    static std::vector<CString> Order(std::initializer_list<const wchar_t*> names) {
        std::vector<CString> order;
        for (const wchar_t* name : names)
            order.emplace_back(name);
        return order;
    }

    ListOwnerDlg m_owner;
    CDragAndDropListBox m_list;
    int m_nItemHeight = 0;
    CRect m_rcClient;
};

} // namespace

TEST_F(DragAndDropListBoxTest, DropMovesTheEntryWithItsDataAndNotifiesTheOwner) {
    // Down the list: A lands before D.
    Drag(Entry(0), Entry(3));
    EXPECT_EQ(m_list.m_nDragIndex, 0);
    EXPECT_EQ(m_list.m_nDropIndex, 3);
    EXPECT_TRUE(m_list.m_bCaptured);
    const int nBefore = m_owner.m_nSelChanges;
    Drop(Entry(3));
    EXPECT_EQ(Texts(), Order({L"B", L"C", L"A", L"D", L"E"}));
    EXPECT_EQ(m_list.GetCurSel(), 2);
    EXPECT_EQ(m_list.GetItemData(2), 100u);
    EXPECT_EQ(m_owner.m_nSelChanges, nBefore + 1);
    EXPECT_EQ(m_list.m_nDragIndex, -1);
    EXPECT_EQ(m_list.m_nDropIndex, -1);
    EXPECT_FALSE(m_list.m_bCaptured);

    // Up the list: E lands before B.
    Drag(Entry(4), Entry(0));
    Drop(Entry(0));
    EXPECT_EQ(Texts(), Order({L"E", L"B", L"C", L"A", L"D"}));
    EXPECT_EQ(m_list.GetCurSel(), 0);
    EXPECT_EQ(m_list.GetItemData(0), 104u);
}

TEST_F(DragAndDropListBoxTest, DropOnTheNextEntryKeepsTheOrderButNotifies) {
    Drag(Entry(1), Entry(2));
    const int nBefore = m_owner.m_nSelChanges;
    Drop(Entry(2));
    EXPECT_EQ(Texts(), Order({L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(m_list.GetItemData(1), 101u);
    EXPECT_EQ(m_owner.m_nSelChanges, nBefore + 1);
}

TEST_F(DragAndDropListBoxTest, DropBelowTheLastEntryMovesToTheEnd) {
    const CPoint below(Entry(0).x, 5 * m_nItemHeight + m_nItemHeight / 2);
    Drag(Entry(1), below);
    EXPECT_EQ(m_list.m_nDropIndex, -1);
    Drop(below);
    EXPECT_EQ(Texts(), Order({L"A", L"C", L"D", L"E", L"B"}));
    EXPECT_EQ(m_list.GetCurSel(), 4);
    EXPECT_EQ(m_list.GetItemData(4), 101u);
}

TEST_F(DragAndDropListBoxTest, ReleaseOutsideCancels) {
    const CPoint outside(m_rcClient.right + 40, Entry(3).y);
    Drag(Entry(1), Entry(3));
    Mouse(WM_MOUSEMOVE, outside, MK_LBUTTON);
    const int nBefore = m_owner.m_nSelChanges;
    Drop(outside);
    EXPECT_EQ(Texts(), Order({L"A", L"B", L"C", L"D", L"E"}));
    EXPECT_EQ(m_list.GetCurSel(), 1);
    EXPECT_EQ(m_owner.m_nSelChanges, nBefore);
    EXPECT_EQ(m_list.m_nDragIndex, -1);
    EXPECT_FALSE(m_list.m_bCaptured);
}

TEST_F(DragAndDropListBoxTest, TheInsertionLineShowsWhereTheEntryLands) {
    // Above the entry it lands before.
    Drag(Entry(1), Entry(3));
    EXPECT_EQ(LineAt(EntryTop(3)), Line::Drawn);
    EXPECT_NE(LineAt(EntryTop(1)), Line::Drawn);
    // Below the last entry: under it; the line above entry 3 goes.
    Mouse(WM_MOUSEMOVE, CPoint(Entry(0).x, 5 * m_nItemHeight + m_nItemHeight / 2), MK_LBUTTON);
    EXPECT_EQ(LineAt(LastBottom()), Line::Drawn);
    EXPECT_EQ(LineAt(EntryTop(3)), Line::Erased);
    // Back over the dragged entry itself: no line at all.
    Mouse(WM_MOUSEMOVE, Entry(1), MK_LBUTTON);
    EXPECT_EQ(LineAt(LastBottom()), Line::Erased);
    EXPECT_NE(LineAt(EntryTop(1)), Line::Drawn);
    Drop(Entry(1));
    EXPECT_EQ(Texts(), Order({L"A", L"B", L"C", L"D", L"E"}));
}

TEST_F(DragAndDropListBoxTest, PressBelowTheEntriesStartsNoDrag) {
    // A press and release on an entry without a move leaves nothing for the next press.
    Mouse(WM_LBUTTONDOWN, Entry(1), MK_LBUTTON);
    Drop(Entry(1));
    const CPoint empty(Entry(0).x, 5 * m_nItemHeight + m_nItemHeight);
    Drag(empty, Entry(2));
    EXPECT_EQ(m_list.m_nDragIndex, -1);
    EXPECT_EQ(m_list.m_nDropIndex, -1);
    EXPECT_FALSE(m_list.m_bCaptured);
    Mouse(WM_MOUSEMOVE, CPoint(Entry(0).x, m_rcClient.bottom + 3 * m_nItemHeight), MK_LBUTTON);
    EXPECT_EQ(m_list.m_nScrollInterval, 0u);
    Drop(Entry(2));
    EXPECT_EQ(Texts(), Order({L"A", L"B", L"C", L"D", L"E"}));
}

TEST_F(DragAndDropListBoxTest, AutoScrollSpeedsUpWithDistanceAndStopsInside) {
    Drag(Entry(2), Entry(3));
    const int h = m_rcClient.Height();
    const int x = Entry(0).x;

    Mouse(WM_MOUSEMOVE, CPoint(x, h + 1), MK_LBUTTON);
    EXPECT_EQ(m_list.m_nScrollInterval, 250u);
    // One step at once: the insertion index moved down by one.
    EXPECT_EQ(m_list.m_nDropIndex, 4);
    Mouse(WM_MOUSEMOVE, CPoint(x, h + m_nItemHeight + 1), MK_LBUTTON);
    EXPECT_EQ(m_list.m_nScrollInterval, 125u);
    Mouse(WM_MOUSEMOVE, CPoint(x, h + 2 * m_nItemHeight + 1), MK_LBUTTON);
    EXPECT_EQ(m_list.m_nScrollInterval, 83u);
    // The same period again takes no further step.
    const int nDrop = m_list.m_nDropIndex;
    Mouse(WM_MOUSEMOVE, CPoint(x, h + 2 * m_nItemHeight + 2), MK_LBUTTON);
    EXPECT_EQ(m_list.m_nDropIndex, nDrop);

    // Back over an entry: the timers stop at once.
    Mouse(WM_MOUSEMOVE, Entry(1), MK_LBUTTON);
    EXPECT_EQ(m_list.m_nScrollInterval, 0u);
    EXPECT_EQ(m_list.m_nDropIndex, 1);

    // Above the list.
    Mouse(WM_MOUSEMOVE, CPoint(x, -1), MK_LBUTTON);
    EXPECT_EQ(m_list.m_nScrollInterval, 250u);
    EXPECT_EQ(m_list.m_nDropIndex, 0);
    Mouse(WM_MOUSEMOVE, CPoint(x, -m_nItemHeight - 1), MK_LBUTTON);
    EXPECT_EQ(m_list.m_nScrollInterval, 125u);
    Drop(Entry(1));
}

TEST_F(DragAndDropListBoxTest, ScrolledPastTheEndTheEntryIsNeverLost) {
    Drag(Entry(1), Entry(3));
    Mouse(WM_MOUSEMOVE, CPoint(Entry(0).x, m_rcClient.Height() + 1), MK_LBUTTON);
    // The timer keeps pushing the insertion index past the entries.
    for (int i = 0; i < 6; ++i)
        m_list.SendMessage(WM_TIMER, CDragAndDropListBox::TIMER_SCROLL_DOWN);
    EXPECT_GE(m_list.m_nDropIndex, m_list.GetCount());
    // No entry is there, nor before the first one: reading there gives nothing.
    for (int nIndex : {m_list.GetCount(), -1}) {
        CString strText = L"?";
        m_list.GetText(nIndex, strText);
        EXPECT_EQ(strText, L"") << nIndex;
        EXPECT_EQ(m_list.GetTextLen(nIndex), LB_ERR) << nIndex;
    }
    // Released inside without a move back over an entry: the entry goes to the end.
    Drop(Entry(2));
    EXPECT_EQ(Texts(), Order({L"A", L"C", L"D", L"E", L"B"}));

    Drag(Entry(3), Entry(2));
    Mouse(WM_MOUSEMOVE, CPoint(Entry(0).x, -1), MK_LBUTTON);
    for (int i = 0; i < 8; ++i)
        m_list.SendMessage(WM_TIMER, CDragAndDropListBox::TIMER_SCROLL_UP);
    EXPECT_LT(m_list.m_nDropIndex, -1);
    Drop(Entry(2));
    EXPECT_EQ(Texts(), Order({L"E", L"A", L"C", L"D", L"B"}));
    EXPECT_EQ(m_list.GetCount(), 5);
}
