#pragma once
// A command feature of the simulated camera as a GenApi command node; a command completes at once.

#include "SimNode.h"

namespace kavrino {

class SimCommandNode : public SimNode, public GenApi::ICommand {
public:
    using SimNode::SimNode;
    void Execute(bool = true) override { Run(); }
    bool IsDone(bool = true) override { return true; }
};

} // namespace kavrino
