#pragma once
// Where long work (packaging, unpacking, conversion) reports how far it got,
// so the screen can move a progress bar and stay responsive.

namespace corvane {

class Progress {
 public:
  virtual ~Progress() = default;
  virtual void SetRange(int low, int high) = 0;
  virtual void SetPosition(int position) = 0;
};

class NoProgress final : public Progress {
 public:
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
};

}  // namespace corvane
