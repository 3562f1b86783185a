#pragma once
// Counts the memory allocations of the whole test program, on every thread, while one is in scope: the
// display's tick must make none. Without a sanitizer the program's malloc, calloc and realloc (which
// operator new calls too) count before they hand over to the C library's allocator; with AddressSanitizer
// or ThreadSanitizer, the sanitizer's allocation hook counts.

namespace kavrino_test {

class AllocationCount {
public:
    AllocationCount();
    ~AllocationCount();
    AllocationCount(const AllocationCount&) = delete;
    AllocationCount& operator=(const AllocationCount&) = delete;

    // The allocations since the count began.
    long Count() const;
};

} // namespace kavrino_test
