// A realised font: a logical font matched to an installed face at a pixel size.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "gdi/log_font.h"
#include "gdi/text_metrics.h"

namespace gdi {

class FontFace;

class Font {
 public:
  // Never fails: a face that is not installed resolves to the nearest installed one, and with
  // no usable face at all the font measures sensibly and draws only its cell and lines.
  // Equal logical fonts share one realised font (and its glyph cache) while any is alive.
  static std::shared_ptr<const Font> create(const LogFont& logFont);

  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const LogFont& logFont() const { return logFont_; }
  // The installed family the face name resolved to, e.g. "Liberation Sans" for "Arial".
  const std::string& familyName() const;
  // The pixel size of the em square.
  int emHeight() const;
  // The direction the text runs in: 0, 900, 1800 or 2700 tenths of a degree. Other
  // escapements turn to the nearest of these so that rotated text stays pixel-exact.
  int escapement() const;
  const TextMetrics& metrics() const;
  // The unrotated cell of a UTF-8 text: the sum of the advances by the cell height.
  TextExtent extent(std::string_view utf8) const;

  // For the drawing code of this layer.
  FontFace& face() const { return *face_; }

 private:
  Font(const LogFont& logFont, std::unique_ptr<FontFace> face);

  LogFont logFont_;
  std::unique_ptr<FontFace> face_;
};

}  // namespace gdi
