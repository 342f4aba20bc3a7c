#pragma once
// Long work off the UI thread: the call returns once the work has finished
// on a worker thread, and meanwhile the UI thread goes on handling events,
// so windows repaint and timers tick. What the work reports to a screen
// must be handed over (QMetaObject::invokeMethod, queued).

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <functional>
#include <string>
#include <type_traits>

#include "common/Progress.h"

namespace corvane {

void RunOffUiThread(const std::function<void()>& work);

// Runs `call` on the UI thread and gives its result; a worker waits for it.
// Whatever is a window or a device's owner lives on the UI thread, so work
// that runs elsewhere reaches it through this.
template <typename Call>
auto OnUiThread(Call call) -> decltype(call()) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) return call();
  if constexpr (std::is_void_v<decltype(call())>) {
    QMetaObject::invokeMethod(app, [&] { call(); }, Qt::BlockingQueuedConnection);
  } else {
    decltype(call()) result{};
    QMetaObject::invokeMethod(app, [&] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

// Shows reports on a bar and, when given, captions on a label; UI thread
// only, so work elsewhere reaches it through a HandedOverProgress.
class BarProgress final : public Progress {
 public:
  explicit BarProgress(QWidget& bar, QWidget* caption = nullptr) : bar_(bar), caption_(caption) {}
  void SetCaption(std::string_view text) override;
  void SetRange(int low, int high) override;
  void SetPosition(int position) override;

 private:
  QWidget& bar_;
  QWidget* caption_;
};

// Hands each report of a worker to a progress on the UI thread. Reports
// still queued when the relay goes are dropped with it.
class HandedOverProgress final : public Progress {
 public:
  HandedOverProgress(QObject& relay, Progress& target) : relay_(relay), target_(target) {}
  void SetCaption(std::string_view caption) override {
    Post([this, text = std::string(caption)] { target_.SetCaption(text); });
  }
  void SetRange(int low, int high) override {
    Post([this, low, high] { target_.SetRange(low, high); });
  }
  void SetPosition(int position) override {
    Post([this, position] { target_.SetPosition(position); });
  }

 private:
  template <typename Work>
  void Post(Work work) {
    QMetaObject::invokeMethod(&relay_, std::move(work), Qt::QueuedConnection);
  }
  QObject& relay_;
  Progress& target_;
};

}  // namespace corvane
