#pragma once
// Marks for ThreadSanitizer where one thread hands an object to another through a channel the sanitizer
// cannot see: Qt's event queue and OpenCV's worker pool synchronise inside libraries that are not built
// with it. The sending thread calls HandOver(object) when it lets go of the object; the receiving thread
// calls TakeOver(object) before it first touches it. Everything the sender wrote before its HandOver is
// then known to happen before what the receiver does after its TakeOver. Both are empty in every other
// build.

#if defined(__SANITIZE_THREAD__)
#define KAVRINO_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KAVRINO_THREAD_SANITIZER 1
#endif
#endif

#ifdef KAVRINO_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace kavrino {

inline void HandOver(const volatile void* object) {
#ifdef KAVRINO_THREAD_SANITIZER
    __tsan_release(const_cast<void*>(object));
#else
    (void)object;
#endif
}

inline void TakeOver(const volatile void* object) {
#ifdef KAVRINO_THREAD_SANITIZER
    __tsan_acquire(const_cast<void*>(object));
#else
    (void)object;
#endif
}

} // namespace kavrino
