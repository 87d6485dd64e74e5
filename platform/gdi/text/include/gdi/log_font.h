// The description of a font a caller asks for; the realised font is gdi::Font.
#pragma once

#include <string>

namespace gdi {

inline constexpr int FW_DONTCARE = 0;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_SEMIBOLD = 600;
inline constexpr int FW_BOLD = 700;

struct LogFont {
  // Negative: the character (em) height in pixels. Positive: the cell height (ascent plus
  // descent) in pixels. Zero: a default size.
  int height = 0;
  // Tenths of a degree, counter-clockwise; 900 makes the text run upward.
  int escapement = 0;
  // Kept for the caller; glyphs always turn with the escapement.
  int orientation = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::string faceName;

  friend bool operator==(const LogFont&, const LogFont&) = default;
};

// The em height in pixels of a font of `points` points on a device of `logPixels` pixels per
// inch: points * logPixels / 72, rounded half away from zero.
int emHeightFromPoints(double points, int logPixels);

// A logical font of `points` points (height = -em height).
LogFont logFontFromPoints(std::string faceName, double points, int logPixels);

}  // namespace gdi
