// Writing a line of text into a pixel buffer.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "gdi/font.h"
#include "gdi/geometry.h"
#include "gdi/pixel_buffer_view.h"
#include "gdi/text_align.h"

namespace gdi {

struct TextStyle {
  // Values stored into the buffer as they stand (the buffer's own pixel format).
  std::uint32_t textPixel = 0;
  std::uint32_t backgroundPixel = 0;
  // The background mode: an opaque text first fills its whole cell with the background
  // pixel, a transparent one leaves every pixel but its ink alone.
  bool opaque = true;
  std::uint32_t align = TA_LEFT | TA_TOP;  // TA_* flags
};

// Draws `utf8` in `font` with its reference point at `reference` (for TA_UPDATECP pass the
// current position), touching only pixels inside both the buffer and one of the `clip`
// rectangles (an empty list clips everything away). The text runs along the font's
// escapement; its cell lies on the side of the reference point the alignment names, turned
// with the text. The reference point is a corner of the pixel grid, so a turned text covers
// exactly the turned pixels of the same text at escapement 0.
//
// Returns the new current position when TA_UPDATECP is set (the reference moved along the text
// past its end for TA_LEFT, back to its start for TA_RIGHT, unchanged for TA_CENTER), else
// `reference`.
Point drawText(const PixelBufferView& buffer, std::span<const Rect> clip, const Font& font,
               Point reference, std::string_view utf8, const TextStyle& style);

// The same with a single clip rectangle.
Point drawText(const PixelBufferView& buffer, const Rect& clip, const Font& font, Point reference,
               std::string_view utf8, const TextStyle& style);

}  // namespace gdi
