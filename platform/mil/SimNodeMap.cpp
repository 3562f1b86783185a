#include "SimNodeMap.h"

#include "SimCommandNode.h"
#include "SimEnumerationNode.h"
#include "SimIntegerNode.h"
#include "SimStringNode.h"
#include "StringConv.h"

namespace kavrino {

GenApi::INode* SimNodeMap::GetNode(const GenICam::gcstring& name) const {
    const std::wstring wide = Utf8ToWide(name);
    SimFeature::Type type;
    bool readable = false, writable = false;
    if (!m_camera->Describe(wide, type, readable, writable))
        return nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    auto& node = m_nodes[wide];
    if (!node) {
        switch (type) {
        case SimFeature::String:
            node = std::make_unique<SimStringNode>(m_camera, wide);
            break;
        case SimFeature::Command:
            node = std::make_unique<SimCommandNode>(m_camera, wide);
            break;
        case SimFeature::Integer:
            node = std::make_unique<SimIntegerNode>(m_camera, wide);
            break;
        case SimFeature::Enumeration:
            node = std::make_unique<SimEnumerationNode>(m_camera, wide);
            break;
        default:
            node = std::make_unique<SimNode>(m_camera, wide);
            break;
        }
    }
    return node.get();
}

} // namespace kavrino
