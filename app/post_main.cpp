// kavrino-post: posts a message to a window of a running Kavrino program, as a key-pad driver or another
// program does. See "Messages from other programs" in README.md.

#include "PostEndpoint.h"
#include "PostRequest.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: kavrino-post [--pid PID | --endpoint PATH] [--timeout MS] WINDOW --message MSG\n"
    "                    [--wparam N] [--lparam N]\n"
    "       kavrino-post [--pid PID | --endpoint PATH] [--timeout MS] --raw   (the request on standard "
    "input)\n"
    "       kavrino-post --list\n"
    "WINDOW: the top-level window by --class NAME, --caption TEXT or --hwnd H, with --visible for a shown\n"
    "        one; then, step by step down, --child followed by --class, --caption, --id N and --visible.\n"
    "MSG:    WM_KEYPAD (0x812C) or WM_REFRESH_PAGE (0x464), also written as a number (decimal or 0x...),\n"
    "        WM_USER+n or WM_APP+n; the program refuses every other message.\n"
    "Without --pid or --endpoint the one running program is chosen.\n"
    "Exit status: 0 posted, 1 refused by the program, 2 bad usage, 3 no program or no answer.\n";

enum Exit { kPosted = 0, kRefused = 1, kBadUsage = 2, kNoAnswer = 3 };

// The messages the program takes from other programs, by the names its pages give them.
const std::pair<const char*, const char*> kMessageNames[] = {
    {"WM_KEYPAD", "WM_APP+300"},
    {"WM_REFRESH_PAGE", "WM_USER+100"},
};

int Usage(const std::string& problem) {
    std::cerr << "kavrino-post: " << problem << "\n" << kUsage;
    return kBadUsage;
}

// The endpoints of the programs that run now.
std::vector<kavrino::PostEndpointEntry> RunningPrograms(const std::string& directory, std::string& reason) {
    if (!kavrino::CheckPostDirectory(directory, reason))
        return {};
    return kavrino::ListLivePostEndpoints(directory);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string endpoint, pid, message;
    int timeoutMs = 5000;
    bool raw = false, list = false, haveWindow = false, childOpen = false;
    std::string fields; // the request's words after "post"

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return kPosted;
        } else if (a == "--raw") {
            raw = true;
        } else if (a == "--list") {
            list = true;
        } else if (a == "--endpoint" || a == "--pid" || a == "--timeout" || a == "--message") {
            if (!value(v))
                return Usage(a + " needs a value");
            if (a == "--endpoint")
                endpoint = v;
            else if (a == "--pid")
                pid = v;
            else if (a == "--message")
                message = v;
            else {
                char* end = nullptr;
                const long ms = std::strtol(v.c_str(), &end, 10);
                if (v.empty() || *end || ms < 1 || ms > 600000)
                    return Usage("--timeout takes milliseconds, 1 to 600000");
                timeoutMs = static_cast<int>(ms);
            }
        } else if (a == "--wparam" || a == "--lparam") {
            if (!value(v))
                return Usage(a + " needs a value");
            fields += " " + a.substr(2) + "=" + kavrino::PercentEncode(v);
        } else if (a == "--child") {
            if (!haveWindow)
                return Usage("--child comes after the top-level window's --class, --caption or --hwnd");
            childOpen = true;
            fields += " child";
        } else if (a == "--class" || a == "--caption" || a == "--id" || a == "--hwnd" || a == "--visible") {
            if (!haveWindow && !childOpen) {
                haveWindow = true;
                fields += " window";
            }
            if (a == "--visible") {
                fields += " visible";
                continue;
            }
            if (!value(v))
                return Usage(a + " needs a value");
            fields += " " + a.substr(2) + "=" + kavrino::PercentEncode(v);
        } else {
            return Usage("unknown argument '" + a + "'");
        }
    }

    const std::string directory = kavrino::DefaultPostDirectory();
    std::string reason;
    if (list) {
        for (const auto& entry : RunningPrograms(directory, reason))
            std::cout << entry.pid << " " << entry.path << "\n";
        if (!reason.empty())
            std::cerr << "kavrino-post: " << reason << "\n";
        return kPosted;
    }

    std::string request;
    if (raw) {
        if (!fields.empty() || !message.empty())
            return Usage("--raw takes the whole request from standard input");
        // A request is short; what is read past a good margin is not sent.
        char chunk[4096];
        std::size_t n = 0;
        while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0 && request.size() < 64 * 1024)
            request.append(chunk, n);
    } else {
        if (message.empty())
            return Usage("no --message");
        if (!haveWindow)
            return Usage("no window: give --class, --caption or --hwnd");
        for (const auto& name : kMessageNames)
            if (message == name.first)
                message = name.second;
        request = "post msg=" + kavrino::PercentEncode(message) + fields + "\n";
    }

    if (!endpoint.empty() && !pid.empty())
        return Usage("give --pid or --endpoint, not both");
    if (!pid.empty()) {
        char* end = nullptr;
        const long number = std::strtol(pid.c_str(), &end, 10);
        if (pid.empty() || *end || number <= 0)
            return Usage("--pid takes a process id");
        endpoint = kavrino::PostEndpointPath(directory, number);
    } else if (endpoint.empty()) {
        const auto running = RunningPrograms(directory, reason);
        if (!reason.empty()) {
            std::cerr << "kavrino-post: " << reason << "\n";
            return kNoAnswer;
        }
        if (running.empty()) {
            std::cerr << "kavrino-post: no running program has an endpoint in " << directory << "\n";
            return kNoAnswer;
        }
        if (running.size() > 1) {
            std::cerr << "kavrino-post: " << running.size()
                      << " programs are running; choose one with --pid:";
            for (const auto& entry : running)
                std::cerr << " " << entry.pid;
            std::cerr << "\n";
            return kBadUsage;
        }
        endpoint = running.front().path;
    }

    std::string reply;
    if (!kavrino::ExchangePostRequest(endpoint, request, timeoutMs, reply, reason)) {
        std::cerr << "kavrino-post: " << reason << "\n";
        return kNoAnswer;
    }
    std::cout << reply << "\n";
    return reply.compare(0, 3, "ok ") == 0 ? kPosted : kRefused;
}
