#pragma once
// A camera's node map: its nodes by name.

#include "INode.h"

namespace GenApi {

class INodeMap {
public:
    virtual ~INodeMap() = default;
    // The node of that name, or null when the camera has none.
    virtual INode* GetNode(const GenICam::gcstring& name) const = 0;
};

} // namespace GenApi
