#include <png.h>

#include <cstdint>
#include <vector>

#include "host/image_file.h"
#include "pixel_view_check.h"
#include "replace_file.h"

namespace host {

bool writePng(const std::filesystem::path& path, const PixelView& image) {
  if (!isUsable(image)) return false;
  // The whole image is converted first so that libpng's simplified interface, which reports
  // errors by return value rather than by long jump, can write it in one call.
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
  if (rowBytes > 0x7FFFFFFFu) return false;
  std::vector<std::uint8_t> rgb(rowBytes * static_cast<std::size_t>(image.height));
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
  return replaceFile(path, [&](std::FILE* out) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    const int ok = png_image_write_to_stdio(&png, out, 0, rgb.data(),
                                            static_cast<png_int_32>(rowBytes), nullptr);
    png_image_free(&png);
    return ok != 0;
  });
}

}  // namespace host
