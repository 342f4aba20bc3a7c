#pragma once
// Long work off the UI thread: the call returns once the work has finished
// on a worker thread, and meanwhile the UI thread goes on handling events,
// so windows repaint and timers tick. What the work reports to a screen
// must be handed over (QMetaObject::invokeMethod, queued).

#include <functional>

namespace corvane {

void RunOffUiThread(const std::function<void()>& work);

}  // namespace corvane
