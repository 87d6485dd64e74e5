// Packed DIB layout rules, conversions both ways, and a parser that refuses every block whose
// sizes do not fit.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gdi/packed_dib.h"

namespace {

using gdi::PackedDib;

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// An information header followed by room for a colour table and rows.
std::vector<std::uint8_t> infoHeader(std::int32_t w, std::int32_t h, std::uint16_t bits,
                                     std::uint32_t colorsUsed, std::size_t extra) {
  std::vector<std::uint8_t> b(40 + extra, 0);
  put32(b, 0, 40);
  put32(b, 4, static_cast<std::uint32_t>(w));
  put32(b, 8, static_cast<std::uint32_t>(h));
  put16(b, 12, 1);
  put16(b, 14, bits);
  put32(b, 32, colorsUsed);
  return b;
}

gdi::Bitmap sample() {
  gdi::Bitmap b(5, 3);
  const gdi::ColorRef colors[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00,
                                  0xFF0000, 0x808080, 0x123456, 0xC0C0C0};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) b.setPixel(x, y, colors[(x + 3 * y) % 8]);
  return b;
}

TEST(DibLayoutRules, RowSizesColourCountsAndBitCounts) {
  EXPECT_EQ(gdi::dibRowSize(1, 1), 4u);
  EXPECT_EQ(gdi::dibRowSize(1, 32), 4u);
  EXPECT_EQ(gdi::dibRowSize(1, 33), 8u);
  EXPECT_EQ(gdi::dibRowSize(4, 9), 8u);
  EXPECT_EQ(gdi::dibRowSize(24, 5), 16u);
  EXPECT_EQ(gdi::dibRowSize(32, 7), 28u);
  EXPECT_EQ(gdi::dibRowSize(32, -1), 0u);

  EXPECT_EQ(gdi::dibColorCount(40, 1, 0), 2u);
  EXPECT_EQ(gdi::dibColorCount(40, 4, 0), 16u);
  EXPECT_EQ(gdi::dibColorCount(40, 8, 0), 256u);
  EXPECT_EQ(gdi::dibColorCount(40, 24, 0), 0u);
  EXPECT_EQ(gdi::dibColorCount(40, 8, 7), 7u);
  EXPECT_EQ(gdi::dibColorCount(12, 8, 7), 256u);  // a core header has no colours-used field

  EXPECT_EQ(gdi::dibBitCountForColors(2), 1);
  EXPECT_EQ(gdi::dibBitCountForColors(3), 4);
  EXPECT_EQ(gdi::dibBitCountForColors(16), 4);
  EXPECT_EQ(gdi::dibBitCountForColors(17), 8);
  EXPECT_EQ(gdi::dibBitCountForColors(256), 8);
  EXPECT_EQ(gdi::dibBitCountForColors(257), 24);
}

TEST(PackedDibs, TrueColourRoundTripIsExactAndBottomUp) {
  for (std::uint16_t bits : {24, 32}) {
    const PackedDib dib = PackedDib::fromBitmap(sample(), bits);
    EXPECT_EQ(dib.colorCount(), 0u);
    EXPECT_EQ(dib.layout().bitsOffset, 40u);
    EXPECT_EQ(dib.bytes().size(), 40u + gdi::dibRowSize(bits, 5) * 3);
    EXPECT_EQ(dib.toBitmap(), sample()) << bits;
    // The first stored row is the bottom one.
    const std::uint8_t* first = dib.bytes().data() + 40;
    EXPECT_EQ(gdi::rgb(first[2], first[1], first[0]), sample().pixel(0, 2));
  }
}

TEST(PackedDibs, IndexedImagesUseTheNearestPaletteEntry) {
  const gdi::Bitmap source = sample();
  for (std::uint16_t bits : {1, 4, 8}) {
    const gdi::Palette& palette = bits == 8 ? gdi::Palette::halftone256() : gdi::Palette::vga16();
    const PackedDib dib = PackedDib::fromBitmap(source, bits, &palette);
    EXPECT_EQ(dib.colorCount(), 1u << bits);
    EXPECT_EQ(dib.layout().bitsOffset, 40u + 4u * (1u << bits));
    const gdi::Palette table = dib.palette();
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(dib.pixel(x, y), table.nearestColor(source.pixel(x, y))) << bits;
  }
  // Pure VGA colours survive a 4-bit image unchanged.
  const PackedDib vga = PackedDib::fromBitmap(source, 4, &gdi::Palette::vga16());
  EXPECT_EQ(vga.pixel(1, 0), 0xFFFFFFu);
  EXPECT_EQ(vga.pixel(0, 1), 0x00FF00u);
  EXPECT_EQ(vga.pixel(2, 0), 0x0000FFu);
}

TEST(PackedDibs, ParsingRefusesEveryTruncation) {
  const PackedDib dib = PackedDib::fromBitmap(sample(), 8, &gdi::Palette::halftone256());
  const std::vector<std::uint8_t> bytes(dib.bytes().begin(), dib.bytes().end());
  for (std::size_t n = 0; n < bytes.size(); ++n)
    EXPECT_FALSE(PackedDib::fromBytes(std::span(bytes).first(n))) << n;
  ASSERT_TRUE(PackedDib::fromBytes(bytes));
  EXPECT_EQ(PackedDib::fromBytes(bytes)->toBitmap(), dib.toBitmap());
}

