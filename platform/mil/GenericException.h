#pragma once
// The base of every GenICam exception: a description text.

#include "gcstring.h"

#include <exception>

namespace GenICam {

class GenericException : public std::exception {
public:
    explicit GenericException(const gcstring& description) : m_description(description) {}
    const char* GetDescription() const noexcept { return m_description.c_str(); }
    const char* what() const noexcept override { return m_description.c_str(); }

private:
    gcstring m_description;
};

} // namespace GenICam
