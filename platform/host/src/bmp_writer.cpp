#include <algorithm>
#include <optional>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/packed_dib.h"
#include "host/image_file.h"
#include "pixel_view_check.h"
#include "replace_file.h"

namespace host {

bool writeBmp(const std::filesystem::path& path, const PixelView& image) {
  if (!isUsable(image)) return false;
  // The file is the packed 24-bit DIB of the view, rows bottom-up, behind its file header.
  gdi::Bitmap bitmap(image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    const std::uint32_t* source = image.pixels + static_cast<std::size_t>(y) * image.stride;
    std::copy(source, source + image.width, bitmap.row(y));
  }
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(bitmap, 24);
  const std::optional<std::vector<std::uint8_t>> header = gdi::bitmapFileHeader(dib.bytes());
  if (!header) return false;
  return replaceFile(path, [&](std::FILE* out) {
    return std::fwrite(header->data(), 1, header->size(), out) == header->size() &&
           std::fwrite(dib.bytes().data(), 1, dib.bytes().size(), out) == dib.bytes().size();
  });
}

}  // namespace host
