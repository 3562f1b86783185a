#pragma once
// A small lock around a critical section. The main window and the display window each hold one.

#include "Platform.h"

class CMyCriticalSection {
public:
    CMyCriticalSection() { InitializeCriticalSectionAndSpinCount(&m_cs, 40000); }
    ~CMyCriticalSection() { DeleteCriticalSection(&m_cs); }
    CMyCriticalSection(const CMyCriticalSection&) = delete;
    CMyCriticalSection& operator=(const CMyCriticalSection&) = delete;

    virtual void Lock() { EnterCriticalSection(&m_cs); }
    virtual void Unlock() { LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};
