// Calls from a worker thread into windows, posted messages and message boxes raised off the
// user-interface thread.

#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace uitest;

namespace {

constexpr UINT WM_TEST_FINISHED = 0x8001;
constexpr UINT WM_KEYPAD = 0x812C;

constexpr UINT WM_REPORT = 0x8010;

// What a worker hands over with a posted message: plain data, no lock.
struct Report {
    int rows = 0;
    CString text;
};

class MainLikeDlg : public CDialog {
public:
    MainLikeDlg() : CDialog(102u) {}
    int finished = 0;
    LPARAM lastKeypad = 0;
    std::atomic<int> changes{0};
    Report received;

    LRESULT OnTestFinished(WPARAM, LPARAM) {
        ++finished;
        return 0;
    }
    LRESULT OnKeypad(WPARAM, LPARAM lParam) {
        lastKeypad = lParam;
        return 0;
    }
    LRESULT OnReport(WPARAM, LPARAM lParam) {
        received = *reinterpret_cast<const Report*>(lParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MainLikeDlg, CDialog)
ON_MESSAGE(WM_TEST_FINISHED, &MainLikeDlg::OnTestFinished)
ON_MESSAGE(WM_KEYPAD, &MainLikeDlg::OnKeypad)
ON_MESSAGE(WM_REPORT, &MainLikeDlg::OnReport)
END_MESSAGE_MAP()

// A page whose edit's change notification switches something, as the white-balance page does.
class PageDlg : public CDialog {
public:
    PageDlg() : CDialog(151u) {}
    std::atomic<int> changes{0};
    std::atomic<bool> onUiThread{true};
    void OnEnChange() {
        if (!kavrino::IsUiThread())
            onUiThread = false;
        ++changes;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PageDlg, CDialog)
ON_EN_CHANGE(1111, &PageDlg::OnEnChange)
END_MESSAGE_MAP()

} // namespace

TEST(WorkerThread, ShowsMovesAndRelabelsWhileTheUserInterfaceRuns) {
    MainLikeDlg main;
    ASSERT_TRUE(main.Create(102u, nullptr));
    main.ShowWindow(SW_SHOW);
    PageDlg page;
    ASSERT_TRUE(page.Create(151u, &main));
    ASSERT_FALSE(page.IsWindowVisible());
    auto* list = static_cast<CListBox*>(main.GetDlgItem(1002));
    list->AddString(L"ROI");
    list->AddString(L"화이트 밸런스");

    std::atomic<bool> done{false};
    BOOL shown = FALSE;
    CRect placed;
    CString label;
    std::thread runner([&] {
        // What the test runner does for one item.
        list->SetCurSel(1);
        page.MoveWindow(200, 20, 1050, 410, TRUE);
        page.ShowWindow(SW_SHOW);
        page.SetDlgItemText(1111, L"BayerRG8");
        main.GetDlgItem(1003)->SetWindowText(L"검사 취소");
        shown = page.IsWindowVisible();
        page.GetWindowRect(&placed);
        main.GetDlgItem(1003)->GetWindowText(label);
        done = true;
    });
    // The user-interface thread keeps processing messages meanwhile.
    ASSERT_TRUE(kavrino::PumpUntil([&] { return done.load(); }));
    runner.join();

    EXPECT_TRUE(shown);
    EXPECT_EQ(label, L"검사 취소");
    EXPECT_EQ(placed.Width(), 1050);
    EXPECT_EQ(placed.Height(), 410);
    CRect mainRect;
    main.GetWindowRect(&mainRect);
    CRect clientOrigin(0, 0, 0, 0);
    main.ClientToScreen(&clientOrigin);
    EXPECT_EQ(placed.left - clientOrigin.left, 200);
    EXPECT_EQ(placed.top - clientOrigin.top, 20);
    EXPECT_EQ(list->GetCurSel(), 1);
    CString edit;
    page.GetDlgItemText(1111, edit);
    EXPECT_EQ(edit, L"BayerRG8");
    // The change notification ran on the user-interface thread before the worker went on.
    EXPECT_GE(page.changes.load(), 1);
    EXPECT_TRUE(page.onUiThread.load());

    page.DestroyWindow();
    main.DestroyWindow();
    Settle();
}

TEST(WorkerThread, CallsOnADestroyedWindowFailCleanly) {
    MainLikeDlg main;
    ASSERT_TRUE(main.Create(102u, nullptr));
    CWnd* button = main.GetDlgItem(1003);
    HWND buttonHandle = button->m_hWnd;
    main.DestroyWindow();
    Settle();
    std::atomic<bool> done{false};
    LRESULT sent = -1;
    BOOL posted = TRUE;
    std::thread worker([&] {
        sent = ::SendMessage(buttonHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
        posted = ::PostMessage(buttonHandle, WM_APP, 0, 0);
        done = true;
    });
    ASSERT_TRUE(kavrino::PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(sent, 0);
    EXPECT_FALSE(posted);
}

TEST(PostedMessages, ReachTheHandlerFromAnyThreadAndAreDroppedForAGoneWindow) {
    MainLikeDlg main;
    ASSERT_TRUE(main.Create(102u, nullptr));
    EXPECT_TRUE(main.PostMessage(WM_TEST_FINISHED, 0, 0));
    // Posting does not run the handler at once.
    EXPECT_EQ(main.finished, 0);
    std::thread poster([&] { ::PostMessage(main.m_hWnd, WM_KEYPAD, 0, 0x0210); });
    poster.join();
    ASSERT_TRUE(kavrino::PumpUntil([&] { return main.finished == 1 && main.lastKeypad == 0x0210; }));

    // A message still queued when its window goes is dropped, not delivered to a dead object.
    main.PostMessage(WM_TEST_FINISHED, 0, 0);
    main.DestroyWindow();
    Settle();
    EXPECT_EQ(main.finished, 1);
}

TEST(PostedMessages, WhatTheWorkerWroteBeforePostingIsWhatTheHandlerReads) {
    // The worker's writes and the handler's reads meet only through the posted message: the worker says
    // that it has posted without ordering anything (a relaxed flag), and the handler runs straight from the
    // queue, before the event loop could synchronise with the worker in any other way. The thread
    // sanitizer's build sees the hand-over, or reports the race.
    MainLikeDlg main;
    ASSERT_TRUE(main.Create(102u, nullptr));
    Report report;
    std::atomic<bool> posted{false};
    std::thread worker([&] {
        report.rows = 3;
        report.text = L"에러항목: ON ";
        ::PostMessage(main.m_hWnd, WM_REPORT, 0, reinterpret_cast<LPARAM>(&report));
        posted.store(true, std::memory_order_relaxed);
    });
    while (!posted.load(std::memory_order_relaxed))
        std::this_thread::yield();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(main.received.rows, 3);
    EXPECT_EQ(main.received.text, L"에러항목: ON ");
    worker.join();
    main.DestroyWindow();
    Settle();
}

TEST(MessageBoxes, ABoxFromAWorkerIsAnsweredOnTheUserInterfaceThread) {
    std::atomic<bool> done{false};
    std::atomic<bool> answeredOnUi{false};
    int answer = 0;
    kavrino::SetMessageBoxHandler([&](const CString& text, const CString&, UINT type) {
        answeredOnUi = kavrino::IsUiThread();
        EXPECT_EQ(text, L"Mil 연결 실패");
        EXPECT_EQ(type & MB_TYPEMASK, MB_YESNO);
        return IDNO;
    });
    std::thread worker([&] {
        answer = AfxMessageBox(L"Mil 연결 실패", MB_YESNO);
        done = true;
    });
    ASSERT_TRUE(kavrino::PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(answer, IDNO);
    EXPECT_TRUE(answeredOnUi.load());

    // The recorder keeps every text, in order, with the application's name as caption.
    kavrino::MessageBoxRecorder recorder(IDOK);
    std::thread second([&] { AfxMessageBox(L"시작 될 항목을 선택하세요"); });
    ASSERT_TRUE(kavrino::PumpUntil([&] { return recorder.Count() == 1; }));
    second.join();
    EXPECT_EQ(AfxMessageBox(L"검사 할 항목을 추가하세요."), IDOK);
    const auto texts = recorder.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], L"시작 될 항목을 선택하세요");
    EXPECT_EQ(texts[1], L"검사 할 항목을 추가하세요.");
}

TEST(MessageBoxes, ARealBoxIsWideEnoughForItsCaptionAndItsText) {
    // The box itself, as the operator gets it (no hook answers): a short text still leaves room for the
    // caption beside a title bar's icon and buttons, and a longer text is never cut.
    kavrino::SetMessageBoxHandler(nullptr);
    for (const wchar_t* text : {L"저장완료", L"width = 2448  height = 2048"}) {
        SCOPED_TRACE(QString::fromWCharArray(text).toStdString());
        int boxWidth = 0;
        int captionWidth = 0;
        int textWidth = 0;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                QFont bold = box->font();
                bold.setBold(true);
                captionWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle()) +
                               3 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
                textWidth = QFontMetrics(box->font()).horizontalAdvance(box->text());
                boxWidth = box->width();
                box->button(QMessageBox::Ok)->click();
            }
        });
        answer.start(10);
        EXPECT_EQ(AfxMessageBox(text), IDOK);
        answer.stop();
        EXPECT_GE(boxWidth, captionWidth);
        EXPECT_GT(boxWidth, textWidth);
    }
}

