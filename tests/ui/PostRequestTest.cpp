// The request line of another program: what parses, what each bad request is refused with, and its length
// limit.

#include "PostRequest.h"

#include <gtest/gtest.h>

using kavrino::ParsePostRequest;
using kavrino::PostError;

TEST(PostRequest, AKeyPadRequestNamesTheShownPageOfTheMainWindow) {
    const auto r = ParsePostRequest(
        "post msg=WM_APP+300 lparam=8 window caption=Movrane child class=%2332770 visible\r\n");
    ASSERT_TRUE(r.Ok()) << r.reason;
    EXPECT_EQ(r.request.message, 0x812Cu);
    EXPECT_EQ(r.request.wParam, 0u);
    EXPECT_EQ(r.request.lParam, 8);
    ASSERT_EQ(r.request.steps.size(), 2u);
    EXPECT_EQ(r.request.steps[0].caption, std::string("Movrane"));
    EXPECT_FALSE(r.request.steps[0].className);
    EXPECT_FALSE(r.request.steps[0].visibleOnly);
    EXPECT_EQ(r.request.steps[1].className, std::string("#32770"));
    EXPECT_TRUE(r.request.steps[1].visibleOnly);
    // Written out again, it reads the same.
    const auto again = ParsePostRequest(kavrino::FormatPostRequest(r.request));
    ASSERT_TRUE(again.Ok()) << again.reason;
    EXPECT_EQ(again.request, r.request);
}

TEST(PostRequest, NumbersTextsAndHandlesInEveryForm) {
    const auto r = ParsePostRequest("post window hwnd=0x1010 caption=%EA%B2%80%EC%82%AC%20%ED%95%AD%EB%AA%A9 "
                                    "child id=1031 msg=0x464 wparam=18446744073709551615 lparam=-2\n");
    ASSERT_TRUE(r.Ok()) << r.reason;
    EXPECT_EQ(r.request.message, 0x464u);
    EXPECT_EQ(r.request.wParam, UINT64_MAX);
    EXPECT_EQ(r.request.lParam, -2);
    EXPECT_EQ(r.request.steps[0].hwnd, 0x1010u);
    EXPECT_EQ(r.request.steps[0].caption, std::string("검사 항목"));
    EXPECT_EQ(r.request.steps[1].id, 1031u);
    // Raw UTF-8 in a value, an empty caption (the pages have none), and a hexadecimal offset.
    const auto raw = ParsePostRequest("post msg=WM_USER+0x7D2C window caption=검사항목 child caption= id=0");
    ASSERT_TRUE(raw.Ok()) << raw.reason;
    EXPECT_EQ(raw.request.message, 0x812Cu);
    EXPECT_EQ(raw.request.steps[1].caption, std::string());
    const auto encoded = ParsePostRequest(kavrino::FormatPostRequest(raw.request));
    EXPECT_EQ(encoded.request, raw.request);
}

// Another program may send the program only what it is meant to receive from outside: the key pad's
// WM_KEYPAD and the other-checks page's WM_REFRESH_PAGE. The messages its own windows send each other
// (the pixel-format warning, the end of a run) and every other number are refused with the reason.
TEST(PostRequest, OnlyTheKeyPadAndTheRefreshOfThePageAreTakenFromOutside) {
    for (const char* msg :
         {"WM_APP+300", "0x812C", "33068", "WM_USER+0x7D2C", "WM_USER+100", "0x464", "1124"}) {
        const auto r = ParsePostRequest(std::string("post msg=") + msg + " window caption=Movrane");
        EXPECT_TRUE(r.Ok()) << msg << ": " << r.reason;
    }
    const struct {
        const char* msg;
        const char* shown;
    } refused[] = {
        {"WM_APP+0x101", "0x8101"}, {"WM_APP+1", "0x8001"},    {"0x812B", "0x812B"},    {"0x812D", "0x812D"},
        {"WM_USER+99", "0x0463"},   {"WM_USER+101", "0x0465"}, {"WM_USER+0", "0x0400"}, {"0xFFFF", "0xFFFF"},
    };
    for (const auto& c : refused) {
        const auto r = ParsePostRequest(std::string("post msg=") + c.msg + " window caption=Movrane");
        EXPECT_EQ(r.error, PostError::Refused) << c.msg;
        EXPECT_EQ(kavrino::FormatErrorReply(r.error, r.reason),
                  std::string("error refused: message ") + c.shown +
                      " is not one the program takes from outside: other programs post only WM_KEYPAD "
                      "(0x812C) and WM_REFRESH_PAGE (0x0464)\n");
    }
}

