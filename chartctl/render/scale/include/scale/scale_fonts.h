// The scale texts' two fonts: the control's font and its twin turned by 90 degrees so that text
// runs upward.
#pragma once

#include <memory>

#include "gdi/font.h"
#include "gdi/log_font.h"

namespace kvplotax::scale {

struct ScaleFonts {
  std::shared_ptr<const gdi::Font> normal;
  std::shared_ptr<const gdi::Font> rotated;

  // Both built from the control's logical font; its escapement is replaced.
  static ScaleFonts fromLogFont(const gdi::LogFont& font);
  // A missing rotated font falls back to the normal one.
  const gdi::Font& pick(bool rotated) const {
    return rotated && this->rotated ? *this->rotated : *normal;
  }
  bool isRotated(bool wanted) const { return wanted && rotated != nullptr; }
};

}  // namespace kvplotax::scale
