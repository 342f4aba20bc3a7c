#pragma once
// Diagnostic trace lines of the package and record readers. They go to
// standard output, which the desktop application does not show; tests and the
// command line may capture or silence them.

#include <cstdarg>
#include <cstdio>

namespace corvane {

class TraceLog {
 public:
  // Null writes nothing.
  explicit TraceLog(std::FILE* out = stdout) : out_(out) {}

  __attribute__((format(printf, 2, 3))) void Line(const char* format, ...) const {
    if (out_ == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(out_, format, arguments);
    va_end(arguments);
  }

  static TraceLog Silent() { return TraceLog(nullptr); }

 private:
  std::FILE* out_;
};

}  // namespace corvane
