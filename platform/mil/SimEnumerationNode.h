#pragma once
// An enumeration feature of the simulated camera as a GenApi enumeration node, set by entry name.

#include "SimNode.h"
#include "StringConv.h"

namespace kavrino {

class SimEnumerationNode : public SimNode, public GenApi::IEnumeration {
public:
    using SimNode::SimNode;
    void FromString(const GenICam::gcstring& entry, bool = true) override {
        Write(SimValue::OfText(Utf8ToWide(entry)));
    }
    GenICam::gcstring ToString(bool = false, bool = false) override {
        return WideToUtf8(Read(SimCamera::Value).s);
    }
    using GenApi::IEnumeration::operator=;
};

} // namespace kavrino
