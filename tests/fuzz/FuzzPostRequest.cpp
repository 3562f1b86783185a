// A request of another program: one line to the program's endpoint (platform/post/PostRequest.h). Any
// bytes are either refused with a reason or give a request within the format's limits that formats back
// into a line no longer than the one it came from, parsing to the same request; and the reply, which may
// quote the request, is never more than its one line of printable text.

#include "FuzzSupport.h"
#include "PostRequest.h"

#include <string_view>

using namespace kavrino_fuzz;
using kavrino::kMaxRequestBytes;
using kavrino::PostParseResult;

namespace {

void CheckReply(const std::string& reply) {
    if (reply.empty() || reply.back() != '\n')
        Fail("a reply does not end with its line feed", reply);
    for (std::size_t i = 0; i + 1 < reply.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(reply[i]);
        if (c < 0x20 || c > 0x7E)
            Fail("a reply holds more than one line of printable text", reply);
    }
}

bool WithinLimits(const kavrino::PostRequest& request) {
    // Only the key pad's WM_KEYPAD and WM_REFRESH_PAGE come from other programs.
    if (request.message != kavrino::kKeypadMessage && request.message != kavrino::kRefreshPageMessage)
        return false;
    if (request.steps.empty() || request.steps.size() > kavrino::kMaxWindowSteps)
        return false;
    for (std::size_t i = 0; i < request.steps.size(); ++i) {
        const kavrino::WindowStep& step = request.steps[i];
        if (!step.className && !step.caption && !step.id && !step.hwnd)
            return false;
        if ((i == 0 && step.id) || (i > 0 && step.hwnd) || (step.id && *step.id > 0xFFFF))
            return false;
        if ((step.className && step.className->size() > kavrino::kMaxTextBytes) ||
            (step.caption && step.caption->size() > kavrino::kMaxTextBytes))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const PostParseResult parsed = kavrino::ParsePostRequest(line);
    if (!parsed.Ok()) {
        if (parsed.reason.empty())
            Fail("a refused request gives no reason");
        CheckReply(kavrino::FormatErrorReply(parsed.error, parsed.reason));
        return 0;
    }
    if (size > kMaxRequestBytes)
        Fail("a request over the length limit was taken");
    if (!WithinLimits(parsed.request))
        Fail("a taken request is outside the format's limits");

    const std::string again = kavrino::FormatPostRequest(parsed.request);
    std::string_view content = line;
    if (!content.empty() && content.back() == '\n')
        content.remove_suffix(1);
    if (!content.empty() && content.back() == '\r')
        content.remove_suffix(1);
    if (again.size() - 1 > content.size())
        Fail("a request formats longer than the line it came from", again);
    const PostParseResult back = kavrino::ParsePostRequest(again);
    if (!back.Ok() || !(back.request == parsed.request))
        Fail("a request does not format back into itself", again + " gives " + back.reason);
    for (const kavrino::WindowStep& step : parsed.request.steps)
        CheckReply(kavrino::FormatPostedReply(step.hwnd.value_or(0)));
    return 0;
}
