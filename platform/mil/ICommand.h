#pragma once
// A command node.

#include "INode.h"

namespace GenApi {

class ICommand : virtual public INode {
public:
    static constexpr EInterfaceType kInterfaceType = intfICommand;
    virtual void Execute(bool verify = true) = 0;
    virtual bool IsDone(bool verify = true) = 0;
};

} // namespace GenApi
