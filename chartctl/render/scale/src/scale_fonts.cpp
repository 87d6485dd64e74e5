#include "scale/scale_fonts.h"

namespace kvplotax::scale {

ScaleFonts ScaleFonts::fromLogFont(const gdi::LogFont& font) {
  gdi::LogFont upright = font;
  upright.escapement = upright.orientation = 0;
  gdi::LogFont turned = font;
  turned.escapement = turned.orientation = 900;
  return {gdi::Font::create(upright), gdi::Font::create(turned)};
}

}  // namespace kvplotax::scale
