// An opened face at one pixel size and direction, with its measurements and glyph cache.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "face_metrics.h"
#include "free_type_library.h"
#include "gdi/log_font.h"
#include "glyph_cache.h"

namespace gdi {

class FontFace {
 public:
  // Opens the best installed candidate for the logical font; with none usable the face has no
  // outlines and draws nothing but measures like a common sans-serif font.
  static std::unique_ptr<FontFace> open(const LogFont& logFont);

  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const std::string& family() const { return family_; }
  int quadrant() const { return quadrant_; }
  const detail::FaceMetrics& metrics() const { return metrics_; }

  // Glyph rendering and lookup share the face and the cache; hold this while using glyph().
  std::mutex& mutex() const { return mutex_; }
  // Renders on first use; after that a lookup that allocates nothing.
  const detail::Glyph& glyph(char32_t codePoint);

 private:
  FontFace() = default;
  detail::Glyph render(char32_t codePoint);

  std::shared_ptr<detail::FreeTypeLibrary> library_;
  FT_Face face_ = nullptr;
  bool emboldened_ = false;
  bool slanted_ = false;
  std::string family_;
  int quadrant_ = 0;
  detail::FaceMetrics metrics_;
  detail::GlyphCache cache_;
  std::vector<std::uint8_t> scratch_;  // the upright bitmap while a glyph is rendered
  mutable std::mutex mutex_;
};

}  // namespace gdi
