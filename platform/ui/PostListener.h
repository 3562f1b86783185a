#pragma once
// Messages from other programs. While the program runs it listens at its endpoint (PostEndpoint.h) for the
// requests (PostRequest.h) of programs of the same user, as a key-pad driver sends them: each names a
// window the way FindWindow and FindWindowEx find it and a message with its two parameters, and the message
// is posted to that window with PostMessage, so it reaches the window's handler on the user-interface thread
// like any posted message. Every request gets one reply line: "ok posted to 0x..." or
// "error <word>: <reason>"; a refused request changes nothing.
//
// Bounds, so that no other program can stall the user interface or pile up work: one request per
// connection of at most kMaxRequestBytes; a connection that sends no complete request within two seconds is
// answered "truncated" and closed; at most eight connections at once, a hundred requests a second and
// sixty-four posted messages waiting for their window; beyond these the answer is "busy". A connection of
// another user is answered "denied".

#include <string>
#include <string_view>

namespace kavrino {

// Starts listening (user-interface thread) in the directory, DefaultPostDirectory() when it is empty.
// False with the reason when there is no endpoint; the program runs on without one. True at once when
// already listening.
bool StartPostListener(std::string& reason, const std::string& directory = std::string());
// Stops listening and removes the endpoint. Messages already posted are still delivered.
void StopPostListener();
bool IsPostListening();
// The endpoint's path while listening, else empty.
std::string PostListenerEndpoint();

// Carries out one request line as the listener does, bounds on waiting messages included, and returns the
// reply line (user-interface thread).
std::string CarryOutPostRequest(std::string_view line);

} // namespace kavrino
