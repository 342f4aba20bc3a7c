#pragma once
// An input that behaves like a sound device: what it delivered waits until
// the recorder takes it, and Stop drops whatever was not taken; nothing
// arrives after Stop. Each take while it runs also hands over the next
// prepared block, standing for what arrived in one timer period.

#include <deque>
#include <string>
#include <vector>

#include "audio/AudioInput.h"

namespace corvane::test {

class ScriptedAudioInput final : public AudioInput {
 public:
  std::vector<std::string> Devices() override { return devices; }
  bool SupportsCaptureFormat(std::size_t device) override { return device != unsupported; }
  bool Start(std::size_t device) override {
    started.push_back(device);
    running = startWorks;
    return startWorks;
  }
  void TakeCaptured(std::vector<std::int16_t>& into) override {
    if (!running) return;
    into.insert(into.end(), pending.begin(), pending.end());
    pending.clear();
    if (blocks.empty()) return;
    into.insert(into.end(), blocks.front().begin(), blocks.front().end());
    blocks.pop_front();
  }
  void Stop() override {
    running = false;
    pending.clear();
    ++stops;
  }
  // The device delivers samples; ignored while it is stopped.
  void Deliver(const std::vector<std::int16_t>& samples) {
    if (running) pending.insert(pending.end(), samples.begin(), samples.end());
  }

  std::vector<std::string> devices{"Microphone", "Line In"};
  std::size_t unsupported = 99;
  bool startWorks = true;
  bool running = false;
  int stops = 0;
  std::vector<std::size_t> started;
  std::deque<std::vector<std::int16_t>> blocks;
  std::vector<std::int16_t> pending;
};

}  // namespace corvane::test
