#include "graticule_golden.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#ifndef KVPLOTAX_GOLDEN_DIR
#error "KVPLOTAX_GOLDEN_DIR names the folder of the golden images"
#endif
#ifndef KVPLOTAX_ACTUAL_DIR
#error "KVPLOTAX_ACTUAL_DIR names the folder the actual images are left in"
#endif

namespace kvplotax::testing {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool writePng(const gdi::Bitmap& bitmap, const std::string& path) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(static_cast<std::size_t>(bitmap.width()) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, bitmap.width(), bitmap.height(), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < bitmap.height(); ++y) {
    const std::uint32_t* src = bitmap.row(y);
    for (int x = 0; x < bitmap.width(); ++x) {
      row[3 * x] = gdi::redOf(src[x]);
      row[3 * x + 1] = gdi::greenOf(src[x]);
      row[3 * x + 2] = gdi::blueOf(src[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool readPng(const std::string& path, gdi::Bitmap& bitmap) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  std::vector<png_byte> row;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, file.get());
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_expand(png);
  png_set_gray_to_rgb(png);
  png_read_update_info(png, info);
  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * 3) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  bitmap = gdi::Bitmap(width, height);
  row.resize(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    png_read_row(png, row.data(), nullptr);
    for (int x = 0; x < width; ++x) {
      bitmap.setPixel(x, y, gdi::rgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]));
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

std::string compareWithGolden(const gdi::Bitmap& actual, const std::string& name) {
  const std::string actualPath = std::string(KVPLOTAX_ACTUAL_DIR) + "/" + name + ".png";
  gdi::Bitmap golden;
  if (!readPng(std::string(KVPLOTAX_GOLDEN_DIR) + "/" + name + ".png", golden)) {
    writePng(actual, actualPath);
    return "no golden image " + name + ".png; the actual image is " + actualPath;
  }
  if (golden.width() != actual.width() || golden.height() != actual.height()) {
    writePng(actual, actualPath);
    return "size differs from the golden; the actual image is " + actualPath;
  }
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (golden.pixel(x, y) != actual.pixel(x, y)) {
        writePng(actual, actualPath);
        char text[160];
        std::snprintf(text, sizeof text, "pixel (%d, %d) is %06X, the golden has %06X; see ", x, y,
                      actual.pixel(x, y), golden.pixel(x, y));
        return text + actualPath;
      }
    }
  }
  return {};
}

}  // namespace kvplotax::testing
