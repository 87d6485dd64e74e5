#include "ocx/ole_color.h"

#include <array>

namespace ocx {

gdi::ColorRef classicSystemColor(int index) {
  static constexpr std::array<gdi::ColorRef, 25> kClassic{
      0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
      0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
      0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000, 0xE1FFFF};
  if (index < 0 || index >= static_cast<int>(kClassic.size())) return 0;
  return kClassic[static_cast<std::size_t>(index)];
}

}  // namespace ocx
