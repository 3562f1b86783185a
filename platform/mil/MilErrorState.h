#pragma once
// The library's error state: the pending error that the current-error query returns and clears, and the
// latest failure kept for logs.
//
// A pending error belongs to the thread whose call failed, and within that thread to the piece of work
// that made the call (MilErrorScope): the query reports the failures of the calls made in its own scope
// and never one that an earlier piece of work left unqueried. The latest failure is kept program-wide.

#include "Mil.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace kavrino {

class MilErrorState {
public:
    // A thread's pending error, as a scope saves and restores it.
    struct Pending {
        MIL_INT code = 0;
        std::wstring text;
        std::uint64_t epoch = 0; // the Reset it belongs to
    };

    static MilErrorState& Instance();

    // Records a failure of the named operation; it becomes the calling thread's pending error.
    void Raise(MIL_INT code, const wchar_t* operation, const std::wstring& reason);
    // The calling thread's pending error (0 when none), cleared by the reading; its text goes to text
    // when given.
    MIL_INT Take(std::wstring* text);
    // Drops the calling thread's pending error.
    void Discard();
    MIL_INT LastCode() const;
    std::wstring LastText() const;
    // A fresh program: no latest failure, and no thread keeps an error it had pending.
    void Reset();

    // Hands the calling thread's pending error over (leaving none pending), and puts one back.
    Pending Save();
    void Restore(Pending pending);

private:
    Pending& Current();

    mutable std::mutex m_mutex;
    MIL_INT m_lastCode = 0;
    std::wstring m_lastText;
    std::uint64_t m_epoch = 0;
};

} // namespace kavrino
