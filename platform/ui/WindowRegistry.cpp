#include "WindowRegistry.h"

#include "DeviceSurface.h"

#include <QObject>
#include <QWidget>
#include <QVariant>

namespace kavrino {

namespace {
const char* const kHandleProperty = "kavrinoHwnd";
}

WindowRegistry& WindowRegistry::Instance() {
    // Lives until the process ends: a window still open at exit would otherwise be destroyed by the
    // registry's own destructor, and its controls would look themselves up in a registry half gone.
    static auto* registry = new WindowRegistry;
    return *registry;
}

HWND WindowRegistry::Add(std::unique_ptr<WindowState> state) {
    std::lock_guard<std::mutex> lock(m_mutex);
    HWND hwnd = reinterpret_cast<HWND>(m_next);
    m_next += 4;
    state->hwnd = hwnd;
    m_windows[hwnd] = std::move(state);
    return hwnd;
}

WindowState* WindowRegistry::Find(HWND hwnd) const {
    if (!hwnd)
        return nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : it->second.get();
}

bool WindowRegistry::Contains(HWND hwnd) const {
    return Find(hwnd) != nullptr;
}

std::unique_ptr<WindowState> WindowRegistry::Remove(HWND hwnd) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end())
        return nullptr;
    std::unique_ptr<WindowState> state = std::move(it->second);
    m_windows.erase(it);
    return state;
}

std::size_t WindowRegistry::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_windows.size();
}

std::vector<HWND> WindowRegistry::Handles() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<HWND> handles;
    handles.reserve(m_windows.size());
    for (const auto& entry : m_windows)
        handles.push_back(entry.first);
    return handles;
}

HWND WindowRegistry::HandleOf(const QObject* object) {
    for (; object; object = object->parent()) {
        QVariant v = object->property(kHandleProperty);
        if (v.isValid())
            return reinterpret_cast<HWND>(v.value<quintptr>());
        // A window of its own that the window system did not make (a message box, a file dialog, a
        // control's pop-up list, a library's window) belongs to no window of ours, not even to the
        // one it was opened over.
        if (object->isWidgetType() && static_cast<const QWidget*>(object)->isWindow())
            return nullptr;
    }
    return nullptr;
}

void WindowRegistry::Tag(QObject* object, HWND hwnd) {
    object->setProperty(kHandleProperty, QVariant::fromValue(reinterpret_cast<quintptr>(hwnd)));
}

DeviceSurface* WindowState::Surface() const {
    return client ? dynamic_cast<DeviceSurface*>(client.data()) : nullptr;
}

} // namespace kavrino
