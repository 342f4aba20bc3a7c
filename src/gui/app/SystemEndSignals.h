#pragma once
// The system ending the program (SIGTERM, SIGINT, or SIGHUP when the desktop
// or terminal session closes) must not leave working files behind: the
// signal is turned into a call on the user-interface thread, where the
// session can end as it always does.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace corvane {

class SystemEndSignals {
 public:
  // Installs the handlers at once, so a signal that comes before the event
  // loop runs is kept, not lost. One instance at a time.
  SystemEndSignals();
  SystemEndSignals(const SystemEndSignals&) = delete;
  SystemEndSignals& operator=(const SystemEndSignals&) = delete;
  // Puts back the handlers that were there before.
  ~SystemEndSignals();

  // From now on the first signal (or one already received) runs onEnd once,
  // from the event loop. Needs the application object.
  void Watch(std::function<void()> onEnd);

  // A signal has been seen by the event loop (or was pending at Watch).
  bool Requested() const { return requested_; }

 private:
  void Drain();

  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void()> onEnd_;
  bool requested_ = false;
};

}  // namespace corvane
