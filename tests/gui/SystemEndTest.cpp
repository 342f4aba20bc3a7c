// Signals from the system become one orderly end on the event loop.
#include <signal.h>

#include <QCoreApplication>
#include <QTest>

#include "gui/app/SystemEndSignals.h"
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

using HandlerFunction = void (*)(int);

HandlerFunction CurrentHandler(int signalNumber) {
  struct sigaction current {};
  ::sigaction(signalNumber, nullptr, &current);
  return current.sa_handler;
}

TEST(GuiSystemEndSignals, EachSignalEndsTheRunOnceFromTheEventLoop) {
  for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
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
}

TEST(GuiSystemEndSignals, ASignalBeforeTheEventLoopRunsIsKept) {
  SystemEndSignals watcher;
  ASSERT_EQ(::raise(SIGTERM), 0);
  int ends = 0;
  watcher.Watch([&] { ++ends; });
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(watcher.Requested());
}

TEST(GuiSystemEndSignals, ThePreviousHandlersComeBack) {
  const int watched[] = {SIGTERM, SIGINT, SIGHUP};
  HandlerFunction before[3];
  for (int i = 0; i < 3; ++i) before[i] = CurrentHandler(watched[i]);
  {
    SystemEndSignals watcher;
    for (int i = 0; i < 3; ++i) EXPECT_NE(CurrentHandler(watched[i]), before[i]) << watched[i];
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(CurrentHandler(watched[i]), before[i]) << watched[i];
}

}  // namespace
}  // namespace corvane::test
