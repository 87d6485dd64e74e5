#include "gdi/packed_dib.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "util/little_endian.h"

namespace gdi {
namespace {

// The value of a channel under a bit mask, scaled to 0..255.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  const std::uint32_t field = mask >> shift;
  const std::uint32_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>((static_cast<std::uint64_t>(value) * 255 + field / 2) / field);
}

bool contiguousMask(std::uint32_t mask) {
  if (mask == 0) return true;
  while ((mask & 1u) == 0) mask >>= 1;
  return (mask & (mask + 1)) == 0;
}

}  // namespace

std::uint32_t dibColorCount(std::uint32_t headerSize, std::uint16_t bitCount,
                            std::uint32_t colorsUsed) {
  if (headerSize != kCoreHeaderSize && colorsUsed != 0) return colorsUsed;
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

std::uint32_t dibRowSize(std::uint32_t bitsPerPixel, std::int64_t width) {
  if (width < 0) return 0;
  const std::uint64_t bits =
      static_cast<std::uint64_t>(bitsPerPixel) * static_cast<std::uint64_t>(width);
  const std::uint64_t size = ((bits + 31) / 32) * 4;
  return size > std::numeric_limits<std::uint32_t>::max() ? 0 : static_cast<std::uint32_t>(size);
}

std::uint16_t dibBitCountForColors(std::uint32_t colors) {
  if (colors <= 2) return 1;
  if (colors <= 16) return 4;
  if (colors <= 256) return 8;
  return 24;
}

std::optional<DibLayout> parseDibLayout(std::span<const std::uint8_t> block) {
  if (block.size() < 4) return std::nullopt;
  DibLayout l;
  l.headerSize = util::loadU32(block);
  std::int64_t height = 0;
  std::uint16_t planes = 0;
  std::uint32_t colorsUsed = 0;
  if (l.headerSize == kCoreHeaderSize) {
    if (block.size() < kCoreHeaderSize) return std::nullopt;
    l.width = util::loadU16(block.subspan(4));
    height = util::loadU16(block.subspan(6));
    planes = util::loadU16(block.subspan(8));
    l.bitCount = util::loadU16(block.subspan(10));
    l.colorEntrySize = 3;
  } else if (l.headerSize >= kInfoHeaderSize && l.headerSize <= 124) {
    if (block.size() < l.headerSize) return std::nullopt;
    l.width = static_cast<std::int32_t>(util::loadU32(block.subspan(4)));
    height = static_cast<std::int32_t>(util::loadU32(block.subspan(8)));
    planes = util::loadU16(block.subspan(12));
    l.bitCount = util::loadU16(block.subspan(14));
    l.compression = util::loadU32(block.subspan(16));
    colorsUsed = util::loadU32(block.subspan(32));
  } else {
    return std::nullopt;
  }
  if (height < 0) {
    l.topDown = true;
    height = -height;
  }
  if (l.width <= 0 || height <= 0 || height > std::numeric_limits<std::int32_t>::max() ||
      planes != 1)
    return std::nullopt;
  l.height = static_cast<std::int32_t>(height);
  switch (l.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return std::nullopt;
  }
  const bool masked = l.compression == BI_BITFIELDS;
  if (l.compression != BI_RGB && !(masked && (l.bitCount == 16 || l.bitCount == 32)))
    return std::nullopt;
  l.colorCount = dibColorCount(l.headerSize, l.bitCount, colorsUsed);
  // A table longer than the indexes reach still sits before the rows: keep its full length.
  std::size_t at = l.headerSize;
  if (masked) {
    // The three masks follow a plain information header; larger headers hold them inside.
    const std::size_t maskAt = 40;
    if (l.headerSize == kInfoHeaderSize) {
      if (block.size() < at + 12) return std::nullopt;
      at += 12;
    } else if (l.headerSize < maskAt + 12) {
      return std::nullopt;
    }
    for (int i = 0; i < 3; ++i) {
      l.masks[i] = util::loadU32(block.subspan(maskAt + 4 * i));
      if (!contiguousMask(l.masks[i])) return std::nullopt;
    }
  } else if (l.bitCount == 16) {
    l.masks[0] = 0x7C00;
    l.masks[1] = 0x03E0;
    l.masks[2] = 0x001F;
  } else if (l.bitCount == 32 || l.bitCount == 24) {
    l.masks[0] = 0xFF0000;
    l.masks[1] = 0x00FF00;
    l.masks[2] = 0x0000FF;
  }
  l.colorTableOffset = at;
  const std::uint64_t tableSize = std::uint64_t{l.colorCount} * l.colorEntrySize;
  if (block.size() < at || block.size() - at < tableSize) return std::nullopt;
  l.bitsOffset = at + static_cast<std::size_t>(tableSize);
  l.rowSize = dibRowSize(l.bitCount, l.width);
  if (l.rowSize == 0) return std::nullopt;
  const std::uint64_t image = std::uint64_t{l.rowSize} * static_cast<std::uint64_t>(l.height);
  if (block.size() - l.bitsOffset < image) return std::nullopt;
  l.imageSize = static_cast<std::size_t>(image);
  return l;
}

std::optional<PackedDib> PackedDib::fromBytes(std::span<const std::uint8_t> block) {
  const std::optional<DibLayout> layout = parseDibLayout(block);
  if (!layout) return std::nullopt;
  PackedDib dib;
  dib.layout_ = *layout;
  dib.bytes_.assign(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(layout->bitsOffset +
                                                                               layout->imageSize));
  return dib;
}

PackedDib PackedDib::fromBitmap(const Bitmap& bitmap, std::uint16_t bitCount,
                                const Palette* palette) {
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) bitCount = 32;
  const int width = std::max(bitmap.width(), 1);
  const int height = std::max(bitmap.height(), 1);
  const std::uint32_t colors = bitCount <= 8 ? (1u << bitCount) : 0;
  const Palette& source = palette ? *palette : Palette::stockDefault();
  std::vector<ColorRef> table(colors, 0);
  for (std::uint32_t i = 0; i < colors && i < source.size(); ++i) table[i] = source.color(i);
  const Palette reduced = Palette::fromColors(table);
  const std::uint32_t rowSize = dibRowSize(bitCount, width);
  const std::size_t bitsOffset = kInfoHeaderSize + std::size_t{colors} * 4;
  std::vector<std::uint8_t> b(bitsOffset + std::size_t{rowSize} * height, 0);
  util::storeU32(b, kInfoHeaderSize);
  util::storeU32(std::span(b).subspan(4), static_cast<std::uint32_t>(width));
  util::storeU32(std::span(b).subspan(8), static_cast<std::uint32_t>(height));
  util::storeU16(std::span(b).subspan(12), 1);
  util::storeU16(std::span(b).subspan(14), bitCount);
  util::storeU32(std::span(b).subspan(16), BI_RGB);
  util::storeU32(std::span(b).subspan(20), rowSize * static_cast<std::uint32_t>(height));
  util::storeU32(std::span(b).subspan(32), colors);
  for (std::uint32_t i = 0; i < colors; ++i) {
    b[kInfoHeaderSize + 4 * i] = blueOf(table[i]);
    b[kInfoHeaderSize + 4 * i + 1] = greenOf(table[i]);
    b[kInfoHeaderSize + 4 * i + 2] = redOf(table[i]);
  }
  for (int y = 0; y < bitmap.height(); ++y) {
    std::uint8_t* row = b.data() + bitsOffset + std::size_t{rowSize} * (height - 1 - y);
    const std::uint32_t* src = bitmap.row(y);
    for (int x = 0; x < bitmap.width(); ++x) {
      const ColorRef c = src[x];
      switch (bitCount) {
        case 32:
          row[4 * x] = blueOf(c);
          row[4 * x + 1] = greenOf(c);
          row[4 * x + 2] = redOf(c);
          break;
        case 24:
          row[3 * x] = blueOf(c);
          row[3 * x + 1] = greenOf(c);
          row[3 * x + 2] = redOf(c);
          break;
        default: {
          const auto index = static_cast<std::uint32_t>(reduced.nearestIndex(c));
          const int perByte = 8 / bitCount;
          const int shift = 8 - bitCount * (x % perByte + 1);
          row[x / perByte] |= static_cast<std::uint8_t>(index << shift);
        }
      }
    }
  }
  PackedDib dib;
  dib.layout_ = *parseDibLayout(b);
  dib.bytes_ = std::move(b);
  return dib;
}

