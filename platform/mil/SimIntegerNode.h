#pragma once
// An integer feature of the simulated camera as a GenApi integer node.

#include "SimNode.h"

namespace kavrino {

class SimIntegerNode : public SimNode, public GenApi::IInteger {
public:
    using SimNode::SimNode;
    void SetValue(std::int64_t value, bool = true) override { Write(SimValue::OfInt(value)); }
    std::int64_t GetValue(bool = false, bool = false) override { return Read(SimCamera::Value).i; }
    std::int64_t GetMin() override { return Read(SimCamera::Min).i; }
    std::int64_t GetMax() override { return Read(SimCamera::Max).i; }
    std::int64_t GetInc() override { return Read(SimCamera::Increment).i; }
};

} // namespace kavrino
