#pragma once
// The smart pointer through which a node is used as one interface. It holds nothing when the node is
// missing or is not of that kind; using it then raises LogicalErrorException ("NULL pointer
// dereferenced").

#include "INode.h"
#include "LogicalErrorException.h"

namespace GenApi {

template <typename T> class CPointer {
public:
    CPointer(INode* node = nullptr)
        : m_ptr(node && node->GetPrincipalInterfaceType() == T::kInterfaceType ? dynamic_cast<T*>(node)
                                                                               : nullptr) {}
    bool IsValid() const { return m_ptr != nullptr; }
    explicit operator bool() const { return IsValid(); }
    T* operator->() const { return Checked(); }
    T& operator*() const { return *Checked(); }
    operator INode*() const { return m_ptr; }

private:
    T* Checked() const {
        if (!m_ptr)
            throw GenICam::LogicalErrorException("NULL pointer dereferenced");
        return m_ptr;
    }
    T* m_ptr;
};

} // namespace GenApi
