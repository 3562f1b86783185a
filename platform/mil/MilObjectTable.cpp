#include "MilObjectTable.h"

namespace kavrino {

MilObjectTable& MilObjectTable::Instance() {
    static MilObjectTable table;
    return table;
}

MIL_ID MilObjectTable::Add(std::shared_ptr<MilObject> object) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const MIL_ID id = m_next++;
    object->SetId(id);
    m_objects.emplace(id, std::move(object));
    return id;
}

std::shared_ptr<MilObject> MilObjectTable::Get(MIL_ID id, MilObject::Kind kind) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_objects.find(id);
    if (it == m_objects.end() || it->second->GetKind() != kind)
        return nullptr;
    return it->second;
}

std::shared_ptr<MilObject> MilObjectTable::Remove(MIL_ID id) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_objects.find(id);
    if (it == m_objects.end())
        return nullptr;
    auto object = it->second;
    m_objects.erase(it);
    return object;
}

std::vector<std::shared_ptr<MilObject>> MilObjectTable::OwnedBy(MIL_ID owner) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::shared_ptr<MilObject>> owned;
    for (const auto& entry : m_objects)
        if (entry.second->Owner() == owner)
            owned.push_back(entry.second);
    return owned;
}

MIL_ID MilObjectTable::DefaultApplication() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it)
        if (it->second->GetKind() == MilObject::Application)
            return it->first;
    return 0;
}

std::size_t MilObjectTable::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_objects.size();
}

std::vector<std::shared_ptr<MilObject>> MilObjectTable::TakeAll() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::shared_ptr<MilObject>> all;
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it)
        all.push_back(it->second);
    m_objects.clear();
    return all;
}

} // namespace kavrino
