// Random traces drawn by the trace item must match, pixel for pixel, the same primitives drawn
// by the naive reference rasteriser straight from the platform's rules: every pen style,
// widths 1 to 3, points, lines (whose long runs are merged before drawing) and areas closed
// along the baseline, whole or broken into runs where the client ended one.
#include <algorithm>
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
  int runs = 1;  // blocks, each but the last ended by endRun
};

std::string describe(const Scene& s) {
  std::ostringstream o;
  o << "style " << s.style << " pen " << s.penStyle << "/" << s.penWidth << " seed " << s.seed
    << " runs " << s.runs;
  return o.str();
}

class PixelRulesTest : public TraceTest {
 protected:
  void drawExpected(naive::NaiveCanvas& expected, const Scene& scene,
                    std::vector<gdi::Point> points) {
    if (scene.style == kStylePoints || (scene.style == kStyleLines && points.size() == 1)) {
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
  }

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
    // Runs of at least two points: a lone point is drawn as a point whatever its neighbours.
    // Their own generator, so that the points stay those of the unbroken scenes.
    std::mt19937 cutRandom(scene.seed);
    std::vector<int> cuts{0};
    for (int r = 1; r < scene.runs; ++r)
      cuts.push_back(std::uniform_int_distribution<int>(0, n)(cutRandom));
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(n);
    std::erase_if(cuts, [&](int c) { return c != 0 && c != n && (c < 2 || c > n - 2); });
    cuts.erase(std::unique(cuts.begin(), cuts.end(), [](int a, int b) { return b - a < 2; }),
               cuts.end());
    if (cuts.size() == 1) {
      cuts.push_back(n);
    } else {
      cuts.back() = n;
    }
    for (std::size_t r = 1; r < cuts.size(); ++r) {
      const auto from = static_cast<std::size_t>(cuts[r - 1]);
      const int k = cuts[r] - cuts[r - 1];
      const std::vector<float> xr(x.begin() + from, x.begin() + from + k);
      const std::vector<float> yr(y.begin() + from, y.begin() + from + k);
      ASSERT_EQ(item->addBlock(k, bytes(yr), bytes(xr)), cuts[r]);
      if (r + 1 < cuts.size()) item->endRun();
    }

    naive::NaiveCanvas expected(600, 300, kBlack);
    expected.clip.restricted = true;
    expected.clip.keep = {item->bounds().intersect(kViewport)};
    expected.pen = {scene.penStyle, scene.penWidth, kRed};
    expected.brushColor = kRed;
    const std::vector<gdi::Point> shown(item->shownPoints().begin(), item->shownPoints().end());
    for (std::size_t r = 1; r < cuts.size(); ++r) {
      const auto from = static_cast<std::size_t>(cuts[r - 1]);
      const auto to = static_cast<std::size_t>(cuts[r]);
      drawExpected(expected, scene, {shown.begin() + from, shown.begin() + to});
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
        for (int round = 0; round < 3; ++round) {
          // The third round breaks lines and areas into runs; points have none.
          if (round == 2 && style == kStylePoints) continue;
          const int runs = round == 2 ? 2 + static_cast<int>(seed % 4) : 1;
          surface_.dc().fillRect(kViewport, gdi::Brush::solid(kBlack));
          check({style, penStyle, width, round == 2 ? 1000 + seed : seed++, runs});
          if (HasFailure()) return;
        }
}

}  // namespace
}  // namespace kvplotax::trace::testing
