#pragma once
// A simulated GenICam area camera on a CoaXPress link: its features with their types, limits, entries
// and access, the behaviour of its automatic functions and commands, and what a real camera refuses
// (unknown names, values out of range or off the increment, unknown entries, geometry changes while it
// acquires). Thread-safe: the library's calls and the grab thread share it.

#include "Mil.h"
#include "SimCameraConfig.h"
#include "SimFeature.h"
#include "SimImageSettings.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace kavrino {

class SimCamera {
public:
    enum Query { Value, Min, Max, Increment };

    explicit SimCamera(const SimCameraConfig& config);

    const SimCameraConfig& Config() const { return m_config; }

    // Fault injection: a missing feature does not exist; a refused one exists but refuses every write
    // or execution. ApplyFaults replaces both sets.
    void ApplyFaults(const std::set<std::wstring>& missing, const std::set<std::wstring>& refused);
    void SetMissing(const std::wstring& name, bool missing);
    void SetRefused(const std::wstring& name, bool refused);
    // A camera that reports odd limits for an integer feature (a minimum above the maximum, an increment
    // of 0); false when there is no such integer feature.
    bool SetIntegerRange(const std::wstring& name, std::int64_t min, std::int64_t max, std::int64_t inc);

    // Each returns kMilErrorNone or an error code with the reason in why.
    MIL_INT Type(const std::wstring& name, MIL_INT64& type, std::wstring& why) const;
    // The value, or a limit, in the feature's own kind (an enumeration gives its entry name, with the
    // entry's position in i); asText formats it as text.
    MIL_INT Read(const std::wstring& name, Query query, bool asText, SimValue& out, std::wstring& why) const;
    // A text value is parsed into the feature's type; other values are converted when nothing is lost.
    MIL_INT Write(const std::wstring& name, const SimValue& value, std::wstring& why);
    MIL_INT Execute(const std::wstring& name, std::wstring& why);
    // Kind, access and entries of a feature, for the node map; false when the camera lacks it.
    bool Describe(const std::wstring& name, SimFeature::Type& type, bool& readable, bool& writable,
                  std::vector<std::wstring>* entries = nullptr) const;

    // Acquisition, started and stopped by the grabber (and stopped by "AcquisitionStop").
    void SetAcquiring(bool on);
    bool IsAcquiring() const;
    SimImageSettings Snapshot() const;
    // Changes with every write that alters the delivered pixels.
    std::uint64_t ImageGeneration() const { return m_imageGeneration.load(); }
    // Changes with every accepted write or execution and every start or stop of acquisition.
    std::uint64_t Generation() const { return m_generation.load(); }
    // Called (without the camera's lock) after each accepted software trigger.
    void SetTriggerListener(std::function<void()> listener);
    std::uint64_t SoftwareTriggers() const { return m_triggers.load(); }
    // How often a command was executed (for tests of the calibration and user-set commands).
    int Executions(const std::wstring& name) const;

private:
    void AddFeatures();
    SimFeature& Add(SimFeature::Type type, const std::wstring& name);
    const SimFeature* Find(const std::wstring& name, std::wstring& why) const;
    std::wstring SelectorKey(const SimFeature& f) const;
    SimValue Current(const SimFeature& f) const;
    SimValue DefaultSelected(const SimFeature& f, const std::wstring& key) const;
    void Store(SimFeature& f, const SimValue& v);
    MIL_INT Convert(const SimFeature& f, const SimValue& in, SimValue& out, std::wstring& why) const;
    MIL_INT Check(const SimFeature& f, const SimValue& v, std::wstring& why) const;
    void AfterWrite(const std::wstring& name);
    void UpdateGeometry(bool resetWindow);
    MIL_INT RunVendorCommand(const std::wstring& text, std::wstring& why);
    void AutoAdjust(const wchar_t* modeName, const wchar_t* valueName, const wchar_t* otherName);
    void AutoBalance();
    std::wstring Text(const std::wstring& name) const;
    double Number(const std::wstring& name) const;
    // An unselected boolean, also one the camera reports as an integer (0 or 1), and clearing it.
    bool Flag(const std::wstring& name) const;
    void ClearFlag(const std::wstring& name);

    mutable std::mutex m_mutex;
    const SimCameraConfig m_config;
    std::map<std::wstring, SimFeature> m_features;
    std::map<std::wstring, SimFeature> m_factory;
    std::map<std::wstring, std::map<std::wstring, SimFeature>> m_userSets;
    std::set<std::wstring> m_missing;
    std::set<std::wstring> m_refused;
    std::map<std::wstring, int> m_executions;
    bool m_acquiring = false;
    std::atomic<std::uint64_t> m_imageGeneration{1};
    std::atomic<std::uint64_t> m_generation{1};
    std::atomic<std::uint64_t> m_triggers{0};
    std::function<void()> m_triggerListener;
};

} // namespace kavrino
