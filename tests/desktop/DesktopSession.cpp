#include "DesktopSession.h"

#include <QStringList>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Xlib last: its macros (None, KeyPress, ...) would clash with Qt's names above.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

extern char** environ;

namespace desktop {

namespace {

// Windows go away while they are looked at; a failed request is no reason to stop.
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

Display* Dpy(void* display) {
    return static_cast<Display*>(display);
}

// A window property as 32-bit items (the X library hands them over as longs).
std::vector<unsigned long> CardinalProperty(Display* dpy, Window window, const char* name, Atom type) {
    std::vector<unsigned long> values;
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, window, XInternAtom(dpy, name, False), 0, 4096, False, type, &actualType,
                           &format, &count, &after, &data) == Success &&
        data) {
        if (format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            values.assign(items, items + count);
        }
        XFree(data);
    }
    return values;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool StopProcess(pid_t pid, int seconds, int* status) {
    if (pid <= 0)
        return true;
    kill(pid, SIGTERM);
    const bool ended = WaitUntil([&] { return waitpid(pid, status, WNOHANG) == pid; }, seconds);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, status, 0);
    }
    return ended;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

int DifferentPixels(const QImage& a, const QImage& b, const QRect& area) {
    const QRect r = area.intersected(a.rect()).intersected(b.rect());
    int different = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            if ((rowA[x] & 0xFFFFFF) != (rowB[x] & 0xFFFFFF))
                ++different;
    }
    return different;
}

DesktopSession::DesktopSession(const std::string& outputDir) : m_outputDir(outputDir) {
    mkdir(m_outputDir.c_str(), 0755);
    // The desktop's own home: no settings of whoever runs the tests reach the window manager or the
    // program.
    m_home = m_outputDir + "/home";
    mkdir(m_home.c_str(), 0700);
    mkdir((m_home + "/runtime").c_str(), 0700);

    // The X server picks a free display itself and writes its number to the pipe.
    int fds[2];
    if (pipe(fds) != 0) {
        m_error = "no pipe for the X server";
        return;
    }
    m_server = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1920x1080x24",
                      "-nolisten", "tcp", "-noreset"},
                     Environment({}), m_outputDir, m_outputDir + "/xvfb.log", fds[1]);
    close(fds[1]);
    std::string number;
    pollfd pfd{fds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        if (poll(&pfd, 1, 200) > 0) {
            char buffer[32];
            const ssize_t n = read(fds[0], buffer, sizeof(buffer));
            if (n <= 0)
                break;
            number.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        m_error = "the X server did not start (see xvfb.log)";
        return;
    }
    m_displayName = ":" + number.substr(0, number.find('\n'));

    XSetErrorHandler(IgnoreXErrors);
    Display* dpy = nullptr;
    WaitUntil([&] { return (dpy = XOpenDisplay(m_displayName.c_str())) != nullptr; }, 60);
    if (!dpy) {
        m_error = "cannot connect to the X server " + m_displayName;
        return;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(dpy, &event, &error, &major, &minor)) {
        XCloseDisplay(dpy);
        m_error = "the X server has no XTest";
        return;
    }

    m_windowManager = Spawn({"openbox"}, Environment({{"DISPLAY", m_displayName}, {"HOME", m_home}}),
                            m_outputDir, m_outputDir + "/openbox.log");
    const Window root = DefaultRootWindow(dpy);
    const bool managed = WaitUntil(
        [&] { return !CardinalProperty(dpy, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW).empty(); }, 60);
    if (!managed) {
        XCloseDisplay(dpy);
        m_error = "the window manager did not start (see openbox.log)";
        return;
    }
    Display* sync = XOpenDisplay(m_displayName.c_str());
    if (!sync) {
        XCloseDisplay(dpy);
        m_error = "cannot connect to the X server " + m_displayName + " a second time";
        return;
    }
    // Qt sends its answer to a ping to the root window, for those who listen to the root's structure.
    XSelectInput(sync, DefaultRootWindow(sync), StructureNotifyMask);
    m_syncDisplay = sync;
    m_display = dpy;
}

DesktopSession::~DesktopSession() {
    int status = 0;
    if (m_program > 0 && !m_programEnded)
        StopProcess(m_program, 10, &status);
    if (m_display)
        XCloseDisplay(Dpy(m_display));
    if (m_syncDisplay)
        XCloseDisplay(Dpy(m_syncDisplay));
    StopProcess(m_windowManager, 10, &status);
    StopProcess(m_server, 10, &status);
}

