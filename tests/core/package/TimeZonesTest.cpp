#include "package/TimeZones.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace corvane {
namespace {

TEST(TimeZoneTable, HasTheDevicesZonesDistinctInTheirOrderFittingTheRecordAndFoundByName) {
  const auto names = TimeZoneNames();
  ASSERT_EQ(names.size(), 442u);
  EXPECT_EQ(names.front(), "Africa/Abidjan");
  EXPECT_EQ(names.back(), "Pacific/Yap");
  EXPECT_EQ(names[kDefaultTimeZoneIndex], "America/Edmonton");
  EXPECT_EQ(std::set<std::string_view>(names.begin(), names.end()).size(), names.size());
  // Every name is found at its own index, and nothing else.
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(FindTimeZone(names[i]), i) << names[i];
    EXPECT_EQ(TimeZoneAt(i), names[i]);
    EXPECT_EQ(ShownTimeZoneIndex(names[i]), i);
  }
  for (const std::string_view unknown :
       {"", "america/edmonton", "America/Edmonton ", "America/Edm", "UTC+1", "Mars/Olympus"}) {
    EXPECT_EQ(FindTimeZone(unknown), std::nullopt) << unknown;
    EXPECT_EQ(ShownTimeZoneIndex(unknown), kDefaultTimeZoneIndex) << unknown;
  }
  EXPECT_EQ(TimeZoneAt(names.size()), "");
  EXPECT_EQ(TimeZoneAt(static_cast<std::size_t>(-1)), "");
}

}  // namespace
}  // namespace corvane
