#include "gdi/system_font.h"

namespace gdi {

const LogFont& systemLogFont() {
  static const LogFont font = [] {
    LogFont f;
    f.height = 16;  // a cell height, as the platform's system font
    f.weight = FW_BOLD;
    f.faceName = "Liberation Sans";
    return f;
  }();
  return font;
}

std::shared_ptr<const Font> systemFont() {
  static const std::shared_ptr<const Font> font = Font::create(systemLogFont());
  return font;
}

}  // namespace gdi