namespace {
// The message box shown now, or null.
QMessageBox* ShownMessageBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}
} // namespace

TEST(MessageBoxes, EachStyleShowsItsButtonsAndAnswersWithThePressedOne) {
    kavrino::SetMessageBoxHandler(nullptr);
    using B = QMessageBox;
    const struct {
        UINT type;
        std::vector<std::pair<B::StandardButton, int>> buttons; // each button and its answer
    } styles[] = {
        {MB_OK, {{B::Ok, IDOK}}},
        {MB_OKCANCEL, {{B::Ok, IDOK}, {B::Cancel, IDCANCEL}}},
        // The alignment page's question: Yes and No, nothing else.
        {MB_YESNO | MB_ICONQUESTION, {{B::Yes, IDYES}, {B::No, IDNO}}},
        {MB_YESNOCANCEL, {{B::Yes, IDYES}, {B::No, IDNO}, {B::Cancel, IDCANCEL}}},
        {MB_RETRYCANCEL, {{B::Retry, IDRETRY}, {B::Cancel, IDCANCEL}}},
        {MB_ABORTRETRYIGNORE, {{B::Abort, IDABORT}, {B::Retry, IDRETRY}, {B::Ignore, IDIGNORE}}},
    };
    for (const auto& style : styles) {
        B::StandardButtons expected;
        for (const auto& button : style.buttons)
            expected |= button.first;
        for (const auto& [press, answer] : style.buttons) {
            SCOPED_TRACE(::testing::Message() << "type " << style.type << " button " << press);
            B::StandardButtons shown;
            // Once the box runs: its buttons are read and one is pressed; should that fail, the box is
            // closed anyway, so that the test never waits on it.
            QTimer pressIt;
            pressIt.setSingleShot(true);
            QObject::connect(&pressIt, &QTimer::timeout, [&, press = press] {
                QMessageBox* box = ShownMessageBox();
                ASSERT_NE(box, nullptr);
                shown = box->standardButtons();
                if (QAbstractButton* b = box->button(press))
                    b->click();
            });
            QTimer closeIt;
            closeIt.setSingleShot(true);
            QObject::connect(&closeIt, &QTimer::timeout, [] {
                if (QMessageBox* box = ShownMessageBox())
                    box->done(-1);
            });
            pressIt.start(0);
            closeIt.start(10000);
            EXPECT_EQ(AfxMessageBox(L"검사를 진행하였습니까?", style.type), answer);
            EXPECT_EQ(shown, expected);
        }
    }
}

