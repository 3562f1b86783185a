// Messages from other programs: finding windows as another program does, posting through the client
// process, bad requests, a flood, two programs with their own endpoints, and endpoints left behind.

#include "PostClientProcess.h"
#include "PostEndpoint.h"
#include "PostRequest.h"
#include "UiInternal.h"
#include "UiTestSupport.h"

#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <vector>

using posttest::ClientRun;
using posttest::ListenerScope;

namespace {

constexpr UINT WM_PROBE = 0x812C; // WM_KEYPAD, a message other programs may send

// A window that records the probe messages it gets.
class ProbeDlg : public CDialog {
public:
    explicit ProbeDlg(UINT id) : CDialog(id) {}
    struct Received {
        WPARAM wParam;
        LPARAM lParam;
        bool onUiThread;
    };
    std::vector<Received> received;

    LRESULT OnProbe(WPARAM wParam, LPARAM lParam) {
        received.push_back({wParam, lParam, kavrino::IsUiThread()});
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeDlg, CDialog)
ON_MESSAGE(WM_PROBE, &ProbeDlg::OnProbe)
END_MESSAGE_MAP()

std::string Hex(HWND hwnd) {
    return QString::number(reinterpret_cast<quintptr>(hwnd), 16).toUpper().prepend("0x").toStdString();
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

// A main window "Movrane" with a hidden page as its child.
class PostListenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        ASSERT_TRUE(m_main.Create(102u, nullptr));
        m_main.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_page.Create(148u, &m_main));
    }
    void TearDown() override {
        m_page.DestroyWindow();
        m_main.DestroyWindow();
        uitest::Settle();
    }
    QString Dir() const { return m_temp.filePath("post"); }
    ClientRun PostProbe(QStringList target, const QString& lParam = "0") {
        return posttest::Post(Dir(), target << "--message"
                                            << "WM_KEYPAD"
                                            << "--lparam" << lParam);
    }
    // Lets the posted messages reach their windows.
    void Deliver() {
        for (int i = 0; i < 5; ++i)
            kavrino::ProcessUiEvents();
    }

    QTemporaryDir m_temp;
    ProbeDlg m_main{102u};
    ProbeDlg m_page{148u};
};

} // namespace

TEST_F(PostListenerTest, FindWindowFindsWindowsAsAnotherProgramDoes) {
    // The display window: a pop-up the main window owns, a top-level window of its own.
    CDialog popup(134u);
    ASSERT_TRUE(popup.Create(134u, &m_main));
    EXPECT_EQ(FindWindow(L"#32770", L"Movrane"), m_main.m_hWnd);
    EXPECT_EQ(FindWindow(nullptr, L"Display Window"), popup.m_hWnd);
    EXPECT_EQ(FindWindow(L"Button", L"Movrane"), nullptr);
    // The main window's children: the page, not the pop-up it owns.
    EXPECT_EQ(FindWindowEx(m_main.m_hWnd, nullptr, L"#32770", nullptr), m_page.m_hWnd);
    EXPECT_EQ(FindWindowEx(m_main.m_hWnd, m_page.m_hWnd, L"#32770", nullptr), nullptr);
    const HWND connect = FindWindowEx(m_main.m_hWnd, nullptr, L"BUTTON", L"연결");
    EXPECT_EQ(GetDlgCtrlID(connect), 1000);
    wchar_t name[32] = {};
    EXPECT_EQ(GetClassName(m_page.GetDlgItem(1111)->m_hWnd, name, 32), 4);
    EXPECT_STREQ(name, L"Edit");
    // Visible only with every parent.
    EXPECT_FALSE(IsWindowVisible(m_page.m_hWnd));
    m_page.ShowWindow(SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(m_page.m_hWnd));
    m_main.ShowWindow(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(m_page.m_hWnd));
    popup.DestroyWindow();
    EXPECT_EQ(FindWindow(nullptr, L"Display Window"), nullptr);
}

