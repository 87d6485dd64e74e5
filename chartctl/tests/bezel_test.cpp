#include <gtest/gtest.h>

#include <string>

#include "bezel/bezel_painter.h"
#include "gdi/system_colors.h"
#include "graticule_golden.h"
#include "plot_layout.h"

namespace kvplotax::testing {
namespace {

constexpr gdi::ColorRef kBack = 0x808000;
constexpr gdi::ColorRef kWhite = 0xFFFFFF;
constexpr gdi::ColorRef kGrey = 0x808080;
constexpr gdi::ColorRef kFace = 0xC0C0C0;
constexpr gdi::ColorRef kBlack = 0x000000;
constexpr gdi::ColorRef kUntouched = 0x123456;

struct Framed {
  gdi::Bitmap bitmap;
  gdi::Rect work;
};

Framed frame(const bezel::OutlineSettings& outline, const bezel::BevelSettings& bevel,
             int width = 40, int height = 30) {
  Framed f{gdi::Bitmap(width, height, kUntouched), {0, 0, width, height}};
  gdi::DeviceContext dc(&f.bitmap);
  bezel::drawBezel(dc, outline, bevel, f.work);
  bezel::fillBackground(dc, kBack, f.work);
  return f;
}

// The colours met walking in from the left edge along the middle row.
std::string colours(const gdi::Bitmap& b, int count) {
  std::string s;
  for (int x = 0; x < count; ++x) {
    switch (b.pixel(x, b.height() / 2)) {
      case kBlack:
        s += 'k';
        break;
      case kWhite:
        s += 'w';
        break;
      case kGrey:
        s += 'g';
        break;
      case kFace:
        s += 'f';
        break;
      case kBack:
        s += 'b';
        break;
      default:
        s += '?';
    }
  }
  return s;
}

int reserve(const bezel::BevelSettings& bevel) {
  const layout::BezelGeometry g{bevel.inner, bevel.outer, bevel.widthInner, bevel.widthOuter,
                                bevel.borderWidth};
  return layout::drawableArea({0, 0, 100, 100}, layout::bezelThickness(g)).left;
}

TEST(Bezel, DefaultsAreTheOutlineAndARaisedBevel) {
  const Framed f = frame({}, {});
  EXPECT_EQ(compareWithGolden(f.bitmap, "bezel_default"), "");
  EXPECT_EQ(colours(f.bitmap, 4), "kwbb");
  // Right edge: shadow then outline.
  EXPECT_EQ(f.bitmap.pixel(38, 15), kGrey);
  EXPECT_EQ(f.bitmap.pixel(39, 15), kBlack);
  EXPECT_EQ(f.bitmap.pixel(15, 28), kGrey);
  EXPECT_EQ(f.work, (gdi::Rect{2, 2, 38, 38 - 10}));
  EXPECT_EQ(reserve({}), 5);
}

TEST(Bezel, MixedBevelFromOutsideInAndTheTenPixelReserve) {
  bezel::BevelSettings bevel;
  bevel.inner = bezel::kBevelInset;
  bevel.widthInner = 2;
  const Framed f = frame({}, bevel);
  EXPECT_EQ(compareWithGolden(f.bitmap, "bezel_mixed"), "");
  // Outline 1, raised 1, border 3, inset 2 (shadow on the left), then the background.
  EXPECT_EQ(colours(f.bitmap, 9), "kwfffggbb");
  const int w = f.bitmap.width();
  // On the right the inset bevel shows its light side, the raised one its shadow.
  EXPECT_EQ(f.bitmap.pixel(w - 8, 15), kBack);
  EXPECT_EQ(f.bitmap.pixel(w - 7, 15), kWhite);
  EXPECT_EQ(f.bitmap.pixel(w - 6, 15), kWhite);
  EXPECT_EQ(f.bitmap.pixel(w - 5, 15), kFace);
  EXPECT_EQ(f.bitmap.pixel(w - 3, 15), kFace);
  EXPECT_EQ(f.bitmap.pixel(w - 2, 15), kGrey);
  EXPECT_EQ(f.work, (gdi::Rect{7, 7, 33, 23}));
  EXPECT_EQ(reserve(bevel), 10);
}

TEST(Bezel, NoBevelsDrawNoBorderButTheLayoutStillReservesIt) {
  bezel::BevelSettings bevel;
  bevel.outer = bezel::kBevelNone;
  const Framed f = frame({}, bevel);
  EXPECT_EQ(compareWithGolden(f.bitmap, "bezel_none"), "");
  EXPECT_EQ(colours(f.bitmap, 3), "kbb");
  EXPECT_EQ(reserve(bevel), 1 + 3);
  // Without an inner bevel a wide border is not drawn either.
  bevel.outer = bezel::kBevelRaised;
  bevel.borderWidth = 10;
  EXPECT_EQ(colours(frame({}, bevel).bitmap, 3), "kwb");
}

TEST(Bezel, InsetOuterAndRaisedInnerSwapTheirColours) {
  bezel::BevelSettings bevel;
  bevel.outer = bezel::kBevelInset;
  bevel.inner = bezel::kBevelRaised;
  bevel.widthOuter = 2;
  bevel.borderWidth = 1;
  const Framed f = frame({}, bevel);
  EXPECT_EQ(compareWithGolden(f.bitmap, "bezel_inset_raised"), "");
  EXPECT_EQ(colours(f.bitmap, 6), "kggfwb");
  // The top-left corner of each band belongs to its first colour, the bottom-right to its
  // second.
  EXPECT_EQ(f.bitmap.pixel(1, 1), kGrey);
  EXPECT_EQ(f.bitmap.pixel(38, 28), kWhite);
}

TEST(Bezel, UnknownStylesCountButDrawNothing) {
  bezel::BevelSettings bevel;
  bevel.outer = 7;
  const Framed f = frame({}, bevel);
  EXPECT_EQ(colours(f.bitmap, 3), "kbb");
  EXPECT_EQ(reserve(bevel), 1 + 3 + 1);
}

TEST(Bezel, OutlineOffOrRounded) {
  bezel::OutlineSettings outline;
  outline.on = false;
  outline.rounded = true;
  bezel::BevelSettings bevel;
  bevel.outer = bezel::kBevelNone;
  Framed f = frame(outline, bevel);
  EXPECT_EQ(f.bitmap.pixel(0, 0), kBack);
  EXPECT_EQ(f.work, (gdi::Rect{0, 0, 40, 30}));
  // A 2 x 2 corner ellipse draws what the square outline draws.
  outline.on = true;
  EXPECT_TRUE(frame(outline, {}).bitmap == frame({}, {}).bitmap);
}

TEST(Bezel, SystemColoursFollowTheDesktopAtEachDrawing) {
  gdi::setSysColor(16, 0x0000FF);
  const Framed f = frame({}, {});
  gdi::resetSysColors();
  EXPECT_EQ(f.bitmap.pixel(38, 15), 0x0000FFu);
  EXPECT_EQ(frame({}, {}).bitmap.pixel(38, 15), kGrey);
}

TEST(Bezel, NegativeWidthsAreRefusedOneAtATime) {
  bezel::BevelSettings bevel;
  EXPECT_TRUE(bezel::validateBevel(bevel));
  bevel.widthOuter = -1;
  bevel.borderWidth = -2;
  EXPECT_FALSE(bezel::validateBevel(bevel));
  EXPECT_EQ(bevel.widthOuter, 0);
  EXPECT_EQ(bevel.borderWidth, -2);
  EXPECT_FALSE(bezel::validateBevel(bevel));
  EXPECT_EQ(bevel.borderWidth, 0);
}

}  // namespace
}  // namespace kvplotax::testing
