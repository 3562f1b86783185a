#pragma once
// Starting and stopping the library. The application starts it once before the first bitmap and shuts
// it down at exit; nothing here keeps threads or global resources, so bitmaps also work without it.

#include "GdiplusTypes.h"

namespace Gdiplus {

enum DebugEventLevel { DebugEventLevelFatal, DebugEventLevelWarning };
using DebugEventProc = void (*)(DebugEventLevel level, char* message);

struct GdiplusStartupInput {
    UINT32 GdiplusVersion;
    DebugEventProc DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;

    GdiplusStartupInput(DebugEventProc debugEventCallback = nullptr, BOOL suppressBackgroundThread = FALSE,
                        BOOL suppressExternalCodecs = FALSE)
        : GdiplusVersion(1), DebugEventCallback(debugEventCallback),
          SuppressBackgroundThread(suppressBackgroundThread), SuppressExternalCodecs(suppressExternalCodecs) {
    }
};

using NotificationHookProc = Status (*)(ULONG_PTR* token);
using NotificationUnhookProc = void (*)(ULONG_PTR token);

struct GdiplusStartupOutput {
    NotificationHookProc NotificationHook;
    NotificationUnhookProc NotificationUnhook;
};

// Ok with a non-zero token; InvalidParameter for a missing token or input, UnsupportedGdiplusVersion for
// a version other than 1. `output` (a GdiplusStartupOutput*) is filled when given.
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* output);
void GdiplusShutdown(ULONG_PTR token);

} // namespace Gdiplus

namespace kavrino {

// Makes the next GdiplusStartup fail with GenericError (once), so the application's failure path can be
// shown and tested.
void SetGdiplusStartupFailure(bool fail);
// How many start-ups have not been shut down yet.
int GdiplusStartupCount();

} // namespace kavrino
