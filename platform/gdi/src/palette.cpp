#include "gdi/palette.h"

#include <array>
#include <limits>

namespace gdi {
namespace {

PaletteEntry entryOf(ColorRef c) { return {redOf(c), greenOf(c), blueOf(c), 0}; }

constexpr std::array<ColorRef, 16> kVga{0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                        0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                        0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

}  // namespace

Palette::Palette(std::vector<PaletteEntry> entries) : entries_(std::move(entries)) {}

Palette Palette::fromColors(std::span<const ColorRef> colors) {
  std::vector<PaletteEntry> entries;
  entries.reserve(colors.size());
  for (ColorRef c : colors) entries.push_back(entryOf(c));
  return Palette(std::move(entries));
}

const Palette& Palette::vga16() {
  static const Palette palette = fromColors(kVga);
  return palette;
}

const Palette& Palette::halftone256() {
  static const Palette palette = [] {
    std::vector<ColorRef> colors;
    colors.reserve(256);
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b)
          colors.push_back(rgb(static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                               static_cast<std::uint8_t>(b * 51)));
    colors.insert(colors.end(), kVga.begin(), kVga.end());
    for (int i = 0; i < 24; ++i) {
      auto level = static_cast<std::uint8_t>(8 + 10 * i);
      colors.push_back(rgb(level, level, level));
    }
    return fromColors(colors);
  }();
  return palette;
}

const Palette& Palette::stockDefault() {
  static const Palette palette = [] {
    const std::array<ColorRef, 20> colors{0x000000, 0x000080, 0x008000, 0x008080, 0x800000,
                                          0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6,
                                          0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00,
                                          0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    return fromColors(colors);
  }();
  return palette;
}

ColorRef Palette::color(std::size_t index) const {
  if (index >= entries_.size()) return 0;
  const PaletteEntry& e = entries_[index];
  return rgb(e.red, e.green, e.blue);
}

std::size_t Palette::nearestIndex(ColorRef c) const {
  std::size_t best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const int dr = int{entries_[i].red} - redOf(c);
    const int dg = int{entries_[i].green} - greenOf(c);
    const int db = int{entries_[i].blue} - blueOf(c);
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

ColorRef Palette::nearestColor(ColorRef c) const { return color(nearestIndex(c)); }

}  // namespace gdi
