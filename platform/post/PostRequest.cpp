#include "PostRequest.h"

#include <cinttypes>
#include <cstdio>

namespace kavrino {
namespace {

// A token of the request for a reason text: printable ASCII only, cut short.
std::string Shown(std::string_view token) {
    constexpr std::size_t kShown = 40;
    std::string out;
    for (std::size_t i = 0; i < token.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(token[i]);
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    if (token.size() > kShown)
        out += "...";
    return out;
}

std::string Hex(std::uint64_t value, int digits = 1) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%0*" PRIX64, digits, value);
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool PercentDecode(std::string_view in, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out += in[i];
            continue;
        }
        if (i + 2 >= in.size())
            return false;
        const int hi = HexDigit(in[i + 1]);
        const int lo = HexDigit(in[i + 2]);
        if (hi < 0 || lo < 0)
            return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

// Well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF) without control characters.
bool IsCleanUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F)
                return false;
            ++i;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        std::uint32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, cp = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i <= static_cast<std::size_t>(extra))
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// Decimal or 0x-hexadecimal, at most max.
bool ParseUnsigned(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    value = 0;
    if (text.empty())
        return false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        if (text.size() > 16)
            return false;
        for (char c : text) {
            const int d = HexDigit(c);
            if (d < 0)
                return false;
            value = value * 16 + static_cast<std::uint64_t>(d);
        }
    } else {
        for (char c : text) {
            if (c < '0' || c > '9')
                return false;
            const std::uint64_t d = static_cast<std::uint64_t>(c - '0');
            if (value > (UINT64_MAX - d) / 10)
                return false;
            value = value * 10 + d;
        }
    }
    return value <= max;
}

// A negative decimal, or any unsigned 64-bit value taken as its two's complement (as LPARAM holds it).
bool ParseSigned(std::string_view text, std::int64_t& value) {
    std::uint64_t magnitude = 0;
    if (!text.empty() && text[0] == '-') {
        if (!ParseUnsigned(text.substr(1), static_cast<std::uint64_t>(INT64_MAX) + 1, magnitude))
            return false;
        value = static_cast<std::int64_t>(0 - magnitude);
        return true;
    }
    if (!ParseUnsigned(text, UINT64_MAX, magnitude))
        return false;
    value = static_cast<std::int64_t>(magnitude);
    return true;
}

struct Parser {
    PostParseResult result;
    bool haveMessage = false, haveWParam = false, haveLParam = false;

    bool Fail(PostError error, std::string reason) {
        result.error = error;
        result.reason = std::move(reason);
        return false;
    }
    bool Malformed(std::string reason) { return Fail(PostError::Malformed, std::move(reason)); }

    bool Message(std::string_view value) {
        std::uint64_t base = 0;
        std::string_view number = value;
        for (const auto& prefix : {std::pair<std::string_view, std::uint64_t>{"WM_USER+", 0x0400},
                                   std::pair<std::string_view, std::uint64_t>{"WM_APP+", 0x8000}}) {
            if (value.substr(0, prefix.first.size()) == prefix.first) {
                base = prefix.second;
                number = value.substr(prefix.first.size());
            }
        }
        std::uint64_t offset = 0;
        if (!ParseUnsigned(number, UINT32_MAX, offset))
            return Malformed("message '" + Shown(value) + "' is not a number, WM_USER+n or WM_APP+n");
        const std::uint64_t message = base + offset;
        if (message > kLastMessageId)
            return Malformed("message " + Hex(message) + " is past 0xFFFF, the last message id");
        if (!IsPostableMessage(static_cast<std::uint32_t>(message))) {
            const std::string taken =
                "other programs post only WM_KEYPAD (0x812C) and WM_REFRESH_PAGE (0x0464)";
            if (message < 0x0400)
                return Fail(PostError::Refused,
                            "message " + Hex(message, 4) + " is the window system's own: " + taken);
            return Fail(PostError::Refused, "message " + Hex(message, 4) +
                                                " is not one the program takes from outside: " + taken);
        }
        result.request.message = static_cast<std::uint32_t>(message);
        return true;
    }

