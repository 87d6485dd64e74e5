// Packed device-independent bitmaps: a header (information or core), its colour table and the
// pixel rows in one block. Rows are stored bottom-up (top-down for a negative height in an
// information header), each padded to a multiple of 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/geometry.h"
#include "gdi/palette.h"

namespace gdi {

inline constexpr std::uint32_t kInfoHeaderSize = 40;
inline constexpr std::uint32_t kCoreHeaderSize = 12;
inline constexpr std::size_t kFileHeaderSize = 14;  // "BM", file size, reserved, pixel offset
inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_BITFIELDS = 3;

// The colour table entries of a header: colours used if nonzero (information header), else 2,
// 16 or 256 for 1, 4 or 8 bits per pixel, else 0.
std::uint32_t dibColorCount(std::uint32_t headerSize, std::uint16_t bitCount,
                            std::uint32_t colorsUsed);
// ((bitsPerPixel * width + 31) / 32) * 4; 0 for a negative width or when it overflows.
std::uint32_t dibRowSize(std::uint32_t bitsPerPixel, std::int64_t width);
// Up to 2 colours gives 1 bit, up to 16 gives 4, up to 256 gives 8, more gives 24.
std::uint16_t dibBitCountForColors(std::uint32_t colors);

// What a header says, after every size has been checked against the block.
struct DibLayout {
  std::uint32_t headerSize = 0;  // 40 (or larger versions of the information header) or 12
  std::int32_t width = 0;
  std::int32_t height = 0;  // always positive here
  bool topDown = false;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = BI_RGB;
  std::uint32_t colorCount = 0;
  std::uint32_t colorEntrySize = 4;  // 4 (blue, green, red, reserved) or 3 for a core header
  std::size_t colorTableOffset = 0;
  std::size_t bitsOffset = 0;
  std::uint32_t rowSize = 0;
  std::size_t imageSize = 0;           // rowSize * height
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue for 16 and 32 bits per pixel
};

// Reads a packed DIB's header and checks it: header kind, width and height positive (height
// may be negative for a top-down information header), one plane, 1/4/8/16/24/32 bits, BI_RGB
// (or BI_BITFIELDS at 16 and 32 bits), colour table and rows inside the block. Nothing else.
std::optional<DibLayout> parseDibLayout(std::span<const std::uint8_t> block);

// The 14-byte file header that makes a packed DIB a bitmap file ("BM", the file's size, the
// offset of the rows past the header and colour table); none when the block's header does not
// check out or the file's sizes do not fit the header's 32-bit fields.
std::optional<std::vector<std::uint8_t>> bitmapFileHeader(std::span<const std::uint8_t> packedDib);

class PackedDib {
 public:
  PackedDib() = default;
  // A copy of a caller's block, if its layout checks out.
  static std::optional<PackedDib> fromBytes(std::span<const std::uint8_t> block);
  // A DIB of bitCount bits per pixel (1, 4, 8, 24 or 32) holding the bitmap's pixels; at 1, 4
  // and 8 bits the colours are reduced to the nearest entries of palette (its first 2, 16 or
  // 256 entries make the colour table; the stock default palette when none is given).
  static PackedDib fromBitmap(const Bitmap& bitmap, std::uint16_t bitCount = 32,
                              const Palette* palette = nullptr);

  const DibLayout& layout() const { return layout_; }
  std::span<const std::uint8_t> bytes() const { return bytes_; }
  int width() const { return layout_.width; }
  int height() const { return layout_.height; }
  std::uint32_t colorCount() const { return layout_.colorCount; }
  std::vector<ColorRef> colorTable() const;
  // The palette built from the colour table; empty without one.
  Palette palette() const;
  // The colour of a pixel, (0, 0) being the top-left corner; kInvalidColor outside. An index
  // beyond the colour table gives black.
  ColorRef pixel(int x, int y) const;
  Bitmap toBitmap() const;

  // A bitmap file: the file header (see bitmapFileHeader) and the block; empty for a block too
  // large for the format.
  std::vector<std::uint8_t> toBitmapFile() const;
  static std::optional<PackedDib> fromBitmapFile(std::span<const std::uint8_t> file);

 private:
  std::vector<std::uint8_t> bytes_;
  DibLayout layout_;
};

}  // namespace gdi
