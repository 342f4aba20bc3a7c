#pragma once
// The rules of the login and change-password screens, apart from any widget.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct SecuritySettings;

// The fields take at most this many characters, so it is the longest
// password there can be.
inline constexpr int kCredentialFieldLimit = 16;
inline constexpr int kShortestPassword = 5;
// The upper figure the length message quotes. It is one more than a field
// can hold, as the operator has always been told.
inline constexpr int kQuotedLongestPassword = 17;

// The first refusal of a password change, as the operator is told it.
struct PasswordRefusal {
  std::string title;
  std::string text;
};

// Checks a change (texts already trimmed) against the stored password, in
// this order: current password, repeat, unchanged, blank, length. Nothing
// when the change may be made.
std::optional<PasswordRefusal> CheckPasswordChange(std::string_view stored, std::string_view current,
                                                   std::string_view newPassword,
                                                   std::string_view repeat);

// Both texts (already trimmed) equal the stored ones exactly.
bool CredentialsAccepted(const SecuritySettings& security, std::string_view userName,
                         std::string_view password);

// Characters in a UTF-8 text (not bytes).
int CharacterCount(std::string_view utf8);

}  // namespace corvane
