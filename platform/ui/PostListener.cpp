#include "PostListener.h"

#include "PostEndpoint.h"
#include "PostRequest.h"
#include "QtText.h"
#include "StringConv.h"
#include "UiInternal.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <deque>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace kavrino {
namespace {

constexpr int kMaxConnections = 8;
constexpr std::size_t kMaxRequestsPerSecond = 100;
constexpr int kMaxWaitingMessages = 64;
constexpr int kRequestPatienceMs = 2000;

using Clock = std::chrono::steady_clock;

// Everything here is used on the user-interface thread only.
struct ListenerState {
    std::unique_ptr<QLocalServer> server;
    std::string endpoint;
    int connections = 0;
    std::deque<Clock::time_point> recent; // the requests of the last second
    int waiting = 0;                      // posted messages not yet handled by their window
};

ListenerState& State() {
    static ListenerState* state = new ListenerState;
    return *state;
}

// A program ended by a signal (Ctrl-C, kill, a closed terminal) removes its endpoint too. The handler may
// use async-signal-safe calls only, so the path waits for it in a plain buffer.
const int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};
char g_signalPath[128];
volatile std::sig_atomic_t g_signalArmed = 0;

extern "C" void RemoveEndpointAndEnd(int signal) {
    if (g_signalArmed)
        ::unlink(g_signalPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Only where nobody else handles the signal.
void ArmEndSignals(const std::string& path) {
    std::strncpy(g_signalPath, path.c_str(), sizeof g_signalPath - 1);
    g_signalArmed = 1;
    for (int signal : kEndSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(signal, RemoveEndpointAndEnd);
    }
}

void DisarmEndSignals() {
    g_signalArmed = 0;
    for (int signal : kEndSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == RemoveEndpointAndEnd)
            std::signal(signal, SIG_DFL);
    }
}

bool SameUser(QLocalSocket* socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    const int fd = static_cast<int>(socket->socketDescriptor());
    return fd >= 0 && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

// Writes the reply and closes the connection once it is out.
void Answer(QLocalSocket* socket, const std::string& reply) {
    socket->write(reply.data(), static_cast<qint64>(reply.size()));
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromServer();
    if (socket->state() == QLocalSocket::UnconnectedState)
        socket->deleteLater();
}

// A request may be carried out now: not too many in the last second.
bool TakeTurn() {
    ListenerState& st = State();
    const Clock::time_point now = Clock::now();
    while (!st.recent.empty() && now - st.recent.front() >= std::chrono::seconds(1))
        st.recent.pop_front();
    if (st.recent.size() >= kMaxRequestsPerSecond)
        return false;
    st.recent.push_back(now);
    return true;
}

// Reads the one request of a connection and answers it.
void Serve(QLocalSocket* socket) {
    ListenerState& st = State();
    if (!SameUser(socket)) {
        Answer(socket, FormatErrorReply(PostError::Denied, "the program runs as another user"));
        return;
    }
    if (st.connections >= kMaxConnections) {
        Answer(socket, FormatErrorReply(PostError::Busy, "too many connections at once"));
        return;
    }
    ++st.connections;
    QObject::connect(socket, &QObject::destroyed, [] { --State().connections; });
    socket->setReadBufferSize(static_cast<qint64>(kMaxRequestBytes) + 1);

    auto request = std::make_shared<QByteArray>();
    auto answered = std::make_shared<bool>(false);
    auto finish = [socket, answered](const std::string& reply) {
        if (*answered)
            return;
        *answered = true;
        Answer(socket, reply);
    };
    auto* patience = new QTimer(socket);
    patience->setSingleShot(true);
    QObject::connect(patience, &QTimer::timeout, socket, [finish] {
        finish(FormatErrorReply(PostError::Truncated, "no complete request within " +
                                                          std::to_string(kRequestPatienceMs / 1000) +
                                                          " s: a request ends with a line feed"));
    });
    patience->start(kRequestPatienceMs);

    auto read = [socket, request, answered, finish] {
        if (*answered) {
            socket->readAll();
            return;
        }
        request->append(socket->read(static_cast<qint64>(kMaxRequestBytes) + 1 - request->size()));
        const int end = request->indexOf('\n');
        if (end < 0) {
            if (static_cast<std::size_t>(request->size()) > kMaxRequestBytes)
                finish(FormatErrorReply(PostError::TooLong, "request longer than " +
                                                                std::to_string(kMaxRequestBytes) + " bytes"));
            return;
        }
        if (end + 1 < request->size()) {
            finish(FormatErrorReply(PostError::Malformed,
                                    "data after the end of the request: one request per connection"));
            return;
        }
        if (!TakeTurn()) {
            finish(FormatErrorReply(PostError::Busy, "more than " + std::to_string(kMaxRequestsPerSecond) +
                                                         " requests in the last second"));
            return;
        }
        finish(
            CarryOutPostRequest(std::string_view(request->constData(), static_cast<std::size_t>(end) + 1)));
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
    // Gone before a complete request: nothing to carry out and nobody to answer.
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, answered] {
        *answered = true;
        socket->deleteLater();
    });
    if (socket->bytesAvailable() > 0)
        read();
}

HWND HandleOf(std::uint64_t value) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

std::string Describe(const WindowStep& step) {
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : " ") + part; };
    if (step.hwnd) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%" PRIX64, *step.hwnd);
        add(std::string("hwnd=") + hex);
    }
    if (step.className)
        add("class=" + *step.className);
    if (step.caption)
        add("caption=\"" + *step.caption + "\"");
    if (step.id)
        add("id=" + std::to_string(*step.id));
    if (step.visibleOnly)
        add("visible");
    return text;
}

