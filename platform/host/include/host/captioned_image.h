// A screen picture written with a line of captions under it, so the picture alone says what it
// shows (for example when it was taken).
#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "host/image_file.h"

namespace host {

enum class CaptionAlign { Left, Centre, Right };

// A text in the strip under the picture: where it stands (x in pixels) and how it hangs from it.
struct Caption {
  std::string text;
  int x = 0;
  CaptionAlign align = CaptionAlign::Left;
};

// The strip's height in pixels: one line of 8-point Arial at 96 pixels per inch, and a margin.
inline constexpr int kCaptionStrip = 18;

// Writes the picture with a strip of kCaptionStrip rows in the button-face colour under it and
// the captions in black on that strip, as writeImageFile does (by the extension, through a
// scratch file). False, and nothing written, when the picture is empty or the file cannot be.
bool writeCaptionedImage(const std::filesystem::path& path, const PixelView& picture,
                         std::span<const Caption> captions);

}  // namespace host
