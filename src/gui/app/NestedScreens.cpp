#include "gui/app/NestedScreens.h"

#include "gui/app/AboutDlg.h"

namespace corvane {

void DesktopScreens::HelpBox(QWidget* parent) { RunHelpBox(parent); }

}  // namespace corvane
