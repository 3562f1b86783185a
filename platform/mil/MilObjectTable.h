#pragma once
// The process-wide table of library objects by identifier. Identifiers are never reused, so a freed
// identifier stays invalid.

#include "MilObject.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace kavrino {

class MilObjectTable {
public:
    static MilObjectTable& Instance();

    MIL_ID Add(std::shared_ptr<MilObject> object);
    // The object when the identifier names one of that kind, else null.
    std::shared_ptr<MilObject> Get(MIL_ID id, MilObject::Kind kind) const;
    template <typename T> std::shared_ptr<T> Get(MIL_ID id, MilObject::Kind kind) const {
        return std::static_pointer_cast<T>(Get(id, kind));
    }
    std::shared_ptr<MilObject> Remove(MIL_ID id);
    std::vector<std::shared_ptr<MilObject>> OwnedBy(MIL_ID owner) const;
    // The most recently allocated application that still exists, or 0.
    MIL_ID DefaultApplication() const;
    std::size_t Count() const;
    // Removes every object and hands them over, newest first.
    std::vector<std::shared_ptr<MilObject>> TakeAll();

private:
    mutable std::mutex m_mutex;
    std::map<MIL_ID, std::shared_ptr<MilObject>> m_objects;
    MIL_ID m_next = 1;
};

} // namespace kavrino
