#pragma once
// An integer node.

#include "INode.h"

#include <cstdint>

namespace GenApi {

class IInteger : virtual public INode {
public:
    static constexpr EInterfaceType kInterfaceType = intfIInteger;
    virtual void SetValue(std::int64_t value, bool verify = true) = 0;
    virtual std::int64_t GetValue(bool verify = false, bool ignoreCache = false) = 0;
    virtual std::int64_t GetMin() = 0;
    virtual std::int64_t GetMax() = 0;
    virtual std::int64_t GetInc() = 0;
};

} // namespace GenApi