std::vector<std::string>
DesktopSession::Environment(const std::vector<std::pair<std::string, std::string>>& overrides) const {
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = name == "SESSION_MANAGER"; // no session of the desktop that runs the tests
        for (const auto& o : overrides)
            replaced = replaced || o.first == name;
        if (!replaced)
            env.push_back(entry);
    }
    for (const auto& o : overrides)
        env.push_back(o.first + "=" + o.second);
    return env;
}

pid_t DesktopSession::Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                            const std::string& dir, const std::string& logFile, int keepFd) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // The child: its own process group, output to its log, no descriptors of the test but the one kept.
    setpgid(0, 0);
    if (chdir(dir.c_str()) != 0)
        _exit(126);
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(log, 1);
    dup2(log, 2);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            close(fd);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
}

QSize DesktopSession::ScreenSize() const {
    if (!m_display)
        return QSize();
    Display* dpy = Dpy(m_display);
    return QSize(DisplayWidth(dpy, DefaultScreen(dpy)), DisplayHeight(dpy, DefaultScreen(dpy)));
}

bool DesktopSession::StartProgram(const std::string& program, const std::string& workDir) {
    std::vector<std::pair<std::string, std::string>> overrides = {
        {"DISPLAY", m_displayName},
        {"QT_QPA_PLATFORM", "xcb"},
        {"HOME", m_home},
        {"XDG_RUNTIME_DIR", m_home + "/runtime"},
    };
    // A sanitizer build of the program (the options are ignored by a plain build) checks what the suite's
    // runs check, whatever the caller exported: the caller's options come after those defaults and may
    // change them, but not what the test needs, which comes last. The system's libraries are reported
    // only through the suppression files, and silently: the list of suppressions used is no report, yet
    // LeakSanitizer prints it on the error output the test requires to be empty. The libraries have no
    // frame pointers: their allocations are traced through the unwind tables, so that a leak is seen to
    // be a library's.
    auto withOptions = [](const char* name, const std::string& defaults, const std::string& needed) {
        const char* given = getenv(name);
        std::string options = defaults;
        for (const std::string& more : {std::string(given ? given : ""), needed})
            if (!more.empty())
                options += (options.empty() ? "" : ":") + more;
        return std::make_pair(std::string(name), options);
    };
    const std::string suppressions = std::string("suppressions=") + DESKTOP_SUPPRESSIONS_DIR + "/";
    overrides.push_back(withOptions("ASAN_OPTIONS", "detect_leaks=1:strict_string_checks=1",
                                    "fast_unwind_on_malloc=0:" + suppressions + "asan.supp"));
    overrides.push_back(withOptions("LSAN_OPTIONS", "", suppressions + "lsan.supp:print_suppressions=0"));
    overrides.push_back(withOptions("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1", ""));
    overrides.push_back(
        withOptions("TSAN_OPTIONS", "second_deadlock_stack=1",
                    std::string("suppressions=") + KAVRINO_SOURCE_DIR + "/scripts/tsan.supp"));
    m_programEnded = false;
    m_program = Spawn({program}, Environment(overrides), workDir, m_outputDir + "/program-stderr.log");
    return m_program > 0;
}

bool DesktopSession::ProgramRunning() {
    if (m_program <= 0 || m_programEnded)
        return false;
    if (waitpid(m_program, &m_programStatus, WNOHANG) == m_program) {
        m_programEnded = true;
        return false;
    }
    return true;
}

bool DesktopSession::WaitForExit(int seconds, int* exitStatus, bool* signalled) {
    const bool ended = WaitUntil([&] { return !ProgramRunning(); }, seconds);
    if (!ended)
        return false;
    *signalled = WIFSIGNALED(m_programStatus);
    *exitStatus = WIFEXITED(m_programStatus) ? WEXITSTATUS(m_programStatus) : WTERMSIG(m_programStatus);
    return true;
}

std::string DesktopSession::ProgramErrors() const {
    return ReadFile(m_outputDir + "/program-stderr.log");
}

