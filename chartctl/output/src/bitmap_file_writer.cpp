#include "bitmap_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "gdi/packed_dib.h"

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

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
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
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  // Others are kept out while the file is written, as an exclusive share would.
  const bool locked = ::lockf(fd, F_TLOCK, 0) == 0;
  const bool ok = locked && writeAll(fd, header->data(), header->size()) &&
                  writeAll(fd, dib.data(), dib.size());
  const bool closed = ::close(fd) == 0;
  return ok && closed;
}

}  // namespace kvplotax::output
