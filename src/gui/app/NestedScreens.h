#pragma once
// How a screen opens the screens it leads to, so a screen test can put a
// recording stand-in where the real screen would open. Each screen that is
// opened from another joins this seam: the desktop's set opens the real
// one, the tests' set records the call and answers as scripted.

#include <filesystem>
#include <optional>
#include <string>

#include "project/ProjectContext.h"

class QWidget;

namespace corvane {


class NestedScreens {
 public:
  virtual ~NestedScreens() = default;
  // "Need help?": the help box, modal over parent.
  virtual void HelpBox(QWidget* parent) = 0;
  // The channel editor for channel 0 (a one-list model's), 1 or 2; its
  // result, 0 when the channel was saved.
  virtual int ChannelEditor(QWidget* parent, ProjectContext& context, int channelNumber) = 0;
  // "Record Audio File": the recording the operator saved, or nothing.
  virtual std::optional<std::filesystem::path> RecordAudioFile(QWidget* parent,
                                                               ProjectContext& context) = 0;
  // "Media Security"; 0 when the operator confirmed.
  virtual int MediaSecurity(QWidget* parent, ProjectContext& context) = 0;
  // "Sampling Rates / Output Format".
  virtual void SamplingRates(QWidget* parent, ProjectContext& context, bool channel1HoldsEntries) = 0;
  // The progress dialog of saving and opening a package; the work's status.
  virtual int PackageProgress(QWidget* parent, const std::string& text, const ProgressWork& work) = 0;
};

// The real screens.
class DesktopScreens final : public NestedScreens {
 public:
  void HelpBox(QWidget* parent) override;
  int ChannelEditor(QWidget* parent, ProjectContext& context, int channelNumber) override;
  std::optional<std::filesystem::path> RecordAudioFile(QWidget* parent,
                                                       ProjectContext& context) override;
  int MediaSecurity(QWidget* parent, ProjectContext& context) override;
  void SamplingRates(QWidget* parent, ProjectContext& context, bool channel1HoldsEntries) override;
  int PackageProgress(QWidget* parent, const std::string& text, const ProgressWork& work) override;
};

}  // namespace corvane
