#include "output/viewport_object.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace kvplotax::output {
namespace {

using testing::RecordingItem;

class ViewportObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface = DrawSurface::createBitmapSurface(100, 80, nullptr);
    viewport.setSurface(surface);
    viewport.setBounds({10, 10, 90, 70});
    a.area = {20, 20, 40, 40};
    b.area = {30, 30, 60, 60};
    viewport.addItem(&a);
    viewport.addItem(&b);
  }

  DrawSurface surface;
  ViewportObject viewport;
  RecordingItem a{"a", 0x0000FF};
  RecordingItem b{"b", 0x00FF00};
};

TEST_F(ViewportObjectTest, ChangeWithoutPendingEraseDrawsAtOnceClippedToBounds) {
  viewport.itemChanged(&a, 3, 2, {0, 0, 200, 200});
  ASSERT_EQ(a.log, (std::vector<std::string>{"draw 3+2"}));
  // Nothing outside the viewport's bounds is touched.
  viewport.itemChanged(&a, 0, 1, {0, 0, 5, 5});
  EXPECT_EQ(a.log.size(), 1u);
}

TEST_F(ViewportObjectTest, ChangeDuringPendingEraseIsDrawnOnceAtFlush) {
  viewport.itemErased(&a, {20, 20, 40, 40});
  EXPECT_TRUE(viewport.erasePending());
  viewport.itemChanged(&b, 0, 5, {30, 30, 60, 60});
  viewport.itemChanged(&b, 5, 5, {30, 30, 60, 60});
  EXPECT_EQ(b.log, std::vector<std::string>{}) << "drawn while the erase waits";

  EXPECT_TRUE(viewport.flush());
  // b waited under the erase and changed meanwhile: one redraw covers both areas.
  EXPECT_EQ(b.log, (std::vector<std::string>{"redraw"}));
  EXPECT_EQ(b.lastClip, (gdi::Rect{20, 20, 60, 60}));
  // a erased itself and is not redrawn over its own erase.
  EXPECT_EQ(a.log, (std::vector<std::string>{"erase"}));
  EXPECT_FALSE(viewport.erasePending());
  EXPECT_TRUE(viewport.erasedRect().isEmpty());
  EXPECT_TRUE(viewport.lateRect().isEmpty());

  EXPECT_FALSE(viewport.flush()) << "a second flush has nothing left";
}

TEST_F(ViewportObjectTest, ErasedItemsAreRedrawnOverTheErasedAreaOnly) {
  viewport.itemErased(&a, {0, 0, 35, 35});
  viewport.flush();
  ASSERT_EQ(b.log, (std::vector<std::string>{"redraw"}));
  EXPECT_EQ(b.lastClip, (gdi::Rect{10, 10, 35, 35}));
}

TEST_F(ViewportObjectTest, ItemErasingAfterItsLateChangeIsNotRedrawnForIt) {
  viewport.itemErased(&a, {20, 20, 40, 40});
  viewport.itemChanged(&b, 0, 1, {30, 30, 60, 60});
  viewport.itemErased(&b, {30, 30, 60, 60});
  viewport.flush();
  EXPECT_EQ(b.log, (std::vector<std::string>{"erase"}));
  EXPECT_EQ(a.log, (std::vector<std::string>{"erase"}));
}

TEST_F(ViewportObjectTest, RemoveErasesOverBoundsAndForgetsTheItem) {
  viewport.itemErased(&b, {30, 30, 60, 60});
  viewport.removeItem(&a);
  EXPECT_EQ(a.log, (std::vector<std::string>{"erase"}));
  EXPECT_EQ(a.lastClip, viewport.bounds());
  EXPECT_FALSE(viewport.contains(&a));
  viewport.flush();
  EXPECT_EQ(a.log.size(), 1u) << "a removed item is not redrawn";
}

TEST_F(ViewportObjectTest, BoundsVisibilityStorageAndHits) {
  // Moving the viewport re-lays its items out and reports the area they now cover.
  const gdi::Rect changed = viewport.setBounds({20, 10, 100, 70});
  EXPECT_EQ(changed, (gdi::Rect{30, 20, 70, 60}));
  // Hidden, the items stay as they were; back at the same place they stay too.
  EXPECT_TRUE(viewport.setBounds({}).isEmpty());
  EXPECT_TRUE(viewport.setBounds({20, 10, 100, 70}).isEmpty());
  EXPECT_EQ(a.area, (gdi::Rect{30, 20, 50, 40}));
  // Back somewhere else, they follow from where they were laid out last.
  viewport.setBounds({});
  EXPECT_EQ(viewport.setBounds({30, 10, 110, 70}), (gdi::Rect{40, 20, 80, 60}));
  EXPECT_EQ(a.area, (gdi::Rect{40, 20, 60, 40}));
  viewport.setBounds({20, 10, 100, 70});

  HitInfo hit;
  EXPECT_FALSE(viewport.hitTest({35, 25}, hit)) << "hidden viewports are not hit";
  viewport.setVisible(true);
  EXPECT_TRUE(a.visible && b.visible);
  EXPECT_TRUE(viewport.hitTest({35, 25}, hit));
  EXPECT_EQ(hit.obj, 7);
  EXPECT_FALSE(viewport.hitTest({5, 5}, hit)) << "outside the bounds";

  viewport.applyStorage(true);
  EXPECT_TRUE(a.storage && b.storage);
}

TEST_F(ViewportObjectTest, RedrawAllWithEmptyBoundsOrNoSurfaceDrawsNothing) {
  viewport.setSurface({});
  viewport.redrawAll();
  viewport.itemChanged(&a, 0, 1, {20, 20, 40, 40});
  EXPECT_TRUE(a.log.empty());
  viewport.setSurface(surface);
  viewport.setBounds({});
  viewport.redrawAll();
  EXPECT_TRUE(a.log.empty());
}

}  // namespace
}  // namespace kvplotax::output
