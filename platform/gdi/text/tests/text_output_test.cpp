#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "canvas.h"
#include "gdi/font.h"
#include "gdi/text_output.h"
// The device context that calls this layer is used together with it in one program.
#if __has_include("gdi/device_context.h")
#include "gdi/device_context.h"
#endif

namespace gdi {
namespace {

using testing::Canvas;

constexpr std::uint32_t kPaper = 0x00FFFFFF;
constexpr std::uint32_t kInk = 0x000000FF;
constexpr std::uint32_t kFill = 0x0000FF00;

std::shared_ptr<const Font> arial(int height, int escapement = 0, int weight = FW_NORMAL) {
  LogFont f;
  f.faceName = "Arial";
  f.height = height;
  f.escapement = f.orientation = escapement;
  f.weight = weight;
  return Font::create(f);
}

TextStyle transparent(std::uint32_t align = TA_LEFT | TA_BASELINE, std::uint32_t ink = kInk) {
  return {.textPixel = ink, .backgroundPixel = kFill, .opaque = false, .align = align};
}

TextStyle opaque(std::uint32_t align) {
  return {.textPixel = kInk, .backgroundPixel = kFill, .opaque = true, .align = align};
}

// Pixels of colour `value`, relative to `origin`.
std::set<std::pair<int, int>> pixelsOf(const Canvas& c, std::uint32_t value, Point origin) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (c.at(x, y) == value) out.insert({x - origin.x, y - origin.y});
  return out;
}

struct Alignment {
  std::uint32_t horizontal;
  std::uint32_t vertical;
};

const Alignment kAlignments[] = {
    {TA_LEFT, TA_TOP},      {TA_CENTER, TA_TOP},      {TA_RIGHT, TA_TOP},
    {TA_LEFT, TA_BASELINE}, {TA_CENTER, TA_BASELINE}, {TA_RIGHT, TA_BASELINE},
    {TA_LEFT, TA_BOTTOM},   {TA_CENTER, TA_BOTTOM},   {TA_RIGHT, TA_BOTTOM}};

// An opaque output fills exactly the text cell, so the changed pixels show where the cell went.
TEST(TextAlignment, PlacesTheCellOfHorizontalText) {
  const auto font = arial(-16);
  const char* text = "HHH";
  const int w = font->extent(text).cx;
  const TextMetrics& tm = font->metrics();
  const Point ref{100, 60};
  for (const Alignment& a : kAlignments) {
    Canvas canvas(200, 120, kPaper);
    drawText(canvas.view(), canvas.bounds(), *font, ref, text, opaque(a.horizontal | a.vertical));
    const int left = a.horizontal == TA_LEFT    ? ref.x
                     : a.horizontal == TA_RIGHT ? ref.x - w
                                                : ref.x - w / 2;
    const int top = a.vertical == TA_TOP      ? ref.y
                    : a.vertical == TA_BOTTOM ? ref.y - tm.tmHeight
                                              : ref.y - tm.tmAscent;
    EXPECT_EQ(canvas.changedBox(kPaper), (Rect{left, top, left + w, top + tm.tmHeight}))
        << a.horizontal << " " << a.vertical;
    EXPECT_EQ(canvas.count(kFill) + canvas.count(kInk), w * tm.tmHeight);
  }
}

// Text at 900 runs upward: its start is at the bottom and the top of its letters faces left.
TEST(TextAlignment, PlacesTheCellOfUpwardText) {
  const auto font = arial(-16, 900);
  const char* text = "HHH";
  const int w = font->extent(text).cx;
  const TextMetrics& tm = font->metrics();
  const Point ref{60, 100};
  for (const Alignment& a : kAlignments) {
    Canvas canvas(120, 200, kPaper);
    drawText(canvas.view(), canvas.bounds(), *font, ref, text, opaque(a.horizontal | a.vertical));
    const int bottom = a.horizontal == TA_LEFT    ? ref.y
                       : a.horizontal == TA_RIGHT ? ref.y + w
                                                  : ref.y + w / 2;
    const int left = a.vertical == TA_TOP      ? ref.x
                     : a.vertical == TA_BOTTOM ? ref.x - tm.tmHeight
                                               : ref.x - tm.tmAscent;
    EXPECT_EQ(canvas.changedBox(kPaper), (Rect{left, bottom - w, left + tm.tmHeight, bottom}))
        << a.horizontal << " " << a.vertical;
  }
}

TEST(TextAlignment, CapitalsStandOnTheBaseline) {
  Canvas flat(200, 120, kPaper);
  drawText(flat.view(), flat.bounds(), *arial(-20), {50, 60}, "HEH", transparent());
  const Rect ink = flat.changedBox(kPaper);
  EXPECT_EQ(ink.bottom, 60);  // the last ink row is the one above the baseline
  EXPECT_GT(ink.left, 50);    // H has a left side bearing
  EXPECT_LT(ink.top, 60 - 10);

  Canvas up(120, 200, kPaper);
  drawText(up.view(), up.bounds(), *arial(-20, 900), {60, 150}, "HEH", transparent());
  const Rect upInk = up.changedBox(kPaper);
  EXPECT_EQ(upInk.right, 60);  // the baseline is a column; the letters stand left of it
  EXPECT_LT(upInk.bottom, 150);
  EXPECT_EQ(upInk.width(), ink.height());
  EXPECT_EQ(upInk.height(), ink.width());
}

// A turned text is made of exactly the turned pixels of the same text drawn level.
TEST(TextRotation, EveryRightAngleTurnsThePixelsExactly) {
  const char* text = "Ag0.25 jy%";
  const Point ref{100, 100};
  Canvas level(200, 200, kPaper);
  drawText(level.view(), level.bounds(), *arial(-15), ref, text, transparent());
  const auto levelInk = pixelsOf(level, kInk, ref);
  ASSERT_GT(levelInk.size(), 50u);
  for (int quadrant = 1; quadrant < 4; ++quadrant) {
    Canvas turned(200, 200, kPaper);
    drawText(turned.view(), turned.bounds(), *arial(-15, quadrant * 900), ref, text, transparent());
    std::set<std::pair<int, int>> expected;
    for (auto [x, y] : levelInk) {
      if (quadrant == 1) expected.insert({y, -x - 1});
      if (quadrant == 2) expected.insert({-x - 1, -y - 1});
      if (quadrant == 3) expected.insert({-y - 1, x});
    }
    EXPECT_EQ(pixelsOf(turned, kInk, ref), expected) << quadrant;
  }
}

// Mono rendering: every touched pixel takes the text colour, so writing the text again in the
// background colour restores the buffer, whatever the font, style or direction.
TEST(TextErase, DrawingAgainInTheBackgroundColourRestoresTheBuffer) {
  const char* text = "Vert 0.05 -1234.5 gjpqy";
  for (int escapement : {0, 900}) {
    for (int weight : {FW_NORMAL, FW_BOLD}) {
      for (bool decorated : {false, true}) {
        LogFont f;
        f.faceName = "Arial";
        f.height = -13;
        f.escapement = f.orientation = escapement;
        f.weight = weight;
        f.italic = f.underline = f.strikeOut = decorated;
        const auto font = Font::create(f);
        Canvas canvas(260, 260, kPaper);
        const auto before = canvas.pixels;
        drawText(canvas.view(), canvas.bounds(), *font, {30, 200}, text, transparent());
        EXPECT_EQ(canvas.count(kInk) + canvas.count(kPaper), 260 * 260);
        EXPECT_GT(canvas.count(kInk), 100);
        drawText(canvas.view(), canvas.bounds(), *font, {30, 200}, text,
                 transparent(TA_LEFT | TA_BASELINE, kPaper));
        EXPECT_EQ(canvas.pixels, before) << escapement << " " << weight << " " << decorated;
      }
    }
  }
}

TEST(TextClip, NothingIsDrawnOutsideTheClipAndNothingMovesInside) {
  const auto font = arial(-24);
  const char* text = "Clipped 123";
  Canvas whole(240, 80, kPaper);
  drawText(whole.view(), whole.bounds(), *font, {10, 50}, text, opaque(TA_LEFT | TA_BASELINE));

  const Rect clips[] = {{40, 30, 90, 45}, {120, 20, 150, 70}};
  Canvas clipped(240, 80, kPaper);
  drawText(clipped.view(), clips, *font, {10, 50}, text, opaque(TA_LEFT | TA_BASELINE));
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 240; ++x) {
      const bool inside = clips[0].contains({x, y}) || clips[1].contains({x, y});
      ASSERT_EQ(clipped.at(x, y), inside ? whole.at(x, y) : kPaper) << x << "," << y;
    }
  }
  Canvas none(240, 80, kPaper);
  drawText(none.view(), std::span<const Rect>{}, *font, {10, 50}, text, opaque(TA_LEFT));
  EXPECT_EQ(none.count(kPaper), 240 * 80);
}

