#include "SimCameraRegistry.h"

#include "MilErrorState.h"
#include "MilObjectTable.h"

#include <map>
#include <mutex>

namespace kavrino {

namespace {

std::mutex g_mutex;
std::map<std::wstring, std::shared_ptr<SimCamera>>& Cameras() {
    static std::map<std::wstring, std::shared_ptr<SimCamera>> cameras;
    return cameras;
}

} // namespace

std::shared_ptr<SimCamera> SimCameraRegistry::Attach(const SimCameraConfig& config) {
    std::lock_guard<std::mutex> lock(g_mutex);
    auto& camera = Cameras()[config.model + L"\n" + config.serial];
    if (!camera)
        camera = std::make_shared<SimCamera>(config);
    camera->ApplyFaults(config.missing, config.refused);
    return camera;
}

std::shared_ptr<SimCamera> SimCameraRegistry::Find(const std::wstring& serial) {
    std::lock_guard<std::mutex> lock(g_mutex);
    for (const auto& entry : Cameras())
        if (entry.second->Config().serial == serial)
            return entry.second;
    return nullptr;
}

void SimCameraRegistry::Reset() {
    // Digitizers first (their destructors halt the grab threads), then everything else.
    auto objects = MilObjectTable::Instance().TakeAll();
    for (auto& object : objects)
        if (object->GetKind() == MilObject::Digitizer)
            object.reset();
    objects.clear();
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        Cameras().clear();
    }
    MilErrorState::Instance().Reset();
}

} // namespace kavrino
