#include "bitmap_file_writer.h"

#include <limits>

#include "gdi/packed_dib.h"
#include "util/replace_file.h"

namespace kvplotax::output {

namespace {

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> bitmapFileHeader(std::span<const std::uint8_t> dib) {
  const std::optional<gdi::DibLayout> layout = gdi::parseDibLayout(dib);
  if (!layout) return std::nullopt;
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
  const std::uint64_t fileSize = std::uint64_t{dib.size()} + gdi::kFileHeaderSize;
  // The rows follow the header and the colour table (a bit-field header's masks included).
  const std::uint64_t offset = std::uint64_t{layout->bitsOffset} + gdi::kFileHeaderSize;
  if (fileSize > kLimit || offset > kLimit) return std::nullopt;
  std::vector<std::uint8_t> header(gdi::kFileHeaderSize, 0);
  header[0] = 'B';
  header[1] = 'M';
  put32(header, 2, static_cast<std::uint32_t>(fileSize));
  put32(header, 10, static_cast<std::uint32_t>(offset));
  return header;
}

bool writeBitmapFile(const std::string& path, std::span<const std::uint8_t> dib) {
  const std::optional<std::vector<std::uint8_t>> header = bitmapFileHeader(dib);
  if (!header || path.empty()) return false;
  const auto write = [&](std::FILE* out) {
    return std::fwrite(header->data(), 1, header->size(), out) == header->size() &&
           std::fwrite(dib.data(), 1, dib.size(), out) == dib.size();
  };
  // A file another open holds locked is in use elsewhere and is not replaced under it.
  return util::replaced(util::replaceFile(path, write, {.refuseLocked = true}));
}

}  // namespace kvplotax::output