TEST(PackedDibs, ParsingRefusesImpossibleHeaders) {
  auto refuse = [](std::vector<std::uint8_t> b) { return !PackedDib::fromBytes(b).has_value(); };
  std::vector<std::uint8_t> good = infoHeader(3, 2, 24, 0, 2 * 12);
  ASSERT_FALSE(refuse(good));
  auto bad = good;
  put16(bad, 12, 2);  // two planes
  EXPECT_TRUE(refuse(bad));
  bad = good;
  put16(bad, 14, 7);  // no such depth
  EXPECT_TRUE(refuse(bad));
  bad = good;
  put32(bad, 16, 1);  // run-length compressed
  EXPECT_TRUE(refuse(bad));
  bad = good;
  put32(bad, 4, 0);  // no width
  EXPECT_TRUE(refuse(bad));
  bad = good;
  put32(bad, 0, 20);  // unknown header
  EXPECT_TRUE(refuse(bad));
  bad = good;
  put32(bad, 32, 0x40000000);  // a colour table far beyond the block
  EXPECT_TRUE(refuse(bad));
  bad = good;
  put32(bad, 4, 0x7FFFFFFF);  // rows beyond the block
  put32(bad, 8, 0x7FFFFFFF);
  EXPECT_TRUE(refuse(bad));
  bad = good;
  put32(bad, 8, static_cast<std::uint32_t>(-2));  // top-down is fine
  EXPECT_FALSE(refuse(bad));
  bad = good;
  put32(bad, 8, 0x80000000u);  // but the most negative height has no positive twin
  EXPECT_TRUE(refuse(bad));
}

TEST(PackedDibs, TopDownCoreAndBitfieldImagesRead) {
  // Top-down 8-bit with a two-entry table: the first stored row is the top one.
  std::vector<std::uint8_t> b = infoHeader(2, -2, 8, 2, 8 + 8);
  put32(b, 40, 0x00FF0000);  // entry 0: red (stored blue, green, red)
  put32(b, 44, 0x000000FF);  // entry 1: blue
  b[48] = 1;                 // top-left: entry 1
  b[52] = 0;                 // bottom-left: entry 0
  b[53] = 9;                 // an index beyond the table reads black
  const auto top = PackedDib::fromBytes(b);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(top->pixel(0, 1), 0x0000FFu);
  EXPECT_EQ(top->pixel(1, 1), 0x000000u);
  EXPECT_EQ(top->pixel(2, 0), gdi::kInvalidColor);

  // Core header: 16-bit sizes and three-byte colour entries.
  std::vector<std::uint8_t> core(12 + 2 * 3 + 4, 0);
  put32(core, 0, 12);
  put16(core, 4, 1);
  put16(core, 6, 1);
  put16(core, 8, 1);
  put16(core, 10, 1);
  core[12 + 3] = 0x11;  // entry 1 blue
  core[12 + 4] = 0x22;
  core[12 + 5] = 0x33;
  core[18] = 0x80;  // the one pixel uses entry 1
  const auto c = PackedDib::fromBytes(core);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->pixel(0, 0), gdi::rgb(0x33, 0x22, 0x11));

  // 16 bits with 5-6-5 masks.
  std::vector<std::uint8_t> masked = infoHeader(1, 1, 16, 0, 12 + 4);
  put32(masked, 16, gdi::BI_BITFIELDS);
  put32(masked, 40, 0xF800);
  put32(masked, 44, 0x07E0);
  put32(masked, 48, 0x001F);
  put16(masked, 52, 0xF800);
  const auto m = PackedDib::fromBytes(masked);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->pixel(0, 0), 0x0000FFu);
}

TEST(BitmapFiles, HeaderOffsetsAndRoundTrip) {
  const PackedDib trueColour = PackedDib::fromBitmap(sample(), 32);
  const std::vector<std::uint8_t> file = trueColour.toBitmapFile();
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(file[10], 54);
  EXPECT_EQ(file.size(), 14 + trueColour.bytes().size());
  EXPECT_EQ(file[2] | (file[3] << 8), static_cast<int>(file.size()));
  const auto back = PackedDib::fromBitmapFile(file);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->toBitmap(), sample());

  const std::vector<std::uint8_t> indexed =
      PackedDib::fromBitmap(sample(), 8, &gdi::Palette::halftone256()).toBitmapFile();
  EXPECT_EQ(indexed[10] | (indexed[11] << 8), 14 + 40 + 1024);

  std::vector<std::uint8_t> wrongOffset = file;
  wrongOffset[10] = 200;  // past the end
  EXPECT_FALSE(PackedDib::fromBitmapFile(wrongOffset));
  EXPECT_FALSE(PackedDib::fromBitmapFile(std::span(file).first(13)));
}

}  // namespace

namespace {

// A colour table longer than an 8-bit index reaches still comes before the rows.
TEST(PackedDibs, LongColourTablesKeepTheRowsInPlace) {
  std::vector<std::uint8_t> b = infoHeader(1, 1, 8, 300, 300 * 4 + 4);
  put32(b, 40 + 4 * 2, 0x00ABCDEF);
  b[40 + 300 * 4] = 2;
  const auto dib = PackedDib::fromBytes(b);
  ASSERT_TRUE(dib);
  EXPECT_EQ(dib->layout().bitsOffset, 40u + 1200u);
  EXPECT_EQ(dib->pixel(0, 0), gdi::rgb(0xAB, 0xCD, 0xEF));
}

}  // namespace
