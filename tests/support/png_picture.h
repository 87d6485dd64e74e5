// A PNG file a program wrote, read back as RGB bytes for exact pixel checks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace zelk::test {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows from the top, three bytes a pixel
};

// Width and height 0 when the file cannot be read as a PNG.
RgbPicture readPng(const std::filesystem::path& path);

}  // namespace zelk::test