    bool Text(std::string_view key, std::string_view raw, std::optional<std::string>& field) {
        std::string decoded;
        if (!PercentDecode(raw, decoded))
            return Malformed("bad %-escape in " + std::string(key) + Shown(raw));
        if (decoded.size() > kMaxTextBytes)
            return Malformed(std::string(key) + " is longer than " + std::to_string(kMaxTextBytes) +
                             " bytes");
        if (!IsCleanUtf8(decoded))
            return Malformed(std::string(key) + Shown(raw) + " is not UTF-8 text without control characters");
        if (key == "class=" && decoded.empty())
            return Malformed("empty class name");
        field = std::move(decoded);
        return true;
    }

    bool Word(std::string_view token) {
        const std::size_t eq = token.find('=');
        const std::string_view key = eq == std::string_view::npos ? token : token.substr(0, eq + 1);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view() : token.substr(eq + 1);
        std::vector<WindowStep>& steps = result.request.steps;

        if (key == "msg=" || key == "wparam=" || key == "lparam=") {
            bool& seen = key == "msg=" ? haveMessage : key == "wparam=" ? haveWParam : haveLParam;
            if (seen)
                return Malformed(std::string(key) + " given twice");
            seen = true;
            if (key == "msg=")
                return Message(value);
            if (key == "wparam=") {
                if (!ParseUnsigned(value, UINT64_MAX, result.request.wParam))
                    return Malformed("wparam '" + Shown(value) + "' is not an unsigned number");
                return true;
            }
            if (!ParseSigned(value, result.request.lParam))
                return Malformed("lparam '" + Shown(value) + "' is not a number");
            return true;
        }
        if (token == "window" || token == "child") {
            if (token == "window" && !steps.empty())
                return Malformed("'window' given twice");
            if (token == "child" && steps.empty())
                return Malformed("'child' before 'window'");
            if (!steps.empty() && !Names(steps.back(), steps.size()))
                return false;
            if (steps.size() == kMaxWindowSteps)
                return Malformed("more than " + std::to_string(kMaxWindowSteps - 1) + " child steps");
            steps.emplace_back();
            return true;
        }
        const bool criterion =
            key == "class=" || key == "caption=" || key == "id=" || key == "hwnd=" || token == "visible";
        if (!criterion)
            return Malformed("unknown word '" + Shown(token) + "'");
        if (steps.empty())
            return Malformed("'" + std::string(key) + "' before 'window'");
        WindowStep& step = steps.back();
        const bool top = steps.size() == 1;
        if (token == "visible") {
            if (step.visibleOnly)
                return Malformed("'visible' twice in one step");
            step.visibleOnly = true;
            return true;
        }
        const bool twice = (key == "class=" && step.className) || (key == "caption=" && step.caption) ||
                           (key == "id=" && step.id) || (key == "hwnd=" && step.hwnd);
        if (twice)
            return Malformed(std::string(key) + " twice in one step");
        if (key == "class=")
            return Text(key, value, step.className);
        if (key == "caption=")
            return Text(key, value, step.caption);
        if (key == "id=") {
            if (top)
                return Malformed("id= names a child: give it in a 'child' step");
            std::uint64_t id = 0;
            if (!ParseUnsigned(value, 0xFFFF, id))
                return Malformed("id '" + Shown(value) + "' is not a control id (0 to 65535)");
            step.id = static_cast<std::uint32_t>(id);
            return true;
        }
        if (!top)
            return Malformed("hwnd= names the window itself: give it in the 'window' step");
        std::uint64_t hwnd = 0;
        if (!ParseUnsigned(value, UINT64_MAX, hwnd) || hwnd == 0)
            return Malformed("hwnd '" + Shown(value) + "' is not a window handle");
        step.hwnd = hwnd;
        return true;
    }

    // A step must say which window it wants.
    bool Names(const WindowStep& step, std::size_t number) {
        if (step.className || step.caption || step.id || step.hwnd)
            return true;
        return Malformed(
            std::string(number == 1 ? "'window'" : "a 'child'") +
            " step names no window: give class=, caption=" + (number == 1 ? ", hwnd=" : ", id="));
    }
};

} // namespace

bool IsPostableMessage(std::uint32_t message) {
    return message == kKeypadMessage || message == kRefreshPageMessage;
}

