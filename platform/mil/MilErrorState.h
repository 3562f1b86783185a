#pragma once
// The library's error state: the pending error that the current-error query returns and clears, and the
// latest failure kept for logs.

#include "Mil.h"

#include <mutex>
#include <string>

namespace kavrino {

class MilErrorState {
public:
    static MilErrorState& Instance();

    // Records a failure of the named operation; it becomes the pending error.
    void Raise(MIL_INT code, const wchar_t* operation, const std::wstring& reason);
    // The pending error (0 when none), cleared by the reading; its text goes to text when given.
    MIL_INT Take(std::wstring* text);
    void Discard();
    MIL_INT LastCode() const;
    std::wstring LastText() const;
    void Reset();

private:
    mutable std::mutex m_mutex;
    MIL_INT m_pending = 0;
    std::wstring m_pendingText;
    MIL_INT m_lastCode = 0;
    std::wstring m_lastText;
};

} // namespace kavrino
