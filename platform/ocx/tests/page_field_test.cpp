#include <gtest/gtest.h>

#include "ocx/page_field.h"

namespace ocx {
namespace {

TEST(PageField, ColourTextsReadAndWriteTheAmpersandHForm) {
  EXPECT_EQ(colorText(0x00FFFF00u), "&H00FFFF00");
  EXPECT_EQ(colorText(0x80000005u), "&H80000005");
  struct Case {
    const char* text;
    std::optional<std::uint32_t> value;
  };
  const Case kCases[] = {
      {"&H00FFFF00", 0x00FFFF00u},
      {" &hff ", 0xFFu},
      {"&H80000012", 0x80000012u},
      {"&HFFFFFFFF", 0xFFFFFFFFu},
      {"&H100000000", {}},
      {"FF", {}},
      {"&H", {}},
      {"&HFG", {}},
      {"&H-1", {}},
      {"16776960", {}},
  };
  for (const Case& c : kCases) EXPECT_EQ(parseColorText(c.text), c.value) << c.text;
}

TEST(PageField, NumbersAreCheckedBeforeTheyBecomeValues) {
  const FieldBinding factor{"ScaleFactor", FieldKind::Real, {}, 0,    false, false,
                            true,          false,           0,  65535};
  EXPECT_EQ(fieldValue(factor, "65535").value->toR8(), 65535.0);
  EXPECT_EQ(fieldValue(factor, "70000").message, "Enter a number between 0 and 65535.");
  EXPECT_EQ(fieldValue(factor, "-0.5").message, "Enter a number between 0 and 65535.");
  EXPECT_EQ(fieldValue(factor, "1e400").message, "Enter a number.");
  EXPECT_EQ(fieldValue(factor, "2,5").message, "Enter a number.");
  const FieldBinding count{"PenWidth", FieldKind::Integer};
  EXPECT_EQ(fieldValue(count, " +12 ").value->toI4(), 12);
  EXPECT_EQ(fieldValue(count, "1.5").message, "Enter an integer.");
  EXPECT_EQ(fieldValue(count, "99999999999").message, "Enter an integer.");
  static constexpr std::string_view kStyles[] = {"0 - Solid", "1 - Dash"};
  const FieldBinding style{"PenStyle", FieldKind::DropList, kStyles};
  EXPECT_EQ(fieldValue(style, "1 - Dash").value->toI4(), 1);
  EXPECT_EQ(fieldText(style, automation::Variant(std::int16_t{7})), "7");  // unnamed value
  EXPECT_EQ(fieldValue(style, "7").value->toI4(), 7);
}

}  // namespace
}  // namespace ocx
