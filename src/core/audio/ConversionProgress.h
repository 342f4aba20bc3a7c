#pragma once
// Where a conversion tells how far it got, with its caption ("Adding File
// ...", "Processing Files ...", "Converting File ..."), so a screen can show
// a progress bar under that caption and stay responsive.

#include <string_view>

namespace corvane {

class ConversionProgress {
 public:
  virtual ~ConversionProgress() = default;
  // percent runs from 0 to 100; called each time it moves.
  virtual void Report(std::string_view caption, int percent) = 0;
};

class NoConversionProgress final : public ConversionProgress {
 public:
  void Report(std::string_view, int) override {}
};

}  // namespace corvane
