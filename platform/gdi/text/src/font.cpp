#include "gdi/font.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "font_face.h"
#include "utf8.h"

namespace gdi {
namespace {

// Fonts realised for each logical font while somebody holds them, so that selecting the same
// font again reuses its face and its rendered glyphs.
class FontRegistry {
 public:
  std::shared_ptr<const Font> find(const LogFont& logFont) {
    std::erase_if(entries_, [](const Entry& e) { return e.font.expired(); });
    for (const Entry& e : entries_) {
      if (e.logFont == logFont) {
        if (auto font = e.font.lock()) return font;
      }
    }
    return nullptr;
  }
  void add(const LogFont& logFont, const std::shared_ptr<const Font>& font) {
    entries_.push_back({logFont, font});
  }
  std::mutex& mutex() { return mutex_; }

 private:
  struct Entry {
    LogFont logFont;
    std::weak_ptr<const Font> font;
  };
  std::vector<Entry> entries_;
  std::mutex mutex_;
};

FontRegistry& registry() {
  static FontRegistry* instance = new FontRegistry;  // outlives every font released at exit
  return *instance;
}

}  // namespace

std::shared_ptr<const Font> Font::create(const LogFont& logFont) {
  FontRegistry& fonts = registry();
  std::lock_guard lock(fonts.mutex());
  if (auto known = fonts.find(logFont)) return known;
  std::shared_ptr<const Font> font(new Font(logFont, FontFace::open(logFont)));
  fonts.add(logFont, font);
  return font;
}

Font::Font(const LogFont& logFont, std::unique_ptr<FontFace> face)
    : logFont_(logFont), face_(std::move(face)) {}

Font::~Font() = default;

const std::string& Font::familyName() const { return face_->family(); }

int Font::emHeight() const { return face_->metrics().emHeight; }

int Font::escapement() const { return face_->quadrant() * 900; }

const TextMetrics& Font::metrics() const { return face_->metrics().text; }

TextExtent Font::extent(std::string_view utf8) const {
  std::lock_guard lock(face_->mutex());
  int width = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    width += face_->glyph(detail::nextCodePoint(utf8, pos)).advance;
  }
  return {width, metrics().tmHeight};
}

}  // namespace gdi
