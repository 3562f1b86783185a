// The README's first run on a desktop of its own, with the real program on Qt's xcb platform, driven only
// through the X server: key presses and mouse clicks as an operator makes them. Screenshots of every step
// go to the build folder (tests/desktop/first-run/).

#include "DesktopSession.h"
#include "DialogTemplate.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QTextCodec>
#include <QtGlobal>
#include <functional>
#include <gtest/gtest.h>

using desktop::DesktopSession;
using desktop::WindowId;

namespace {

const QString kSetupTitle = QStringLiteral("검사항목 편집 창");
const QString kMainTitle = QStringLiteral("Movrane");
const QString kDisplayTitle = QStringLiteral("Display Window");
const QString kBoxTitle = QStringLiteral("Kavrino"); // the application's message boxes
const QString kGrabOneTitle = QStringLiteral("Grab One Image");
const QString kReferenceTitle = QStringLiteral("검사이미지"); // a page's reference picture at full size

// Templates and controls the walk uses.
constexpr int kSetup = 150;
constexpr int kMain = 102;
constexpr int kRoiPage = 130;
constexpr int kAlignPage = 153;
constexpr int kBrightPage = 161;
constexpr int kCentrePage = 162;
constexpr int kOtherChecksPage = 148;
constexpr int kReportPage = 149;
// The runner shows every page at this place of the main window.
const QRect kPageArea(200, 20, 1050, 410);

// A control's place in its window's client area, in pixels, from the compiled-in template.
QRect ControlRect(int templateId, int controlId) {
    const kavrino::DialogTemplate* t = kavrino::DialogTemplate::Find(templateId);
    const kavrino::ControlTemplate* c = t ? t->Control(controlId) : nullptr;
    return c ? kavrino::DialogUnitsToPixels(c->rect) : QRect(-1, -1, 1, 1);
}

QPoint ControlCentre(int templateId, int controlId) {
    return ControlRect(templateId, controlId).center();
}

QPoint PageControlCentre(int templateId, int controlId) {
    return kPageArea.topLeft() + ControlCentre(templateId, controlId);
}

// A point of a radio button or check box right of its label, near the right edge of its rectangle: the
// control takes a click there as on its label.
QPoint RightOfLabel(int templateId, int controlId) {
    const QRect r = ControlRect(templateId, controlId);
    return QPoint(r.right() - 4, r.center().y());
}

// The log as text, whatever the code page it was written in.
QString ReadLog(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    QTextCodec::ConverterState state;
    const QString utf8 =
        QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0)
        return utf8;
    QTextCodec* cp949 = QTextCodec::codecForName("CP949");
    return cp949 ? cp949->toUnicode(bytes) : utf8;
}

class FirstRun : public ::testing::Test {
protected:
    void SetUp() override {
        kavrino::RegisterResources();
        ASSERT_TRUE(session.Started()) << session.Error();
        QFile::remove(QString::fromStdString(logPath));
        ASSERT_NO_FATAL_FAILURE(WriteTestSet());
        ASSERT_TRUE(session.StartProgram(KAVRINO_PROGRAM, KAVRINO_SOURCE_DIR));
    }

    // The full sample test set, copied so that the pages write into the copy, with a reference picture
    // for the region-of-interest page. Its configuration files are found from the folder the program
    // runs in, as the sample's are.
    void WriteTestSet() {
        QFile sample(QStringLiteral(KAVRINO_SOURCE_DIR "/samples/testset/full.ini"));
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        QByteArray text = sample.readAll();
        QImage picture(320, 240, QImage::Format_RGB888);
        picture.fill(QColor(40, 90, 200));
        const QString picturePath = QString::fromStdString(outputDir + "/reference.bmp");
        ASSERT_TRUE(picture.save(picturePath, "BMP"));
        text += "\n[ROI]\n" + QStringLiteral("이미지경로=").toUtf8() + picturePath.toUtf8() + "\n";
        QFile copy(QString::fromStdString(testSetPath));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(copy.write(text), text.size());
    }

    // Every window the desktop shows, for a failure message.
    std::string Windows() const { return session.WindowTitles().join(QStringLiteral(" | ")).toStdString(); }