std::vector<ColorRef> PackedDib::colorTable() const {
  std::vector<ColorRef> table;
  table.reserve(layout_.colorCount);
  for (std::uint32_t i = 0; i < layout_.colorCount; ++i) {
    const std::uint8_t* e = bytes_.data() + layout_.colorTableOffset + i * layout_.colorEntrySize;
    table.push_back(rgb(e[2], e[1], e[0]));
  }
  return table;
}

Palette PackedDib::palette() const {
  const std::vector<ColorRef> table = colorTable();
  return Palette::fromColors(table);
}

ColorRef PackedDib::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= layout_.width || y >= layout_.height) return kInvalidColor;
  const int storedRow = layout_.topDown ? y : layout_.height - 1 - y;
  const std::uint8_t* row =
      bytes_.data() + layout_.bitsOffset + std::size_t{layout_.rowSize} * storedRow;
  auto fromTable = [&](std::uint32_t index) -> ColorRef {
    if (index >= layout_.colorCount) return 0;
    const std::uint8_t* e =
        bytes_.data() + layout_.colorTableOffset + index * layout_.colorEntrySize;
    return rgb(e[2], e[1], e[0]);
  };
  switch (layout_.bitCount) {
    case 1:
      return fromTable((row[x / 8] >> (7 - x % 8)) & 1u);
    case 4:
      return fromTable((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xFu);
    case 8:
      return fromTable(row[x]);
    case 24:
      return rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case 16:
    case 32: {
      std::uint32_t v;
      if (layout_.bitCount == 16) {
        v = util::loadU16({row + 2 * x, 2});
      } else {
        v = util::loadU32({row + 4 * x, 4});
      }
      return rgb(channel(v, layout_.masks[0]), channel(v, layout_.masks[1]),
                 channel(v, layout_.masks[2]));
    }
    default:
      return 0;
  }
}

