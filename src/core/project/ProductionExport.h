#pragma once
// The home screen's production commands for channel 1: "Create Audio
// Production" (mix and export in the output codec), "Preview Audio
// Production" (mix and play) and "Stop Playing Audio Production". Both mix
// at the output rate and switch back to the project rate afterwards.

#include <string>
#include <string_view>

#include "project/ProjectContext.h"

namespace corvane {

enum class ExportOutcome { Cancelled, Failed, Done };

// The save dialog's filter for the output codec: "*.mp3" for "libmp3lame",
// "*.ogg" for "libvorbis", "*.wav" for any other.
std::string ProductionFileFilter(std::string_view outputCodec);

// The export itself, at whatever conversion rate is set: the questions, the
// save dialog (default name "CRV", no extension added), the mix and the
// conversion into the chosen file. A failed conversion leaves the chosen
// path as it was. The call's codec is the project codec afterwards.
ExportOutcome ExportProduction(ProjectContext& context);

// "Create Audio Production": stops playback and exports at the output rate.
ExportOutcome CreateAudioProduction(ProjectContext& context);
// "Preview Audio Production": stops playback; unless channel 1 is empty,
// mixes at the output rate and plays the production. True when it plays.
// As a caller hears it, the production is rendered through the telephone
// line first (the temporary folder's "telephone.wav").
bool PreviewAudioProduction(ProjectContext& context, bool asCallerHearsIt = false);
// "Stop Playing Audio Production".
void StopAudioProduction(ProjectContext& context);

// Mixes channel 1 at the project rate into the temporary folder's
// "output.wav", which a Tonvex-One package carries. False when the mix
// failed (the operator was told).
bool MixChannel1(ProjectContext& context);

}  // namespace corvane