TEST_F(PostListenerTest, AnotherProgramPostsToAWindowAndItArrivesOnTheUserInterfaceThread) {
    ListenerScope listener(Dir());
    const ClientRun run =
        posttest::Post(Dir(), {"--class", "#32770", "--caption", "Movrane", "--message", "WM_KEYPAD",
                               "--wparam", "0xFFFFFFFFFFFFFFFF", "--lparam", "-2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "ok posted to " + Hex(m_main.m_hWnd));
    ASSERT_TRUE(kavrino::PumpUntil([&] { return m_main.received.size() == 1; }));
    EXPECT_EQ(m_main.received[0].wParam, ~WPARAM(0));
    EXPECT_EQ(m_main.received[0].lParam, -2);
    EXPECT_TRUE(m_main.received[0].onUiThread);

    // The hidden page is found, but not as a shown one; by its handle it is found again.
    const ClientRun hidden = PostProbe({"--caption", "Movrane", "--child", "--class", "#32770", "--visible"});
    EXPECT_EQ(hidden.exitCode, 1);
    EXPECT_EQ(hidden.out,
              "error no-window: no child window of " + Hex(m_main.m_hWnd) + " with class=#32770 visible");
    EXPECT_EQ(PostProbe({"--caption", "Movrane", "--child", "--class", "#32770"}, "7").exitCode, 0);
    EXPECT_EQ(PostProbe({"--hwnd", QString::fromStdString(Hex(m_page.m_hWnd))}, "9").exitCode, 0);
    ASSERT_TRUE(kavrino::PumpUntil([&] { return m_page.received.size() == 2; }));
    EXPECT_EQ(m_page.received[0].lParam, 7);
    EXPECT_EQ(m_page.received[1].lParam, 9);
}

TEST_F(PostListenerTest, BadRequestsAreRefusedWithTheirReasonAndChangeNothing) {
    ListenerScope listener(Dir());
    HWND gone = nullptr;
    {
        CDialog page(148u);
        ASSERT_TRUE(page.Create(148u, &m_main));
        gone = page.m_hWnd;
        page.DestroyWindow();
    }
    m_page.SetDlgItemText(1111, L"120");
    const std::string pid = std::to_string(::getpid());
    const struct {
        QStringList args;
        QByteArray input; // for --raw
        int exitCode;
        std::string reply;
    } cases[] = {
        {{"--raw"}, QByteArray("\x00\xFF\xFE junk\n", 9), 1, "error malformed: control byte 0x00 at byte 0"},
        {{"--raw"}, QByteArray(3000, 'x'), 1, "error too-long: request longer than 1024 bytes"},
        {{"--raw"},
         QByteArray(1500, ' ') + "post msg=WM_APP+300 window caption=Movrane\n",
         1,
         "error too-long"},
        {{"--raw"},
         "post msg=WM_APP+300 window caption=Movrane",
         1,
         "error truncated: no complete request within 2 s"},
        {{"--raw"},
         "post msg=WM_APP+300 window caption=Movrane\npost msg=WM_APP+300 window caption=Movrane\n",
         1,
         "error malformed: data after the end of the request: one request per connection"},
        {{"--caption", "Movrane", "--message", "WM_BOGUS"},
         {},
         1,
         "error malformed: message 'WM_BOGUS' is not a number, WM_USER+n or WM_APP+n"},
        {{"--caption", "Movrane", "--message", "WM_KEYPAD", "--lparam", "8 9"},
         {},
         1,
         "error malformed: lparam '8%209' is not a number"},
        {{"--caption", "Movrane", "--message", "0x0010"},
         {},
         1,
         "error refused: message 0x0010 is the window"},
        {{"--caption", "Movrane", "--message", "WM_APP+0x101"},
         {},
         1,
         "error refused: message 0x8101 is not one the program takes from outside"},
        {{"--caption", "Movrane", "--child", "--id", "abc", "--message", "WM_KEYPAD"},
         {},
         1,
         "error malformed: id 'abc' is not a control id (0 to 65535)"},
        {{"--visible", "--message", "WM_KEYPAD"}, {}, 1, "error malformed: 'window' step names no window"},
        {{"--caption", "Nowhere", "--message", "WM_KEYPAD"},
         {},
         1,
         "error no-window: no top-level window with caption=\"Nowhere\""},
        {{"--hwnd", QString::fromStdString(Hex(gone)), "--message", "WM_KEYPAD"},
         {},
         1,
         "error no-window: window hwnd=" + Hex(gone) + " has gone"},
        {{"--caption", "Movrane", "--message", "WM_KEYPAD", "--child"},
         {},
         1,
         "error malformed: a 'child' step names no window"},
        {{"--child", "--id", "5", "--message", "WM_KEYPAD"}, {}, 2, ""},
        {{"--caption", "Movrane"}, {}, 2, ""},
    };
    for (const auto& c : cases) {
        QStringList args = c.args;
        args.prepend(QString::fromStdString(pid));
        args.prepend("--pid");
        const ClientRun run = posttest::RunClient(Dir(), args, c.input);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString() << ": " << run.err;
        EXPECT_TRUE(StartsWith(run.out, c.reply)) << c.args.join(' ').toStdString() << ": " << run.out;
    }
    Deliver();
    EXPECT_TRUE(m_main.received.empty());
    EXPECT_TRUE(m_page.received.empty());
    EXPECT_EQ(m_page.GetWindowTextLength(), 0);
    CString text;
    m_page.GetDlgItemText(1111, text);
    EXPECT_EQ(text, L"120");
    // And the program still answers.
    EXPECT_EQ(PostProbe({"--caption", "Movrane"}).exitCode, 0);
}

TEST_F(PostListenerTest, TooManyConnectionsAndWaitingMessagesAreTurnedAway) {
    ListenerScope listener(Dir());
    const QString endpoint = QString::fromStdString(kavrino::PostListenerEndpoint());
    // Eight connections that send nothing hold every place; the ninth is turned away at once.
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < 8; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(endpoint);
    }
    ASSERT_TRUE(kavrino::PumpUntil([&] {
        for (const auto& s : idle)
            if (s->state() != QLocalSocket::ConnectedState)
                return false;
        return true;
    }));
    uitest::Settle();
    const ClientRun ninth = PostProbe({"--caption", "Movrane"});
    EXPECT_EQ(ninth.out, "error busy: too many connections at once");
    // Those that never finish their request are answered and closed.
    ASSERT_TRUE(kavrino::PumpUntil([&] { return idle[0]->canReadLine(); }, 20000));
    EXPECT_TRUE(StartsWith(idle[0]->readLine().toStdString(), "error truncated:"));
    EXPECT_EQ(PostProbe({"--caption", "Movrane"}).exitCode, 0);
    Deliver();
    ASSERT_EQ(m_main.received.size(), 1u);

    // Messages that wait for their window are bounded too.
    m_main.received.clear();
    int posted = 0, busy = 0;
    for (int i = 0; i < 70; ++i) {
        const std::string reply =
            kavrino::CarryOutPostRequest("post msg=WM_APP+300 window caption=Movrane\n");
        posted += StartsWith(reply, "ok posted to ") ? 1 : 0;
        busy += reply == "error busy: 64 messages from other programs still wait for their window\n" ? 1 : 0;
    }
    EXPECT_EQ(posted, 64);
    EXPECT_EQ(busy, 6);
    Deliver();
    EXPECT_EQ(m_main.received.size(), 64u);
    EXPECT_TRUE(
        StartsWith(kavrino::CarryOutPostRequest("post msg=WM_APP+300 window caption=Movrane\n"), "ok "));
}

TEST_F(PostListenerTest, AFloodIsBoundedAndTheUserInterfaceKeepsRunning) {
    ListenerScope listener(Dir());
    const std::string endpoint = kavrino::PostListenerEndpoint();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);

    constexpr int kThreads = 6, kEach = 60;
    std::atomic<int> ok{0}, busy{0}, malformed{0}, unanswered{0}, finished{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> flood;
    for (int t = 0; t < kThreads; ++t)
        flood.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                const bool junk = (i + t) % 3 == 0;
                std::string reply, reason;
                if (!kavrino::ExchangePostRequest(
                        endpoint, junk ? "\x7F\x01 junk\n" : "post msg=WM_APP+300 window caption=Movrane\n",
                        10000, reply, reason))
                    ++unanswered;
                else if (StartsWith(reply, "ok posted to "))
                    ++ok;
                else if (StartsWith(reply, "error busy: "))
                    ++busy;
                else if (StartsWith(reply, "error malformed: "))
                    ++malformed;
            }
            ++finished;
        });
    const int ticksBefore = ticks;
    const bool done = kavrino::PumpUntil([&] { return finished == kThreads; }, 100000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (std::thread& t : flood)
        t.join();
    ASSERT_TRUE(done);
    // Every request had its answer; the timer went on ticking meanwhile.
    EXPECT_EQ(ok + busy + malformed, kThreads * kEach);
    EXPECT_EQ(unanswered, 0);
    EXPECT_GT(ticks, ticksBefore);
    // At most a hundred requests a second are carried out; every one posted exactly one message.
    EXPECT_LE(ok + malformed, 100 * (static_cast<int>(seconds) + 1));
    Deliver();
    EXPECT_EQ(static_cast<int>(m_main.received.size()), ok.load());
    // Once the second has passed, the program answers as before.
    EXPECT_TRUE(kavrino::PumpUntil([&] { return PostProbe({"--caption", "Movrane"}).exitCode == 0; }, 100));
}

