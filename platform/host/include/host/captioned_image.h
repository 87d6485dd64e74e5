// A screen picture written with texts drawn on it, and if asked a strip under it to carry them,
// so the picture alone says what it shows (when it was taken, which log is which colour).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "host/image_file.h"

namespace host {

enum class CaptionAlign { Left, Centre, Right };

// A text and where it stands: x is its left edge, centre or right edge by align, y its top, in
// the written picture's pixels. The colour is 0x00BBGGRR.
struct Caption {
  std::string text;
  int x = 0;
  int y = 0;
  CaptionAlign align = CaptionAlign::Left;
  std::uint32_t colour = 0x000000;
};

// What goes under the picture: rows of one colour (the button face unless said otherwise).
struct CaptionStrip {
  int rows = 0;
  std::uint32_t colour = 0xC0C0C0;
};

// Writes the picture with the strip under it and the captions on both, in 8-point Arial at 96
// pixels per inch on a transparent background, as writeImageFile does (by the extension, through
// a scratch file). False, and nothing written, when the picture is empty or the file cannot be.
bool writeCaptionedImage(const std::filesystem::path& path, const PixelView& picture,
                         std::span<const Caption> captions, CaptionStrip strip = {});

// The same picture as PNG bytes (empty on failure).
std::string captionedPng(const PixelView& picture, std::span<const Caption> captions,
                         CaptionStrip strip = {});

}  // namespace host
