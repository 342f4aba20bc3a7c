#include "package/PasswordRules.h"

#include <cstdio>

#include "package/SecuritySettings.h"

namespace corvane {

int CharacterCount(std::string_view utf8) {
  int count = 0;
  for (const char c : utf8) {
    // Continuation bytes (10xxxxxx) belong to the character before them.
    if ((static_cast<unsigned char>(c) & 0xC0U) != 0x80U) ++count;
  }
  return count;
}

std::optional<PasswordRefusal> CheckPasswordChange(std::string_view stored, std::string_view current,
                                                   std::string_view newPassword,
                                                   std::string_view repeat) {
  if (current != stored) return PasswordRefusal{"Invalid Password", "Current password invalid"};
  if (newPassword != repeat) return PasswordRefusal{"Password Mismatch", "Passwords do not match"};
  if (current == newPassword) {
    return PasswordRefusal{"Invalid Password", "New password matches current password"};
  }
  if (current.empty() || repeat.empty() || newPassword.empty()) {
    return PasswordRefusal{"Invalid Password", "Password cannot be blank"};
  }
  if (CharacterCount(newPassword) < kShortestPassword) {
    char text[64];
    std::snprintf(text, sizeof text, "Password length must be\nbetween %d and %d characters.",
                  kShortestPassword, kQuotedLongestPassword);
    return PasswordRefusal{"Password Length Invalid", text};
  }
  return std::nullopt;
}

bool CredentialsAccepted(const SecuritySettings& security, std::string_view userName,
                         std::string_view password) {
  return userName == security.UserName && password == security.Password;
}

}  // namespace corvane
