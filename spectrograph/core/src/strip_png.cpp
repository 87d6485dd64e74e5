#include "spectrograph/strip_png.h"

#include <png.h>

#include <csetjmp>
#include <filesystem>

namespace spectrograph {

struct StripPng::Png {
  png_structp write = nullptr;
  png_infop info = nullptr;
};

namespace {

// Each libpng call is wrapped so that its error jump lands in a frame without C++ objects.
bool startImage(png_structp png, png_infop info, std::FILE* file, int width, int height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  // Spectrograms are large and noisy: fast compression is worth far more than a few percent.
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_write_info(png, info);
  return true;
}

bool writeRow(png_structp png, png_bytep row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_write_row(png, row);
  return true;
}

bool endImage(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_write_end(png, info);
  return true;
}

}  // namespace

StripPng::~StripPng() { abandon(); }

void StripPng::abandon() {
  if (png_ != nullptr) {
    png_destroy_write_struct(&png_->write, &png_->info);
    delete png_;
    png_ = nullptr;
  }
  file_.abandon();
}

bool StripPng::open(const std::string& path, int width, int height) {
  abandon();
  if (width < 1 || height < 1 || width > 0x7FFFFFF || height > 0x7FFFFFF) {
    error_ = "the picture's size is out of range";
    return false;
  }
  std::error_code ec;
  std::filesystem::path target = path;
  // Write through a link to what it names, as the other outputs do.
  if (std::filesystem::is_symlink(target, ec)) {
    const auto resolved = std::filesystem::canonical(target, ec);
    if (!ec) target = resolved;
  }
  target_ = target.string();
  switch (file_.begin(target)) {
    case util::ReplaceResult::kReplaced:
      break;
    case util::ReplaceResult::kOtherUsersFile:
      error_ = path + " belongs to another user";
      return false;
    case util::ReplaceResult::kNotRegularFile:
      error_ = path + " is not a regular file";
      return false;
    default:
      error_ = "cannot write in the folder of " + path;
      return false;
  }
  png_ = new Png;
  png_->write = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png_->write != nullptr) png_->info = png_create_info_struct(png_->write);
  if (png_->info == nullptr ||
      !startImage(png_->write, png_->info, file_.stream(), width, height)) {
    error_ = "cannot start the PNG " + path;
    abandon();
    return false;
  }
  width_ = width;
  height_ = height;
  written_ = 0;
  row_.assign(static_cast<std::size_t>(width) * 3, 0);
  return true;
}

bool StripPng::writeRows(std::span<const std::uint32_t> pixels, int rows) {
  if (png_ == nullptr || rows < 0 || written_ + rows > height_ ||
      pixels.size() < static_cast<std::size_t>(rows) * static_cast<std::size_t>(width_)) {
    return false;
  }
  for (int y = 0; y < rows; ++y) {
    const std::uint32_t* from = pixels.data() + static_cast<std::size_t>(y) * width_;
    std::uint8_t* to = row_.data();
    for (int x = 0; x < width_; ++x, to += 3) {
      to[0] = static_cast<std::uint8_t>(from[x]);
      to[1] = static_cast<std::uint8_t>(from[x] >> 8);
      to[2] = static_cast<std::uint8_t>(from[x] >> 16);
    }
    if (!writeRow(png_->write, row_.data())) {
      error_ = "cannot write the PNG " + target_;
      abandon();
      return false;
    }
  }
  written_ += rows;
  return true;
}

bool StripPng::finish() {
  if (png_ == nullptr) return false;
  if (written_ != height_ || !endImage(png_->write, png_->info)) {
    error_ = "cannot finish the PNG " + target_;
    abandon();
    return false;
  }
  png_destroy_write_struct(&png_->write, &png_->info);
  delete png_;
  png_ = nullptr;
  if (!util::replaced(file_.commit())) {
    error_ = "cannot write the PNG " + target_;
    return false;
  }
  return true;
}

}  // namespace spectrograph
