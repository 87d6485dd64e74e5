#include "glyph_cache.h"

#include <utility>

namespace gdi::detail {

const Glyph* GlyphCache::find(char32_t codePoint) const {
  if (codePoint < kDirectCount) {
    const auto& slot = direct_[codePoint];
    return slot ? &*slot : nullptr;
  }
  const auto it = others_.find(codePoint);
  return it == others_.end() ? nullptr : &it->second;
}

const Glyph& GlyphCache::insert(char32_t codePoint, Glyph glyph) {
  if (codePoint < kDirectCount) return direct_[codePoint].emplace(std::move(glyph));
  return others_.insert_or_assign(codePoint, std::move(glyph)).first->second;
}

}  // namespace gdi::detail
