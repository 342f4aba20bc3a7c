#pragma once
// The application's entry: runs one session from start-up to exit.

namespace corvane {

// Returns the process exit code.
int RunApplication(int argc, char** argv);

}  // namespace corvane
