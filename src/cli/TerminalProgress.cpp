#include "TerminalProgress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace corvane::cli {
namespace {

constexpr int kBarWidth = 20;
// Carriage return and "erase the line": the next drawing replaces this one.
constexpr const char* kClearLine = "\r\033[2K";

}  // namespace

TerminalProgress::TerminalProgress(bool shown, std::string item)
    : shown_(shown), item_(std::move(item)) {}

TerminalProgress::~TerminalProgress() { Clear(); }

void TerminalProgress::Clear() {
  if (!drawn_) return;
  std::fputs(kClearLine, stderr);
  std::fflush(stderr);
  drawn_ = false;
  drawnPercent_ = -1;
}

void TerminalProgress::SetItem(std::string item) {
  item_ = std::move(item);
  low_ = 0;
  high_ = 100;
  position_ = 0;
  drawnPercent_ = -1;
  Draw();
}

void TerminalProgress::SetRange(int low, int high) {
  low_ = low;
  high_ = high;
  Draw();
}

void TerminalProgress::SetPosition(int position) {
  position_ = position;
  Draw();
}

void TerminalProgress::Draw() {
  if (!shown_) return;
  const long long span = static_cast<long long>(high_) - low_;
  const long long done = std::clamp(static_cast<long long>(position_) - low_, 0LL, std::max(span, 0LL));
  const int percent = span > 0 ? static_cast<int>(done * 100 / span) : 0;
  // A redraw for every step of a gigabyte would cost more than the work.
  if (percent == drawnPercent_) return;
  drawnPercent_ = percent;
  const int filled = percent * kBarWidth / 100;
  std::fprintf(stderr, "%s[%s%s] %3d%%  %s", kClearLine, std::string(filled, '#').c_str(),
               std::string(kBarWidth - filled, '-').c_str(), percent, item_.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

bool ProgressWanted(const Arguments& arguments) {
  return !arguments.Has("--quiet") && ::isatty(STDERR_FILENO) == 1;
}

}  // namespace corvane::cli
