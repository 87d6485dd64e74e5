// OLE colours: 0x00BBGGRR, or with the top bit set a system colour index in the low byte.
#pragma once

#include <cstdint>

#include "gdi/geometry.h"

namespace ocx {

using OleColor = std::uint32_t;

constexpr bool isSystemColor(OleColor c) { return (c & 0x80000000u) != 0; }
constexpr int systemColorIndex(OleColor c) { return static_cast<int>(c & 0xFFu); }
constexpr OleColor systemColor(int index) {
  return 0x80000000u | (static_cast<OleColor>(index) & 0xFFu);
}

// The classic desktop scheme's colour of a system colour index (0 to 24); black beyond it.
gdi::ColorRef classicSystemColor(int index);

}  // namespace ocx
