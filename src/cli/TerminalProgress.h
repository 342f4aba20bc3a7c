#pragma once
// How far long work got, as one line on stderr that redraws itself:
// "[##########----------]  50%  song.ogg". Drawn only where stderr is a
// terminal and the operator did not ask for quiet, so scripts and logs get
// nothing but the results.

#include <string>
#include <string_view>

#include "Arguments.h"
#include "common/Progress.h"

namespace corvane::cli {

class TerminalProgress final : public Progress {
 public:
  // Drawn when shown is true; item names what is worked on.
  TerminalProgress(bool shown, std::string item);
  // Takes the line away again, so what the command prints next starts clean.
  ~TerminalProgress() override;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void SetItem(std::string item);
  // Takes the line away before the command prints on the terminal; the next
  // report draws it again.
  void Clear();
  void SetCaption(std::string_view) override {}
  void SetRange(int low, int high) override;
  void SetPosition(int position) override;

 private:
  void Draw();

  bool shown_;
  std::string item_;
  int low_ = 0;
  int high_ = 100;
  int position_ = 0;
  int drawnPercent_ = -1;
  bool drawn_ = false;
};

// Whether a command's progress is shown: stderr is a terminal and --quiet
// was not given.
bool ProgressWanted(const Arguments& arguments);

}  // namespace corvane::cli
