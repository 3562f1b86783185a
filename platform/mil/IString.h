#pragma once
// A string node.

#include "INode.h"

namespace GenApi {

class IString : virtual public INode {
public:
    static constexpr EInterfaceType kInterfaceType = intfIString;
    virtual void SetValue(const GenICam::gcstring& value, bool verify = true) = 0;
    virtual GenICam::gcstring GetValue(bool verify = false, bool ignoreCache = false) = 0;
    IString& operator=(const GenICam::gcstring& value) {
        SetValue(value);
        return *this;
    }
};

} // namespace GenApi
