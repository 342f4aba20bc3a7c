#include "project/ProductionExport.h"

#include "audio/MixProduction.h"

namespace corvane {
namespace {

// Sets the conversion rate to the output rate for the life of the scope and
// back to the project rate after, re-deriving the maximum length both ways.
class OutputRateScope {
 public:
  explicit OutputRateScope(ST_AUDIO_TYPE& audio) : audio_(audio) {
    audio_.SetConversionRate(audio_.OutputRateText.View(), audio_.OutputRate);
  }
  ~OutputRateScope() {
    audio_.SetConversionRate(audio_.ProjectRateText.View(), audio_.ProjectRate);
  }
  OutputRateScope(const OutputRateScope&) = delete;
  OutputRateScope& operator=(const OutputRateScope&) = delete;

 private:
  ST_AUDIO_TYPE& audio_;
};

MixServices MixServicesOf(ProductionServices& services) {
  const std::filesystem::path temp = services.session.Folders.TempFolder;
  return {services.op, services.converter, services.progress, temp, temp};
}

}  // namespace

std::string ProductionFileFilter(std::string_view outputCodec) {
  if (outputCodec == "libmp3lame") return "Audio Files (*.mp3)|*.mp3||";
  if (outputCodec == "libvorbis") return "Audio Files (*.ogg)|*.ogg||";
  return "Audio Files (*.wav)|*.wav||";
}

ExportOutcome ExportProduction(ProductionServices& services, bool channel1Modified) {
  SessionState& session = services.session;
  ST_AUDIO_TYPE& audio = session.Audio;
  Operator& op = services.op;
  if (!session.Channel1.HoldsAnyEntry()) {
    op.Tell("Nothing to save.", "No Music/Messages", OperatorIcon::Stop);
    return ExportOutcome::Cancelled;
  }
  if (!channel1Modified &&
      op.Ask("Continue saving file?", "Music/Messages not Modified", OperatorButtons::YesNo,
             OperatorIcon::Exclamation) != OperatorAnswer::Yes) {
    return ExportOutcome::Cancelled;
  }
  FileDialogRequest request;
  request.filter = ProductionFileFilter(audio.OutputCodec.View());
  request.initialName = "CRV";
  request.overwritePrompt = true;
  const auto chosen = op.ChooseFileToSave(request);
  if (!chosen || chosen->empty()) return ExportOutcome::Cancelled;

  // A failed mix is reported by the mixer and leaves no output.wav, so the
  // conversion below fails for want of a source and says so too.
  std::string mixed;
  MixProduction(session.Channel1, audio, MixServicesOf(services), mixed);
  audio.CallCodec = audio.OutputCodec;
  const ConversionResult result = services.converter.Convert(
      std::filesystem::path(session.Folders.TempFolder) / kProductionFileName, *chosen, audio,
      kConvertingFileCaption, services.progress);
  audio.CallCodec = audio.ProjectCodec;
  if (!result.Succeeded()) {
    op.Tell("Error", "Error Converting File", OperatorIcon::Stop);
    return ExportOutcome::Failed;
  }
  return ExportOutcome::Done;
}

ExportOutcome CreateAudioProduction(ProductionServices& services, bool channel1Modified) {
  services.player.Stop();
  OutputRateScope outputRate(services.session.Audio);
  return ExportProduction(services, channel1Modified);
}

bool PreviewAudioProduction(ProductionServices& services) {
  services.player.Stop();
  if (!services.session.Channel1.HoldsAnyEntry()) return false;
  std::string path;
  {
    OutputRateScope outputRate(services.session.Audio);
    MixProduction(services.session.Channel1, services.session.Audio, MixServicesOf(services), path);
  }
  if (path.empty()) return false;
  services.player.PlayFile(path);
  return true;
}

void StopAudioProduction(ProductionServices& services) { services.player.Stop(); }

void ChannelProductionMixer::MixChannel1(SessionState& session) {
  const std::filesystem::path temp = session.Folders.TempFolder;
  MixServices services{op_, converter_, progress_, temp, temp};
  std::string path;
  MixProduction(session.Channel1, session.Audio, services, path);
}

}  // namespace corvane
