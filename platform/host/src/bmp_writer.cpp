#include <array>
#include <cstdint>
#include <vector>

#include "host/image_file.h"
#include "pixel_view_check.h"
#include "replace_file.h"

namespace host {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBitsPerPixel = 24;

void put16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

bool writeBmp(const std::filesystem::path& path, const PixelView& image) {
  if (!isUsable(image)) return false;
  const std::uint64_t rowSize =
      (static_cast<std::uint64_t>(kBitsPerPixel) * image.width + 31) / 32 * 4;
  const std::uint64_t imageSize = rowSize * static_cast<std::uint64_t>(image.height);
  const std::uint64_t offset = kFileHeaderSize + kInfoHeaderSize;
  // Every size field of the format is 32 bits wide.
  if (imageSize + offset > 0xFFFFFFFFull) return false;

  std::array<std::uint8_t, kFileHeaderSize + kInfoHeaderSize> header{};
  header[0] = 'B';
  header[1] = 'M';
  put32(&header[2], static_cast<std::uint32_t>(imageSize + offset));
  put32(&header[10], static_cast<std::uint32_t>(offset));
  std::uint8_t* info = &header[kFileHeaderSize];
  put32(info + 0, kInfoHeaderSize);
  put32(info + 4, static_cast<std::uint32_t>(image.width));
  put32(info + 8, static_cast<std::uint32_t>(image.height));  // positive: bottom-up rows
  put16(info + 12, 1);                                        // planes
  put16(info + 14, kBitsPerPixel);
  put32(info + 16, 0);  // BI_RGB
  put32(info + 20, static_cast<std::uint32_t>(imageSize));
  // Resolutions, colours used and colours important stay 0.

  std::vector<std::uint8_t> row(rowSize, 0);
  return replaceFile(path, [&](std::FILE* out) {
    if (std::fwrite(header.data(), 1, header.size(), out) != header.size()) return false;
    for (int y = image.height - 1; y >= 0; --y) {
      const std::uint32_t* source = image.pixels + static_cast<std::size_t>(y) * image.stride;
      std::uint8_t* target = row.data();
      for (int x = 0; x < image.width; ++x, target += 3) {
        const std::uint32_t pixel = source[x];
        target[0] = static_cast<std::uint8_t>(pixel >> 16);  // blue
        target[1] = static_cast<std::uint8_t>(pixel >> 8);   // green
        target[2] = static_cast<std::uint8_t>(pixel);        // red
      }
      if (std::fwrite(row.data(), 1, row.size(), out) != row.size()) return false;
    }
    return true;
  });
}

}  // namespace host
