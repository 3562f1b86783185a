#include "MilErrorState.h"

#include <utility>

namespace kavrino {

MilErrorState& MilErrorState::Instance() {
    static MilErrorState state;
    return state;
}

MilErrorState::Pending& MilErrorState::Current() {
    thread_local Pending pending;
    std::uint64_t epoch = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        epoch = m_epoch;
    }
    if (pending.epoch != epoch)
        pending = Pending{0, std::wstring(), epoch};
    return pending;
}

void MilErrorState::Raise(MIL_INT code, const wchar_t* operation, const std::wstring& reason) {
    std::wstring text = std::wstring(operation) + L": " + reason;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lastCode = code;
        m_lastText = text;
    }
    Pending& pending = Current();
    pending.code = code;
    pending.text = std::move(text);
}

MIL_INT MilErrorState::Take(std::wstring* text) {
    Pending& pending = Current();
    const MIL_INT code = pending.code;
    if (text)
        *text = pending.text;
    pending.code = 0;
    pending.text.clear();
    return code;
}

void MilErrorState::Discard() {
    Pending& pending = Current();
    pending.code = 0;
    pending.text.clear();
}

MIL_INT MilErrorState::LastCode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastCode;
}

std::wstring MilErrorState::LastText() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastText;
}

void MilErrorState::Reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lastCode = 0;
    m_lastText.clear();
    ++m_epoch;
}

MilErrorState::Pending MilErrorState::Save() {
    Pending& pending = Current();
    Pending saved = std::move(pending);
    pending = Pending{0, std::wstring(), saved.epoch};
    return saved;
}

void MilErrorState::Restore(Pending pending) {
    Pending& current = Current();
    // An error saved before a Reset does not outlive it.
    if (pending.epoch == current.epoch)
        current = std::move(pending);
    else
        current = Pending{0, std::wstring(), current.epoch};
}

} // namespace kavrino
