// Any block a caller hands over as a packed DIB or a bitmap file: parsing must refuse what does
// not fit, and whatever it accepts must read and stretch without touching memory outside it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "gdi/device_context.h"
#include "gdi/packed_dib.h"

namespace {

void exercise(const gdi::PackedDib& dib) {
  const gdi::DibLayout& layout = dib.layout();
  if (layout.bitsOffset + layout.imageSize > dib.bytes().size()) __builtin_trap();
  // Reading every pixel is bounded by the block: at most 8 pixels per byte.
  std::uint32_t sum = 0;
  for (int y = 0; y < dib.height(); ++y)
    for (int x = 0; x < dib.width(); ++x) sum += dib.pixel(x, y);
  if (dib.pixel(dib.width(), 0) != gdi::kInvalidColor) __builtin_trap();
  gdi::Bitmap target(16, 16);
  gdi::DeviceContext dc(&target);
  dc.stretchDIBits(-3, 2, 19, 11, 1, 0, dib.width(), dib.height(), dib);
  (void)dib.palette();
  (void)sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> block(data, size);
  if (auto dib = gdi::PackedDib::fromBytes(block)) {
    exercise(*dib);
    // What was accepted survives a trip through a bitmap file.
    const auto again = gdi::PackedDib::fromBitmapFile(dib->toBitmapFile());
    if (!again) __builtin_trap();
  }
  if (auto dib = gdi::PackedDib::fromBitmapFile(block)) exercise(*dib);
  return 0;
}
