#include "GdiplusStartup.h"

#include <atomic>
#include <mutex>
#include <set>

namespace {

std::atomic<bool> g_failNextStartup{false};
std::mutex g_tokensMutex;
std::set<ULONG_PTR> g_tokens;
ULONG_PTR g_nextToken = 1;

Gdiplus::Status HookNotification(ULONG_PTR* token) {
    if (!token)
        return Gdiplus::InvalidParameter;
    *token = 1;
    return Gdiplus::Ok;
}

void UnhookNotification(ULONG_PTR) {}

} // namespace

namespace Gdiplus {

Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* output) {
    if (!token || !input)
        return InvalidParameter;
    if (input->GdiplusVersion != 1)
        return UnsupportedGdiplusVersion;
    if (g_failNextStartup.exchange(false))
        return GenericError;
    if (output) {
        auto* hooks = static_cast<GdiplusStartupOutput*>(output);
        hooks->NotificationHook = HookNotification;
        hooks->NotificationUnhook = UnhookNotification;
    }
    std::lock_guard<std::mutex> lock(g_tokensMutex);
    *token = g_nextToken++;
    g_tokens.insert(*token);
    return Ok;
}

void GdiplusShutdown(ULONG_PTR token) {
    std::lock_guard<std::mutex> lock(g_tokensMutex);
    g_tokens.erase(token);
}

} // namespace Gdiplus

namespace kavrino {

void SetGdiplusStartupFailure(bool fail) {
    g_failNextStartup = fail;
}

int GdiplusStartupCount() {
    std::lock_guard<std::mutex> lock(g_tokensMutex);
    return static_cast<int>(g_tokens.size());
}

} // namespace kavrino
