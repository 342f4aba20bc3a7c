#pragma once
// The application's entry: runs one session from start-up to exit.

class QApplication;

namespace corvane {

// Returns the process exit code.
int RunApplication(int argc, char** argv);

// The look every window of the application shares: name, dialog font, icon.
void PrepareApplication(QApplication& app);

}  // namespace corvane
