#pragma once
// Text typed or read from a file, without the blanks around it (spaces,
// tabs and line ends, a Windows line end's \r among them).

#include <string_view>

namespace corvane {

inline std::string_view WithoutBlanksAround(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace corvane
