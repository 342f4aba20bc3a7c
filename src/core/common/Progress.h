#pragma once
// How far long work got: packaging and unpacking move a bar across a range,
// a conversion names what it does ("Adding File ...", "Processing Files ...",
// "Converting File ...") and moves from 0 to 100.
//
// Threads: the work calls these on the thread that runs it, which is a worker
// thread whenever a screen keeps its window alive meanwhile (never the
// cipher's helper threads). An implementation that updates a screen hands
// each value over to the UI thread instead of touching widgets here.

#include <string_view>

namespace corvane {

class Progress {
 public:
  virtual ~Progress() = default;
  virtual void SetCaption(std::string_view caption) = 0;
  virtual void SetRange(int low, int high) = 0;
  virtual void SetPosition(int position) = 0;
};

class NoProgress final : public Progress {
 public:
  void SetCaption(std::string_view) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
};

}  // namespace corvane
