// Random traces drawn by the trace item must match, pixel for pixel, the same primitives drawn
// by the naive reference rasteriser straight from the platform's rules: every pen style,
// widths 1 to 3, points, lines (whose long runs are merged before drawing) and areas closed
// along the baseline.
#include <random>
#include <sstream>

#include "naive/naive_canvas.h"
#include "trace_fixture.h"

namespace kvplotax::trace::testing {
namespace {

constexpr int kBaselineRow = 150;  // world y 0 with the window below

struct Scene {
  int style;     // display style
  int penStyle;  // 0..4
  int penWidth;  // 1..3
  unsigned seed;
};

std::string describe(const Scene& s) {
  std::ostringstream o;
  o << "style " << s.style << " pen " << s.penStyle << "/" << s.penWidth << " seed " << s.seed;
  return o.str();
}

class PixelRulesTest : public TraceTest {
 protected:
  void check(const Scene& scene) {
    pen_ = PenDrawing(scene.penStyle, scene.penWidth, {kRed, kGreen, kBlack, kGrey}, 0);
    auto s = setup(kModeCrt, scene.style, 4000);
    s.window = WorldRect{0.0f, -150.0f, 600.0f, 300.0f};
    s.x = DataDescription{6, 0, 0, 1, {}};
    auto item = make(s);

    std::mt19937 random(scene.seed);
    // The reference decides each pixel against every polygon edge: areas stay short.
    const int most = scene.style == kStyleArea ? 40 : 300;
    const int n = std::uniform_int_distribution<int>(1, most)(random);
    // Mostly small steps, as sampled signals make, with an occasional jump.
    std::vector<float> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
    int px = std::uniform_int_distribution<int>(0, 599)(random);
    int py = std::uniform_int_distribution<int>(-149, 149)(random);
    std::uniform_int_distribution<int> step(-2, 2), jump(0, 40);
    for (int i = 0; i < n; ++i) {
      if (jump(random) == 0) {
        px = std::uniform_int_distribution<int>(-20, 619)(random);
        py = std::uniform_int_distribution<int>(-170, 170)(random);
      } else {
        px = std::clamp(px + step(random) * (i % 3 == 0), -20, 619);
        py = std::clamp(py + step(random), -170, 170);
      }
      x[static_cast<std::size_t>(i)] = static_cast<float>(px);
      y[static_cast<std::size_t>(i)] = static_cast<float>(py);
    }
    ASSERT_EQ(item->addBlock(n, bytes(y), bytes(x)), n);

    naive::NaiveCanvas expected(600, 300, kBlack);
    expected.clip.restricted = true;
    expected.clip.keep = {item->bounds().intersect(kViewport)};
    expected.pen = {scene.penStyle, scene.penWidth, kRed};
    expected.brushColor = kRed;
    std::vector<gdi::Point> points(item->shownPoints().begin(), item->shownPoints().end());
    if (scene.style == kStylePoints || (scene.style == kStyleLines && n == 1)) {
      if (scene.penWidth <= 1) {
        for (const gdi::Point& p : points)
          if (p.x >= 0 && p.x < 600 && p.y >= 0 && p.y < 300 && expected.clip.allows(p.x, p.y))
            expected.pixels[static_cast<std::size_t>(p.y * 600 + p.x)] = kRed;
      } else {
        const int h = (scene.penWidth + 1) / 2;
        for (const gdi::Point& p : points) expected.rectangle(p.x - h, p.y - h, p.x, p.y);
      }
    } else if (scene.style == kStyleLines) {
      expected.opaque = false;
      expected.polyline(points);
    } else {
      expected.opaque = false;
      points.push_back({points.back().x, kBaselineRow});
      points.push_back({points.front().x, kBaselineRow});
      expected.polygon(points);
    }
    int wrong = 0;
    for (int yy = 0; yy < 300 && wrong < 5; ++yy)
      for (int xx = 0; xx < 600 && wrong < 5; ++xx)
        if (pixel(xx, yy) != expected.at(xx, yy)) {
          ++wrong;
          ADD_FAILURE() << describe(scene) << " n " << n << " bounds " << item->bounds().left << ","
                        << item->bounds().top << "," << item->bounds().right << ","
                        << item->bounds().bottom << " at " << xx << "," << yy << ": " << std::hex
                        << pixel(xx, yy) << " expected " << expected.at(xx, yy);
        }
  }
};

TEST_F(PixelRulesTest, RandomTracesMatchTheReferenceRasteriser) {
  unsigned seed = 1;
  for (int style : {kStylePoints, kStyleLines, kStyleArea})
    for (int penStyle = 0; penStyle <= 4; ++penStyle)
      for (int width = 1; width <= 3; ++width)
        for (int round = 0; round < 2; ++round) {
          surface_.dc().fillRect(kViewport, gdi::Brush::solid(kBlack));
          check({style, penStyle, width, seed++});
          if (HasFailure()) return;
        }
}

}  // namespace
}  // namespace kvplotax::trace::testing
