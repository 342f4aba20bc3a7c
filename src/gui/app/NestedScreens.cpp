#include "gui/app/NestedScreens.h"

#include "gui/app/AboutDlg.h"
#include "gui/channel/ChannelDlg.h"
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

}  // namespace corvane
