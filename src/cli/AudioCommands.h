#pragma once

#include <string>
#include <vector>

namespace corvane::cli {

// "corvane-cli convert IN OUT [--rate HZ] [--codec NAME]": the words after
// "convert". Returns the exit code.
int RunConvertCommand(const std::vector<std::string>& words);

// "corvane-cli mix DIR-or-PACKAGE [--channel 1|2] [--rate HZ] [--codec NAME]
// [--provider-key KEY] -o OUT": the words after "mix". Returns the exit code.
int RunMixCommand(const std::vector<std::string>& words);

// "corvane-cli loudness FILE... [--json]": each file's loudness figures.
int RunLoudnessCommand(const std::vector<std::string>& words);

}  // namespace corvane::cli
