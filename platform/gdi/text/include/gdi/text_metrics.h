// Measurements of a realised font, in pixels, as the platform's TEXTMETRIC reports them.
#pragma once

namespace gdi {

struct TextMetrics {
  int tmHeight = 0;  // tmAscent + tmDescent: the height of a text cell
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;  // tmHeight less the em height
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = 0;
  bool tmItalic = false;
  bool tmUnderlined = false;
  bool tmStruckOut = false;

  friend bool operator==(const TextMetrics&, const TextMetrics&) = default;
};

// Width and height of a text's unrotated cell, as GetTextExtentPoint32 reports it.
struct TextExtent {
  int cx = 0;
  int cy = 0;

  friend bool operator==(const TextExtent&, const TextExtent&) = default;
};

}  // namespace gdi
