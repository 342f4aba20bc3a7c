#pragma once
// A NUL-padded text field of a fixed-size binary record. The bytes are kept
// exactly as read, so a record written back is unchanged; the text view never
// reads past the field even when a damaged file left no terminator.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace corvane {

template <std::size_t N>
struct FixedText {
  std::array<char, N> bytes{};

  FixedText() = default;
  FixedText(std::string_view text) { Set(text); }  // NOLINT: implicit on purpose

  // Stores at most N - 1 characters and pads the rest with NUL.
  void Set(std::string_view text) {
    bytes.fill('\0');
    std::copy_n(text.data(), std::min(text.size(), N - 1), bytes.data());
  }
  std::string_view View() const { return {bytes.data(), strnlen(bytes.data(), N)}; }
  std::string Str() const { return std::string(View()); }
  bool operator==(const FixedText&) const = default;
};

}  // namespace corvane