std::vector<WindowId> DesktopSession::ClientList() const {
    Display* dpy = Dpy(m_display);
    return CardinalProperty(dpy, DefaultRootWindow(dpy), "_NET_CLIENT_LIST", XA_WINDOW);
}

QString DesktopSession::Title(WindowId window) const {
    Display* dpy = Dpy(m_display);
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(dpy, window, XInternAtom(dpy, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(dpy, "UTF8_STRING", False), &actualType, &format, &count, &after,
                           &data) == Success &&
        data) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<int>(count));
        XFree(data);
    }
    return title;
}

WindowId DesktopSession::FindWindow(const QString& title) const {
    for (WindowId w : ClientList())
        if (Title(w) == title)
            return w;
    return 0;
}

WindowId DesktopSession::WaitForWindow(const QString& title, int seconds) const {
    WindowId found = 0;
    WaitUntil([&] { return (found = FindWindow(title)) != 0; }, seconds);
    return found;
}

bool DesktopSession::WaitForWindowGone(const QString& title, int seconds) const {
    return WaitUntil([&] { return FindWindow(title) == 0; }, seconds);
}

QStringList DesktopSession::WindowTitles() const {
    QStringList titles;
    for (WindowId w : ClientList())
        titles << Title(w);
    return titles;
}

QRect DesktopSession::ClientRect(WindowId window) const {
    Display* dpy = Dpy(m_display);
    XWindowAttributes attributes{};
    if (!window || !XGetWindowAttributes(dpy, window, &attributes))
        return QRect();
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(dpy, window, DefaultRootWindow(dpy), 0, 0, &x, &y, &child))
        return QRect();
    return QRect(x, y, attributes.width, attributes.height);
}

QRect DesktopSession::FrameRect(WindowId window) const {
    const QRect client = ClientRect(window);
    const std::vector<unsigned long> extents =
        CardinalProperty(Dpy(m_display), window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (client.isEmpty() || extents.size() != 4)
        return client;
    return client.adjusted(-static_cast<int>(extents[0]), -static_cast<int>(extents[2]),
                           static_cast<int>(extents[1]), static_cast<int>(extents[3]));
}

WindowId DesktopSession::ActiveWindow() const {
    Display* dpy = Dpy(m_display);
    const std::vector<unsigned long> active =
        CardinalProperty(dpy, DefaultRootWindow(dpy), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    return active.empty() ? 0 : active[0];
}

bool DesktopSession::Activate(WindowId window, int seconds) const {
    Display* dpy = Dpy(m_display);
    auto request = [&] {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2; // from a pager: the user's own request
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, DefaultRootWindow(dpy), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        XFlush(dpy);
    };
    request();
    int tries = 0;
    return WaitUntil(
        [&] {
            if (ActiveWindow() == window)
                return true;
            if (++tries % 20 == 0)
                request();
            return false;
        },
        seconds);
}

bool DesktopSession::Sync(WindowId window, int seconds) const {
    Display* dpy = Dpy(m_syncDisplay);
    if (!dpy || !window)
        return false;
    const Atom protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(dpy, "_NET_WM_PING", False);
    // The ping's time stamp names this round trip; far above the window manager's own ping numbers.
    const long token = 0x6B000000L + ++m_lastPing;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping);
    event.xclient.data.l[1] = token;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(dpy, window, False, NoEventMask, &event);
    XFlush(dpy);
    // The answer goes to the root window; everything else that happens there is passed over.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(dpy) > 0) {
            XEvent answer{};
            XNextEvent(dpy, &answer);
            if (answer.type == ClientMessage && answer.xclient.message_type == protocols &&
                static_cast<Atom>(answer.xclient.data.l[0]) == ping && answer.xclient.data.l[1] == token)
                return true;
        }
        pollfd pfd{ConnectionNumber(dpy), POLLIN, 0};
        poll(&pfd, 1, 100);
    }
    return false;
}

