#pragma once
// The home screen's production commands for channel 1: "Create Audio
// Production" (mix and export in the output codec), "Preview Audio
// Production" (mix and play) and "Stop Playing Audio Production". Both mix
// at the output rate and switch back to the project rate afterwards.

#include <string>
#include <string_view>

#include "audio/AudioConversion.h"
#include "audio/MediaPlayer.h"
#include "operator/Operator.h"
#include "project/ProjectFiles.h"
#include "project/SessionState.h"

namespace corvane {

enum class ExportOutcome { Cancelled, Failed, Done };

struct ProductionServices {
  SessionState& session;
  Operator& op;
  AudioConverter& converter;
  MediaPlayer& player;
  Progress& progress;
};

// The save dialog's filter for the output codec: "*.mp3" for "libmp3lame",
// "*.ogg" for "libvorbis", "*.wav" for any other.
std::string ProductionFileFilter(std::string_view outputCodec);

// The export itself, at whatever conversion rate is set: the questions, the
// save dialog (default name "CRV", no extension added), the mix and the
// conversion into the chosen file. A failed conversion leaves the chosen
// path as it was. The call's codec is the project codec afterwards.
ExportOutcome ExportProduction(ProductionServices& services, bool channel1Modified);

// "Create Audio Production": stops playback and exports at the output rate.
ExportOutcome CreateAudioProduction(ProductionServices& services, bool channel1Modified);
// "Preview Audio Production": stops playback; unless channel 1 is empty,
// mixes at the output rate and plays the production. True when it plays.
bool PreviewAudioProduction(ProductionServices& services);
// "Stop Playing Audio Production".
void StopAudioProduction(ProductionServices& services);

// Mixes channel 1 of the session into its temporary folder, the way saving a
// Tonvex-One package needs it.
class ChannelProductionMixer final : public ProductionMixer {
 public:
  ChannelProductionMixer(Operator& op, AudioConverter& converter, Progress& progress)
      : op_(op), converter_(converter), progress_(progress) {}
  void MixChannel1(SessionState& session) override;

 private:
  Operator& op_;
  AudioConverter& converter_;
  Progress& progress_;
};

}  // namespace corvane