// Text running off any edge of the buffer, or wholly outside it, writes only the pixels inside.
TEST(TextClip, TheBufferEdgesClipLikeAnyOther) {
  const auto font = arial(-30, 900);
  const char* text = "Edge 9876";
  Canvas big(300, 300, kPaper);
  drawText(big.view(), big.bounds(), *font, {110, 200}, text, opaque(TA_CENTER | TA_BASELINE));
  // A small buffer showing big's pixels 100..139 x 100..159, with padding at the row ends.
  Canvas small(40, 60, kPaper, 7);
  const Rect everything{-1000000, -1000000, 1000000, 1000000};
  drawText(small.view(), everything, *font, {10, 100}, text, opaque(TA_CENTER | TA_BASELINE));
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(small.at(x, y), big.at(x + 100, y + 100)) << x << "," << y;
  for (int y = 0; y < 60; ++y)
    for (int x = 40; x < small.stride; ++x) ASSERT_EQ(small.pixels[y * small.stride + x], kPaper);

  for (Point far : {Point{-5000, 30}, Point{30, 90000}, Point{INT_MIN, INT_MAX}}) {
    drawText(small.view(), everything, *font, far, text, opaque(TA_RIGHT | TA_BOTTOM));
  }
  drawText(PixelBufferView{}, everything, *font, {0, 0}, text, opaque(TA_LEFT));
}

