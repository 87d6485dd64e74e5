#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "gdi/log_font.h"
#include "output/draw_surface.h"
#include "output/viewport_object.h"
#include "scale/scale_item_set.h"

namespace kvplotax::scale {
namespace {

constexpr gdi::ColorRef kBack = 0x808000;
constexpr gdi::ColorRef kInk = 0x000000;
constexpr gdi::ColorRef kIntense = 0x00FFFF;

class FakeChart : public ScaleHost {
 public:
  FakeChart() : surface(output::DrawSurface::createBitmapSurface(500, 400, nullptr)) {
    surface.fillRect(surface.bounds(), gdi::Brush::solid(kBack));
    for (int n : {0, 1}) {
      viewports[n].setSurface(surface);
      viewports[n].setBounds(scaleViewportRect(n));
      viewports[n].setVisible(true);
    }
  }
  output::ViewportObject* scaleViewport(int n) override {
    auto it = viewports.find(n);
    return it == viewports.end() ? nullptr : &it->second;
  }
  gdi::Rect scaleViewportRect(int n) override {
    return n == 0 ? gdi::Rect{5, 5, 495, 395} : gdi::Rect{25, 20, 475, 380};
  }
  bool scaleWindowRange(int window, int, float& min, float& extent) override {
    min = 0.0f;
    extent = 10.0f;
    return window == 1;
  }
  bool scalePenColors(int pen, gdi::ColorRef& normal, gdi::ColorRef& intense) override {
    normal = kInk;
    intense = kIntense;
    return pen == 1;
  }
  ScaleGraticule scaleGraticule() override { return {9, 10, 8, 1, 3}; }
  gdi::ColorRef scaleBackColor() override { return kBack; }
  gdi::ColorRef scaleStorageColor() override { return 0x00FF00; }
  bool scaleStorageOn(int) override { return false; }
  output::DrawSurface* scaleSurface() override { return &surface; }
  void scaleAreaChanged(const gdi::Rect& area) override { changed = changed.unite(area); }

  int count(gdi::ColorRef c) {
    int n = 0;
    for (std::uint32_t p : surface.dc().bitmap()->pixels()) n += p == c;
    return n;
  }
  void flush() {
    for (auto& [n, v] : viewports) v.flush();
  }

  output::DrawSurface surface;
  std::map<int, output::ViewportObject> viewports;
  gdi::Rect changed;
};

const ScaleFonts& fonts() {
  static const ScaleFonts f = ScaleFonts::fromLogFont(gdi::logFontFromPoints("Arial", 8, 96));
  return f;
}

ScaleRequest request() {
  ScaleRequest r;
  r.number = 1;
  r.style.visibility = kScaleOnly;
  r.style.location = kFrameRightBottom;
  r.style.position = kAboveLeft;  // inside the frame's bottom edge
  return r;
}

TEST(ScaleCommands, InitialiseDrawsAndTheColourCommandsRedraw) {
  FakeChart chart;
  ScaleItemSet scales;
  const ScaleRequest r = request();
  EXPECT_EQ(scales.apply(chart, r, kScaleInitialize, fonts()), ScaleActionResult::kDone);
  ScaleItem* item = scales.item(1, kHorz);
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(chart.viewports[1].contains(item));
  const int ink = chart.count(kInk);
  EXPECT_GT(ink, 50);
  EXPECT_EQ(chart.changed, item->drawnRect());

  EXPECT_EQ(scales.apply(chart, r, kScaleIntenseColor, fonts()), ScaleActionResult::kDone);
  chart.flush();
  EXPECT_EQ(chart.count(kInk), 0);
  EXPECT_EQ(chart.count(kIntense), ink);
  scales.apply(chart, r, kScaleNormalColor, fonts());
  chart.flush();
  EXPECT_EQ(chart.count(kInk), ink);

  scales.apply(chart, r, kScaleErase, fonts());
  chart.flush();
  EXPECT_EQ(chart.count(kBack), 500 * 400);
  EXPECT_NE(scales.item(1, kHorz), nullptr);  // erased, not gone

  // Initialising again replaces the item; removing it leaves nothing behind.
  scales.apply(chart, r, kScaleChangePen, fonts());
  EXPECT_EQ(chart.count(kInk), ink);
  scales.remove(chart, 1, kHorz);
  chart.flush();
  EXPECT_EQ(scales.item(1, kHorz), nullptr);
  EXPECT_TRUE(chart.viewports[1].items().empty());
  EXPECT_EQ(chart.count(kBack), 500 * 400);
}

// The control may drop its fonts (a new font was set) while items laid out in the old ones are
// still to be erased.
TEST(ScaleCommands, ItemsOutliveTheFontsTheyWereLaidOutIn) {
  FakeChart chart;
  ScaleItemSet scales;
  auto fonts = std::make_unique<ScaleFonts>(
      ScaleFonts::fromLogFont(gdi::logFontFromPoints("DejaVu Serif", 13, 96)));
  scales.apply(chart, request(), kScaleInitialize, *fonts);
  ASSERT_GT(chart.count(kInk), 0);
  fonts.reset();
  scales.apply(chart, request(), kScaleErase, ScaleFonts{});
  chart.flush();
  EXPECT_EQ(chart.count(kBack), 500 * 400);
}

TEST(ScaleCommands, CommandsNeedAnItemAndUnknownOnesAreIgnored) {
  FakeChart chart;
  ScaleItemSet scales;
  ScaleRequest r = request();
  for (int action : {kScaleErase, kScaleIntenseColor, kScaleNormalColor, kScaleChangePen,
                     kScaleChangeViewport, kScaleChangeWindow}) {
    EXPECT_EQ(scales.apply(chart, r, action, fonts()), ScaleActionResult::kNotInitialized);
  }
  EXPECT_EQ(scales.apply(chart, r, 8, fonts()), ScaleActionResult::kIgnored);
  EXPECT_EQ(scales.apply(chart, r, -1, fonts()), ScaleActionResult::kIgnored);
  EXPECT_EQ(scales.apply(chart, r, kScaleNoAction, fonts()), ScaleActionResult::kDone);
  // Hidden, or naming a pen or window that does not exist: no item is built.
  r.style.visibility = kHidden;
  scales.apply(chart, r, kScaleInitialize, fonts());
  EXPECT_EQ(scales.size(), 0u);
  r.style.visibility = kScaleOnly;
  r.pen = 7;
  scales.apply(chart, r, kScaleInitialize, fonts());
  EXPECT_EQ(scales.size(), 0u);
  // A label pen of 0 takes the scale pen.
  r.pen = 0;
  r.labelPen = 1;
  scales.apply(chart, r, kScaleInitialize, fonts());
  EXPECT_EQ(scales.size(), 1u);
  r.window = 3;
  scales.apply(chart, r, kScaleInitialize, fonts());
  EXPECT_EQ(scales.size(), 0u);
  EXPECT_EQ(chart.count(kBack), 500 * 400);
}

TEST(ScaleCommands, ScalesReachingOutOfTheirViewportBelongToTheWholeArea) {
  FakeChart chart;
  ScaleItemSet scales;
  ScaleRequest r = request();
  r.style.position = kBelowRight;  // below the frame: outside the plot area
  scales.apply(chart, r, kScaleInitialize, fonts());
  ScaleItem* item = scales.item(1, kHorz);
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->inOwnViewport());
  EXPECT_TRUE(chart.viewports[0].contains(item));
  EXPECT_FALSE(chart.viewports[1].contains(item));
  scales.drop();
  EXPECT_TRUE(chart.viewports[0].items().empty());
}

}  // namespace
}  // namespace kvplotax::scale
