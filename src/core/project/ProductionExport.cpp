#include "project/ProductionExport.h"

#include "audio/AudioConversion.h"
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

MixServices MixServicesOf(ProjectContext& context) {
  const std::filesystem::path temp = context.session.Folders.TempFolder;
  return {context.op, context.converter, context.progress, temp, temp};
}

}  // namespace

std::string ProductionFileFilter(std::string_view outputCodec) {
  if (outputCodec == "libmp3lame") return "Audio Files (*.mp3)|*.mp3||";
  if (outputCodec == "libvorbis") return "Audio Files (*.ogg)|*.ogg||";
  return "Audio Files (*.wav)|*.wav||";
}

ExportOutcome ExportProduction(ProjectContext& context) {
  SessionState& session = context.session;
  ST_AUDIO_TYPE& audio = session.Audio;
  Operator& op = context.op;
  if (!session.Channel1.HoldsAnyEntry()) {
    op.Tell("Nothing to save.", "No Music/Messages", OperatorIcon::Stop);
    return ExportOutcome::Cancelled;
  }
  if (!context.home.Channel1Modified &&
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
  MixProduction(session.Channel1, audio, MixServicesOf(context), mixed);
  audio.CallCodec = audio.OutputCodec;
  const ConversionResult result = context.converter.Convert(
      std::filesystem::path(session.Folders.TempFolder) / kProductionFileName, *chosen, audio,
      kConvertingFileCaption, context.progress, {});
  audio.CallCodec = audio.ProjectCodec;
  if (!result.Succeeded()) {
    op.Tell("Error", "Error Converting File", OperatorIcon::Stop);
    return ExportOutcome::Failed;
  }
  return ExportOutcome::Done;
}

ExportOutcome CreateAudioProduction(ProjectContext& context) {
  context.player.Stop();
  OutputRateScope outputRate(context.session.Audio);
  return ExportProduction(context);
}

bool PreviewAudioProduction(ProjectContext& context, bool asCallerHearsIt) {
  context.player.Stop();
  SessionState& session = context.session;
  if (!session.Channel1.HoldsAnyEntry()) return false;
  std::string path;
  {
    OutputRateScope outputRate(session.Audio);
    MixProduction(session.Channel1, session.Audio, MixServicesOf(context), path);
  }
  if (path.empty()) return false;
  if (asCallerHearsIt) {
    const std::string line = session.Folders.TempFolder + "telephone.wav";
    ST_AUDIO_TYPE audio = session.Audio;
    audio.CallCodec.Set("pcm_s16le");
    const ConversionResult rendered = context.converter.Convert(
        path, line, audio, kProcessingFilesCaption, context.progress, {std::nullopt, true});
    if (!rendered.Succeeded()) {
      context.op.Tell(kMixingErrorTitle, kCannotMixText, OperatorIcon::Stop);
      return false;
    }
    path = line;
  }
  context.player.PlayFile(path);
  return true;
}

void StopAudioProduction(ProjectContext& context) { context.player.Stop(); }

bool MixChannel1(ProjectContext& context) {
  std::string path;
  return MixProduction(context.session.Channel1, context.session.Audio, MixServicesOf(context),
                       path);
}

}  // namespace corvane