void DesktopSession::Pause(int milliseconds) const {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void DesktopSession::MoveMouse(QPoint screen) const {
    Display* dpy = Dpy(m_display);
    XTestFakeMotionEvent(dpy, -1, screen.x(), screen.y(), CurrentTime);
    XSync(dpy, False);
}

void DesktopSession::PressAndRelease(int holdMilliseconds) const {
    Display* dpy = Dpy(m_display);
    XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
    XSync(dpy, False);
    Pause(holdMilliseconds);
    XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    XSync(dpy, False);
}

void DesktopSession::ClickScreen(QPoint screen) const {
    MoveMouse(screen);
    Pause(40);
    PressAndRelease(40);
    Pause(80);
}

void DesktopSession::Click(WindowId window, QPoint client) const {
    ClickScreen(ClientRect(window).topLeft() + client);
}

void DesktopSession::DoubleClick(WindowId window, QPoint client) const {
    MoveMouse(ClientRect(window).topLeft() + client);
    Pause(40);
    PressAndRelease(30);
    Pause(30);
    PressAndRelease(30);
    Pause(80);
}

void DesktopSession::Drag(QPoint fromScreen, QPoint toScreen, int steps) const {
    Display* dpy = Dpy(m_display);
    MoveMouse(fromScreen);
    Pause(40);
    XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
    XSync(dpy, False);
    for (int i = 1; i <= steps; ++i) {
        Pause(30);
        MoveMouse(fromScreen + (toScreen - fromScreen) * i / steps);
    }
    Pause(40);
    XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    XSync(dpy, False);
    Pause(80);
}

void DesktopSession::Key(const std::string& combination) const {
    Display* dpy = Dpy(m_display);
    std::vector<KeyCode> codes;
    std::stringstream parts(combination);
    std::string part;
    while (std::getline(parts, part, '+')) {
        KeySym sym = part == "alt"     ? XK_Alt_L
                     : part == "ctrl"  ? XK_Control_L
                     : part == "shift" ? XK_Shift_L
                                       : XStringToKeysym(part.c_str());
        codes.push_back(XKeysymToKeycode(dpy, sym));
    }
    for (KeyCode code : codes) {
        XTestFakeKeyEvent(dpy, code, True, CurrentTime);
        XSync(dpy, False);
        Pause(20);
    }
    for (auto it = codes.rbegin(); it != codes.rend(); ++it) {
        XTestFakeKeyEvent(dpy, *it, False, CurrentTime);
        XSync(dpy, False);
        Pause(20);
    }
    Pause(60);
}

void DesktopSession::Type(const std::string& text) const {
    Display* dpy = Dpy(m_display);
    const KeyCode shift = XKeysymToKeycode(dpy, XK_Shift_L);
    for (const char c : text) {
        const KeySym sym = static_cast<KeySym>(static_cast<unsigned char>(c));
        const KeyCode code = XKeysymToKeycode(dpy, sym);
        if (!code)
            continue;
        const bool shifted = XkbKeycodeToKeysym(dpy, code, 0, 0) != sym;
        if (shifted)
            XTestFakeKeyEvent(dpy, shift, True, CurrentTime);
        XTestFakeKeyEvent(dpy, code, True, CurrentTime);
        XTestFakeKeyEvent(dpy, code, False, CurrentTime);
        if (shifted)
            XTestFakeKeyEvent(dpy, shift, False, CurrentTime);
        XSync(dpy, False);
        Pause(15);
    }
    Pause(60);
}

QImage DesktopSession::Screen() const {
    Display* dpy = Dpy(m_display);
    const QSize size = ScreenSize();
    XImage* shot = XGetImage(dpy, DefaultRootWindow(dpy), 0, 0, static_cast<unsigned>(size.width()),
                             static_cast<unsigned>(size.height()), AllPlanes, ZPixmap);
    if (!shot)
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    const bool direct = shot->bits_per_pixel == 32 && shot->red_mask == 0xFF0000 &&
                        shot->green_mask == 0xFF00 && shot->blue_mask == 0xFF && shot->byte_order == LSBFirst;
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (direct) {
            std::memcpy(row, shot->data + static_cast<std::ptrdiff_t>(y) * shot->bytes_per_line,
                        static_cast<std::size_t>(size.width()) * 4);
            for (int x = 0; x < size.width(); ++x)
                row[x] |= 0xFF000000u;
        } else {
            for (int x = 0; x < size.width(); ++x)
                row[x] = static_cast<QRgb>(XGetPixel(shot, x, y)) | 0xFF000000u;
        }
    }
    XDestroyImage(shot);
    return image;
}

QImage DesktopSession::Shot(const std::string& name) const {
    QImage image = Screen();
    image.save(QString::fromStdString(m_outputDir + "/" + name + ".png"));
    return image;
}

} // namespace desktop
