#include "AllocationCount.h"

#include <atomic>
#include <cstddef>

namespace {

std::atomic<int> g_counting{0};
std::atomic<long> g_allocations{0};

inline void Note() {
    if (g_counting.load(std::memory_order_relaxed) > 0)
        g_allocations.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

// A sanitizer brings its own allocator, which the program must not replace; it reports every allocation
// to a hook instead.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KAVRINO_SANITIZER_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KAVRINO_SANITIZER_ALLOCATOR 1
#endif
#endif

#ifdef KAVRINO_SANITIZER_ALLOCATOR

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, std::size_t),
                                                         void (*onFree)(const volatile void*));

namespace {
void OnMalloc(const volatile void*, std::size_t) {
    Note();
}
void OnFree(const volatile void*) {}
const int g_hooked = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
} // namespace

#else

extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* __libc_realloc(void* memory, std::size_t size);

extern "C" void* malloc(std::size_t size) {
    Note();
    return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count, std::size_t size) {
    Note();
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* memory, std::size_t size) {
    Note();
    return __libc_realloc(memory, size);
}

#endif

namespace kavrino_test {

AllocationCount::AllocationCount() {
    g_allocations.store(0);
    g_counting.fetch_add(1);
}

AllocationCount::~AllocationCount() {
    g_counting.fetch_sub(1);
}

long AllocationCount::Count() const {
    return g_allocations.load();
}

} // namespace kavrino_test
