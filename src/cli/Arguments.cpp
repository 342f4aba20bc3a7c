#include "Arguments.h"

namespace corvane::cli {

std::optional<Arguments> ParseArguments(const std::vector<std::string>& words,
                                        const std::set<std::string>& valueOptions,
                                        const std::set<std::string>& flagOptions,
                                        std::string& error) {
  Arguments arguments;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.rfind("--", 0) != 0 || word == "--") {
      arguments.positional.push_back(word);
    } else if (valueOptions.count(word) > 0) {
      if (i + 1 >= words.size()) {
        error = "option " + word + " needs a value";
        return std::nullopt;
      }
      arguments.values[word].push_back(words[++i]);
    } else if (flagOptions.count(word) > 0) {
      arguments.flags.insert(word);
    } else {
      error = "unknown option " + word;
      return std::nullopt;
    }
  }
  return arguments;
}

}  // namespace corvane::cli
