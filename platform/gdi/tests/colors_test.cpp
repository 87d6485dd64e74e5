// System colours, OLE colour translation, the fixed palettes and pens built for a colour depth.
#include <gtest/gtest.h>

#include <set>

#include "gdi/palette.h"
#include "gdi/pen.h"
#include "gdi/system_colors.h"

namespace {

TEST(SystemColors, ClassicSchemeAndOverrides) {
  gdi::resetSysColors();
  EXPECT_EQ(gdi::GetSysColor(5), 0xFFFFFFu);   // window
  EXPECT_EQ(gdi::GetSysColor(15), 0xC0C0C0u);  // button face
  EXPECT_EQ(gdi::GetSysColor(13), 0x800000u);  // highlight
  EXPECT_EQ(gdi::GetSysColor(24), 0xE1FFFFu);  // tooltip background
  EXPECT_EQ(gdi::GetSysColor(25), 0u);
  EXPECT_EQ(gdi::GetSysColor(-1), 0u);
  gdi::setSysColor(15, 0x123456);
  gdi::setSysColor(99, 0x123456);
  EXPECT_EQ(gdi::GetSysColor(15), 0x123456u);
  EXPECT_EQ(gdi::translateOleColor(0x8000000F), 0x123456u);
  gdi::resetSysColors();
  EXPECT_EQ(gdi::GetSysColor(15), 0xC0C0C0u);
}

TEST(SystemColors, OleColourTranslation) {
  EXPECT_EQ(gdi::translateOleColor(0x00123456), 0x123456u);
  EXPECT_EQ(gdi::translateOleColor(0x80000005), 0xFFFFFFu);
  EXPECT_EQ(gdi::translateOleColor(0x80000008), 0x000000u);
  EXPECT_FALSE(gdi::translateOleColor(0x80000019).has_value());
  EXPECT_FALSE(gdi::translateOleColor(0x80000100).has_value());
  EXPECT_EQ(gdi::translateOleColor(0x020000FF), 0x0000FFu);  // palette-relative: its RGB
}

TEST(Palettes, FixedPalettesAndNearestEntries) {
  const gdi::Palette& vga = gdi::Palette::vga16();
  ASSERT_EQ(vga.size(), 16u);
  EXPECT_EQ(vga.color(0), 0x000000u);
  EXPECT_EQ(vga.color(1), 0x000080u);  // dark red
  EXPECT_EQ(vga.color(7), 0xC0C0C0u);
  EXPECT_EQ(vga.color(15), 0xFFFFFFu);
  EXPECT_EQ(vga.nearestColor(0x7F7F7F), 0x808080u);
  EXPECT_EQ(vga.nearestColor(0x0000F0), 0x0000FFu);
  EXPECT_EQ(vga.nearestColor(0xFFFFFF), 0xFFFFFFu);

  const gdi::Palette& halftone = gdi::Palette::halftone256();
  ASSERT_EQ(halftone.size(), 256u);
  EXPECT_EQ(halftone.color(0), 0x000000u);
  EXPECT_EQ(halftone.color(215), 0xFFFFFFu);
  EXPECT_EQ(halftone.color(36 * 5), gdi::rgb(255, 0, 0));
  EXPECT_EQ(halftone.color(216 + 8), 0x808080u);
  EXPECT_EQ(halftone.color(232), 0x080808u);
  EXPECT_EQ(halftone.nearestColor(0x0A0A0A), 0x080808u);
  EXPECT_EQ(halftone.nearestColor(gdi::rgb(50, 100, 160)), gdi::rgb(51, 102, 153));
  // Ties go to the lowest index: an empty palette answers entry 0.
  EXPECT_EQ(gdi::Palette().nearestIndex(0x123456), 0u);
  EXPECT_EQ(gdi::Palette().color(3), 0u);
}

TEST(Pens, BuiltForAColourDepth) {
  const gdi::ColorRef odd = gdi::rgb(50, 100, 160);
  EXPECT_EQ(gdi::Pen::forColorDepth(gdi::PS_SOLID, 1, odd, 16).color(),
            gdi::Palette::vga16().nearestColor(odd));
  EXPECT_EQ(gdi::Pen::forColorDepth(gdi::PS_SOLID, 1, odd, 256).color(), gdi::rgb(51, 102, 153));
  EXPECT_EQ(gdi::Pen::forColorDepth(gdi::PS_DOT, 2, odd, 0).color(), odd);
  const gdi::Pen p = gdi::Pen::forColorDepth(gdi::PS_DOT, 2, odd, 24);
  EXPECT_EQ(p.style(), gdi::PS_DOT);
  EXPECT_EQ(p.width(), 2);
  EXPECT_FALSE(p.isDashed());  // wider than one pixel draws solid
  EXPECT_TRUE(gdi::Pen(gdi::PS_DOT, 0, 0).isDashed());
  EXPECT_EQ(gdi::Pen(17, -4, 0xFF123456).style(), gdi::PS_SOLID);
  EXPECT_EQ(gdi::Pen(17, -4, 0xFF123456).width(), 0);
  EXPECT_EQ(gdi::Pen(17, -4, 0xFF123456).color(), 0x123456u);
}

}  // namespace
