#include "bitmap_file_writer.h"

#include "gdi/packed_dib.h"
#include "util/replace_file.h"

namespace kvplotax::output {

bool writeBitmapFile(const std::string& path, std::span<const std::uint8_t> dib) {
  const std::optional<std::vector<std::uint8_t>> header = gdi::bitmapFileHeader(dib);
  if (!header || path.empty()) return false;
  const auto write = [&](std::FILE* out) {
    return std::fwrite(header->data(), 1, header->size(), out) == header->size() &&
           std::fwrite(dib.data(), 1, dib.size(), out) == dib.size();
  };
  // A file another open holds locked is in use elsewhere and is not replaced under it.
  return util::replaced(util::replaceFile(path, write, {.refuseLocked = true}));
}

}  // namespace kvplotax::output
