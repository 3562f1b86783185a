#pragma once
// The GenICam library as the system uses it: the string and exception types, the node map, the string,
// command, integer and enumeration nodes with their smart pointers, and the access helpers.

#include "CPointer.h"
#include "GenericException.h"
#include "ICommand.h"
#include "IEnumeration.h"
#include "IInteger.h"
#include "INodeMap.h"
#include "IString.h"
#include "LogicalErrorException.h"
#include "gcstring.h"

namespace GenApi {

using CNodePtr = INode*;
using CStringPtr = CPointer<IString>;
using CCommandPtr = CPointer<ICommand>;
using CIntegerPtr = CPointer<IInteger>;
using CEnumerationPtr = CPointer<IEnumeration>;

inline bool IsAvailable(const INode* node) {
    return node && node->GetAccessMode() != NI && node->GetAccessMode() != NA;
}
inline bool IsReadable(const INode* node) {
    return node && (node->GetAccessMode() == RO || node->GetAccessMode() == RW);
}
inline bool IsWritable(const INode* node) {
    return node && (node->GetAccessMode() == WO || node->GetAccessMode() == RW);
}

} // namespace GenApi
