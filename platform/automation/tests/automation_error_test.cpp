#include <gtest/gtest.h>

#include "automation/automation.h"

namespace automation {
namespace {

TEST(AutomationError, StandardErrorsCarryTheirScodeNumberAndText) {
  const struct {
    std::uint16_t number;
    std::uint32_t scode;
    const char* text;
  } kCases[] = {
      {kErrOverflow, 0x800A0006, "Overflow"},
      {kErrTypeMismatch, 0x800A000D, "Type mismatch"},
      {kErrInvalidPropertyValue, 0x800A017C, "Invalid property value"},
      {kErrSetNotSupported, 0x800A017F, "Property is read-only"},
      {kErrGetNotSupported, 0x800A018A, "Property is write-only"},
      {kErrNotSupported, 0x800A01B6, "Object doesn't support this property or method"},
      {kErrCannotCreateObject, 0x800A01AD, "ActiveX component can't create object"},
  };
  for (const auto& c : kCases) {
    const AutomationError e = AutomationError::standard(c.number);
    EXPECT_EQ(static_cast<std::uint32_t>(e.scode()), c.scode);
    EXPECT_EQ(e.number(), c.number);
    EXPECT_STREQ(e.what(), c.text);
    EXPECT_EQ(e.helpContext(), 0u);
  }
  EXPECT_STREQ(AutomationError::standard(999).what(), "");
  EXPECT_EQ(AutomationError::standard(999).number(), 999);
}

TEST(AutomationError, CustomErrorsAndCatchingAsRuntimeError) {
  try {
    throw AutomationError::custom(1000 + 5, "Invalid Pen Number");
  } catch (const std::runtime_error& e) {
    const auto* error = dynamic_cast<const AutomationError*>(&e);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(error->scode()), 0x800A03EDu);
    EXPECT_EQ(error->number(), 1005);
    EXPECT_STREQ(e.what(), "Invalid Pen Number");
  }
  const AutomationError withHelp(static_cast<std::int32_t>(0x80040200), "text", 42);
  EXPECT_EQ(withHelp.helpContext(), 42u);
  EXPECT_EQ(withHelp.number(), 0x0200);
}

}  // namespace
}  // namespace automation