std::optional<std::vector<std::uint8_t>> bitmapFileHeader(std::span<const std::uint8_t> dib) {
  const std::optional<DibLayout> layout = parseDibLayout(dib);
  if (!layout) return std::nullopt;
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
  const std::uint64_t fileSize = std::uint64_t{dib.size()} + kFileHeaderSize;
  // The rows follow the header and the colour table (a bit-field header's masks included).
  const std::uint64_t offset = std::uint64_t{layout->bitsOffset} + kFileHeaderSize;
  if (fileSize > kLimit || offset > kLimit) return std::nullopt;
  std::vector<std::uint8_t> header(kFileHeaderSize, 0);
  header[0] = 'B';
  header[1] = 'M';
  util::storeU32(std::span(header).subspan(2), static_cast<std::uint32_t>(fileSize));
  util::storeU32(std::span(header).subspan(10), static_cast<std::uint32_t>(offset));
  return header;
}

std::vector<std::uint8_t> PackedDib::toBitmapFile() const {
  std::optional<std::vector<std::uint8_t>> file = bitmapFileHeader(bytes_);
  if (!file) return {};
  file->insert(file->end(), bytes_.begin(), bytes_.end());
  return std::move(*file);
}

std::optional<PackedDib> PackedDib::fromBitmapFile(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  std::optional<PackedDib> dib = fromBytes(file.subspan(kFileHeaderSize));
  if (!dib) return std::nullopt;
  // The pixel offset of the file header wins over the packed layout when it points elsewhere.
  const std::uint32_t offset = util::loadU32(file.subspan(10));
  if (offset != kFileHeaderSize + dib->layout_.bitsOffset) {
    if (offset < kFileHeaderSize + dib->layout_.bitsOffset || offset > file.size() ||
        file.size() - offset < dib->layout_.imageSize)
      return std::nullopt;
    std::vector<std::uint8_t> packed(
        file.begin() + kFileHeaderSize,
        file.begin() + kFileHeaderSize + static_cast<std::ptrdiff_t>(dib->layout_.bitsOffset));
    packed.insert(packed.end(), file.begin() + offset,
                  file.begin() + offset + static_cast<std::ptrdiff_t>(dib->layout_.imageSize));
    return fromBytes(packed);
  }
  return dib;
}

Bitmap PackedDib::toBitmap() const {
  Bitmap bitmap(layout_.width, layout_.height);
  for (int y = 0; y < bitmap.height(); ++y)
    for (int x = 0; x < bitmap.width(); ++x) bitmap.row(y)[x] = pixel(x, y);
  return bitmap;
}

}  // namespace gdi
