#pragma once
// The frames the grab hook hands over to their readers (the display's tick, "Grab One"): three buffers
// of one frame each. The hook fills a buffer that nobody reads and then publishes it; a reader holds the
// published buffer while it reads, and the hook never writes into the published buffer or a held one.
// So the hook never waits for a reader, and a reader always sees one whole frame.
//
// Not locked by itself: every call is made under the main window's frame lock, and each takes only a
// few instructions, so the hook's hand-over never waits longer than that.

#include "Platform.h"

#include <cstddef>
#include <memory>

class FrameSlots {
public:
    // Three zeroed buffers of nBytes each; the first is published.
    explicit FrameSlots(std::size_t nBytes);
    FrameSlots(const FrameSlots&) = delete;
    FrameSlots& operator=(const FrameSlots&) = delete;

    std::size_t Bytes() const { return m_nBytes; }
    BYTE* Published() const { return m_buffers[m_nPublished].get(); }

    // A buffer that is neither published, held nor being filled, for the hook to fill until it publishes
    // it; null when there is none (more readers or writers at once than the buffers leave room for).
    BYTE* TakeForWriting();
    // The buffer filled since TakeForWriting becomes the published one.
    void Publish(BYTE* pBuffer);

    // The published buffer, held until Release: no frame is written into it meanwhile.
    BYTE* Hold();
    void Release(const BYTE* pBuffer);

private:
    static constexpr int kCount = 3;
    int IndexOf(const BYTE* pBuffer) const;

    std::size_t m_nBytes;
    std::unique_ptr<BYTE[]> m_buffers[kCount];
    int m_nHolds[kCount] = {};
    bool m_bWriting[kCount] = {};
    int m_nPublished = 0;
};
