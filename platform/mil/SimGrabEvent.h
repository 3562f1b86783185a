#pragma once
// The event a grab hook receives: it names the buffer the frame was grabbed into.

#include "MilObject.h"

#include <atomic>

namespace kavrino {

class SimGrabEvent : public MilObject {
public:
    explicit SimGrabEvent(MIL_ID digitizer) : MilObject(Event, digitizer) {}
    std::atomic<MIL_ID> modifiedBuffer{0};
};

} // namespace kavrino
