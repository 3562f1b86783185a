#pragma once
// The table of live windows: handle -> record. Handles are numbers that are never reused, so a handle of
// a destroyed window names nothing. Lookups of records happen on the user-interface thread; whether a
// handle is live may be asked from any thread.

#include "WindowState.h"

#include <memory>
#include <mutex>
#include <vector>

class QObject;

namespace kavrino {

class WindowRegistry {
public:
    static WindowRegistry& Instance();

    HWND Add(std::unique_ptr<WindowState> state);
    WindowState* Find(HWND hwnd) const;
    bool Contains(HWND hwnd) const;
    std::unique_ptr<WindowState> Remove(HWND hwnd);
    std::size_t Count() const;
    // The live windows, in the order they were created.
    std::vector<HWND> Handles() const;

    // The window a widget belongs to: the nearest widget up its parents that carries a handle, within
    // the widget's own top-level window; null for a widget of a window the window system did not make.
    static HWND HandleOf(const QObject* object);
    static void Tag(QObject* object, HWND hwnd);

private:
    mutable std::mutex m_mutex;
    std::map<HWND, std::unique_ptr<WindowState>> m_windows;
    std::uintptr_t m_next = 0x1000;
};

inline WindowState* FindWindowState(HWND hwnd) {
    return WindowRegistry::Instance().Find(hwnd);
}

} // namespace kavrino
