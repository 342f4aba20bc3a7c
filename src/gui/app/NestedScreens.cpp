#include "gui/app/NestedScreens.h"

#include "gui/app/AboutDlg.h"
#include "gui/audio/ChangeSamplingRateDlg.h"
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

// The recorder has no screen yet: it says so, as it would without an input.
std::optional<std::filesystem::path> DesktopScreens::RecordAudioFile(QWidget* /*parent*/,
                                                                     Operator& op) {
  op.Tell("Record Audio File", "No audio input device was found.", OperatorIcon::Stop);
  return std::nullopt;
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
