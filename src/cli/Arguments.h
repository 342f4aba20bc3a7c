#pragma once
// The words of one command: positional arguments, options with a value
// ("--device-id ID") and flags ("--json").

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace corvane::cli {

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> values;  // every one, in order
  std::set<std::string> flags;

  bool Has(const std::string& flag) const { return flags.count(flag) > 0; }
  // The last one given.
  std::optional<std::string> Value(const std::string& option) const {
    const auto it = values.find(option);
    return it == values.end() ? std::nullopt : std::optional(it->second.back());
  }
  std::vector<std::string> Values(const std::string& option) const {
    const auto it = values.find(option);
    return it == values.end() ? std::vector<std::string>{} : it->second;
  }
};

// Parses words against the options that take a value and the flags allowed;
// on a word that fits neither, error says why and nothing is returned.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& words,
                                        const std::set<std::string>& valueOptions,
                                        const std::set<std::string>& flagOptions, std::string& error);

}  // namespace corvane::cli
