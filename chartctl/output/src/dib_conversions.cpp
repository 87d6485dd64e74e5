#include "output/dib_conversions.h"

namespace kvplotax::output {

namespace {

// The screen's device bitmaps hold 32 bits per pixel in one plane.
constexpr int kDeviceBitsPerPixel = 32;

std::uint16_t roundedBitCount(int bits) {
  if (bits <= 1) return 1;
  if (bits <= 4) return 4;
  if (bits <= 8) return 8;
  return 24;
}

}  // namespace

std::optional<gdi::PackedDib> BitmapToPackedDib(const gdi::Bitmap* bitmap,
                                                const gdi::Palette* palette) {
  if (!bitmap || bitmap->isEmpty()) return std::nullopt;
  const gdi::Palette* colours = palette ? palette : &gdi::Palette::stockDefault();
  return gdi::PackedDib::fromBitmap(*bitmap, roundedBitCount(kDeviceBitsPerPixel), colours);
}

std::optional<gdi::Palette> CaptureSystemPalette(const gdi::DeviceContext& screen) {
  int entries = screen.getDeviceCaps(gdi::SIZEPALETTE);
  if (entries == 0) entries = screen.getDeviceCaps(gdi::NUMCOLORS);
  // A negative count (no palette on a true-colour screen) or an oversized one builds nothing.
  if (entries <= 0 || entries > 256) return std::nullopt;
  const gdi::Palette& system = gdi::Palette::halftone256();
  std::vector<gdi::PaletteEntry> captured(system.entries().begin(),
                                          system.entries().begin() + entries);
  return gdi::Palette(std::move(captured));
}

}  // namespace kvplotax::output
