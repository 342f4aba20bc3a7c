// Signals from the system become one orderly end on the event loop.
#include <signal.h>

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>
#include "gui/app/SystemEndSignals.h"

namespace corvane::test {
namespace {

using HandlerFunction = void (*)(int);

HandlerFunction CurrentHandler(int signalNumber) {
  struct sigaction current {};
  ::sigaction(signalNumber, nullptr, &current);
  return current.sa_handler;
}

TEST(GuiSystemEndSignals, EachSignalEndsTheRunOnceFromTheEventLoopAndTheOldHandlersComeBack) {
  for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
    const HandlerFunction before = CurrentHandler(signalNumber);
    {
      SystemEndSignals watcher;
      int ends = 0;
      watcher.Watch([&] { ++ends; });
      ASSERT_EQ(::raise(signalNumber), 0);
      EXPECT_EQ(ends, 0) << "not from inside the signal handler";
      QTRY_COMPARE(ends, 1);
      EXPECT_TRUE(watcher.Requested());
      ASSERT_EQ(::raise(SIGTERM), 0);  // a second signal changes nothing
      QTest::qWait(20);
      EXPECT_EQ(ends, 1);
    }
    EXPECT_EQ(CurrentHandler(signalNumber), before) << signalNumber;
  }
  // A signal before the event loop runs is kept.
  SystemEndSignals watcher;
  ASSERT_EQ(::raise(SIGTERM), 0);
  int ends = 0;
  watcher.Watch([&] { ++ends; });
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(watcher.Requested());
}

}  // namespace
}  // namespace corvane::test
