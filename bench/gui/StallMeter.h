#pragma once
// The longest time the UI thread went without handling events: a 10 ms timer
// runs from construction, and the longest gap between two of its ticks is
// the longest stall an operator could have seen.

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace corvane {

class StallMeter {
 public:
  StallMeter() {
    ticker_.setInterval(10);
    QObject::connect(&ticker_, &QTimer::timeout,
                     [this] { longest_ = std::max(longest_, sinceTick_.restart()); });
    sinceTick_.start();
    ticker_.start();
  }
  qint64 LongestMs() const { return longest_; }

 private:
  QElapsedTimer sinceTick_;
  QTimer ticker_;
  qint64 longest_ = 0;
};

}  // namespace corvane
