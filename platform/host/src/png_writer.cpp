#include <png.h>

#include <cstdint>
#include <vector>

#include "host/image_file.h"
#include "pixel_view_check.h"
#include "replace_file.h"

namespace host {

namespace {

// The whole image is converted first so that libpng's simplified interface, which reports errors
// by return value rather than by long jump, can write it in one call.
bool toRgb(const PixelView& image, std::vector<std::uint8_t>& rgb, std::size_t& rowBytes) {
  if (!isUsable(image)) return false;
  rowBytes = static_cast<std::size_t>(image.width) * 3;
  if (rowBytes > 0x7FFFFFFFu) return false;
  rgb.resize(rowBytes * static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    const std::uint32_t* source = image.pixels + static_cast<std::size_t>(y) * image.stride;
    std::uint8_t* target = rgb.data() + static_cast<std::size_t>(y) * rowBytes;
    for (int x = 0; x < image.width; ++x, target += 3) {
      const std::uint32_t pixel = source[x];
      target[0] = static_cast<std::uint8_t>(pixel);        // red
      target[1] = static_cast<std::uint8_t>(pixel >> 8);   // green
      target[2] = static_cast<std::uint8_t>(pixel >> 16);  // blue
    }
  }
  return true;
}

png_image header(const PixelView& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGB;
  return png;
}

}  // namespace

bool writePng(const std::filesystem::path& path, const PixelView& image) {
  std::vector<std::uint8_t> rgb;
  std::size_t rowBytes = 0;
  if (!toRgb(image, rgb, rowBytes)) return false;
  return replaceFile(path, [&](std::FILE* out) {
    png_image png = header(image);
    const int ok = png_image_write_to_stdio(&png, out, 0, rgb.data(),
                                            static_cast<png_int_32>(rowBytes), nullptr);
    png_image_free(&png);
    return ok != 0;
  });
}

std::string encodePng(const PixelView& image) {
  std::vector<std::uint8_t> rgb;
  std::size_t rowBytes = 0;
  if (!toRgb(image, rgb, rowBytes)) return {};
  // The first call measures, the second writes.
  png_image png = header(image);
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(&png, nullptr, &size, 0, rgb.data(),
                                static_cast<png_int_32>(rowBytes), nullptr) == 0) {
    png_image_free(&png);
    return {};
  }
  std::string bytes(size, '\0');
  const int ok = png_image_write_to_memory(&png, bytes.data(), &size, 0, rgb.data(),
                                           static_cast<png_int_32>(rowBytes), nullptr);
  png_image_free(&png);
  if (ok == 0) return {};
  bytes.resize(size);
  return bytes;
}

}  // namespace host
