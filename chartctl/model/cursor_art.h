// The text pictures of the control's own cursors, as the build compiles them in.
#pragma once

#include <cstddef>

namespace kvplotax {

struct CursorArt {
  int id;            // resource number, 201 to 207
  const char* text;  // "hotspot X Y", then rows of '.', '#' and 'o'
};

extern const CursorArt kCursorArt[];
extern const std::size_t kCursorArtCount;

}  // namespace kvplotax
