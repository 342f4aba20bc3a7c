#include "gui/app/NestedScreens.h"

#include "gui/app/AboutDlg.h"
#include "gui/audio/ChangeSamplingRateDlg.h"
#include "gui/audio/QtAudioInput.h"
#include "gui/audio/RecordDlg.h"
#include "gui/channel/ChannelDlg.h"
#include "gui/package/ImportExportDlg.h"
#include "gui/package/SelectDRMDlg.h"
#include "operator/Operator.h"

namespace corvane {

void DesktopScreens::HelpBox(QWidget* parent) { RunHelpBox(parent); }

int DesktopScreens::ChannelEditor(QWidget* parent, ProjectContext& context, int channelNumber) {
  CChannelDlg editor(context, *this, channelNumber, parent);
  return editor.RunModal();
}

std::optional<std::filesystem::path> DesktopScreens::RecordAudioFile(QWidget* parent,
                                                                     ProjectContext& context) {
  QtAudioInput input;
  CRecordDlg recorder(input, context.player, context.op,
                      RecorderWorkFile(context.session.Folders.ApplicationFolder), parent);
  if (!recorder.Open() || recorder.RunModal() != ChromeDialog::kConfirmed ||
      recorder.RecordingPath().empty()) {
    return std::nullopt;
  }
  return recorder.RecordingPath();
}

int DesktopScreens::MediaSecurity(QWidget* parent, ProjectContext& context) {
  CSelectDRMDlg screen(context, *this, parent);
  return screen.RunModal();
}

void DesktopScreens::SamplingRates(QWidget* parent, ProjectContext& context,
                                   bool channel1HoldsEntries) {
  CChangeSamplingRateDlg screen(context.session, context.op, channel1HoldsEntries, parent);
  screen.RunModal();
}

int DesktopScreens::PackageProgress(QWidget* parent, const std::string& text,
                                    const ProgressWork& work) {
  CImportExportDlg dialog(text, work, parent);
  return dialog.Run();
}

}  // namespace corvane