TEST(FileDialogs, TheHookSeesTheRequestAndGivesThePath) {
    kavrino::FileDialogAnswer answer(CString(L"/tmp/kavrino/오늘"));
    CFileDialog save(FALSE, L"LOG file", nullptr, OFN_ENABLESIZING, L"LOG File (*.log)|*.log|");
    ASSERT_EQ(save.DoModal(), IDOK);
    ASSERT_EQ(answer.Requests().size(), 1u);
    const kavrino::FileDialogRequest& r = answer.Requests()[0];
    EXPECT_FALSE(r.open);
    EXPECT_EQ(r.defaultExtension, L"LOG file");
    EXPECT_EQ(r.flags, OFN_ENABLESIZING);
    EXPECT_EQ(r.filter, L"LOG File (*.log)|*.log|");
    // A name without an extension gets the filter's.
    EXPECT_EQ(save.GetPathName(), L"/tmp/kavrino/오늘.log");
    EXPECT_EQ(save.GetFileName(), L"오늘.log");

    answer.SetPath(CString());
    CFileDialog open(TRUE, L"DCF file", nullptr, OFN_ENABLESIZING, L"DCF File (*.dcf)|*.dcf|");
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_TRUE(open.GetPathName().IsEmpty());
}

TEST(FileDialogs, TheFilterShowsEachDescriptionWithItsPatternsOnce) {
    QString extension;
    EXPECT_EQ(kavrino::FileDialogFilter(L"LOG File (*.log)|*.log|", &extension),
              QStringLiteral("LOG File (*.log)"));
    EXPECT_EQ(extension, QStringLiteral("log"));
    EXPECT_EQ(kavrino::FileDialogFilter(L"BITMAP File(*.bmp)|*.bmp|"), QStringLiteral("BITMAP File(*.bmp)"));
    // A description without its patterns gets them; several patterns are one list.
    EXPECT_EQ(kavrino::FileDialogFilter(L"Pictures|*.bmp;*.png|All (*.*)|*.*|"),
              QStringLiteral("Pictures (*.bmp *.png);;All (*.*)"));
    EXPECT_EQ(kavrino::FileDialogFilter(L"INI File (*.txt)|*.ini|"),
              QStringLiteral("INI File (*.txt) (*.ini)"));
}
