// Writing a 32-bit screen image to a bitmap (.bmp) or PNG (.png) file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace host {

// Pixels 0x00BBGGRR, rows top-down, stride counted in pixels.
struct PixelView {
  const std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::size_t stride = 0;
};

// Each writer returns false, and leaves whatever was at the path untouched, when the view is
// unusable (no pixels, a side below 1 or above 32767, a stride shorter than a row)
// or the file cannot be written: the image goes to a scratch file beside the target that
// replaces it only once it is complete.

// A true-colour device-independent bitmap: "BM" file header, 40-byte information header, no
// colour table (pixel rows at offset 54), 24 bits per pixel, rows bottom-up padded to 4 bytes.
bool writeBmp(const std::filesystem::path& path, const PixelView& image);

// 8-bit RGB, no alpha.
bool writePng(const std::filesystem::path& path, const PixelView& image);

// The bytes writePng would write, for pictures that go elsewhere than a file (a web view); empty
// when the view is unusable.
std::string encodePng(const PixelView& image);

// By the extension, ".bmp" or ".png" in any case; any other extension is refused.
bool writeImageFile(const std::filesystem::path& path, const PixelView& image);

}  // namespace host
