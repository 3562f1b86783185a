#pragma once
// The GenICam string: narrow text (UTF-8 here) with the standard string's operations.

#include <string>

namespace GenICam {

class gcstring : public std::string {
public:
    gcstring() = default;
    gcstring(const char* text) : std::string(text ? text : "") {}
    gcstring(const std::string& text) : std::string(text) {}
};

} // namespace GenICam
