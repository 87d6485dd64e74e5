// A PNG written a band of rows at a time (8-bit RGB), so that a picture far larger than memory
// can be written: the file replaces its target whole (util::FileReplacement) only when complete.
// Links are followed to their targets.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "util/replace_file.h"

namespace spectrograph {

class StripPng {
 public:
  StripPng() = default;
  ~StripPng();
  StripPng(const StripPng&) = delete;
  StripPng& operator=(const StripPng&) = delete;

  // False (with error()) when the scratch file cannot be made or the size is not a PNG's.
  bool open(const std::string& path, int width, int height);
  // Rows of width pixels 0x00BBGGRR, top-down, in order.
  bool writeRows(std::span<const std::uint32_t> pixels, int rows);
  // Finishes the file and puts it in place; false when anything failed or rows are missing.
  bool finish();
  const std::string& error() const { return error_; }

 private:
  void abandon();

  struct Png;
  Png* png_ = nullptr;
  util::FileReplacement file_;
  std::string target_;
  std::string error_;
  int width_ = 0;
  int height_ = 0;
  int written_ = 0;
  std::basic_string<std::uint8_t> row_;
};

}  // namespace spectrograph
