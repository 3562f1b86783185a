#include "Kernel.h"

#include <atomic>
#include <thread>
#include <gtest/gtest.h>

TEST(KernelEvent, ManualResetWaitTimeoutAndPoll) {
    HANDLE e = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(e, 20), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, INFINITE), WAIT_OBJECT_0); // manual reset: stays signalled
    EXPECT_TRUE(ResetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(e));
    // A closed handle names nothing any more.
    EXPECT_EQ(WaitForSingleObject(e, INFINITE), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(e));
    EXPECT_FALSE(CloseHandle(e));
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
}

TEST(KernelEvent, AutoResetReleasesOneWaitAndTheInitialStateCounts) {
    HANDLE e = CreateEvent(nullptr, FALSE, TRUE, nullptr);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0); // created signalled
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);  // the wait took the signal
    EXPECT_TRUE(SetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 20), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    CloseHandle(e);
    HANDLE m = CreateEvent(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    CloseHandle(m);
}

namespace {
struct Shared {
    HANDLE go;
    std::atomic<int> value{0};
};
DWORD Worker(LPVOID p) {
    auto* s = static_cast<Shared*>(p);
    WaitForSingleObject(s->go, INFINITE);
    s->value = 42;
    return 7;
}
} // namespace

TEST(KernelThread, RunsAtOnceAndSignalsItsHandleWhenDone) {
    Shared s;
    s.go = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE t = CreateThread(nullptr, 0, Worker, &s, 0, nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(WaitForSingleObject(t, 20), WAIT_TIMEOUT);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    // A thread's handle is no event: only the thread's end signals it.
    EXPECT_FALSE(SetEvent(t));
    EXPECT_FALSE(ResetEvent(t));
    EXPECT_EQ(WaitForSingleObject(t, 0), WAIT_TIMEOUT);
    // Closing the event's handle while the worker waits on it does not free the event under it.
    HANDLE go = s.go;
    SetEvent(go);
    EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(s.value, 42);
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(t);
    CloseHandle(go);
}

TEST(KernelThread, AWaiterSurvivesTheCloseOfItsHandle) {
    HANDLE e = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> result{12345};
    std::thread waiter([&] { result = WaitForSingleObject(e, 2000); });
    Sleep(20);
    CloseHandle(e); // the waiter holds the object; its wait simply times out
    waiter.join();
    EXPECT_EQ(result, WAIT_TIMEOUT);
}

TEST(KernelTime, CounterLocalTimeAndModuleName) {
    LARGE_INTEGER f, a, b;
    ASSERT_TRUE(QueryPerformanceFrequency(&f));
    EXPECT_GT(f.QuadPart, 0);
    QueryPerformanceCounter(&a);
    Sleep(15);
    QueryPerformanceCounter(&b);
    const double ms = double(b.QuadPart - a.QuadPart) * 1000.0 / double(f.QuadPart);
    EXPECT_GE(ms, 14.0);
    SYSTEMTIME t{};
    GetLocalTime(&t);
    EXPECT_GE(t.wYear, 2020);
    EXPECT_LT(t.wMilliseconds, 1000);
    wchar_t path[8];
    const DWORD n = GetModuleFileName(nullptr, path, 8);
    EXPECT_EQ(n, 7u); // cut to the buffer
    EXPECT_EQ(path[7], L'\0');
}