    WindowId Window(const QString& title) {
        const WindowId w = session.WaitForWindow(title);
        EXPECT_NE(w, 0u) << "no window \"" << title.toStdString() << "\"; windows: " << Windows();
        return w;
    }

    void ClickControl(WindowId window, int templateId, int controlId) {
        session.Click(window, ControlCentre(templateId, controlId));
    }

    void ClickPageControl(int templateId, int controlId) {
        ASSERT_TRUE(session.Activate(mainWindow));
        session.Click(mainWindow, PageControlCentre(templateId, controlId));
    }

    // A window that comes up gets the focus by itself: the operator's keys go to it.
    void ExpectFocus(WindowId window) {
        EXPECT_TRUE(desktop::WaitUntil([&] { return session.ActiveWindow() == window; }, 30))
            << "the new window did not get the focus";
        ASSERT_TRUE(session.Activate(window));
    }

    // An application message box comes up and is closed with the key.
    void AnswerBox(const std::string& key) {
        const WindowId box = session.WaitForWindow(kBoxTitle);
        ASSERT_NE(box, 0u) << "no message box; windows: " << Windows();
        ASSERT_NO_FATAL_FAILURE(ExpectFocus(box));
        session.Key(key);
        ASSERT_TRUE(session.WaitForWindowGone(kBoxTitle)) << key << " did not close the message box";
    }

    // A part of the screen (screen coordinates) once it has settled: no message box is mapped, and two
    // pictures of it in a row, each taken after a round trip through the program (Sync), are the same.
    // A box that has just gone may still show until the program has drawn what it uncovered, and a
    // window may be half drawn; waiting on these states, never for a time, holds on a busy machine.
    // A null picture when the screen does not settle.
    QImage Settled(WindowId window, const std::function<QRect()>& area) {
        QImage last;
        QImage now;
        const bool settled = desktop::WaitUntil(
            [&] {
                if (session.FindWindow(kBoxTitle) != 0 || !session.Sync(window)) {
                    last = QImage();
                    return false;
                }
                now = session.Screen().copy(area());
                const bool same = !last.isNull() && now == last;
                last = now;
                return same;
            },
            60);
        return settled ? now : QImage();
    }

    // The page area of the main window once the screen has settled (null when it does not).
    QImage PageArea() {
        return Settled(mainWindow,
                       [&] { return kPageArea.translated(session.ClientRect(mainWindow).topLeft()); });
    }

    // The bare main window's page area, the reference the pages are told apart from.
    void TakeBareMain() {
        ASSERT_TRUE(session.Activate(mainWindow));
        bareMain = PageArea();
        ASSERT_FALSE(bareMain.isNull()) << "the main window did not settle; windows: " << Windows();
    }

    // Waits for the next page: the settled page area shows something else than before and than the bare
    // main window. The page as it shows then goes to *shown.
    void WaitForPage(const QImage& before, QImage* shown = nullptr) {
        QImage page;
        const bool came = desktop::WaitUntil(
            [&] {
                page = PageArea();
                return !page.isNull() && page != before && page != bareMain;
            },
            60);
        ASSERT_TRUE(came) << "no new page came up; windows: " << Windows();
        if (shown)
            *shown = page;
    }

    void StartLiveAndConfirm() {
        ASSERT_TRUE(session.Activate(mainWindow));
        ClickControl(mainWindow, kMain, 1000); // 연결
        ClickControl(mainWindow, kMain, 1005); // 영상 시작
        ASSERT_NO_FATAL_FAILURE(AnswerBox("Return"));
    }

    // Screenshots, logs and the log file go to the build folder, or where KAVRINO_DESKTOP_OUTPUT says
    // (so that several runs at once keep theirs apart).
    const std::string outputDir = qEnvironmentVariableIsEmpty("KAVRINO_DESKTOP_OUTPUT")
                                      ? std::string(DESKTOP_OUTPUT_DIR)
                                      : qEnvironmentVariable("KAVRINO_DESKTOP_OUTPUT").toStdString();
    const std::string logPath = outputDir + "/bench.log";
    const std::string testSetPath = outputDir + "/full.ini";
    DesktopSession session{outputDir};
    WindowId setupWindow = 0;
    WindowId mainWindow = 0;
    QRect setupPlace;
    QImage bareMain;
};

