#pragma once
// A node of a GenApi node map: a named feature with a principal interface and an access mode.

#include "gcstring.h"

namespace GenApi {

enum EInterfaceType {
    intfIValue,
    intfIBase,
    intfIInteger,
    intfIBoolean,
    intfICommand,
    intfIFloat,
    intfIString,
    intfIRegister,
    intfICategory,
    intfIEnumeration,
    intfIEnumEntry,
    intfIPort
};

// NI: not implemented, NA: not available, WO: write only, RO: read only, RW: read and write.
enum EAccessMode { NI, NA, WO, RO, RW };

class INode {
public:
    virtual ~INode() = default;
    virtual GenICam::gcstring GetName() const = 0;
    virtual EInterfaceType GetPrincipalInterfaceType() const = 0;
    virtual EAccessMode GetAccessMode() const = 0;
};

} // namespace GenApi
