#pragma once
// The simulated camera's GenApi node map: a node for every feature the camera has.

#include "GenApi.h"
#include "SimCamera.h"
#include "SimNode.h"

#include <map>
#include <memory>
#include <mutex>

namespace kavrino {

class SimNodeMap : public GenApi::INodeMap {
public:
    explicit SimNodeMap(std::shared_ptr<SimCamera> camera) : m_camera(std::move(camera)) {}
    GenApi::INode* GetNode(const GenICam::gcstring& name) const override;

private:
    std::shared_ptr<SimCamera> m_camera;
    mutable std::mutex m_mutex;
    mutable std::map<std::wstring, std::unique_ptr<GenApi::INode>> m_nodes;
};

} // namespace kavrino
