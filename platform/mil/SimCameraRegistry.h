#pragma once
// The cameras plugged into the simulated grabber, for the life of the program: a camera keeps its
// feature values while digitizers are freed and allocated again, as a real camera would. A camera is
// known by its model and serial number; its description comes from the first configuration file that
// names it, its fault injection from the latest.

#include "SimCamera.h"

#include <memory>
#include <string>

namespace kavrino {

class SimCameraRegistry {
public:
    // The camera the configuration names, created on first use.
    static std::shared_ptr<SimCamera> Attach(const SimCameraConfig& config);
    // The camera with this serial number, or null.
    static std::shared_ptr<SimCamera> Find(const std::wstring& serial);
    // For tests: frees every library object (halting grabs), forgets every camera and clears the
    // error state, so that the next test starts from a fresh program.
    static void Reset();
};

} // namespace kavrino
