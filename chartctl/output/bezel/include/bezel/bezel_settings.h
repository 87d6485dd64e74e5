// The outline and bevel records: what frames the chart, from the outside in. Colours are OLE
// colours, translated at every drawing so that system colours follow the desktop's scheme.
#pragma once

#include <cstdint>

namespace kvplotax::bezel {

enum BevelStyle : std::int32_t { kBevelNone = 0, kBevelInset = 1, kBevelRaised = 2 };

struct OutlineSettings {
  std::uint32_t color = 0x80000006;
  bool on = true;
  bool rounded = false;
};

struct BevelSettings {
  std::uint32_t lightColor = 0x8000000E;
  std::uint32_t shadowColor = 0x80000010;
  std::uint32_t borderColor = 0x8000000F;
  std::int32_t inner = kBevelNone;
  std::int32_t outer = kBevelRaised;
  std::int32_t widthInner = 1;
  std::int32_t widthOuter = 1;
  std::int32_t borderWidth = 3;
};

// Negative widths are refused: the first negative one (inner, outer, border) is set to 0 and
// the check fails, so that the setter can put the previous value back.
bool validateBevel(BevelSettings& bevel);

}  // namespace kvplotax::bezel