TEST(PostRequest, EveryBadRequestIsRefusedWithItsReason) {
    const struct {
        std::string line;
        PostError error;
        const char* reason;
    } cases[] = {
        {"", PostError::Malformed, "empty request"},
        {std::string("post\0msg=0x464", 14), PostError::Malformed, "control byte 0x00 at byte 4"},
        {"\xFF\xFE\x01junk\n", PostError::Malformed, "control byte 0x01 at byte 2"},
        {"send msg=0x464 window caption=x", PostError::Malformed, "begins with 'post'"},
        {"post msg=0x464 window caption=x\n\n", PostError::Malformed, "control byte 0x0A"},
        {"post window caption=x", PostError::Malformed, "no message"},
        {"post msg=0x464", PostError::Malformed, "no window"},
        {"post msg=WM_BOGUS window caption=x", PostError::Malformed, "message 'WM_BOGUS' is not a number"},
        {"post msg=0x10000 window caption=x", PostError::Malformed, "past 0xFFFF"},
        {"post msg=WM_APP+0xFFFFFFFF window caption=x", PostError::Malformed, "past 0xFFFF"},
        {"post msg=99999999999999999999 window caption=x", PostError::Malformed, "is not a number"},
        {"post msg=0x0010 window caption=x", PostError::Refused,
         "message 0x0010 is the window system's own: other programs post only WM_KEYPAD (0x812C) and "
         "WM_REFRESH_PAGE (0x0464)"},
        {"post msg=0x464 msg=0x812C window caption=x", PostError::Malformed, "msg= given twice"},
        {"post msg=0x464 lparam=8x window caption=x", PostError::Malformed, "lparam '8x' is not a number"},
        {"post msg=0x464 wparam=-1 window caption=x", PostError::Malformed, "wparam '-1'"},
        {"post msg=0x464 window", PostError::Malformed, "'window' step names no window"},
        {"post msg=0x464 window caption=x child visible", PostError::Malformed,
         "a 'child' step names no window"},
        {"post msg=0x464 child id=1", PostError::Malformed, "'child' before 'window'"},
        {"post msg=0x464 class=x window", PostError::Malformed, "'class=' before 'window'"},
        {"post msg=0x464 window caption=x window", PostError::Malformed, "'window' given twice"},
        {"post msg=0x464 window id=5", PostError::Malformed, "id= names a child"},
        {"post msg=0x464 window caption=x child hwnd=0x10", PostError::Malformed, "hwnd= names the window"},
        {"post msg=0x464 window hwnd=0", PostError::Malformed, "not a window handle"},
        {"post msg=0x464 window caption=x child id=65536", PostError::Malformed, "not a control id"},
        {"post msg=0x464 window caption=a caption=b", PostError::Malformed, "caption= twice"},
        {"post msg=0x464 window class=", PostError::Malformed, "empty class name"},
        {"post msg=0x464 window caption=%4", PostError::Malformed, "bad %-escape"},
        {"post msg=0x464 window caption=%0A", PostError::Malformed, "not UTF-8 text without control"},
        {"post msg=0x464 window caption=\xC0\xAF", PostError::Malformed, "not UTF-8 text"},
        {"post msg=0x464 window caption=%ED%A0%80", PostError::Malformed, "not UTF-8 text"},
        {"post msg=0x464 window caption=" + std::string(257, 'a'), PostError::Malformed, "longer than 256"},
        {"post msg=0x464 window caption=x shout", PostError::Malformed, "unknown word 'shout'"},
    };
    for (const auto& c : cases) {
        const auto r = ParsePostRequest(c.line);
        EXPECT_EQ(r.error, c.error) << c.line;
        EXPECT_NE(r.reason.find(c.reason), std::string::npos) << c.line << " -> " << r.reason;
    }
    std::string deep = "post msg=0x464 window caption=x";
    for (std::size_t i = 0; i < kavrino::kMaxWindowSteps; ++i)
        deep += " child id=1";
    EXPECT_NE(ParsePostRequest(deep).reason.find("more than 7 child steps"), std::string::npos);
}

TEST(PostRequest, ARequestIsAtMostItsLimitLongWithItsLineFeed) {
    std::string line = "post msg=0x464 window caption=x";
    line += std::string(kavrino::kMaxRequestBytes - 1 - line.size(), ' ') + "\n";
    ASSERT_EQ(line.size(), kavrino::kMaxRequestBytes);
    EXPECT_TRUE(ParsePostRequest(line).Ok());
    const auto longer = ParsePostRequest(" " + line);
    EXPECT_EQ(longer.error, PostError::TooLong);
    EXPECT_EQ(kavrino::FormatErrorReply(longer.error, longer.reason),
              "error too-long: request longer than 1024 bytes\n");
    // Given without its line feed, the line still counts it.
    EXPECT_EQ(ParsePostRequest(line.substr(0, line.size() - 1)).error, PostError::None);
    EXPECT_EQ(ParsePostRequest(" " + line.substr(0, line.size() - 1)).error, PostError::TooLong);

    // A request written out again is never longer than the line it came from, so it stays within the
    // limit: UTF-8 stays raw, numbers take their shortest form, parameters of 0 are left out.
    std::string caption;
    while (caption.size() + 3 <= kavrino::kMaxTextBytes)
        caption += "검";
    const std::string wide =
        "post msg=WM_APP+300 lparam=0xFFFFFFFFFFFFFFFE window hwnd=4112 caption=" + caption +
        " child caption=" + caption + " id=0x10\n";
    ASSERT_LE(wide.size(), kavrino::kMaxRequestBytes);
    const auto parsed = ParsePostRequest(wide);
    ASSERT_TRUE(parsed.Ok()) << parsed.reason;
    const std::string again = kavrino::FormatPostRequest(parsed.request);
    EXPECT_LE(again.size(), wide.size());
    const auto back = ParsePostRequest(again);
    ASSERT_TRUE(back.Ok()) << back.reason;
    EXPECT_EQ(back.request, parsed.request);
}
