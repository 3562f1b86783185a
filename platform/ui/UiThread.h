#pragma once
// Runs work on the user-interface thread (the thread of the QApplication).

#include <functional>

namespace kavrino {

bool IsUiThread();
// Runs the function on the user-interface thread and returns when it has run: at once when called there,
// otherwise through that thread's event queue (also while it is inside a nested loop). When the queued call
// is discarded (the application shuts down) the caller is released without it having run; the result is
// false then.
bool RunOnUiThread(const std::function<void()>& work);
// Queues the function for the user-interface thread and returns at once.
void PostToUiThread(std::function<void()> work);
// Processes pending user-interface events (for tests and for waits that must keep the user interface
// alive).
void ProcessUiEvents();

} // namespace kavrino
