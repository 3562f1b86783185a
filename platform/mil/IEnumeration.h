#pragma once
// An enumeration node, set and read by the names of its entries.

#include "INode.h"

namespace GenApi {

class IEnumeration : virtual public INode {
public:
    static constexpr EInterfaceType kInterfaceType = intfIEnumeration;
    virtual void FromString(const GenICam::gcstring& entry, bool verify = true) = 0;
    virtual GenICam::gcstring ToString(bool verify = false, bool ignoreCache = false) = 0;
    IEnumeration& operator=(const GenICam::gcstring& entry) {
        FromString(entry);
        return *this;
    }
};

} // namespace GenApi