TEST_F(PostListenerTest, TwoProgramsKeepTheirOwnEndpointsAndOneLeftBehindBlocksNothing) {
    ListenerScope listener(Dir());
    const std::string self = kavrino::PostListenerEndpoint();
    auto startProgram = [&](QProcess& program) {
        program.setProcessEnvironment(posttest::EnvironmentFor(Dir()));
        program.start(posttest::kProgram, QStringList());
        EXPECT_TRUE(program.waitForStarted());
        const std::string path = kavrino::PostEndpointPath(Dir().toStdString(), program.processId());
        EXPECT_TRUE(kavrino::PumpUntil([&] { return !kavrino::IsStalePostEndpoint(path); }, 20000));
        return path;
    };
    auto waitEnded = [](QProcess& program) {
        return kavrino::PumpUntil([&] { return program.state() == QProcess::NotRunning; }, 20000);
    };
    QProcess other;
    const std::string otherPath = startProgram(other);
    const QString otherPid = QString::number(other.processId());

    // Listed by process id.
    std::vector<std::string> lines = {std::to_string(::getpid()) + " " + self,
                                      otherPid.toStdString() + " " + otherPath};
    if (other.processId() < ::getpid())
        std::swap(lines[0], lines[1]);
    EXPECT_EQ(posttest::RunClient(Dir(), {"--list"}).out, lines[0] + "\n" + lines[1]);
    const ClientRun which = posttest::RunClient(Dir(), {"--caption", "Movrane", "--message", "WM_KEYPAD"});
    EXPECT_EQ(which.exitCode, 2);
    EXPECT_NE(which.err.find("2 programs are running; choose one with --pid"), std::string::npos)
        << which.err;
    // Each program answers for its own windows: the other one shows its set-up window, this one has none.
    const QStringList setup = {"--caption", "검사항목 편집 창", "--message", "WM_KEYPAD"};
    EXPECT_EQ(posttest::RunClient(Dir(), QStringList{"--pid", otherPid} + setup).exitCode, 0);
    EXPECT_TRUE(StartsWith(posttest::Post(Dir(), setup).out, "error no-window: "));
    EXPECT_EQ(PostProbe({"--caption", "Movrane"}).exitCode, 0);

    // Ended by a signal, the other program removes its endpoint.
    other.terminate();
    ASSERT_TRUE(waitEnded(other));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(otherPath)));

    // Killed, it leaves its endpoint behind: the client passes it by, and the next start removes it.
    QProcess killed;
    const std::string killedPath = startProgram(killed);
    killed.kill();
    ASSERT_TRUE(waitEnded(killed));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(killedPath)));
    EXPECT_EQ(posttest::RunClient(Dir(), {"--list"}).out, std::to_string(::getpid()) + " " + self);
    EXPECT_EQ(posttest::RunClient(Dir(), {"--caption", "Movrane", "--message", "WM_KEYPAD"}).exitCode, 0);
    kavrino::StopPostListener();
    std::string reason;
    ASSERT_TRUE(kavrino::StartPostListener(reason, Dir().toStdString())) << reason;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(killedPath)));

    // A socket nobody listens at under this program's own name does not stop it from listening.
    kavrino::StopPostListener();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, self.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(kavrino::IsStalePostEndpoint(self));
    ASSERT_TRUE(kavrino::StartPostListener(reason, Dir().toStdString())) << reason;
    EXPECT_EQ(PostProbe({"--caption", "Movrane"}).exitCode, 0);
    Deliver();
    EXPECT_EQ(m_main.received.size(), 3u);
}

