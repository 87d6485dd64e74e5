#include "font_face.h"

#include <cstddef>

#include FT_SYNTHESIS_H

#include "font_resolver.h"
#include "quadrant.h"

namespace gdi {
namespace {

FT_Face openScalable(detail::FreeTypeLibrary& library, const detail::FaceFile& file) {
  if (!library.handle()) return nullptr;
  std::lock_guard lock(library.mutex());
  FT_Face face = nullptr;
  if (FT_New_Face(library.handle(), file.path.c_str(), file.index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return face;
}

}  // namespace

std::unique_ptr<FontFace> FontFace::open(const LogFont& logFont) {
  std::unique_ptr<FontFace> self(new FontFace);
  self->library_ = detail::FreeTypeLibrary::instance();
  self->quadrant_ = detail::quadrantOfEscapement(logFont.escapement);
  for (const detail::FaceFile& file : detail::faceFilesFor(logFont)) {
    self->face_ = openScalable(*self->library_, file);
    if (self->face_) {
      self->family_ = file.family;
      self->emboldened_ = file.emboldened;
      self->slanted_ = file.slanted;
      break;
    }
  }
  self->metrics_ = detail::measureFace(self->face_, logFont, self->emboldened_);
  if (self->face_ && FT_Set_Pixel_Sizes(self->face_, 0, self->metrics_.emHeight) != 0) {
    std::lock_guard lock(self->library_->mutex());
    FT_Done_Face(self->face_);
    self->face_ = nullptr;
  }
  if (!self->face_) self->family_.clear();
  return self;
}

FontFace::~FontFace() {
  if (face_) {
    std::lock_guard lock(library_->mutex());
    FT_Done_Face(face_);
  }
}

const detail::Glyph& FontFace::glyph(char32_t codePoint) {
  if (const detail::Glyph* known = cache_.find(codePoint)) return *known;
  return cache_.insert(codePoint, render(codePoint));
}

detail::Glyph FontFace::render(char32_t codePoint) {
  const int fallbackAdvance = metrics_.text.tmAveCharWidth;
  if (!face_) return detail::turnGlyph(quadrant_, fallbackAdvance, {});

  // Two-level rendering from hinted outlines: no pixel is ever partly covered, so the same text
  // drawn again in the background colour removes it exactly.
  FT_UInt index = FT_Get_Char_Index(face_, codePoint);
  if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_MONO) != 0) {
    index = 0;
    if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_MONO) != 0)
      return detail::turnGlyph(quadrant_, fallbackAdvance, {});
  }
  FT_GlyphSlot slot = face_->glyph;
  if (slanted_) FT_GlyphSlot_Oblique(slot);
  if (emboldened_) FT_GlyphSlot_Embolden(slot);
  const int advance = static_cast<int>((slot->advance.x + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
    return detail::turnGlyph(quadrant_, advance, {});
  }

  const FT_Bitmap& bitmap = slot->bitmap;
  const int width = static_cast<int>(bitmap.width);
  const int rows = static_cast<int>(bitmap.rows);
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!bitmap.buffer || (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)) {
    return detail::turnGlyph(quadrant_, advance, {});
  }
  scratch_.assign(static_cast<std::size_t>(width) * rows, 0);
  const int pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
  for (int j = 0; j < rows; ++j) {
    // A negative pitch stores the rows bottom first.
    const int stored = bitmap.pitch < 0 ? rows - 1 - j : j;
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(stored) * pitch;
    for (int i = 0; i < width; ++i) {
      const bool ink = mono ? ((row[i >> 3] >> (7 - (i & 7))) & 1) != 0 : row[i] >= 128;
      scratch_[static_cast<std::size_t>(j) * width + i] = ink ? 1 : 0;
    }
  }
  detail::UprightBitmap upright{slot->bitmap_left, slot->bitmap_top, width, rows, scratch_};
  return detail::turnGlyph(quadrant_, advance, upright);
}

}  // namespace gdi
