// Where a scale text lands: its anchor moved by the alignment code's shifts, and the rectangle
// it covers, for straight texts (drawn forwards or reversed) and for texts stacked one character
// above or below the other. A turned font exchanges the roles of x and y.
#pragma once

#include <span>
#include <string_view>

#include "gdi/font.h"
#include "gdi/geometry.h"
#include "gdi/pixel_buffer_view.h"
#include "scale/alignment_code.h"

namespace kvplotax::scale {

enum TextPath : int { kRightPath = 0, kUpPath = 1, kLeftPath = 2, kDownPath = 3 };

struct TextForm {
  const gdi::Font* font = nullptr;
  bool rotated = false;
  int path = kRightPath;
  AlignmentCode code;
  // A caption reaching below the baseline sits on its bottom and skips the leading shift;
  // numbers never do.
  bool captionDescends = false;
};

// Letters that reach below the baseline.
bool descends(std::string_view text);

// Moves anchor by the code's shifts and returns the rectangle the text will cover.
gdi::Rect placeText(const TextForm& form, std::string_view text, gdi::Point& anchor);

// Draws the text at its (already shifted) anchor in color, within clip.
void drawPlacedText(const gdi::PixelBufferView& buffer, std::span<const gdi::Rect> clip,
                    const TextForm& form, std::string_view text, gdi::Point anchor,
                    gdi::ColorRef color);

}  // namespace kvplotax::scale
