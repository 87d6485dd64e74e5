#include <gtest/gtest.h>

#include "automation/automation.h"

namespace automation {
namespace {

constexpr const char* kChart = "{F9285160-7EB9-11D0-AADB-0000C05F07C7}";

TEST(Guid, ParsesWithOrWithoutBracesInAnyCaseAndPrintsUpperCaseWithBraces) {
  const auto g = Guid::parse(kChart);
  ASSERT_TRUE(g);
  EXPECT_EQ(g->data1, 0xF9285160u);
  EXPECT_EQ(g->data2, 0x7EB9u);
  EXPECT_EQ(g->data3, 0x11D0u);
  EXPECT_EQ(g->data4[0], 0xAA);
  EXPECT_EQ(g->data4[1], 0xDB);
  EXPECT_EQ(g->data4[7], 0xC7);
  EXPECT_EQ(g->toString(), kChart);

  const auto bare = Guid::parse("f9285160-7eb9-11d0-aadb-0000c05f07c7");
  ASSERT_TRUE(bare);
  EXPECT_EQ(*bare, *g);
  EXPECT_EQ(Guid::parse("{f9285160-7EB9-11d0-AaDb-0000C05F07c7}"), g);
  EXPECT_EQ(Guid{}.toString(), "{00000000-0000-0000-0000-000000000000}");
}

TEST(Guid, RefusesMalformedText) {
  for (const char* bad : {
           "", "{}",
           "F9285160-7EB9-11D0-AADB-0000C05F07C",       // short
           "F9285160-7EB9-11D0-AADB-0000C05F07C77",     // long
           "{F9285160-7EB9-11D0-AADB-0000C05F07C7",     // unbalanced
           "F9285160-7EB9-11D0-AADB-0000C05F07C7}",     // unbalanced
           "(F9285160-7EB9-11D0-AADB-0000C05F07C7)",    // wrong brackets
           "F92851607EB9-11D0-AADB-0000C05F07C7-",      // dash misplaced
           "F9285160-7EB9-11D0-AADB+0000C05F07C7",      // not a dash
           "G9285160-7EB9-11D0-AADB-0000C05F07C7",      // not hex
           "F9285160-7EB9-11D0-AADB-0000C05F07 7",      // space
           "+9285160-7EB9-11D0-AADB-0000C05F07C7",      // sign
           "{{F9285160-7EB9-11D0-AADB-0000C05F07C7}}",  // doubled
       }) {
    EXPECT_FALSE(Guid::parse(bad)) << bad;
  }
}

TEST(Guid, OrdersByFieldsAsANumber) {
  const Guid a = *Guid::parse("00000001-0000-0000-0000-000000000000");
  const Guid b = *Guid::parse("00000000-0001-0000-0000-000000000000");
  const Guid c = *Guid::parse("00000000-0000-0000-0000-000000000001");
  EXPECT_TRUE(c < b);
  EXPECT_TRUE(b < a);
  EXPECT_FALSE(a < a);
  EXPECT_FALSE(a == b);
  EXPECT_TRUE(Guid{} < c);
}

}  // namespace
}  // namespace automation
