#include "MilErrorState.h"

namespace kavrino {

MilErrorState& MilErrorState::Instance() {
    static MilErrorState state;
    return state;
}

void MilErrorState::Raise(MIL_INT code, const wchar_t* operation, const std::wstring& reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending = m_lastCode = code;
    m_pendingText = m_lastText = std::wstring(operation) + L": " + reason;
}

MIL_INT MilErrorState::Take(std::wstring* text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const MIL_INT code = m_pending;
    if (text)
        *text = m_pendingText;
    m_pending = 0;
    m_pendingText.clear();
    return code;
}

void MilErrorState::Discard() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending = 0;
    m_pendingText.clear();
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
    m_pending = m_lastCode = 0;
    m_pendingText.clear();
    m_lastText.clear();
}

} // namespace kavrino
