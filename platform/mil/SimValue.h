#pragma once
// One feature value as it crosses between the library's interface and the simulated camera: a double,
// a 64-bit integer, a boolean or a text.

#include <cstdint>
#include <string>

namespace kavrino {

struct SimValue {
    enum Kind { None, Double, Int, Bool, Text } kind = None;
    double d = 0.0;
    std::int64_t i = 0;
    bool b = false;
    std::wstring s;

    static SimValue OfDouble(double v) {
        SimValue r;
        r.kind = Double;
        r.d = v;
        return r;
    }
    static SimValue OfInt(std::int64_t v) {
        SimValue r;
        r.kind = Int;
        r.i = v;
        return r;
    }
    static SimValue OfBool(bool v) {
        SimValue r;
        r.kind = Bool;
        r.b = v;
        return r;
    }
    static SimValue OfText(std::wstring v) {
        SimValue r;
        r.kind = Text;
        r.s = std::move(v);
        return r;
    }
};

} // namespace kavrino
