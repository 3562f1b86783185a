#pragma once
// One GenICam feature of the simulated camera: its type, limits, entries, access and current value.
// A selected feature (BalanceRatio under BalanceRatioSelector, LineMode and LineInverter under
// LineSelector, LUTValue under LUTIndex) keeps one value per selector value.

#include "SimValue.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kavrino {

struct SimFeature {
    enum Type { Command, Float, String, Boolean, Enumeration, Integer } type = Command;
    std::wstring name;
    bool readable = true;
    bool writable = true;
    bool lockedWhileAcquiring = false; // writes refused while the camera acquires
    bool affectsImage = true;          // a change alters the delivered pixels
    double dMin = 0.0, dMax = 0.0;
    std::int64_t iMin = 0, iMax = 0, iInc = 1;
    std::vector<std::wstring> entries; // enumeration entries the camera offers, in order
    std::wstring selector;             // the selecting feature's name, empty when not selected
    SimValue value;                    // the value when not selected
    std::map<std::wstring, SimValue> selected;
};

} // namespace kavrino
