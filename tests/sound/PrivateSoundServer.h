#pragma once
// A PulseAudio server of the tests' own: its own runtime folder and socket,
// never the operator's server, with virtual devices only. A sine source plays
// a known tone to record, and a null sink takes what is played; its monitor
// is offered as an input too, so a test can hear what reached the sink.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace corvane::test {

class PrivateSoundServer {
 public:
  static constexpr double kToneHz = 440;
  static constexpr const char* kToneSource = "Corvane test tone";
  static constexpr const char* kSinkListener = "Corvane test speaker";

  // Starts the server and points this process's sound clients at it. When it
  // cannot start, Failure() says why.
  PrivateSoundServer();
  ~PrivateSoundServer();
  PrivateSoundServer(const PrivateSoundServer&) = delete;
  PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

  bool Running() const { return failure_.empty(); }
  const std::string& Failure() const { return failure_; }

 private:
  std::filesystem::path folder_;
  pid_t server_ = -1;
  std::string failure_;
};

}  // namespace corvane::test