TEST_F(PostListenerTest, OnlyThisUserMayReachTheEndpoint) {
    // A directory others may enter, or a link in place of one, is refused; the program then has no endpoint.
    // A directory open to the group is open to others too, whatever the group may do there, and so is one
    // open to the rest but not to the group.
    const QString open = m_temp.filePath("open");
    ASSERT_TRUE(QDir().mkdir(open));
    std::string reason;
    for (const mode_t mode : {0755, 0750, 0770, 0740, 0720, 0710, 0705, 0703, 0701}) {
        SCOPED_TRACE(mode);
        ASSERT_EQ(::chmod(open.toUtf8().constData(), mode), 0);
        EXPECT_FALSE(kavrino::StartPostListener(reason, open.toStdString()));
        EXPECT_NE(reason.find("may be entered by other users (its mode must be 0700)"), std::string::npos)
            << reason;
        // The client refuses it the same way.
        reason.clear();
        EXPECT_FALSE(kavrino::CheckPostDirectory(open.toStdString(), reason));
        EXPECT_NE(reason.find("its mode must be 0700"), std::string::npos) << reason;
    }
    ASSERT_TRUE(QDir().mkdir(Dir()));
    ASSERT_EQ(::chmod(Dir().toUtf8().constData(), 0700), 0);
    ASSERT_TRUE(QFile::link(Dir(), m_temp.filePath("link")));
    EXPECT_FALSE(kavrino::StartPostListener(reason, m_temp.filePath("link").toStdString()));
    EXPECT_NE(reason.find("is not a directory"), std::string::npos) << reason;
    EXPECT_FALSE(kavrino::IsPostListening());

    ListenerScope listener(Dir());
    struct stat st {};
    ASSERT_EQ(::lstat(kavrino::PostListenerEndpoint().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_TRUE(StartsWith(kavrino::PostListenerEndpoint(), Dir().toStdString() + "/kavrino-"));
}
