#include "gui/app/SystemEndSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>

namespace corvane {
namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

// A signal handler may do almost nothing; it writes one byte to a pipe that
// the event loop watches.
int gPipe[2] = {-1, -1};
std::array<struct sigaction, kSignals.size()> gPrevious{};

extern "C" void OnSystemEndSignal(int signalNumber) {
  const int savedErrno = errno;
  const char byte = static_cast<char>(signalNumber);
  (void)!::write(gPipe[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

SystemEndSignals::SystemEndSignals() {
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    gPipe[0] = gPipe[1] = -1;
    return;
  }
  struct sigaction action {};
  action.sa_handler = OnSystemEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    ::sigaction(kSignals[i], &action, &gPrevious[i]);
  }
}

SystemEndSignals::~SystemEndSignals() {
  notifier_.reset();
  if (gPipe[0] < 0) return;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    ::sigaction(kSignals[i], &gPrevious[i], nullptr);
  }
  ::close(gPipe[0]);
  ::close(gPipe[1]);
  gPipe[0] = gPipe[1] = -1;
}

void SystemEndSignals::Watch(std::function<void()> onEnd) {
  onEnd_ = std::move(onEnd);
  if (gPipe[0] < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(gPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { Drain(); });
  Drain();
}

void SystemEndSignals::Drain() {
  char bytes[16];
  bool received = false;
  while (::read(gPipe[0], bytes, sizeof bytes) > 0) received = true;
  if (!received || requested_) return;
  requested_ = true;
  if (onEnd_) onEnd_();
}

}  // namespace corvane
