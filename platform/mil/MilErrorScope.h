#pragma once
// One piece of work of a thread, such as the handling of one window message: inside it the library's
// current-error query reports the failures of the calls made inside it, and no failure that earlier work
// left unqueried. A failure the piece of work does not query ends with it; the error that was pending
// around it is pending again afterwards. Scopes nest.

#include "MilErrorState.h"

namespace kavrino {

class MilErrorScope {
public:
    MilErrorScope() : m_saved(MilErrorState::Instance().Save()) {}
    ~MilErrorScope() { MilErrorState::Instance().Restore(std::move(m_saved)); }
    MilErrorScope(const MilErrorScope&) = delete;
    MilErrorScope& operator=(const MilErrorScope&) = delete;

private:
    MilErrorState::Pending m_saved;
};

} // namespace kavrino
