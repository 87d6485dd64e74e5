// ChartData's argument checks: which arrays are accepted, and that every lock is released.
#include "chart_fixture.h"

namespace kvplotax::test {
namespace {

using automation::SafeArray;
using automation::Variant;

class ChartDataTest : public ChartTest {
 protected:
  Variant chartData(Variant y, Variant x, std::int32_t nPts = 4, std::int32_t yOffset = 0) {
    std::vector<Variant> args{I2(1),        Variant(nPts),           std::move(y), Variant(yOffset),
                              std::move(x), Variant(std::int32_t{0})};
    return chart_->call(std::string_view("ChartData"), args);
  }

  std::shared_ptr<SafeArray> samples = SafeArray::create(automation::VT_I2, 4);
  Variant array() { return Variant::array(automation::VT_I2, samples); }
  Variant noArray() { return Variant::array(automation::VT_I2, nullptr); }
};

TEST_F(ChartDataTest, WithoutADrawingSurfaceNothingIsDelivered) {
  EXPECT_EQ(chartData(array(), noArray()).toI4(), 0);
  EXPECT_EQ(chartData(array(), array(), 0, 99).toI4(), 0);  // offsets are not read here
  EXPECT_EQ(samples->locks(), 0u);
}

TEST_F(ChartDataTest, DataThatIsNotAnArrayIsRefused) {
  auto e = errorOf([&] { chartData(Variant(std::int32_t{5}), noArray()); });
  EXPECT_EQ(e.number(), 380);
  EXPECT_STREQ(e.what(), "OCX Error: Data Should be an array!");
  // The horizontal array is accepted first and released again.
  e = errorOf([&] { chartData(Variant("text"), array()); });
  EXPECT_STREQ(e.what(), "OCX Error: Data Should be an array!");
  EXPECT_EQ(samples->locks(), 0u);
}

TEST_F(ChartDataTest, ByReferenceArrayNamingNoArrayIsRefused) {
  std::shared_ptr<SafeArray> none;
  const auto e = errorOf([&] { chartData(Variant::arrayRef(automation::VT_I2, &none), array()); });
  EXPECT_EQ(e.number(), 380);
  EXPECT_STREQ(e.what(), "OCX Error: Invalid Property Value!");
  EXPECT_EQ(samples->locks(), 0u);
}

TEST_F(ChartDataTest, ByReferenceArraysAndVariantsAreFollowed) {
  Variant inner = array();
  EXPECT_EQ(chartData(Variant::ref(&inner), Variant::arrayRef(automation::VT_I2, &samples)).toI4(),
            0);
  EXPECT_EQ(samples->locks(), 0u);
}

TEST_F(ChartDataTest, WrongArgumentCount) {
  std::vector<Variant> args{I2(1)};
  EXPECT_EQ(errorOf([&] { chart_->call(std::string_view("ChartData"), args); }).number(), 450);
}

TEST_F(ChartDataTest, PrintWindowResults) {
  auto print = [&](std::int32_t window, std::int32_t area) {
    std::vector<Variant> args{Variant(window),          Variant(area),
                              Variant(std::int32_t{1}), Variant(std::int32_t{1}),
                              Variant(std::int32_t{1}), Variant("ZelkChart")};
    return chart_->call(std::string_view("VBPrintWindow"), args).toI4();
  };
  EXPECT_EQ(print(0, 1), 20);
  EXPECT_EQ(print(7, 3), 21);
  EXPECT_NE(print(7, 1), 0);  // no printer is reachable: never reported as printed
}

}  // namespace
}  // namespace kvplotax::test
