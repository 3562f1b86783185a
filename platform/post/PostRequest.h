#pragma once
// A request of another program to post a message to one of our windows, as it travels to the program's
// endpoint: one line of text, at most kMaxRequestBytes long with its line feed.
//
//     post msg=WM_APP+300 lparam=8 window caption=Movrane child class=#32770 visible
//
// The words are separated by blanks. "post" comes first; then, in any order, the message and its two
// parameters; then the window: "window" and what the top-level window must match, followed by zero or
// more "child" steps, each matching a direct child of the window found so far.
//
//     msg=M         the message: a number, WM_USER+n or WM_APP+n; only the two messages other programs
//                   send the program (kKeypadMessage, kRefreshPageMessage)
//     wparam=N      unsigned, 0 when left out
//     lparam=N      signed (a leading '-') or unsigned up to 64 bits, 0 when left out
//     window        starts the top-level step; child starts a child step
//     class=TEXT    the window's class name ("#32770" for a dialog, "Button", "Edit", ...)
//     caption=TEXT  the window's text, matched exactly
//     id=N          a child's control id (child steps only), 0 to 65535
//     hwnd=N        one window by its handle (the window step only)
//     visible       only a window that is visible, with its parents
//
// Numbers are decimal or hexadecimal with 0x. A value holds no blank: blanks, '%' and any other byte may
// be written %XX (two hex digits); what a value decodes to must be UTF-8 without control characters.
// Every step names at least one of class, caption, id or hwnd.
//
// The parser is a pure function of the bytes, so that it can be fed anything.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrino {

constexpr std::size_t kMaxRequestBytes = 1024;
// Steps from the top-level window down, the top-level one included.
constexpr std::size_t kMaxWindowSteps = 8;
// Bytes of one decoded class name or caption.
constexpr std::size_t kMaxTextBytes = 256;
constexpr std::uint32_t kLastMessageId = 0xFFFF;
// The messages the program takes from other programs: the key pad's WM_KEYPAD (WM_APP+300) for the test
// pages and WM_REFRESH_PAGE (WM_USER+100) for the other-checks page. Every other number is refused: the
// window system's own messages, and the ones the program's windows send each other (a pixel-format
// warning or the end of a run, posted from outside, would act as if the program had sent them).
constexpr std::uint32_t kKeypadMessage = 0x812C;
constexpr std::uint32_t kRefreshPageMessage = 0x0464;
bool IsPostableMessage(std::uint32_t message);

// What one window on the way must match; an absent criterion matches every window.
struct WindowStep {
    std::optional<std::string> className; // UTF-8
    std::optional<std::string> caption;   // UTF-8
    std::optional<std::uint32_t> id;
    std::optional<std::uint64_t> hwnd;
    bool visibleOnly = false;

    bool operator==(const WindowStep& o) const {
        return className == o.className && caption == o.caption && id == o.id && hwnd == o.hwnd &&
               visibleOnly == o.visibleOnly;
    }
};

struct PostRequest {
    std::vector<WindowStep> steps; // [0] the top-level window, then children
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;

    bool operator==(const PostRequest& o) const {
        return steps == o.steps && message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

// Why a request is not carried out; the reply names the reason by its word.
enum class PostError {
    None,
    Malformed, // does not parse
    Refused,   // parses, but the message may not come from another program
    TooLong,   // longer than kMaxRequestBytes
    Truncated, // ended before its line feed
    NoWindow,  // nothing matches
    Busy,      // too much at once; nothing was done
    Denied,    // the other program runs as another user
};
const char* PostErrorWord(PostError error);

struct PostParseResult {
    PostRequest request;
    PostError error = PostError::None;
    std::string reason; // for the reply, when error is set

    bool Ok() const { return error == PostError::None; }
};

// Parses one request; the line may end with "\n" or "\r\n" (nothing may follow), or be given without it
// (its line feed still counts against the length limit).
PostParseResult ParsePostRequest(std::string_view line);
// The request as a line, with its line feed, each field in its shortest form: never longer than a line
// the request was parsed from, and ParsePostRequest gives it back.
std::string FormatPostRequest(const PostRequest& request);

// The reply lines: "ok posted to 0x1010" or "error no-window: ...", each with a line feed.
std::string FormatPostedReply(std::uint64_t hwnd);
std::string FormatErrorReply(PostError error, std::string_view reason);

// Percent-encodes a value for a request: blanks, '%', control characters and bytes above 0x7E.
std::string PercentEncode(std::string_view value);

} // namespace kavrino
