#include "gdi/system_colors.h"

#include <array>

namespace gdi {
namespace {

constexpr std::array<ColorRef, kSystemColorCount> kClassic{
    0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF};

// The UI thread owns the table, like the desktop's settings it mirrors.
std::array<ColorRef, kSystemColorCount>& table() {
  static std::array<ColorRef, kSystemColorCount> colors = kClassic;
  return colors;
}

bool validIndex(std::uint32_t index) {
  return index < static_cast<std::uint32_t>(kSystemColorCount);
}

}  // namespace

ColorRef GetSysColor(int index) {
  return index >= 0 && validIndex(static_cast<std::uint32_t>(index)) ? table()[index] : 0;
}

void setSysColor(int index, ColorRef color) {
  if (index >= 0 && validIndex(static_cast<std::uint32_t>(index)))
    table()[index] = color & 0xFFFFFFu;
}

void resetSysColors() { table() = kClassic; }

std::optional<ColorRef> translateOleColor(std::uint32_t oleColor) {
  if (oleColor & 0x80000000u) {
    const std::uint32_t index = oleColor & 0xFFFFu;
    if (!validIndex(index)) return std::nullopt;
    return table()[index];
  }
  return oleColor & 0xFFFFFFu;
}

}  // namespace gdi
