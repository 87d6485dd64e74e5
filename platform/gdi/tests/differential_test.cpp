// Random primitives drawn by the device context and by the naive canvas must agree on every
// pixel, for every pen style, widths 1 to 4 and 7, both background modes and three clip shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "gdi/device_context.h"
#include "naive/naive_canvas.h"

namespace {

using gdi::Point;
using gdi::Rect;

constexpr int kWidth = 48;
constexpr int kHeight = 40;

enum class ClipShape { kNone, kRect, kRectWithHoles };
enum class Primitive { kLine, kPolyline, kPolygon, kRectangle, kRoundRect, kFillRect };

struct Scene {
  ClipShape clipShape;
  Primitive primitive;
  int style;
  int width;
  bool opaque;
  bool brushNull;
};

class Drawing {
 public:
  Drawing(const Scene& scene, std::mt19937& rng)
      : scene_(scene),
        rng_(rng),
        bitmap_(kWidth, kHeight, 0x202020),
        dc_(&bitmap_),
        naive_(kWidth, kHeight, 0x202020) {}

  // Draws the same random primitive both ways; returns a description for failures.
  std::string drawBoth() {
    std::ostringstream what;
    what << "style " << scene_.style << " width " << scene_.width << " opaque " << scene_.opaque
         << " brushNull " << scene_.brushNull << " clip " << static_cast<int>(scene_.clipShape);
    setUpClip(what);
    const gdi::Pen pen(scene_.style, scene_.width, 0x0000FF);
    dc_.selectPen(pen);
    naive_.pen = {scene_.style, scene_.width, 0x0000FF};
    dc_.selectBrush(scene_.brushNull ? gdi::Brush::null() : gdi::Brush::solid(0x00FF00));
    naive_.brushNull = scene_.brushNull;
    naive_.brushColor = 0x00FF00;
    dc_.setBkMode(scene_.opaque ? gdi::OPAQUE : gdi::TRANSPARENT);
    dc_.setBkColor(0xFF0000);
    naive_.opaque = scene_.opaque;
    naive_.background = 0xFF0000;
    switch (scene_.primitive) {
      case Primitive::kLine: {
        const Point a = point(), b = point();
        what << " line " << a.x << "," << a.y << " -> " << b.x << "," << b.y;
        dc_.moveTo(a.x, a.y);
        dc_.lineTo(b.x, b.y);
        naive_.line(a, b);
        break;
      }
      case Primitive::kPolyline:
      case Primitive::kPolygon: {
        std::vector<Point> points(
            static_cast<std::size_t>(pick(2, scene_.primitive == Primitive::kPolygon ? 24 : 7)));
        for (Point& p : points) p = point();
        what << (scene_.primitive == Primitive::kPolyline ? " polyline" : " polygon");
        for (const Point& p : points) what << " " << p.x << "," << p.y;
        if (scene_.primitive == Primitive::kPolyline) {
          dc_.polyline(points);
          naive_.polyline(points);
        } else {
          dc_.polygon(points);
          naive_.polygon(points);
        }
        break;
      }
      case Primitive::kRectangle:
      case Primitive::kRoundRect:
      case Primitive::kFillRect: {
        const Point a = point(), b = point();
        const int ew = pick(0, 30), eh = pick(0, 30);
        what << " rect " << a.x << "," << a.y << "," << b.x << "," << b.y << " corner " << ew << "x"
             << eh << " kind " << static_cast<int>(scene_.primitive);
        if (scene_.primitive == Primitive::kRectangle) {
          dc_.rectangle(a.x, a.y, b.x, b.y);
          naive_.rectangle(a.x, a.y, b.x, b.y);
        } else if (scene_.primitive == Primitive::kRoundRect) {
          dc_.roundRect(a.x, a.y, b.x, b.y, ew, eh);
          naive_.roundRect(a.x, a.y, b.x, b.y, ew, eh);
        } else {
          dc_.fillRect({a.x, a.y, b.x, b.y}, gdi::Brush::solid(0x00FFFF));
          naive_.fillRect({a.x, a.y, b.x, b.y}, 0x00FFFF);
        }
        break;
      }
    }
    return what.str();
  }

  // The first differing pixel, as text; empty when all agree.
  std::string firstDifference() const {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (bitmap_.pixel(x, y) != naive_.at(x, y)) {
          std::ostringstream s;
          s << "pixel " << x << "," << y << " fast " << std::hex << bitmap_.pixel(x, y) << " naive "
            << naive_.at(x, y);
          return s.str();
        }
    return {};
  }

 private:
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  Point point() { return {pick(-12, kWidth + 12), pick(-12, kHeight + 12)}; }

  void setUpClip(std::ostringstream& what) {
    if (scene_.clipShape == ClipShape::kNone) return;
    const Rect keep{pick(-5, 20), pick(-5, 15), pick(25, kWidth + 5), pick(20, kHeight + 5)};
    dc_.selectClipRect(keep);
    naive_.clip.restricted = true;
    naive_.clip.keep.push_back(keep);
    what << " keep " << keep.left << "," << keep.top << "," << keep.right << "," << keep.bottom;
    if (scene_.clipShape == ClipShape::kRect) return;
    for (int i = pick(1, 3); i > 0; --i) {
      const int x = pick(-2, kWidth), y = pick(-2, kHeight);
      const Rect hole{x, y, x + pick(1, 15), y + pick(1, 12)};
      dc_.excludeClipRect(hole);
      naive_.clip.excluded.push_back(hole);
      what << " hole " << hole.left << "," << hole.top << "," << hole.right << "," << hole.bottom;
    }
  }

