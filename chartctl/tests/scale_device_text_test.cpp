// Text through the device context, as the scales and the control's other texts write it.
#include <gtest/gtest.h>

#include "gdi/device_context.h"
#include "gdi/font.h"
#include "gdi/log_font.h"
#include "gdi/system_font.h"
#include "gdi/text_align.h"
#include "gdi/text_output.h"

namespace {

constexpr gdi::ColorRef kBack = 0x808000;
constexpr gdi::ColorRef kInk = 0x0000FF;

std::shared_ptr<const gdi::Font> arial10() {
  return gdi::Font::create(gdi::logFontFromPoints("Arial", 10, 96));
}

// The same text drawn straight into a buffer: what the context must reproduce.
gdi::Bitmap direct(const gdi::Font& font, gdi::Point at, std::uint32_t align, bool opaque,
                   gdi::Rect clip = {0, 0, 120, 40}) {
  gdi::Bitmap b(120, 40, kBack);
  gdi::TextStyle style;
  style.textPixel = kInk;
  style.backgroundPixel = 0xFFFFFF;
  style.opaque = opaque;
  style.align = align;
  gdi::drawText({b.pixels().data(), 120, 120, 40}, clip, font, at, "Scale 1.5", style);
  return b;
}

TEST(DeviceText, WritesWithTheContextsFontColoursModeAlignmentAndClip) {
  const auto font = arial10();
  gdi::Bitmap b(120, 40, kBack);
  gdi::DeviceContext dc(&b);
  dc.selectFont(font);
  dc.setTextColor(kInk);
  dc.setBkMode(gdi::TRANSPARENT);
  EXPECT_EQ(dc.setTextAlign(gdi::TA_RIGHT | gdi::TA_BASELINE), 0u);
  dc.textOut(100, 30, "Scale 1.5");
  EXPECT_TRUE(b == direct(*font, {100, 30}, gdi::TA_RIGHT | gdi::TA_BASELINE, false));

  gdi::Bitmap c(120, 40, kBack);
  dc.selectBitmap(&c);
  dc.setBkMode(gdi::OPAQUE);
  dc.setTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
  dc.selectClipRect({0, 0, 30, 40});
  dc.textOut(5, 5, "Scale 1.5");
  EXPECT_TRUE(c == direct(*font, {5, 5}, gdi::TA_LEFT, true, {0, 0, 30, 40}));
  EXPECT_EQ(c.pixel(31, 10), kBack);
}

TEST(DeviceText, UpdateFromTheCurrentPositionMovesItAlong) {
  gdi::Bitmap b(120, 40, kBack);
  gdi::DeviceContext dc(&b);
  dc.selectFont(arial10());
  dc.setTextAlign(gdi::TA_UPDATECP);
  dc.moveTo(3, 4);
  dc.textOut(90, 90, "ab");  // the coordinates are not used
  EXPECT_EQ(dc.currentPosition(), (gdi::Point{3 + dc.getTextExtent("ab").cx, 4}));
  EXPECT_NE(b.pixel(4, 4 + dc.getTextMetrics().tmAscent - 2), kBack);
}

TEST(DeviceText, MeasuresInTheSelectedFontOrTheSystemFont) {
  gdi::DeviceContext dc;
  EXPECT_EQ(dc.getTextMetrics(), gdi::systemFont()->metrics());
  const auto font = arial10();
  dc.selectFont(font);
  EXPECT_EQ(dc.getTextExtent("0.25"), font->extent("0.25"));
  EXPECT_EQ(dc.getTextMetrics(), font->metrics());
  // Another object in the font slot, or none, leaves text to the system font.
  EXPECT_EQ(dc.selectFont(std::make_shared<int>(1)), font);
  EXPECT_EQ(dc.getTextMetrics(), gdi::systemFont()->metrics());
  // Handed back untyped, the same font stays the text font.
  const gdi::FontHandle untyped = font;
  dc.selectFont(font);
  dc.selectFont(untyped);
  EXPECT_EQ(dc.getTextMetrics(), font->metrics());
  dc.selectFont(nullptr);
  EXPECT_EQ(dc.getTextExtent("0.25"), gdi::systemFont()->extent("0.25"));
  // Without a bitmap nothing is drawn and nothing fails.
  dc.textOut(0, 0, "x");
}

}  // namespace
