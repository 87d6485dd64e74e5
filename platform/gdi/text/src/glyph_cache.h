// The glyphs of one realised font, rendered once and kept for its lifetime.
#pragma once

#include <array>
#include <optional>
#include <unordered_map>

#include "glyph.h"

namespace gdi::detail {

class GlyphCache {
 public:
  // Null when the character has not been rendered yet. Looking up never allocates.
  const Glyph* find(char32_t codePoint) const;
  const Glyph& insert(char32_t codePoint, Glyph glyph);

 private:
  // The characters of numbers and captions sit in a flat table; the rest in a map.
  static constexpr char32_t kDirectCount = 256;
  std::array<std::optional<Glyph>, kDirectCount> direct_;
  std::unordered_map<char32_t, Glyph> others_;
};

}  // namespace gdi::detail
