#include "HeldFrame.h"

#include "CKavrinoDlg.h"
#include "FrameSlots.h"

HeldFrame::HeldFrame(CKavrinoDlg& main) : m_main(main) {
    m_main.m_csFrame.Lock();
    m_pSlots = m_main.m_pFrameSlots;
    if (m_pSlots)
        m_pData = m_pSlots->Hold();
    m_main.m_csFrame.Unlock();
}

HeldFrame::~HeldFrame() {
    if (!m_pSlots)
        return;
    // A frame buffer replaced meanwhile (a new connection) lives on in m_pSlots until here.
    m_main.m_csFrame.Lock();
    m_pSlots->Release(m_pData);
    m_main.m_csFrame.Unlock();
}

std::size_t HeldFrame::Size() const {
    return m_pSlots ? m_pSlots->Bytes() : 0;
}
