#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "automation/automation.h"

namespace automation {
namespace {

TEST(SafeArray, NumericArraysArePackedAndZeroed) {
  const struct {
    VarType type;
    std::size_t size;
  } kCases[] = {{VT_I1, 1},  {VT_UI1, 1}, {VT_I2, 2},    {VT_UI2, 2}, {VT_BOOL, 2}, {VT_I4, 4},
                {VT_UI4, 4}, {VT_R4, 4},  {VT_ERROR, 4}, {VT_R8, 8},  {VT_DATE, 8}};
  for (const auto& c : kCases) {
    auto array = SafeArray::create(c.type, 5, -2);
    ASSERT_NE(array, nullptr) << c.type;
    EXPECT_EQ(array->elementType(), c.type);
    EXPECT_EQ(array->elementSize(), c.size);
    EXPECT_EQ(SafeArray::sizeOf(c.type), c.size);
    EXPECT_EQ(array->count(), 5u);
    EXPECT_EQ(array->lowerBound(), -2);
    const auto* bytes = static_cast<const unsigned char*>(array->data());
    for (std::size_t i = 0; i < 5 * c.size; ++i) ASSERT_EQ(bytes[i], 0) << c.type;
  }
  auto shorts = SafeArray::create(VT_I2, 3);
  static_cast<std::int16_t*>(shorts->data())[2] = -7;
  EXPECT_EQ(static_cast<const std::int16_t*>(std::as_const(*shorts).data())[2], -7);
}

TEST(SafeArray, VariantAndStringElementsAreLiveObjects) {
  auto variants = SafeArray::create(VT_VARIANT, 3);
  ASSERT_NE(variants, nullptr);
  EXPECT_EQ(variants->elementSize(), sizeof(Variant));
  auto* v = static_cast<Variant*>(variants->data());
  EXPECT_TRUE(v[0].isEmpty());
  v[1] = Variant("a string long enough to need its own allocation on the heap");
  v[2] = Variant::array(VT_I4, SafeArray::create(VT_I4, 10));

  auto strings = SafeArray::create(VT_BSTR, 2);
  ASSERT_NE(strings, nullptr);
  auto* s = static_cast<std::string*>(strings->data());
  EXPECT_TRUE(s[0].empty());
  s[1] = "another string long enough to need its own allocation on the heap";
  // Releasing both arrays must destroy the elements (the sanitizer build catches leaks).
  variants.reset();
  strings.reset();
}

TEST(SafeArray, RefusesUnknownTypesAndSizesThatCannotBeAllocated) {
  EXPECT_EQ(SafeArray::create(VT_EMPTY, 1), nullptr);
  EXPECT_EQ(SafeArray::create(VT_DISPATCH, 1), nullptr);
  EXPECT_EQ(SafeArray::create(static_cast<VarType>(VT_ARRAY | VT_I2), 1), nullptr);
  EXPECT_EQ(SafeArray::sizeOf(VT_EMPTY), 0u);
  const std::size_t huge = std::numeric_limits<std::size_t>::max();
  EXPECT_EQ(SafeArray::create(VT_R8, huge / 8 + 1), nullptr);  // the byte count would wrap
  EXPECT_EQ(SafeArray::create(VT_UI1, huge), nullptr);
  EXPECT_EQ(SafeArray::create(VT_VARIANT, huge / 2), nullptr);

  auto empty = SafeArray::create(VT_R4, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->count(), 0u);
  EXPECT_TRUE(empty->lock());
  empty->unlock();
}

TEST(SafeArray, LocksAreCountedAndBounded) {
  auto array = SafeArray::create(VT_I2, 4);
  EXPECT_EQ(array->locks(), 0u);
  EXPECT_TRUE(array->lock());
  EXPECT_TRUE(array->lock());
  EXPECT_EQ(array->locks(), 2u);
  array->unlock();
  EXPECT_EQ(array->locks(), 1u);
  array->unlock();
  array->unlock();  // one unlock too many does not wrap the count
  EXPECT_EQ(array->locks(), 0u);

  std::uint32_t taken = 0;
  while (array->lock()) {
    ASSERT_LT(++taken, 100000u) << "locks are unbounded";
  }
  EXPECT_EQ(taken, 0xFFFFu);
  EXPECT_EQ(array->locks(), 0xFFFFu);
  array->unlock();
  EXPECT_TRUE(array->lock());
  // Dropping the last owner of a locked array frees it (no crash, no leak).
  array.reset();
}

}  // namespace
}  // namespace automation
