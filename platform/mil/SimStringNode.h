#pragma once
// A string feature of the simulated camera as a GenApi string node.

#include "SimNode.h"
#include "StringConv.h"

namespace kavrino {

class SimStringNode : public SimNode, public GenApi::IString {
public:
    using SimNode::SimNode;
    void SetValue(const GenICam::gcstring& value, bool = true) override {
        Write(SimValue::OfText(Utf8ToWide(value)));
    }
    GenICam::gcstring GetValue(bool = false, bool = false) override {
        return WideToUtf8(Read(SimCamera::Value).s);
    }
    using GenApi::IString::operator=;
};

} // namespace kavrino
