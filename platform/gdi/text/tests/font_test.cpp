#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "gdi/font.h"
#include "gdi/log_font.h"
#include "gdi/system_font.h"
#include "utf8.h"

namespace gdi {
namespace {

LogFont arial(int height) {
  LogFont f;
  f.faceName = "Arial";
  f.height = height;
  return f;
}

TEST(FontLookup, FaceNamesResolveToInstalledFamilies) {
  EXPECT_EQ(Font::create(arial(-11))->familyName(), "Liberation Sans");
  LogFont boldItalic = arial(-11);
  boldItalic.weight = FW_BOLD;
  boldItalic.italic = true;
  EXPECT_EQ(Font::create(boldItalic)->familyName(), "Liberation Sans");
  // An empty face name means the default face; an unknown one still gives a usable font.
  LogFont unnamed = arial(-11);
  unnamed.faceName.clear();
  EXPECT_EQ(Font::create(unnamed)->familyName(), "Liberation Sans");
  LogFont unknownFace = arial(-11);
  unknownFace.faceName = "No Such Face 4711";
  const auto unknown = Font::create(unknownFace);
  EXPECT_FALSE(unknown->familyName().empty());
  EXPECT_GT(unknown->extent("Hello").cx, 0);
}

TEST(FontLookup, EqualLogicalFontsShareOneRealisedFont) {
  const auto a = Font::create(arial(-13));
  const auto b = Font::create(arial(-13));
  EXPECT_EQ(a.get(), b.get());
  LogFont underlined = arial(-13);
  underlined.underline = true;
  EXPECT_NE(Font::create(underlined).get(), a.get());
}

TEST(FontHeight, PointsAndLogicalPixelsGiveTheEmHeight) {
  EXPECT_EQ(emHeightFromPoints(8, 96), 11);  // 10.67
  EXPECT_EQ(emHeightFromPoints(8.25, 96), 11);
  EXPECT_EQ(emHeightFromPoints(10, 96), 13);          // 13.33
  EXPECT_EQ(emHeightFromPoints(12, 120), 20);         // exact
  EXPECT_EQ(emHeightFromPoints(1.875, 96), 3);        // 2.5 rounds away from zero
  EXPECT_EQ(emHeightFromPoints(8, 600), 67);          // a printer: 66.67
  EXPECT_EQ(emHeightFromPoints(1e300, 96), 1 << 20);  // absurd input stays an int
  const LogFont f = logFontFromPoints("Arial", 8, 96);
  EXPECT_EQ(f.height, -11);
  EXPECT_EQ(f.faceName, "Arial");
  EXPECT_EQ(Font::create(f)->emHeight(), 11);
}

TEST(FontMetrics, CellsAreConsistentAtEverySize) {
  for (int height : {-6, -8, -11, -13, -16, -20, -33, -72, 9, 12, 16, 25, 40}) {
    SCOPED_TRACE(height);
    const auto font = Font::create(arial(height));
    const TextMetrics& tm = font->metrics();
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_GT(tm.tmAscent, tm.tmDescent);
    EXPECT_GT(tm.tmDescent, 0);
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - font->emHeight());
    if (height < 0) {
      EXPECT_EQ(font->emHeight(), -height);
      EXPECT_GE(tm.tmInternalLeading, 0);
    } else {
      EXPECT_EQ(tm.tmHeight, height);  // a positive height is the cell height
      EXPECT_LT(font->emHeight(), height);
    }
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_EQ(font->extent("Xy").cy, tm.tmHeight);
  }
}

TEST(FontMetrics, ExtremeHeightsStayUsable) {
  for (int height : {0, INT_MIN, INT_MAX, -100000, -1, 1}) {
    SCOPED_TRACE(height);
    const auto font = Font::create(arial(height));
    const TextMetrics& tm = font->metrics();
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_LE(tm.tmHeight, 2048);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_GE(font->extent("W").cx, 0);
  }
  EXPECT_EQ(Font::create(arial(0))->metrics().tmHeight, 16);
}

TEST(TextExtent, GrowsWithTheTextAndIgnoresRotation) {
  const auto font = Font::create(arial(-11));
  EXPECT_EQ(font->extent(""), (TextExtent{0, font->metrics().tmHeight}));
  int previous = 0;
  for (const char* text : {"1", "12", "123", "123.", "123.4", "123.45"}) {
    const int width = font->extent(text).cx;
    EXPECT_GT(width, previous) << text;
    previous = width;
  }
  EXPECT_EQ(font->extent("12").cx, font->extent("1").cx + font->extent("2").cx);
  LogFont up = arial(-11);
  up.escapement = up.orientation = 900;
  EXPECT_EQ(Font::create(up)->extent("123.45"), font->extent("123.45"));
  // Wider letters and bigger fonts give wider texts.
  EXPECT_GT(font->extent("WWW").cx, font->extent("iii").cx);
  EXPECT_GT(Font::create(arial(-22))->extent("123").cx, font->extent("123").cx);
}

TEST(TextExtent, MalformedUtf8MeasuresAsReplacementCharacters) {
  const auto font = Font::create(arial(-16));
  const int replacement = font->extent("\xEF\xBF\xBD").cx;
  EXPECT_EQ(font->extent("\xC3").cx, replacement);
  EXPECT_EQ(font->extent("a\xE2\x82").cx, font->extent("a").cx + 2 * replacement);
  EXPECT_EQ(font->extent("\xC3\xA9").cx, font->extent("\xC3\xA9").cx);
  EXPECT_EQ(font->extent("\xC3\xA9").cx, font->extent("e").cx);  // é is as wide as e
}

TEST(Utf8, DecodesValidSequencesAndReplacesBrokenOnes) {
  struct Case {
    std::string text;
    std::u32string expected;
  };
  const Case cases[] = {
      {"A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", U"A\u00E9\u20AC\U0001F600"},
      {"\x80", U"\uFFFD"},                                // stray continuation byte
      {"\xC0\xAF", U"\uFFFD\uFFFD"},                      // overlong slash
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // surrogate
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xE2\x82", U"\uFFFD\uFFFD"},                      // truncated at the end
      {"\xE2(\xAC", U"\uFFFD(\uFFFD"},                    // interrupted
      {std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
  };
  for (const Case& c : cases) {
    std::u32string decoded;
    for (std::size_t pos = 0; pos < c.text.size();) decoded += detail::nextCodePoint(c.text, pos);
    EXPECT_EQ(decoded, c.expected) << c.text;
  }
}

TEST(Escapement, TurnsToTheNearestRightAngle) {
  const std::pair<int, int> cases[] = {{0, 0},      {900, 900},      {1800, 1800},  {2700, 2700},
                                       {3600, 0},   {-900, 2700},    {899, 900},    {449, 0},
                                       {4500, 900}, {INT_MIN, 2700}, {INT_MAX, 900}};
  for (const auto& [asked, got] : cases) {
    LogFont f = arial(-11);
    f.escapement = asked;
    EXPECT_EQ(Font::create(f)->escapement(), got) << asked;
  }
}

TEST(SystemFont, IsABoldSixteenPixelCell) {
  const auto font = systemFont();
  EXPECT_EQ(font->familyName(), "Liberation Sans");
  EXPECT_EQ(font->metrics().tmHeight, 16);
  EXPECT_EQ(font->metrics().tmWeight, FW_BOLD);
  EXPECT_EQ(font.get(), systemFont().get());
  EXPECT_GT(font->extent("0").cx, Font::create(arial(16))->extent("0").cx - 1);
}

}  // namespace
}  // namespace gdi
