// Live objects: a deleted channel's trace leaves every viewport before it is destroyed.
#include <gtest/gtest.h>

#include "chart_state.h"

namespace kvplotax {
namespace {

class FakeItem : public ChartItem {
 public:
  explicit FakeItem(bool* destroyed) : destroyed_(destroyed) {}
  ~FakeItem() override { *destroyed_ = true; }
  gdi::Rect drawnRect() const override { return {10, 20, 30, 40}; }
  bool draw(output::DrawSurface&, int, int, const gdi::Rect&) override { return false; }
  bool redraw(output::DrawSurface&, const gdi::Rect&) override { return false; }
  void erase(output::DrawSurface&, const gdi::Rect&) override {}
  bool relayout(const gdi::Rect&, const gdi::Rect&, gdi::Rect&) override { return false; }
  bool hitTest(gdi::Point, output::HitInfo&) const override { return false; }
  void setVisible(bool) override {}
  void setStorage(bool) override {}

 private:
  bool* destroyed_;
};

TEST(LiveObjects, DeletingAChannelTakesItsTraceOutOfItsViewport) {
  CChartState state;
  state.relayout({0, 0, 500, 300});
  bool destroyed = false;
  auto item = std::make_unique<FakeItem>(&destroyed);
  ChartItem* raw = item.get();
  state.live().viewport(1)->addItem(raw);
  state.live().setTrace(2, std::move(item));
  state.selectChannel(2);
  EXPECT_EQ(state.live().trace(2), raw);  // selecting keeps the item
  EXPECT_EQ(state.selectChannel(-2), (gdi::Rect{10, 20, 30, 40}));
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(state.live().viewport(1)->contains(raw));
  EXPECT_FALSE(state.live().hasTraceEntry(2));
  EXPECT_EQ(state.selectChannel(-2), gdi::Rect{});
}

TEST(LiveObjects, ItemsStillRegisteredWhenTheStateGoesAreForgottenFirst) {
  bool destroyed = false;
  {
    CChartState state;
    auto item = std::make_unique<FakeItem>(&destroyed);
    state.live().viewport(0)->addItem(item.get());
    state.live().setTrace(1, std::move(item));
  }
  EXPECT_TRUE(destroyed);
}

TEST(LiveObjects, LayoutHidesEmptyViewportsAndShowsTheOthers) {
  CChartState state;
  state.setViewportCount(2);
  state.relayout({0, 0, 500, 300});
  EXPECT_TRUE(state.live().viewport(2)->visible());
  EXPECT_EQ(state.live().viewport(1)->bounds(), (gdi::Rect{25, 30, 475, 150}));
  state.relayout({0, 0, 500, 57});
  EXPECT_FALSE(state.live().viewport(1)->visible());
  EXPECT_TRUE(state.live().viewport(0)->visible());
}

}  // namespace
}  // namespace kvplotax
