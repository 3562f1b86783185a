#pragma once
// The main window's latest published frame, held for reading while this object lives: the grab hook
// goes on filling other buffers meanwhile, so the reader sees one whole frame and the hook never waits
// for it. Taking and giving back the hold are the only moments under the frame lock.

#include "Platform.h"

#include <cstddef>
#include <memory>

class CKavrinoDlg;
class FrameSlots;

class HeldFrame {
public:
    explicit HeldFrame(CKavrinoDlg& main);
    ~HeldFrame();
    HeldFrame(const HeldFrame&) = delete;
    HeldFrame& operator=(const HeldFrame&) = delete;

    // The frame's bytes; null when the main window has no frame buffer.
    const BYTE* Data() const { return m_pData; }
    // Bytes behind Data() (the buffer's size, which a frame of the live geometry never exceeds).
    std::size_t Size() const;

private:
    CKavrinoDlg& m_main;
    std::shared_ptr<FrameSlots> m_pSlots;
    const BYTE* m_pData = nullptr;
};
