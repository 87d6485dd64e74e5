// Whatever the style, pen style and width, a trace's picture is the one primitive call that
// draws its shown points: a scrolling trace that has erased and redrawn itself block after
// block leaves exactly what a single polyline, polygon (closed along the baseline) or run of
// point squares draws on a fresh background, clipped to the viewport only.
#include <algorithm>
#include <random>
#include <sstream>

#include "gdi/device_context.h"
#include "trace_fixture.h"

namespace kvplotax::trace::testing {
namespace {

constexpr int kBaselineRow = 150;  // world y 0 with the window below

class SinglePrimitiveTest : public TraceTest {
 protected:
  // The shown points drawn by one call on a fresh black surface.
  gdi::Bitmap singleCall(int style, const gdi::Pen& pen, std::vector<gdi::Point> points) {
    gdi::Bitmap bitmap(600, 300, kBlack);
    gdi::DeviceContext dc(&bitmap);
    dc.setBkMode(gdi::TRANSPARENT);
    dc.selectPen(pen);
    dc.selectBrush(gdi::Brush::solid(pen.color()));
    if (style == kStyleLines && points.size() > 1) {  // a single point is drawn as a point
      dc.polyline(points);
    } else if (style == kStyleArea) {
      points.push_back({points.back().x, kBaselineRow});
      points.push_back({points.front().x, kBaselineRow});
      dc.polygon(points);
    } else if (pen.width() <= 1) {
      dc.setPixels(points, pen.color());
    } else {
      const int h = (pen.width() + 1) / 2;
      for (const gdi::Point& p : points) dc.rectangle(p.x - h, p.y - h, p.x, p.y);
    }
    return bitmap;
  }

  void check(int mode, int style, int penStyle, int width, unsigned seed) {
    pen_ = PenDrawing(penStyle, width, {kRed, kGreen, kBlack, kGrey}, 0);
    auto s = setup(mode, style, 60);
    s.window = WorldRect{0.0f, -150.0f, 600.0f, 300.0f};
    s.x = DataDescription{6, 0, 0, 1, {}};
    auto item = make(s);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> level(-160, 160), step(-1, 1), stride(1, 12), count(1, 25);
    // Odd seeds walk slowly: long, nearly flat segments are where a wide pen's outline reaches
    // furthest above and below its points.
    const bool walk = seed % 2 == 1;
    float y = static_cast<float>(level(random));
    float x = static_cast<float>(std::uniform_int_distribution<int>(0, 100)(random));
    // CRT draws each block as its own primitive: one block there, several when scrolling.
    const int blocks = mode == kModeCrt ? 1 : 6;
    for (int b = 0; b < blocks; ++b) {
      const int n = count(random);
      std::vector<float> xs, ys;
      for (int i = 0; i < n; ++i) {
        xs.push_back(x);
        y = walk ? std::clamp(y + static_cast<float>(step(random)), -160.0f, 160.0f)
                 : static_cast<float>(level(random));
        ys.push_back(y);
        x += static_cast<float>(stride(random));
      }
      ASSERT_GT(item->addBlock(n, bytes(ys), bytes(xs)), 0);
      viewport_.flush();
    }
    const std::vector<gdi::Point> shown(item->shownPoints().begin(), item->shownPoints().end());
    const gdi::Bitmap want = singleCall(style, pen_.pen(kPenNormal), shown);
    std::ostringstream what;
    what << "mode " << mode << " style " << style << " pen " << penStyle << "/" << width << " seed "
         << seed << " points";
    for (const gdi::Point& p : shown) what << " " << p.x << "," << p.y;
    int wrong = 0;
    for (int y = 0; y < 300 && wrong < 3; ++y)
      for (int xx = 0; xx < 600 && wrong < 3; ++xx)
        if (pixel(xx, y) != want.pixel(xx, y)) {
          ++wrong;
          ADD_FAILURE() << what.str() << ": at " << xx << "," << y << std::hex << " drawn "
                        << pixel(xx, y) << " single call " << want.pixel(xx, y);
        }
  }
};

TEST_F(SinglePrimitiveTest, EveryStylePenAndWidthDrawsAsOneCall) {
  unsigned seed = 1;
  for (int mode : {kModeCrt, kModeScrollRight})
    for (int style : {kStylePoints, kStyleLines, kStyleArea})
      for (int penStyle = 0; penStyle <= 4; ++penStyle)
        for (int width : {1, 2, 3, 4, 5, 7}) {
          surface_.dc().fillRect(kViewport, gdi::Brush::solid(kBlack));
          check(mode, style, penStyle, width, seed++);
          if (HasFailure()) return;
        }
}

}  // namespace
}  // namespace kvplotax::trace::testing
