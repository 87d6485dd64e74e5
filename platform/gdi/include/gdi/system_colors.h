// The desktop's system colours and the translation of OLE colours.
#pragma once

#include <cstdint>
#include <optional>

#include "gdi/geometry.h"

namespace gdi {

inline constexpr int kSystemColorCount = 25;  // COLOR_SCROLLBAR (0) .. COLOR_INFOBK (24)

// The current colour of a system colour index; 0 (black) outside 0..24.
ColorRef GetSysColor(int index);
// A host with a desktop palette of its own replaces entries; index outside 0..24 is ignored.
void setSysColor(int index, ColorRef color);
// Back to the classic desktop scheme.
void resetSysColors();

// An OLE colour: 0x00BBGGRR as it stands, or with the top bit set a system colour index in the
// low 16 bits. An index outside the table gives nothing (the caller keeps its previous colour).
// Other high-byte forms (palette index, palette-relative) are reduced to their RGB part.
std::optional<ColorRef> translateOleColor(std::uint32_t oleColor);

}  // namespace gdi
