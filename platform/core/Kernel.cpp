#include "Kernel.h"
#include "StringConv.h"

#include <algorithm>
#include <atomic>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <unordered_map>

namespace {

// A waitable object: an event, or a thread that becomes signalled when it ends.
struct KernelObject {
    std::mutex mutex;
    std::condition_variable changed;
    bool signalled = false;
    bool manualReset = true;
    bool isThread = false;
    DWORD exitCode = STILL_ACTIVE;

    void Signal() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            signalled = true;
        }
        changed.notify_all();
    }
};

class HandleTable {
public:
    HANDLE Add(std::shared_ptr<KernelObject> object) {
        std::lock_guard<std::mutex> lock(m_mutex);
        const std::uintptr_t id = (m_next += 4);
        m_objects.emplace(id, std::move(object));
        return reinterpret_cast<HANDLE>(id);
    }
    std::shared_ptr<KernelObject> Get(HANDLE h) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_objects.find(reinterpret_cast<std::uintptr_t>(h));
        return it == m_objects.end() ? nullptr : it->second;
    }
    bool Remove(HANDLE h) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_objects.erase(reinterpret_cast<std::uintptr_t>(h)) > 0;
    }
    std::size_t Count() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_objects.size();
    }

private:
    std::mutex m_mutex;
    std::uintptr_t m_next = 0x1000;
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> m_objects;
};

HandleTable& Handles() {
    static HandleTable* table = new HandleTable; // lives until the process ends, for late threads
    return *table;
}

// Thread creations still to fail (tests).
std::atomic<int> g_threadFailures{0};

bool TakeThreadCreationFailure() {
    int left = g_threadFailures.load();
    while (left > 0 && !g_threadFailures.compare_exchange_weak(left, left - 1)) {
    }
    return left > 0;
}

} // namespace

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR) {
    auto object = std::make_shared<KernelObject>();
    object->manualReset = manualReset != FALSE;
    object->signalled = initialState != FALSE;
    return Handles().Add(std::move(object));
}

BOOL SetEvent(HANDLE event) {
    auto object = Handles().Get(event);
    if (!object || object->isThread)
        return FALSE;
    object->Signal();
    return TRUE;
}

BOOL ResetEvent(HANDLE event) {
    auto object = Handles().Get(event);
    if (!object || object->isThread)
        return FALSE;
    std::lock_guard<std::mutex> lock(object->mutex);
    object->signalled = false;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    auto object = Handles().Get(handle);
    if (!object)
        return WAIT_FAILED;
    std::unique_lock<std::mutex> lock(object->mutex);
    auto ready = [&] { return object->signalled; };
    if (milliseconds == INFINITE) {
        object->changed.wait(lock, ready);
    } else if (!object->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), ready)) {
        return WAIT_TIMEOUT;
    }
    if (!object->manualReset && !object->isThread)
        object->signalled = false;
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
    return Handles().Remove(handle) ? TRUE : FALSE;
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, std::size_t, LPTHREAD_START_ROUTINE routine, LPVOID parameter,
                    DWORD creationFlags, DWORD* threadId) {
    if (!routine || creationFlags != 0 || TakeThreadCreationFailure())
        return nullptr;
    auto object = std::make_shared<KernelObject>();
    object->isThread = true;
    object->manualReset = true;
    HANDLE handle = Handles().Add(object);
    try {
        std::thread worker([object, routine, parameter] {
            const DWORD code = routine(parameter);
            {
                std::lock_guard<std::mutex> lock(object->mutex);
                object->exitCode = code;
                object->signalled = true;
            }
            object->changed.notify_all();
        });
        if (threadId)
            *threadId = static_cast<DWORD>(std::hash<std::thread::id>()(worker.get_id()));
        worker.detach();
    } catch (const std::system_error&) {
        Handles().Remove(handle);
        return nullptr;
    }
    return handle;
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode) {
    auto object = Handles().Get(thread);
    if (!object || !object->isThread || !exitCode)
        return FALSE;
    std::lock_guard<std::mutex> lock(object->mutex);
    *exitCode = object->exitCode;
    return TRUE;
}

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(std::hash<std::thread::id>()(std::this_thread::get_id()));
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count)
        return FALSE;
    count->QuadPart = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency)
        return FALSE;
    frequency->QuadPart = 1000000000LL;
    return TRUE;
}

DWORD GetTickCount() {
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count());
}

void GetLocalTime(SYSTEMTIME* time) {
    if (!time)
        return;
    timeval now{};
    gettimeofday(&now, nullptr);
    std::tm local{};
    const std::time_t seconds = now.tv_sec;
    localtime_r(&seconds, &local);
    time->wYear = static_cast<WORD>(local.tm_year + 1900);
    time->wMonth = static_cast<WORD>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time->wDay = static_cast<WORD>(local.tm_mday);
    time->wHour = static_cast<WORD>(local.tm_hour);
    time->wMinute = static_cast<WORD>(local.tm_min);
    time->wSecond = static_cast<WORD>(local.tm_sec);
    time->wMilliseconds = static_cast<WORD>(now.tv_usec / 1000);
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

DWORD GetModuleFileName(HMODULE, LPWSTR buffer, DWORD size) {
    if (!buffer || size == 0)
        return 0;
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        buffer[0] = L'\0';
        return 0;
    }
    path[n] = '\0';
    const std::wstring wide = kavrino::Utf8ToWide(path);
    const std::size_t written = std::min<std::size_t>(wide.size(), size - 1);
    wide.copy(buffer, written);
    buffer[written] = L'\0';
    return static_cast<DWORD>(written);
}

BOOL InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION, DWORD) {
    return TRUE;
}
void InitializeCriticalSection(LPCRITICAL_SECTION) {}
void EnterCriticalSection(LPCRITICAL_SECTION section) {
    section->mutex.lock();
}
void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    section->mutex.unlock();
}
void DeleteCriticalSection(LPCRITICAL_SECTION) {}

namespace kavrino {
std::size_t OpenHandleCount() {
    return Handles().Count();
}

void FailNextThreadCreations(int count) {
    g_threadFailures = count > 0 ? count : 0;
}
} // namespace kavrino
