#pragma once
// Where a running program listens for requests of other programs, and how they reach it.
//
// Every running program has an endpoint of its own: a local socket named "kavrino-<process id>" in a
// directory that only this user may enter (created with mode 0700 and checked to be a real directory of
// this user that nobody else may read, write or enter; the socket itself is mode 0700 too). Two programs
// therefore never share an endpoint, and one that was killed leaves only a socket nobody listens at any
// more, which is told apart by a refused connection and removed by the next program that starts.
//
// The directory: $KAVRINO_POST_DIR when set, else $XDG_RUNTIME_DIR/kavrino, else
// $TMPDIR/kavrino-<user id> (/tmp when TMPDIR is not set).

#include <string>
#include <string_view>
#include <vector>

namespace kavrino {

std::string DefaultPostDirectory();
// Creates the directory when it is missing and checks it.
bool SecurePostDirectory(const std::string& directory, std::string& reason);
// False with the reason unless the directory is a real directory of this user that nobody else may enter.
bool CheckPostDirectory(const std::string& directory, std::string& reason);
std::string PostEndpointPath(const std::string& directory, long pid);

struct PostEndpointEntry {
    long pid = 0;
    std::string path;
};
// The endpoints in the directory, by process id (live and stale alike).
std::vector<PostEndpointEntry> ListPostEndpoints(const std::string& directory);
// Those of them that a program listens at.
std::vector<PostEndpointEntry> ListLivePostEndpoints(const std::string& directory);
// True when nobody listens at the endpoint any more (a connection is tried: a process id may have been
// taken by another process, and a killed program may linger unreaped).
bool IsStalePostEndpoint(const std::string& path);
// Removes the endpoints nobody listens at.
void RemoveStalePostEndpoints(const std::string& directory);

// Sends one request and waits for the reply line (the whole exchange within the time-out). False with the
// reason when no reply came.
bool ExchangePostRequest(const std::string& endpoint, std::string_view request, int timeoutMs,
                         std::string& reply, std::string& reason);

} // namespace kavrino
