#include <gtest/gtest.h>

#include <utility>

#include "automation/automation.h"

namespace automation {
namespace {

class Probe final : public Dispatch {
 public:
  DispId idOfName(std::string_view) const override { return kDispIdUnknown; }
  Variant get(DispId) override { return {}; }
  void put(DispId, const Variant&) override {}
  Variant call(DispId, std::span<Variant>) override { return {}; }
};

TEST(Variant, ConstructorsGiveTheirTypes) {
  EXPECT_EQ(Variant().type(), VT_EMPTY);
  EXPECT_TRUE(Variant().isEmpty());
  EXPECT_EQ(Variant(std::int16_t{1}).type(), VT_I2);
  EXPECT_EQ(Variant(std::int32_t{1}).type(), VT_I4);
  EXPECT_EQ(Variant(1.0f).type(), VT_R4);
  EXPECT_EQ(Variant(1.0).type(), VT_R8);
  EXPECT_EQ(Variant(true).type(), VT_BOOL);
  EXPECT_EQ(Variant(std::string("a")).type(), VT_BSTR);
  EXPECT_EQ(Variant("a").type(), VT_BSTR);
  EXPECT_EQ(Variant(static_cast<const char*>(nullptr)).toString(), "");
  EXPECT_EQ(Variant(std::make_shared<Probe>()).type(), VT_DISPATCH);
  EXPECT_EQ(Variant::error(5).type(), VT_ERROR);
  EXPECT_EQ(Variant::array(VT_R4, nullptr).type(), VT_ARRAY | VT_R4);
}

TEST(Variant, CopiesShareObjectsAndArraysAndMovesLeaveEmpty) {
  auto object = std::make_shared<Probe>();
  Variant a(object);
  Variant b = a;
  EXPECT_EQ(b.toDispatch(), object);
  EXPECT_EQ(object.use_count(), 3);

  Variant s("text that is long enough to live on the heap, not in the small buffer");
  Variant t = std::move(s);
  EXPECT_EQ(t.toString(), "text that is long enough to live on the heap, not in the small buffer");
  EXPECT_TRUE(s.isEmpty());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
  EXPECT_EQ(s.toString(), "");

  auto array = SafeArray::create(VT_I4, 2);
  Variant c = Variant::array(VT_I4, array);
  Variant d;
  d = c;
  EXPECT_EQ(d.arrayValue(), array);
  d = Variant(3.5);
  EXPECT_EQ(d.toR8(), 3.5);
  EXPECT_EQ(d.arrayValue(), nullptr);
  EXPECT_EQ(array.use_count(), 2);

  Variant e(std::int16_t{9});
  e = std::move(a);
  EXPECT_EQ(e.toDispatch(), object);
  EXPECT_TRUE(a.isEmpty());  // NOLINT(bugprone-use-after-move)
  Variant& self = e;
  e = self;
  EXPECT_EQ(e.toDispatch(), object);
}

TEST(Variant, ArraysByValueAndByReference) {
  auto array = SafeArray::create(VT_I2, 4, 1);
  const Variant byValue = Variant::array(VT_I2, array);
  EXPECT_TRUE(byValue.isArray());
  EXPECT_FALSE(byValue.isByRef());
  EXPECT_EQ(byValue.arrayElementType(), VT_I2);
  EXPECT_EQ(byValue.arrayValue(), array);

  // "No array": an array variant whose array is null.
  const Variant none = Variant::array(VT_R8, nullptr);
  EXPECT_TRUE(none.isArray());
  EXPECT_EQ(none.arrayValue(), nullptr);
  EXPECT_EQ(none.arrayElementType(), VT_R8);

  std::shared_ptr<SafeArray> slot;
  const Variant byRef = Variant::arrayRef(VT_R4, &slot);
  EXPECT_TRUE(byRef.isByRef());
  EXPECT_TRUE(byRef.isArray());
  EXPECT_EQ(byRef.arrayValue(), nullptr);
  slot = SafeArray::create(VT_R4, 3);
  EXPECT_EQ(byRef.arrayValue(), slot);
  EXPECT_EQ(Variant::arrayRef(VT_R4, nullptr).arrayValue(), nullptr);

  // Arrays passed as a by-reference argument are reached through the reference.
  Variant holder = Variant::array(VT_I2, array);
  const Variant arg = Variant::ref(&holder);
  EXPECT_EQ(arg.refTarget(), &holder);
  EXPECT_EQ(&arg.deref(), &holder);
  EXPECT_TRUE(arg.isArray());
  EXPECT_EQ(arg.arrayElementType(), VT_I2);
  EXPECT_EQ(arg.arrayValue(), array);

  EXPECT_FALSE(Variant(1.0).isArray());
  EXPECT_EQ(Variant(1.0).arrayElementType(), VT_EMPTY);
  EXPECT_EQ(Variant(1.0).arrayValue(), nullptr);
  EXPECT_EQ(Variant(1.0).refTarget(), nullptr);
}

TEST(Variant, ArrayWhoseDataDiffersFromTheDeclaredTypeIsRefused) {
  try {
    Variant::array(VT_R8, SafeArray::create(VT_I2, 4));
    FAIL() << "a 2-byte array declared as 8-byte elements was accepted";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), kErrTypeMismatch);
  }
  // By reference the array can change after the variant is made: the element type reported is
  // the array's own.
  std::shared_ptr<SafeArray> slot = SafeArray::create(VT_I2, 4);
  EXPECT_EQ(Variant::arrayRef(VT_R8, &slot).arrayElementType(), VT_I2);
}

}  // namespace
}  // namespace automation
