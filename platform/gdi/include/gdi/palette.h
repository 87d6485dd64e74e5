// Logical palettes and the two fixed palettes colours are reduced to for 16- and 256-colour
// surfaces.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gdi/geometry.h"

namespace gdi {

struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

class Palette {
 public:
  Palette() = default;
  explicit Palette(std::vector<PaletteEntry> entries);
  static Palette fromColors(std::span<const ColorRef> colors);

  // The 16 colours of the VGA (black, the eight dark and the seven light ones, in the
  // platform's order: 0 black, 1 dark red, ... 7 light grey, 8 dark grey, ... 15 white).
  static const Palette& vga16();
  // The 256-entry halftone palette: entries 0..215 are the 6x6x6 colour cube with levels
  // 0, 51, 102, 153, 204, 255 (index = 36 r + 6 g + b, red slowest); 216..231 the 16 VGA
  // colours; 232..255 the 24 greys 8, 18, ..., 238 (step 10) that the cube lacks.
  static const Palette& halftone256();
  // The 20 static colours every palette device reserves.
  static const Palette& stockDefault();

  std::size_t size() const { return entries_.size(); }
  const std::vector<PaletteEntry>& entries() const { return entries_; }
  ColorRef color(std::size_t index) const;
  // The entry nearest in RGB (squared distance); ties go to the lowest index. 0 when empty.
  std::size_t nearestIndex(ColorRef color) const;
  ColorRef nearestColor(ColorRef color) const;

  friend bool operator==(const Palette&, const Palette&) = default;

 private:
  std::vector<PaletteEntry> entries_;
};

}  // namespace gdi