TEST_F(FirstRun, TheReadmeWalkWithKeyboardAndMouse) {
    // 1. The set-up window opens, whole on the screen, with "이름입력" selected in the name field: the
    //    name typed replaces it.
    setupWindow = Window(kSetupTitle);
    ASSERT_NE(setupWindow, 0u);
    ASSERT_NO_FATAL_FAILURE(ExpectFocus(setupWindow));
    setupPlace = session.ClientRect(setupWindow);
    EXPECT_TRUE(QRect(QPoint(0, 0), session.ScreenSize()).contains(session.FrameRect(setupWindow)));
    session.Shot("01-setup-window");
    session.Type("tester");

    // 2. Administrator login, then a new log file through the save dialog, accepted with Enter.
    // 관리자, clicked right of its label: the password field gets the focus, text selected.
    session.Click(setupWindow, RightOfLabel(kSetup, 1060));
    session.Type("plomek472");
    ClickControl(setupWindow, kSetup, 1069); // 관리자 등록
    ClickControl(setupWindow, kSetup, 1031); // 로그 파일 등록
    const WindowId save = Window(QStringLiteral("Save As"));
    ASSERT_NE(save, 0u);
    ASSERT_NO_FATAL_FAILURE(ExpectFocus(save));
    session.Type(logPath);
    session.Shot("02-save-dialog");
    session.Key("Return");
    ASSERT_TRUE(session.WaitForWindowGone(QStringLiteral("Save As")))
        << "Enter did not accept the save dialog";
    ASSERT_TRUE(desktop::WaitUntil([&] { return ReadLog(logPath).contains(QStringLiteral("[tester]")); }, 30))
        << "no operator line in the log: " << ReadLog(logPath).toStdString();
    session.Shot("03-log-registered");

    // 3. The full sample test set, through the open dialog.
    ClickControl(setupWindow, kSetup, 1034); // 검사 파일 불러오기
    const WindowId open = Window(QStringLiteral("Open"));
    ASSERT_NE(open, 0u);
    ASSERT_NO_FATAL_FAILURE(ExpectFocus(open));
    session.Type(testSetPath);
    session.Key("Return");
    if (!session.WaitForWindowGone(QStringLiteral("Open"))) {
        session.Shot("04-open-dialog-stayed");
        FAIL() << "Enter did not accept the open dialog; windows: " << Windows();
    }
    session.Shot("04-test-set-loaded");

    // 4. "검사 시작": the main window and the display window; "연결", "영상 시작", the frame-size box.
    ClickControl(setupWindow, kSetup, 1); // 검사 시작
    mainWindow = Window(kMainTitle);
    ASSERT_NE(mainWindow, 0u);
    const WindowId display = Window(kDisplayTitle);
    ASSERT_NE(display, 0u);
    EXPECT_TRUE(session.WaitForWindowGone(kSetupTitle))
        << "the set-up window stays while the main window runs";
    ASSERT_NO_FATAL_FAILURE(StartLiveAndConfirm());
    ASSERT_NO_FATAL_FAILURE(TakeBareMain());
    session.Shot("05-live");

    // 5. Message boxes close with Space and with Enter, twenty times in a row.
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(session.Activate(mainWindow));
        ClickControl(mainWindow, kMain, 1005); // 영상 정지
        ClickControl(mainWindow, kMain, 1005); // 영상 시작: "width = ...  height = ..."
        if (i == 0)
            session.Shot("06-frame-size-box");
        ASSERT_NO_FATAL_FAILURE(AnswerBox(i % 2 == 0 ? "space" : "Return"));
        ASSERT_TRUE(session.ProgramRunning()) << session.ProgramErrors();
    }
    session.Shot("07-twenty-boxes-closed");

    // 6. The display window takes the mouse while the main window is up: panning and its scroll bars.
    ASSERT_TRUE(session.Activate(display));
    const QRect view = session.ClientRect(display);
    // Away from the frame-rate text at the top left and from the scroll bars.
    const QRect picture = QRect(view.left() + 300, view.top() + 150, view.width() - 400, view.height() - 250);
    auto shownPicture = [&] { return Settled(display, [&] { return picture; }); };
    // Moved by more than a row of pixels: a settled picture against one before.
    auto movedFrom = [&](const QImage& before) {
        const QImage now = shownPicture();
        return !now.isNull() && desktop::DifferentPixels(now, before, now.rect()) > picture.width();
    };
    const QImage beforePan = shownPicture();
    ASSERT_FALSE(beforePan.isNull()) << "the display did not settle";
    session.Drag(view.center(), view.center() - QPoint(300, 200));
    EXPECT_TRUE(desktop::WaitUntil([&] { return movedFrom(beforePan); }, 30)) << "the display did not pan";
    const QImage beforeScroll = shownPicture();
    ASSERT_FALSE(beforeScroll.isNull()) << "the display did not settle";
    session.Shot("08-display-panned");
    // A click on the horizontal bar left of its thumb pages back.
    session.ClickScreen(QPoint(view.left() + 40, view.bottom() - 6));
    EXPECT_TRUE(desktop::WaitUntil([&] { return movedFrom(beforeScroll); }, 30))
        << "the display did not scroll";
    session.Shot("09-display-scrolled");
    EXPECT_NE(session.FindWindow(kMainTitle), 0u);

    // 7. "Grab One": a window of its own, whole on the screen, that can be activated, moved and closed
    //    while the main window is up; Alt+F4 closes it and nothing else.
    ASSERT_TRUE(session.Activate(mainWindow));
    ClickControl(mainWindow, kMain, 1144); // Grab One
    const WindowId grab = Window(kGrabOneTitle);
    ASSERT_NE(grab, 0u);
    ASSERT_TRUE(desktop::WaitUntil(
        [&] { return QRect(QPoint(0, 0), session.ScreenSize()).contains(session.FrameRect(grab)); }, 30))
        << "the Grab One window does not fit on the screen: its frame is " << session.FrameRect(grab).x()
        << "," << session.FrameRect(grab).y() << " " << session.FrameRect(grab).width() << "x"
        << session.FrameRect(grab).height();
    session.Shot("10-grab-one");
    ASSERT_TRUE(session.Activate(mainWindow));
    // A click on a part of it that the main window does not cover brings it up.
    const QRect grabRect = session.ClientRect(grab);
    const QRect mainFrame = session.FrameRect(mainWindow);
    const QPoint inside(grabRect.center().x(), std::max(grabRect.center().y(), mainFrame.bottom() + 30));
    ASSERT_TRUE(grabRect.contains(inside));
    session.ClickScreen(inside);
    EXPECT_TRUE(desktop::WaitUntil([&] { return session.ActiveWindow() == grab; }, 30))
        << "a click did not activate the Grab One window";
    ASSERT_TRUE(session.Activate(grab));
    // Its title bar moves it. A loaded machine may let the window manager miss the start of a drag, so
    // the operator's second try counts too.
    bool moved = false;
    for (int attempt = 0; attempt < 3 && !moved; ++attempt) {
        const QRect frame = session.FrameRect(grab);
        const QRect client = session.ClientRect(grab);
        const QPoint titleBar(frame.center().x(), frame.top() + (client.top() - frame.top()) / 2);
        session.Drag(titleBar, titleBar + QPoint(-60, -40));
        moved =
            desktop::WaitUntil([&] { return session.ClientRect(grab).topLeft() != grabRect.topLeft(); }, 10);
    }
    EXPECT_TRUE(moved) << "the Grab One window did not move";
    session.Shot("11-grab-one-moved");
    session.Key("alt+F4");
    EXPECT_TRUE(session.WaitForWindowGone(kGrabOneTitle));
    EXPECT_NE(session.FindWindow(kMainTitle), 0u) << "Alt+F4 on Grab One closed the main window";
    session.Shot("12-grab-one-closed");

    // 8. A run: the region-of-interest page and its steps, each with the frame-size box; then the main
    //    window is closed in the middle of the run and the set-up window comes back where it was.
    ASSERT_TRUE(session.Activate(mainWindow));
    ClickControl(mainWindow, kMain, 1003); // 검사 시작
    ASSERT_NO_FATAL_FAILURE(WaitForPage(bareMain));
    session.Shot("13-roi-page");
    ClickPageControl(kRoiPage, 1026); // Width 25%
    ASSERT_NO_FATAL_FAILURE(AnswerBox("space"));
    ClickPageControl(kRoiPage, 1034); // Height 75%
    ASSERT_NO_FATAL_FAILURE(AnswerBox("Return"));
    session.Shot("14-roi-steps");
    // A double-click on the reference picture shows it at full size, in one window however often the
    // operator asks for it.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(session.Activate(mainWindow));
        session.DoubleClick(mainWindow, PageControlCentre(kRoiPage, 1079));
        ASSERT_NE(Window(kReferenceTitle), 0u);
    }
    EXPECT_EQ(session.WindowTitles().count(kReferenceTitle), 1) << Windows();
    session.Shot("14b-reference-picture");
    ASSERT_TRUE(session.Activate(mainWindow));
    session.Key("alt+F4");
    ASSERT_TRUE(session.WaitForWindowGone(kMainTitle)) << "the main window did not close";
    EXPECT_TRUE(session.WaitForWindowGone(kDisplayTitle));
    EXPECT_TRUE(session.WaitForWindowGone(kReferenceTitle)) << "the reference picture stays: " << Windows();
    setupWindow = Window(kSetupTitle);
    ASSERT_NE(setupWindow, 0u) << "the set-up window did not come back";
    EXPECT_TRUE(desktop::WaitUntil([&] { return session.ClientRect(setupWindow) == setupPlace; }, 30))
        << "the set-up window came back elsewhere";
    session.Shot("15-setup-back");

    // 9. A second main window: a run from the alignment page, cancelled after its question; then a run
    //    from the test list's third last item: PASS refused while a step is untried, FAIL, PASS, the
    //    other checks, the report page and "검사 종료", which closes the main window with the display
    //    and the Grab One window.
    ASSERT_TRUE(session.Activate(setupWindow));
    ClickControl(setupWindow, kSetup, 1); // 검사 시작
    mainWindow = Window(kMainTitle);
    ASSERT_NE(mainWindow, 0u);
    ASSERT_NE(Window(kDisplayTitle), 0u);
    ASSERT_NO_FATAL_FAILURE(StartLiveAndConfirm());
    ASSERT_NO_FATAL_FAILURE(TakeBareMain());
    const QRect list = ControlRect(kMain, 1002);

    // The alignment page's question comes with Yes and No and nothing else: "n" answers No and the
    // page stays; from Yes, which has the focus, Tab goes round the two buttons and back, and Enter
    // there is Yes: the run goes on to the next page. Then the run is cancelled.
    session.Click(mainWindow, QPoint(list.center().x(), list.top() + 8)); // the list's first entry
    // Nine entries down: 얼라인검사.
    for (int i = 0; i < 9; ++i)
        session.Key("Down");
    ClickControl(mainWindow, kMain, 1003); // 검사 시작
    ASSERT_NO_FATAL_FAILURE(WaitForPage(bareMain));
    ClickPageControl(kAlignPage, 1031); // PASS: "검사를 진행하였습니까?"
    ASSERT_NE(session.WaitForWindow(kBoxTitle), 0u) << "no question; windows: " << Windows();
    session.Shot("15b-alignment-question");
    ASSERT_NO_FATAL_FAILURE(AnswerBox("n"));
    // The page as No left it, PASS with the focus.
    const QImage alignPage = PageArea();
    ASSERT_FALSE(alignPage.isNull()) << "the alignment page did not settle";
    ClickPageControl(kAlignPage, 1031);
    const WindowId question = Window(kBoxTitle);
    ASSERT_NE(question, 0u);
    ASSERT_NO_FATAL_FAILURE(ExpectFocus(question));
    session.Key("Tab");
    session.Key("Tab");
    ASSERT_NO_FATAL_FAILURE(AnswerBox("Return"));
    ASSERT_NO_FATAL_FAILURE(WaitForPage(alignPage));
    session.Shot("15c-after-the-alignment-page");
    ASSERT_TRUE(session.Activate(mainWindow));
    ClickControl(mainWindow, kMain, 1003); // 검사 취소
    ASSERT_TRUE(desktop::WaitUntil([&] { return PageArea() == bareMain; }, 30))
        << "the cancelled run left its page";

    // A frame grabbed before the run stays on screen while the run goes.
    ClickControl(mainWindow, kMain, 1144); // Grab One
    ASSERT_NE(Window(kGrabOneTitle), 0u);
    ASSERT_TRUE(session.Activate(mainWindow));
    session.Click(mainWindow, QPoint(list.center().x(), list.top() + 8)); // the list's first entry
    session.Key("End");
    session.Key("Up");
    session.Key("Up");
    ClickControl(mainWindow, kMain, 1003); // 검사 시작
    QImage page;
    ASSERT_NO_FATAL_FAILURE(WaitForPage(bareMain, &page));
    session.Shot("16-brightness-deviation-page");
    ClickPageControl(kBrightPage, 1031); // PASS with untried steps: "검사 안 한 항목"
    ASSERT_NO_FATAL_FAILURE(AnswerBox("Return"));
    ClickPageControl(kBrightPage, 1032); // FAIL
    ASSERT_NO_FATAL_FAILURE(WaitForPage(QImage(page), &page));
    session.Shot("17-centre-brightness-page");
    ClickPageControl(kCentrePage, 1031); // PASS
    ASSERT_NO_FATAL_FAILURE(WaitForPage(QImage(page), &page));
    // Noise FAIL, clicked right of the radio's label.
    ASSERT_TRUE(session.Activate(mainWindow));
    session.Click(mainWindow, kPageArea.topLeft() + RightOfLabel(kOtherChecksPage, 1087));
    // The supply current and voltage as the operator reads them off the meters.
    ClickPageControl(kOtherChecksPage, 1111);
    session.Type("500");
    ClickPageControl(kOtherChecksPage, 1112);
    session.Type("12");
    session.Shot("18-other-checks-page");
    ClickPageControl(kOtherChecksPage, 1); // 확인
    ASSERT_NO_FATAL_FAILURE(WaitForPage(QImage(page)));
    session.Shot("19-report-page");
    ClickPageControl(kReportPage, 1); // 검사 종료
    ASSERT_TRUE(session.WaitForWindowGone(kMainTitle)) << "the main window stays after 검사 종료";
    // The run's pictures go with it.
    EXPECT_TRUE(session.WaitForWindowGone(kGrabOneTitle)) << "the Grab One window stays after the run";
    EXPECT_TRUE(session.WaitForWindowGone(kDisplayTitle));
    setupWindow = Window(kSetupTitle);
    ASSERT_NE(setupWindow, 0u);
    session.Shot("20-setup-after-the-run");
    const QString log = ReadLog(logPath);
    EXPECT_TRUE(log.contains(QStringLiteral("=====>"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("검사항목 : 휘도편차\r\n결    과 : FAIL"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("검사항목 : 휘도\r\n결    과 : PASS"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("검사항목 : 노이즈\r\n결    과 : FAIL"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("검사항목 : 전류\r\n결    과 : PASS"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("검사항목 : 전압\r\n결    과 : PASS"))) << log.toStdString();

    // 10. 작업자, clicked right of its label, leaves edit mode: "로그 파일 등록" is disabled again.
    ASSERT_TRUE(session.Activate(setupWindow));
    const QRect registerLog = ControlRect(kSetup, 1031).translated(session.ClientRect(setupWindow).topLeft());
    auto registerButton = [&] { return Settled(setupWindow, [&] { return registerLog; }); };
    const QImage editMode = registerButton();
    ASSERT_FALSE(editMode.isNull()) << "the set-up window did not settle";
    session.Click(setupWindow, RightOfLabel(kSetup, 1059));
    EXPECT_TRUE(desktop::WaitUntil(
        [&] {
            const QImage now = registerButton();
            return !now.isNull() && now != editMode;
        },
        30))
        << "a click right of \"작업자 :\" did not choose the operator";
    session.Shot("21-operator-again");

    // 11. Closing the set-up window ends the program: exit code 0 and nothing on the error output.
    session.Key("alt+F4");
    int status = -1;
    bool signalled = false;
    ASSERT_TRUE(session.WaitForExit(120, &status, &signalled))
        << "the program did not end; windows: " << Windows();
    EXPECT_FALSE(signalled) << "ended by signal " << status;
    EXPECT_EQ(status, 0);
    EXPECT_EQ(session.ProgramErrors(), "");
}

} // namespace