// What FindWindowEx does not check: the control id, visibility, and for a window named by its handle its
// class and caption.
bool Fits(HWND hwnd, const WindowStep& step) {
    if (step.id && GetDlgCtrlID(hwnd) != static_cast<int>(*step.id))
        return false;
    if (step.visibleOnly && !IsWindowVisible(hwnd))
        return false;
    if (!step.hwnd)
        return true;
    return WithWindow(hwnd, false, [&step](WindowState& s) {
        if (step.className &&
            ClassNameOf(s).compare(QString::fromStdString(*step.className), Qt::CaseInsensitive) != 0)
            return false;
        return !step.caption || WidgetText(s) == QString::fromStdString(*step.caption);
    });
}

// The window the steps lead to, or null with the reason.
HWND FindTarget(const std::vector<WindowStep>& steps, std::string& reason) {
    HWND current = nullptr;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const WindowStep& step = steps[i];
        const std::wstring className = step.className ? Utf8ToWide(*step.className) : std::wstring();
        const std::wstring caption = step.caption ? Utf8ToWide(*step.caption) : std::wstring();
        HWND found = nullptr;
        if (step.hwnd) {
            if (!IsWindow(HandleOf(*step.hwnd))) {
                reason = "window " + Describe(step) + " has gone";
                return nullptr;
            }
            found = Fits(HandleOf(*step.hwnd), step) ? HandleOf(*step.hwnd) : nullptr;
        } else {
            const wchar_t* cls = step.className ? className.c_str() : nullptr;
            const wchar_t* text = step.caption ? caption.c_str() : nullptr;
            for (HWND h = FindWindowEx(current, nullptr, cls, text); h && !found;
                 h = FindWindowEx(current, h, cls, text))
                if (Fits(h, step))
                    found = h;
        }
        if (!found) {
            char parent[32];
            std::snprintf(parent, sizeof parent, "%" PRIXPTR, reinterpret_cast<std::uintptr_t>(current));
            reason = i == 0 ? "no top-level window with " + Describe(step)
                            : "no child window of 0x" + std::string(parent) + " with " + Describe(step);
            return nullptr;
        }
        current = found;
    }
    return current;
}

} // namespace

std::string CarryOutPostRequest(std::string_view line) {
    const PostParseResult parsed = ParsePostRequest(line);
    if (!parsed.Ok())
        return FormatErrorReply(parsed.error, parsed.reason);
    const PostRequest& r = parsed.request;
    std::string reason;
    const HWND hwnd = FindTarget(r.steps, reason);
    if (!hwnd)
        return FormatErrorReply(PostError::NoWindow, reason);
    ListenerState& st = State();
    if (st.waiting >= kMaxWaitingMessages)
        return FormatErrorReply(PostError::Busy,
                                std::to_string(st.waiting) +
                                    " messages from other programs still wait for their window");
    ++st.waiting;
    if (!PostMessageThen(hwnd, r.message, static_cast<WPARAM>(r.wParam), static_cast<LPARAM>(r.lParam),
                         [] { --State().waiting; })) {
        --st.waiting;
        return FormatErrorReply(PostError::NoWindow, "the window has gone");
    }
    return FormatPostedReply(reinterpret_cast<std::uintptr_t>(hwnd));
}

bool StartPostListener(std::string& reason, const std::string& directory) {
    ListenerState& st = State();
    if (st.server)
        return true;
    const std::string dir = directory.empty() ? DefaultPostDirectory() : directory;
    if (!SecurePostDirectory(dir, reason))
        return false;
    RemoveStalePostEndpoints(dir);
    const std::string path = PostEndpointPath(dir, static_cast<long>(::getpid()));
    if (path.size() >= 100) {
        reason = "the endpoint path " + path + " is too long for a local socket";
        return false;
    }
    const QString name = QString::fromStdString(path);
    // A socket left behind by an earlier program that had this process id.
    QLocalServer::removeServer(name);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name)) {
        reason = "cannot listen at " + path + ": " + server->errorString().toStdString();
        return false;
    }
    QLocalServer* s = server.get();
    QObject::connect(s, &QLocalServer::newConnection, s, [s] {
        while (QLocalSocket* socket = s->nextPendingConnection())
            Serve(socket);
    });
    st.server = std::move(server);
    st.endpoint = path;
    ArmEndSignals(path);
    return true;
}

void StopPostListener() {
    ListenerState& st = State();
    if (!st.server)
        return;
    DisarmEndSignals();
    st.server->close();
    // The open connections go with the server, unanswered.
    st.server.reset();
    st.connections = 0;
    st.recent.clear();
    st.endpoint.clear();
}

bool IsPostListening() {
    return State().server != nullptr;
}

std::string PostListenerEndpoint() {
    return State().endpoint;
}

} // namespace kavrino
