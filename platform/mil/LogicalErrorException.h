#pragma once
// Raised for a use that cannot succeed, such as dereferencing a node pointer that holds no node of the
// expected kind ("NULL pointer dereferenced").

#include "GenericException.h"

namespace GenICam {

class LogicalErrorException : public GenericException {
public:
    explicit LogicalErrorException(const gcstring& description) : GenericException(description) {}
};

} // namespace GenICam
