#include "png_picture.h"

#include <png.h>

namespace zelk::test {

RgbPicture readPng(const std::filesystem::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  RgbPicture picture;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
  image.format = PNG_FORMAT_RGB;
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
  }
  png_image_free(&image);
  return picture;
}

}  // namespace zelk::test
