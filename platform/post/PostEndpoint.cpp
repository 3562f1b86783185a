#include "PostEndpoint.h"

#include "PostRequest.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kavrino {
namespace {

const char kPrefix[] = "kavrino-";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// A stream socket connected to the endpoint, or -1 with errno set. A full backlog waits up to the
// time-out.
int Connect(const std::string& path, int timeoutMs) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    timeval patience{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

bool IsSocket(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

} // namespace

std::string DefaultPostDirectory() {
    const std::string chosen = Env("KAVRINO_POST_DIR");
    if (!chosen.empty())
        return chosen;
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    if (!runtime.empty() && runtime[0] == '/')
        return runtime + "/kavrino";
    std::string temp = Env("TMPDIR");
    if (temp.empty() || temp[0] != '/')
        temp = "/tmp";
    while (temp.size() > 1 && temp.back() == '/')
        temp.pop_back();
    return temp + "/kavrino-" + std::to_string(::geteuid());
}

bool SecurePostDirectory(const std::string& directory, std::string& reason) {
    if (!directory.empty() && directory[0] == '/' && ::mkdir(directory.c_str(), 0700) != 0 &&
        errno != EEXIST) {
        reason = "cannot create " + directory + ": " + std::strerror(errno);
        return false;
    }
    return CheckPostDirectory(directory, reason);
}

bool CheckPostDirectory(const std::string& directory, std::string& reason) {
    if (directory.empty() || directory[0] != '/') {
        reason = "the endpoint directory '" + directory + "' is not an absolute path";
        return false;
    }
    struct stat st {};
    if (::lstat(directory.c_str(), &st) != 0) {
        reason = "cannot read " + directory + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        reason = directory + " is not a directory";
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        reason = directory + " belongs to another user";
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        reason = directory + " may be entered by other users (its mode must be 0700)";
        return false;
    }
    return true;
}

std::string PostEndpointPath(const std::string& directory, long pid) {
    return directory + "/" + kPrefix + std::to_string(pid);
}

std::vector<PostEndpointEntry> ListPostEndpoints(const std::string& directory) {
    std::vector<PostEndpointEntry> entries;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return entries;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        const std::size_t prefix = sizeof kPrefix - 1;
        if (name.size() <= prefix || name.size() > prefix + 9 || name.compare(0, prefix, kPrefix) != 0)
            continue;
        const std::string digits = name.substr(prefix);
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const std::string path = directory + "/" + name;
        if (IsSocket(path))
            entries.push_back({std::stol(digits), path});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const PostEndpointEntry& a, const PostEndpointEntry& b) { return a.pid < b.pid; });
    return entries;
}

std::vector<PostEndpointEntry> ListLivePostEndpoints(const std::string& directory) {
    std::vector<PostEndpointEntry> live;
    for (const PostEndpointEntry& e : ListPostEndpoints(directory))
        if (!IsStalePostEndpoint(e.path))
            live.push_back(e);
    return live;
}

bool IsStalePostEndpoint(const std::string& path) {
    const int fd = Connect(path, 1000);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return errno == ECONNREFUSED || errno == ENOENT;
}

void RemoveStalePostEndpoints(const std::string& directory) {
    for (const PostEndpointEntry& e : ListPostEndpoints(directory))
        if (IsStalePostEndpoint(e.path))
            ::unlink(e.path.c_str());
}

bool ExchangePostRequest(const std::string& endpoint, std::string_view request, int timeoutMs,
                         std::string& reply, std::string& reason) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    reply.clear();
    const int fd = Connect(endpoint, timeoutMs);
    if (fd < 0) {
        if (errno == ECONNREFUSED || errno == ENOENT)
            reason = "no program listens at " + endpoint;
        else if (errno == EAGAIN || errno == EWOULDBLOCK)
            reason = "the program at " + endpoint + " takes no connection now";
        else
            reason = "cannot connect to " + endpoint + ": " + std::strerror(errno);
        return false;
    }
    std::size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        // The program may have answered and closed already (a request it refused before reading it all).
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    // A reply is one line; anything longer than a request's worth is not one.
    const std::size_t maxReply = kMaxRequestBytes + 256;
    char chunk[512];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            reason = "no answer from " + endpoint + " within " + std::to_string(timeoutMs) + " ms";
            break;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            reason = "the program at " + endpoint + " closed the connection without an answer";
            break;
        }
        reply.append(chunk, static_cast<std::size_t>(n));
        const std::size_t nl = reply.find('\n');
        if (nl != std::string::npos) {
            reply.resize(nl);
            ::close(fd);
            return true;
        }
        if (reply.size() > maxReply) {
            reason = "the answer from " + endpoint + " is not a reply line";
            break;
        }
    }
    ::close(fd);
    reply.clear();
    return false;
}

} // namespace kavrino