  Scene scene_;
  std::mt19937& rng_;
  gdi::Bitmap bitmap_;
  gdi::DeviceContext dc_;
  naive::NaiveCanvas naive_;
};

void runScenes(Primitive primitive, int perCombination, unsigned seed) {
  std::mt19937 rng(seed);
  for (int clip = 0; clip < 3; ++clip)
    for (int style = 0; style <= 5; ++style)
      for (int width : {1, 2, 3, 4, 7})
        for (int i = 0; i < perCombination; ++i) {
          const Scene scene{
              static_cast<ClipShape>(clip), primitive, style, width, i % 2 == 0, i % 3 == 0};
          Drawing drawing(scene, rng);
          const std::string what = drawing.drawBoth();
          const std::string difference = drawing.firstDifference();
          ASSERT_TRUE(difference.empty()) << what << ": " << difference;
        }
}

TEST(Differential, Lines) { runScenes(Primitive::kLine, 60, 1); }
TEST(Differential, Polylines) { runScenes(Primitive::kPolyline, 25, 2); }
TEST(Differential, Polygons) { runScenes(Primitive::kPolygon, 25, 3); }
TEST(Differential, Rectangles) { runScenes(Primitive::kRectangle, 25, 4); }
TEST(Differential, RoundRects) { runScenes(Primitive::kRoundRect, 25, 5); }
TEST(Differential, FillRects) { runScenes(Primitive::kFillRect, 10, 6); }

// Densely sampled traces step up and down within one column (or along one row) many times
// before moving on; the device context fills such runs at once, which must draw exactly the
// segments' pixels.
TEST(Differential, DenseTracesSteppingWithinColumns) {
  std::mt19937 rng(8);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int i = 0; i < 300; ++i) {
    gdi::Bitmap bitmap(kWidth, kHeight, 0);
    gdi::DeviceContext dc(&bitmap);
    naive::NaiveCanvas naive(kWidth, kHeight, 0);
    std::ostringstream what;
    if (i % 3 != 0) {
      const Rect keep{pick(-3, 15), pick(-3, 12), pick(25, kWidth + 3), pick(20, kHeight + 3)};
      dc.selectClipRect(keep);
      naive.clip.restricted = true;
      naive.clip.keep.push_back(keep);
      what << "keep " << keep.left << "," << keep.top << "," << keep.right << "," << keep.bottom;
      if (i % 3 == 2) {
        const Rect hole{pick(0, 30), pick(0, 25), pick(31, 45), pick(26, 38)};
        dc.excludeClipRect(hole);
        naive.clip.excluded.push_back(hole);
        what << " hole " << hole.left << "," << hole.top << "," << hole.right << "," << hole.bottom;
      }
    }
    const int style = i % 5 == 4 ? 2 : 0;  // dotted now and then: its pattern must run on
    dc.selectPen(gdi::Pen(style, 1, 0xFFFFFF));
    naive.pen = {style, 1, 0xFFFFFF};
    std::vector<Point> points{{pick(-4, 10), pick(-4, kHeight + 4)}};
    for (int k = pick(1, 80); k > 0; --k) {
      const Point last = points.back();
      // Every fourth trace runs along rows instead.
      const int across = pick(0, 9) == 0 ? pick(-2, 3) : 0;
      const int along = pick(-7, 7);
      if (i % 4 == 3) {
        points.push_back({std::clamp(last.x + along, -6, kWidth + 6), last.y + across});
      } else {
        points.push_back({last.x + across, std::clamp(last.y + along, -6, kHeight + 6)});
      }
    }
    what << " polyline";
    for (const Point& p : points) what << " " << p.x << "," << p.y;
    if (i % 2 == 0) {
      dc.polyline(points);
      naive.polyline(points);
    } else {
      dc.selectBrush(gdi::Brush::null());  // a closed outline only
      naive.brushNull = true;
      dc.polygon(points);
      naive.polygon(points);
    }
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(bitmap.pixel(x, y), naive.at(x, y)) << what.str() << " at " << x << "," << y;
  }
}

// Long lines far outside the surface still clip without moving a pixel.
TEST(Differential, LongLinesEnteringFromFarAway) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> far(-3000, 3000);
  for (int i = 0; i < 400; ++i) {
    gdi::Bitmap bitmap(kWidth, kHeight, 0);
    gdi::DeviceContext dc(&bitmap);
    naive::NaiveCanvas naive(kWidth, kHeight, 0);
    const Rect keep{3, 4, 41, 33};
    dc.selectClipRect(keep);
    naive.clip.restricted = true;
    naive.clip.keep.push_back(keep);
    dc.selectPen(gdi::Pen(i % 5, 1, 0xFFFFFF));
    naive.pen = {i % 5, 1, 0xFFFFFF};
    const Point a{far(rng), far(rng)};
    const Point b{far(rng) / 60 + 20, far(rng) / 60 + 20};
    dc.line(a.x, a.y, b.x, b.y);
    naive.line(a, b);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(bitmap.pixel(x, y), naive.at(x, y))
            << a.x << "," << a.y << " -> " << b.x << "," << b.y << " at " << x << "," << y;
  }
}

}  // namespace
