#include "FrameSlots.h"

FrameSlots::FrameSlots(std::size_t nBytes) : m_nBytes(nBytes) {
    for (auto& buffer : m_buffers)
        buffer.reset(new BYTE[nBytes > 0 ? nBytes : 1]());
}

int FrameSlots::IndexOf(const BYTE* pBuffer) const {
    for (int i = 0; i < kCount; ++i)
        if (m_buffers[i].get() == pBuffer)
            return i;
    return -1;
}

BYTE* FrameSlots::TakeForWriting() {
    // Readers hold only the published buffer, one at a time on the user-interface thread: of the other
    // two at most one is still held by a reader that took it before the last publication. A buffer being
    // filled is nobody else's until it is published.
    for (int i = 0; i < kCount; ++i) {
        if (i != m_nPublished && m_nHolds[i] == 0 && !m_bWriting[i]) {
            m_bWriting[i] = true;
            return m_buffers[i].get();
        }
    }
    return nullptr;
}

void FrameSlots::Publish(BYTE* pBuffer) {
    const int index = IndexOf(pBuffer);
    if (index < 0)
        return;
    m_bWriting[index] = false;
    m_nPublished = index;
}

BYTE* FrameSlots::Hold() {
    ++m_nHolds[m_nPublished];
    return m_buffers[m_nPublished].get();
}

void FrameSlots::Release(const BYTE* pBuffer) {
    const int index = IndexOf(pBuffer);
    if (index >= 0 && m_nHolds[index] > 0)
        --m_nHolds[index];
}
