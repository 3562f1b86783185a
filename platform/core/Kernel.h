#pragma once
// Kernel services: events, threads, handles, critical sections, the performance counter, local time,
// Sleep and the program's own file name.
//
// A HANDLE is a number in a process-wide table, never a pointer: a handle that was closed simply stops
// naming anything, so a late call with it fails cleanly (WAIT_FAILED, FALSE) instead of touching freed
// memory. A thread that waits on an object keeps the object alive until its wait ends, also when the
// handle is closed meanwhile.

#include "WinTypes.h"

#include <mutex>

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD STILL_ACTIVE = 259;

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID);

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Waits on an event or a thread (signalled when it has ended). A time-out of 0 polls.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL CloseHandle(HANDLE object);

// Starts the routine at once on a new thread (creation flags are not supported and must be 0).
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, std::size_t stackSize, LPTHREAD_START_ROUTINE routine,
                    LPVOID parameter, DWORD creationFlags, DWORD* threadId);
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
DWORD GetCurrentThreadId();

BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
DWORD GetTickCount();
void GetLocalTime(SYSTEMTIME* time);
void Sleep(DWORD milliseconds);

// The full path of the running program; the result is cut to size - 1 characters and zero-terminated.
DWORD GetModuleFileName(HMODULE module, LPWSTR buffer, DWORD size);

// A recursive lock, as the original platform's critical section is.
struct CRITICAL_SECTION {
    std::recursive_mutex mutex;
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;
BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
void InitializeCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);

namespace kavrino {
// The number of handles open now (for tests that check that nothing is left behind).
std::size_t OpenHandleCount();
// Tests: the next `count` calls of CreateThread fail as when the system cannot start another thread.
void FailNextThreadCreations(int count);
} // namespace kavrino