const char* PostErrorWord(PostError error) {
    switch (error) {
    case PostError::None:
        return "ok";
    case PostError::Malformed:
        return "malformed";
    case PostError::Refused:
        return "refused";
    case PostError::TooLong:
        return "too-long";
    case PostError::Truncated:
        return "truncated";
    case PostError::NoWindow:
        return "no-window";
    case PostError::Busy:
        return "busy";
    case PostError::Denied:
        return "denied";
    }
    return "error";
}

PostParseResult ParsePostRequest(std::string_view line) {
    Parser p;
    // The limit counts the line feed, also for a line given without it.
    const bool hasLineFeed = !line.empty() && line.back() == '\n';
    if (line.size() + (hasLineFeed ? 0 : 1) > kMaxRequestBytes) {
        p.Fail(PostError::TooLong, "request longer than " + std::to_string(kMaxRequestBytes) + " bytes");
        return p.result;
    }
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            p.Malformed("control byte " + Hex(c, 2) + " at byte " + std::to_string(i));
            return p.result;
        }
    }

    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        tokens.push_back(line.substr(i, end - i));
        i = end;
    }
    if (tokens.empty()) {
        p.Malformed("empty request");
        return p.result;
    }
    if (tokens[0] != "post") {
        p.Malformed("a request begins with 'post', not '" + Shown(tokens[0]) + "'");
        return p.result;
    }
    for (std::size_t t = 1; t < tokens.size(); ++t)
        if (!p.Word(tokens[t]))
            return p.result;

    std::vector<WindowStep>& steps = p.result.request.steps;
    if (!p.haveMessage)
        p.Malformed("no message: give msg=");
    else if (steps.empty())
        p.Malformed("no window: give 'window' and what it must match");
    else
        p.Names(steps.back(), steps.size());
    return p.result;
}

std::string PercentEncode(std::string_view value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : value) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == '%' || c >= 0x7F) {
            out += '%';
            out += kDigits[c >> 4];
            out += kDigits[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

namespace {

// The shortest way to write a number: decimal, or hexadecimal when that is shorter.
std::string Shortest(std::uint64_t value) {
    const std::string decimal = std::to_string(value);
    const std::string hex = Hex(value);
    return hex.size() < decimal.size() ? hex : decimal;
}

std::string ShortestSigned(std::int64_t value) {
    if (value >= 0)
        return Shortest(static_cast<std::uint64_t>(value));
    const std::string negative = "-" + Shortest(0 - static_cast<std::uint64_t>(value));
    const std::string twosComplement = Shortest(static_cast<std::uint64_t>(value));
    return twosComplement.size() < negative.size() ? twosComplement : negative;
}

// A value with only what must be encoded encoded (blanks, '%', control characters); UTF-8 stays as it is.
std::string ShortestValue(std::string_view value) {
    std::string out;
    for (char ch : value) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == '%' || c == 0x7F)
            out += PercentEncode(std::string_view(&ch, 1));
        else
            out += ch;
    }
    return out;
}

} // namespace

// Every field in its shortest form and the parameters left out when they are 0, so that the line is never
// longer than one it was parsed from, and always within the length limit.
std::string FormatPostRequest(const PostRequest& request) {
    std::string line = "post msg=" + std::to_string(request.message);
    if (request.wParam != 0)
        line += " wparam=" + Shortest(request.wParam);
    if (request.lParam != 0)
        line += " lparam=" + ShortestSigned(request.lParam);
    for (std::size_t i = 0; i < request.steps.size(); ++i) {
        const WindowStep& step = request.steps[i];
        line += i == 0 ? " window" : " child";
        if (step.hwnd)
            line += " hwnd=" + Shortest(*step.hwnd);
        if (step.className)
            line += " class=" + ShortestValue(*step.className);
        if (step.caption)
            line += " caption=" + ShortestValue(*step.caption);
        if (step.id)
            line += " id=" + std::to_string(*step.id);
        if (step.visibleOnly)
            line += " visible";
    }
    return line + "\n";
}

std::string FormatPostedReply(std::uint64_t hwnd) {
    return "ok posted to " + Hex(hwnd) + "\n";
}

std::string FormatErrorReply(PostError error, std::string_view reason) {
    std::string line = std::string("error ") + PostErrorWord(error) + ": ";
    for (char c : reason)
        line += c == '\n' || c == '\r' ? ' ' : c;
    return line + "\n";
}

} // namespace kavrino
