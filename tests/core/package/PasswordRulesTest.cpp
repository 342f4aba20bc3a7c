// The password rules count characters, not bytes.
#include <gtest/gtest.h>

#include "package/PasswordRules.h"

namespace corvane {
namespace {

TEST(GuiPasswordRules, LengthCountsCharactersNotBytes) {
  EXPECT_EQ(CharacterCount(""), 0);
  EXPECT_EQ(CharacterCount("abc"), 3);
  EXPECT_EQ(CharacterCount("\xC3\xA4\xC3\xB6\xE2\x82\xAC\xF0\x9F\x8E\xB5"), 4);  // äö€ and a note

  // Four two-byte characters are still too short.
  const auto refusal =
      CheckPasswordChange("tavik", "tavik", "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4",
                          "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4");
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->title, "Password Length Invalid");
  EXPECT_FALSE(CheckPasswordChange("tavik", "tavik", "abcde", "abcde").has_value());
}

}  // namespace
}  // namespace corvane
