#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "automation/automation.h"

namespace automation {
namespace {

// Runs `f` and returns the error number it raised, or -1 when it raised nothing.
template <typename F>
int errorOf(F&& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return -1;
}

TEST(VariantCoercion, IntegersRoundHalfToEvenAndOverflowAfterRounding) {
  EXPECT_EQ(Variant(2.5).toI2(), 2);
  EXPECT_EQ(Variant(3.5).toI2(), 4);
  EXPECT_EQ(Variant(-2.5).toI2(), -2);
  EXPECT_EQ(Variant(-3.5).toI2(), -4);
  EXPECT_EQ(Variant(0.5).toI4(), 0);
  EXPECT_EQ(Variant(2.5000001).toI4(), 3);
  EXPECT_EQ(Variant(1.5f).toI2(), 2);

  EXPECT_EQ(Variant(32767.4).toI2(), 32767);
  EXPECT_EQ(errorOf([] { Variant(32767.5).toI2(); }), kErrOverflow);
  EXPECT_EQ(Variant(-32768.5).toI2(), -32768);
  EXPECT_EQ(errorOf([] { Variant(-32769.0).toI2(); }), kErrOverflow);
  EXPECT_EQ(errorOf([] { Variant(std::int32_t{40000}).toI2(); }), kErrOverflow);

  EXPECT_EQ(Variant(2147483647.4).toI4(), 2147483647);
  EXPECT_EQ(errorOf([] { Variant(2147483647.5).toI4(); }), kErrOverflow);
  EXPECT_EQ(Variant(-2147483648.5).toI4(), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(errorOf([] { Variant(-2147483649.0).toI4(); }), kErrOverflow);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(errorOf([&] { Variant(nan).toI4(); }), kErrOverflow);
  EXPECT_EQ(errorOf([&] { Variant(inf).toI2(); }), kErrOverflow);
  EXPECT_EQ(errorOf([&] { Variant(-inf).toI4(); }), kErrOverflow);
}

TEST(VariantCoercion, SinglePrecisionOverflowsOnlyBeyondItsRange) {
  EXPECT_EQ(errorOf([] { Variant(1e39).toR4(); }), kErrOverflow);
  EXPECT_EQ(errorOf([] { Variant(-1e39).toR4(); }), kErrOverflow);
  EXPECT_EQ(errorOf([] { Variant("3.5e38").toR4(); }), kErrOverflow);
  EXPECT_EQ(Variant(static_cast<double>(FLT_MAX)).toR4(), FLT_MAX);
  // Still rounds down to the largest float, just below the half-way point to infinity.
  EXPECT_EQ(Variant(0x1.fffffefffffffp+127).toR4(), FLT_MAX);
  EXPECT_EQ(errorOf([] { Variant(0x1.ffffffp+127).toR4(); }), kErrOverflow);
  EXPECT_EQ(Variant(1e-50).toR4(), 0.0f);
  EXPECT_FLOAT_EQ(Variant(std::int32_t{16777217}).toR4(), 16777216.0f);
}

TEST(VariantCoercion, StringsParseAsNumbers) {
  EXPECT_EQ(Variant("  1e3 ").toR8(), 1000.0);
  EXPECT_EQ(Variant("+.5").toR8(), 0.5);
  EXPECT_EQ(Variant("\t-12.25E-1 ").toR8(), -1.225);
  EXPECT_EQ(Variant("7.").toI4(), 7);
  EXPECT_EQ(Variant("2.5").toI2(), 2);
  EXPECT_EQ(Variant("-32768.5").toI2(), -32768);
  EXPECT_EQ(Variant("00042").toI4(), 42);
  EXPECT_EQ(Variant("1e-400").toR8(), 0.0);
  EXPECT_EQ(Variant("0.000e999999").toR8(), 0.0);
  EXPECT_EQ(errorOf([] { Variant("1e400").toR8(); }), kErrOverflow);
  EXPECT_EQ(errorOf([] { Variant("-1e400").toR8(); }), kErrOverflow);
  EXPECT_EQ(errorOf([] { Variant("32767.5").toI2(); }), kErrOverflow);

  for (const char* bad : {"", " ", "abc", "1,5", "1e", "1e+", ".", "-", "+-1", "1 2", "inf", "nan",
                          "0x10", "1.2.3", "e5", "--1", "1e5x", "\n1"}) {
    EXPECT_EQ(errorOf([&] { Variant(bad).toR8(); }), kErrTypeMismatch) << '"' << bad << '"';
    EXPECT_EQ(errorOf([&] { Variant(bad).toI2(); }), kErrTypeMismatch) << '"' << bad << '"';
  }
}

TEST(VariantCoercion, Booleans) {
  EXPECT_EQ(Variant(true).toI2(), kVariantTrue);
  EXPECT_EQ(Variant(false).toI4(), 0);
  EXPECT_EQ(Variant(true).toR8(), -1.0);
  EXPECT_TRUE(Variant(0.1).toBool());
  EXPECT_TRUE(Variant(std::int16_t{2}).toBool());
  EXPECT_FALSE(Variant(0.0).toBool());
  EXPECT_TRUE(Variant(" tRUe ").toBool());
  EXPECT_FALSE(Variant("FALSE").toBool());
  EXPECT_TRUE(Variant("-3").toBool());
  EXPECT_FALSE(Variant("0.0").toBool());
  EXPECT_TRUE(Variant("1e999").toBool());
  EXPECT_EQ(errorOf([] { Variant("yes").toBool(); }), kErrTypeMismatch);
  EXPECT_EQ(errorOf([] { Variant("True").toI2(); }), kErrTypeMismatch);
  EXPECT_EQ(Variant(true).toString(), "True");
  EXPECT_EQ(Variant(false).toString(), "False");
  EXPECT_EQ(Variant::ofType(VT_BOOL, 5).toI2(), kVariantTrue);
}

TEST(VariantCoercion, EmptyIsZeroNothingAndFalse) {
  const Variant empty;
  EXPECT_EQ(empty.toI2(), 0);
  EXPECT_EQ(empty.toI4(), 0);
  EXPECT_EQ(empty.toR4(), 0.0f);
  EXPECT_EQ(empty.toR8(), 0.0);
  EXPECT_FALSE(empty.toBool());
  EXPECT_EQ(empty.toString(), "");
  EXPECT_EQ(errorOf([&] { empty.toDispatch(); }), kErrTypeMismatch);
}

TEST(VariantCoercion, NumbersPrintAsTheRuntimePrintsThem) {
  EXPECT_EQ(Variant(0.1).toString(), "0.1");
  EXPECT_EQ(Variant(0.1f).toString(), "0.1");
  EXPECT_EQ(Variant(1.0 / 3.0).toString(), "0.3333333333333333");
  EXPECT_EQ(Variant(-1.5).toString(), "-1.5");
  EXPECT_EQ(Variant(100.0).toString(), "100");
  EXPECT_EQ(Variant(1000000.0).toString(), "1000000");
  EXPECT_EQ(Variant(123456789012345.0).toString(), "123456789012345");
  EXPECT_EQ(Variant(1e15).toString(), "1E+15");
  EXPECT_EQ(Variant(-2.5e20).toString(), "-2.5E+20");
  EXPECT_EQ(Variant(0.0001).toString(), "0.0001");
  EXPECT_EQ(Variant(0.00001).toString(), "1E-05");
  EXPECT_EQ(Variant(1.25e-300).toString(), "1.25E-300");
  EXPECT_EQ(Variant(-0.0).toString(), "0");
  EXPECT_EQ(Variant(std::int16_t{-32768}).toString(), "-32768");
  EXPECT_EQ(Variant(std::int32_t{2147483647}).toString(), "2147483647");
  EXPECT_EQ(Variant::ofType(VT_UI4, 4294967295.0).toString(), "4294967295");
  // What is printed reads back to the same value.
  for (double v : {0.1 + 0.2, 1e-7, 6.02214076e23, -123.456, 5e-324}) {
    EXPECT_EQ(Variant(Variant(v).toString()).toR8(), v) << v;
  }
}

TEST(VariantCoercion, DatesAreDaysSince1899December30) {
  const Variant date = Variant::ofType(VT_DATE, 46364.5);
  EXPECT_EQ(date.type(), VT_DATE);
  EXPECT_EQ(date.toR8(), 46364.5);
  EXPECT_EQ(date.toI4(), 46364);  // half to even
  EXPECT_EQ(date.toString(), "2026-12-08 12:00:00");
  EXPECT_EQ(Variant::ofType(VT_DATE, 46364.0).toString(), "2026-12-08");
  EXPECT_EQ(Variant::ofType(VT_DATE, 0.75).toString(), "18:00:00");
  EXPECT_EQ(Variant::ofType(VT_DATE, -1.25).toString(), "1899-12-29 06:00:00");
  EXPECT_EQ(Variant::ofType(VT_DATE, -36522.0).toString(), "1800-01-01");
  EXPECT_EQ(Variant::ofType(VT_DATE, 1.0 - 1e-9).toString(), "1899-12-31");
}

TEST(VariantCoercion, ObjectsArraysAndErrorsAreNotValues) {
  const Variant object(std::shared_ptr<Dispatch>{});
  const Variant array = Variant::array(VT_I2, SafeArray::create(VT_I2, 3));
  const Variant missing = Variant::error(static_cast<std::int32_t>(0x80020004));
  for (const Variant* v : {&object, &array, &missing}) {
    EXPECT_EQ(errorOf([&] { v->toI2(); }), kErrTypeMismatch);
    EXPECT_EQ(errorOf([&] { v->toI4(); }), kErrTypeMismatch);
    EXPECT_EQ(errorOf([&] { v->toR4(); }), kErrTypeMismatch);
    EXPECT_EQ(errorOf([&] { v->toR8(); }), kErrTypeMismatch);
    EXPECT_EQ(errorOf([&] { v->toBool(); }), kErrTypeMismatch);
    EXPECT_EQ(errorOf([&] { v->toString(); }), kErrTypeMismatch);
  }
  EXPECT_EQ(errorOf([] { Variant(std::int32_t{1}).toDispatch(); }), kErrTypeMismatch);
  EXPECT_EQ(errorOf([] { Variant("x").toDispatch(); }), kErrTypeMismatch);
}

TEST(VariantCoercion, ReferencesCoerceThroughTheirTarget) {
  Variant target(std::int16_t{7});
  Variant ref = Variant::ref(&target);
  Variant refToRef = Variant::ref(&ref);
  EXPECT_EQ(refToRef.toI4(), 7);
  target = Variant("12.5");
  EXPECT_EQ(ref.toI2(), 12);
  EXPECT_EQ(refToRef.toString(), "12.5");

  // A reference that names nothing, or only itself, reads as empty instead of crashing.
  EXPECT_EQ(Variant::ref(nullptr).toI4(), 0);
  Variant cycle;
  cycle = Variant::ref(&cycle);
  EXPECT_EQ(cycle.toString(), "");
  EXPECT_FALSE(cycle.isArray());
}

TEST(VariantCoercion, OfTypeChecksTheTargetRange) {
  EXPECT_EQ(Variant::ofType(VT_UI1, 255.4).toI4(), 255);
  EXPECT_EQ(errorOf([] { Variant::ofType(VT_UI1, 255.5); }), kErrOverflow);
  EXPECT_EQ(errorOf([] { Variant::ofType(VT_UI1, -1); }), kErrOverflow);
  EXPECT_EQ(Variant::ofType(VT_I1, -128.5).toI2(), -128);
  EXPECT_EQ(errorOf([] { Variant::ofType(VT_I1, 128); }), kErrOverflow);
  EXPECT_EQ(Variant::ofType(VT_UI2, 65535).toI4(), 65535);
  EXPECT_EQ(errorOf([] { Variant::ofType(VT_UI2, 65536); }), kErrOverflow);
  EXPECT_EQ(Variant::ofType(VT_UI4, 4294967295.0).toR8(), 4294967295.0);
  EXPECT_EQ(errorOf([] { Variant::ofType(VT_UI4, 4294967295.0).toI4(); }), kErrOverflow);
  EXPECT_EQ(errorOf([] { Variant::ofType(VT_BSTR, 1); }), kErrTypeMismatch);
  EXPECT_EQ(errorOf([] { Variant::ofType(VT_R4, 1e300); }), kErrOverflow);
}

}  // namespace
}  // namespace automation