TEST(TextPosition, UpdatingTheCurrentPositionContinuesTheText) {
  const auto font = arial(-14);
  const int w = font->extent("AB").cx;
  Canvas scratch(10, 10, kPaper);
  const auto cp = [&](std::uint32_t align, Point ref, const Font& f) {
    return drawText(scratch.view(), scratch.bounds(), f, ref, "AB", transparent(align));
  };
  EXPECT_EQ(cp(TA_LEFT, {50, 40}, *font), (Point{50, 40}));  // no update without the flag
  EXPECT_EQ(cp(TA_UPDATECP | TA_LEFT, {50, 40}, *font), (Point{50 + w, 40}));
  EXPECT_EQ(cp(TA_UPDATECP | TA_RIGHT | TA_BOTTOM, {50, 40}, *font), (Point{50 - w, 40}));
  EXPECT_EQ(cp(TA_UPDATECP | TA_CENTER, {50, 40}, *font), (Point{50, 40}));
  const auto up = arial(-14, 900);
  EXPECT_EQ(cp(TA_UPDATECP | TA_LEFT | TA_BASELINE, {50, 40}, *up), (Point{50, 40 - w}));
  EXPECT_EQ(cp(TA_UPDATECP | TA_RIGHT, {50, 40}, *up), (Point{50, 40 + w}));

  // Two outputs through the current position draw what one output of both texts draws.
  for (const auto& f : {font, up}) {
    Canvas once(160, 160, kPaper);
    drawText(once.view(), once.bounds(), *f, {40, 120}, "ABCD", transparent());
    Canvas twice(160, 160, kPaper);
    const Point mid = drawText(twice.view(), twice.bounds(), *f, {40, 120}, "AB",
                               transparent(TA_UPDATECP | TA_BASELINE));
    drawText(twice.view(), twice.bounds(), *f, mid, "CD", transparent(TA_UPDATECP | TA_BASELINE));
    EXPECT_EQ(twice.pixels, once.pixels);
  }
}

TEST(TextBackground, TransparentTextTouchesOnlyItsInk) {
  const auto font = arial(-16);
  Canvas canvas(120, 40, kPaper);
  drawText(canvas.view(), canvas.bounds(), *font, {5, 5}, "Text", transparent(TA_TOP));
  EXPECT_EQ(canvas.count(kFill), 0);
  EXPECT_EQ(canvas.count(kInk) + canvas.count(kPaper), 120 * 40);
  Canvas empty(40, 40, kPaper);
  drawText(empty.view(), empty.bounds(), *font, {5, 5}, "", opaque(TA_TOP));
  EXPECT_EQ(empty.count(kPaper), 40 * 40);
}

// Underline and strike-out are strokes across the whole advance, below and above the baseline.
TEST(TextLines, UnderlineAndStrikeOutCrossTheWholeText) {
  for (int escapement : {0, 900}) {
    LogFont f;
    f.faceName = "Arial";
    f.height = -20;
    f.escapement = escapement;
    f.underline = true;
    f.strikeOut = true;
    const auto font = Font::create(f);
    const int w = font->extent("i i").cx;
    Canvas canvas(120, 120, kPaper);
    const Point ref{20, 100};
    drawText(canvas.view(), canvas.bounds(), *font, ref, "i i", transparent());
    // Text-space (u, v) to the device pixel, as the rotation test defines it.
    const auto at = [&](int u, int v) {
      return escapement == 0 ? canvas.at(ref.x + u, ref.y + v)
                             : canvas.at(ref.x + v, ref.y - u - 1);
    };
    int underlineRows = 0;
    int strikeRows = 0;
    for (int v = -font->metrics().tmAscent; v < font->metrics().tmDescent; ++v) {
      bool full = true;
      for (int u = 0; u < w; ++u) full = full && at(u, v) == kInk;
      if (full) (v >= 0 ? underlineRows : strikeRows)++;
    }
    EXPECT_GE(underlineRows, 1) << escapement;
    EXPECT_GE(strikeRows, 1) << escapement;
  }
}

TEST(TextWeight, BoldTextCarriesMoreInk) {
  Canvas regular(200, 60, kPaper);
  drawText(regular.view(), regular.bounds(), *arial(-20), {5, 40}, "Bold 123", transparent());
  Canvas bold(200, 60, kPaper);
  drawText(bold.view(), bold.bounds(), *arial(-20, 0, FW_BOLD), {5, 40}, "Bold 123", transparent());
  EXPECT_GT(bold.count(kInk), regular.count(kInk) * 5 / 4);
}

}  // namespace
}  // namespace gdi
