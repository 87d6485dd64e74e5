// A trace on a real drawing surface: one viewport covering a 600 x 300 surface, a black
// background, a red pen with green intense colour and grey storage colour.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "output/draw_surface.h"
#include "output/viewport_object.h"
#include "trace/pen_drawing.h"
#include "trace/trace_item.h"

namespace kvplotax::trace::testing {

inline constexpr gdi::ColorRef kRed = 0x0000FF;
inline constexpr gdi::ColorRef kGreen = 0x00FF00;
inline constexpr gdi::ColorRef kGrey = 0x808080;
inline constexpr gdi::ColorRef kBlack = 0;

class NullOwner : public output::SurfaceOwner {
 public:
  void invalidateSurfaceRect(const gdi::Rect& rect, bool) override {
    invalid = invalid.unite(rect);
  }
  gdi::Rect invalid;
};

template <typename T>
std::span<const std::byte> bytes(const std::vector<T>& v) {
  return std::as_bytes(std::span<const T>(v));
}

class TraceTest : public ::testing::Test {
 protected:
  static constexpr gdi::Rect kViewport{0, 0, 600, 300};

  void SetUp() override {
    surface_ = output::DrawSurface::createBitmapSurface(600, 300, &owner_);
    viewport_.setSurface(surface_);
    viewport_.setBounds(kViewport);
    viewport_.setVisible(true);
    pen_ = PenDrawing(0, 1, {kRed, kGreen, kBlack, kGrey}, 0);
  }

  // A window whose units are pixels: x 0..600 to the right, y 0..300 upwards.
  TraceSetup setup(std::int32_t mode, std::int32_t style, std::int32_t length) {
    TraceSetup s;
    s.channel = 3;
    s.mode = mode;
    s.style = style;
    s.bufferLength = length;
    s.pen = &pen_;
    s.viewport = &viewport_;
    s.viewportRect = kViewport;
    s.window = WorldRect{0.0f, 0.0f, 600.0f, 300.0f};
    s.y = DataDescription{6, 0, 0, 1, {}};
    s.x = DataDescription{6, 2, 0, 1, {}};  // auto-increment: x is the buffer position
    return s;
  }

  std::unique_ptr<TraceItem> make(const TraceSetup& s) {
    auto item = createTraceItem(s);
    EXPECT_NE(item, nullptr);
    return item;
  }

  gdi::ColorRef pixel(int x, int y) { return surface_.dc().getPixel(x, y); }
  // Pixel row of world y in the test window.
  static int row(float y) { return static_cast<int>(300.0f - y); }

  NullOwner owner_;
  output::DrawSurface surface_;
  output::ViewportObject viewport_;
  PenDrawing pen_;
};

}  // namespace kvplotax::trace::testing
