#include "xvtools/spectrogram_palette.h"

#include <algorithm>
#include <cmath>

#include "name_match.h"

namespace xvtools {

namespace {

constexpr std::array<std::string_view, kSpectrogramPaletteCount> kNames = {
    "HSV", "Threshold", "Black on White", "White on Black", "Bone", "Copper", "Cool", "Hot"};

constexpr double kThreshold = 0.25;

struct Rgb {
  double r, g, b;
};

double unit(double v) { return std::clamp(v, 0.0, 1.0); }

Rgb hot(double t) { return {unit(3 * t), unit(3 * t - 1), unit(3 * t - 2)}; }

Rgb hsv(double t) {
  // Hue in sixths of the circle: 4 (blue) down to 0 (red).
  const double h = (1.0 - t) * 4.0;
  const int sector = std::min(3, static_cast<int>(h));
  const double f = h - sector;
  switch (sector) {
    case 0:
      return {1, f, 0};  // red to yellow
    case 1:
      return {1 - f, 1, 0};  // yellow to green
    case 2:
      return {0, 1, f};  // green to cyan
    default:
      return {0, 1 - f, 1};  // cyan to blue
  }
}

Rgb colour(SpectrogramPalette palette, double t) {
  switch (palette) {
    case SpectrogramPalette::HSV:
      return hsv(t);
    case SpectrogramPalette::Threshold: {
      if (t < kThreshold) return {0, 0, 0};
      const double g = (t - kThreshold) / (1.0 - kThreshold) * 0.75 + 0.25;
      return {g, g, g};
    }
    case SpectrogramPalette::BlackOnWhite:
      return {1 - t, 1 - t, 1 - t};
    case SpectrogramPalette::WhiteOnBlack:
      return {t, t, t};
    case SpectrogramPalette::Bone: {
      const Rgb h = hot(t);
      return {(7 * t + h.b) / 8, (7 * t + h.g) / 8, (7 * t + h.r) / 8};
    }
    case SpectrogramPalette::Copper:
      return {unit(1.25 * t), 0.7812 * t, 0.4975 * t};
    case SpectrogramPalette::Cool:
      return {t, 1 - t, 1};
    case SpectrogramPalette::Hot:
      return hot(t);
  }
  return {t, t, t};
}

std::uint32_t channel(double c) { return static_cast<std::uint32_t>(std::lround(255 * unit(c))); }

}  // namespace

std::uint32_t paletteColor(SpectrogramPalette palette, double t) {
  const Rgb c = colour(palette, unit(t));
  return channel(c.r) | channel(c.g) << 8 | channel(c.b) << 16;
}

PaletteTable paletteTable(SpectrogramPalette palette) {
  PaletteTable table{};
  for (int i = 0; i < kPaletteLevels; ++i) {
    table[static_cast<std::size_t>(i)] = paletteColor(palette, i / 255.0);
  }
  return table;
}

std::string_view paletteName(SpectrogramPalette palette) {
  return kNames[static_cast<std::size_t>(palette)];
}

std::optional<SpectrogramPalette> paletteByName(std::string_view name) {
  const auto row = matchName(kNames, name);
  if (!row) return std::nullopt;
  return static_cast<SpectrogramPalette>(*row);
}

}  // namespace xvtools
