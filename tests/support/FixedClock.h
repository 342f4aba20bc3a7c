#pragma once
// A clock that says what the test tells it, so "today", "tomorrow" and a day
// change are testable at any hour.

#include "common/Clock.h"

namespace corvane::test {

class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalDateTime now = {2024, 3, 15, 14, 30, 0}) : now_(now) {}
  LocalDateTime Now() const override { return now_; }

 private:
  LocalDateTime now_;
};

}  // namespace corvane::test
