// The colour palettes of a spectrogram, numbered as its Palette property. Each maps a level t
// from 0 (quietest) to 1 (loudest) to a colour; channels are round(255 c) of:
//   HSV             hue (1 - t) * 240 degrees (blue through cyan, green, yellow to red),
//                   full saturation and value
//   Threshold       black below t = 1/4; above it grey rising from 1/4 to white at t = 1
//   Black on White  grey 1 - t (white paper, black ink)
//   White on Black  grey t
//   Bone            (7 t + hot(t) with its channels reversed) / 8: blue-tinted grey
//   Copper          r = min(1, 1.25 t), g = 0.7812 t, b = 0.4975 t
//   Cool            r = t, g = 1 - t, b = 1 (cyan to magenta)
//   Hot             r = min(1, 3t), g = clamp(3t - 1), b = clamp(3t - 2) (black, red, yellow,
//                   white)
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace xvtools {

enum class SpectrogramPalette : int {
  HSV = 0,
  Threshold = 1,
  BlackOnWhite = 2,
  WhiteOnBlack = 3,
  Bone = 4,
  Copper = 5,
  Cool = 6,
  Hot = 7,
};
inline constexpr int kSpectrogramPaletteCount = 8;
inline constexpr int kPaletteLevels = 256;

// Colours 0x00BBGGRR for levels 0..255 (t = level / 255).
using PaletteTable = std::array<std::uint32_t, kPaletteLevels>;

std::uint32_t paletteColor(SpectrogramPalette palette, double t);
PaletteTable paletteTable(SpectrogramPalette palette);

std::string_view paletteName(SpectrogramPalette palette);
// Case-insensitive, spaces optional; nullopt for a name that is none of the eight.
std::optional<SpectrogramPalette> paletteByName(std::string_view name);

}  // namespace xvtools
