#pragma once

#include <string>
#include <vector>

namespace corvane::cli {

// "corvane-cli package ...": the words after "package". Returns the exit code.
int RunPackageCommand(const std::vector<std::string>& words);

}  // namespace corvane::cli
