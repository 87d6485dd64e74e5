// The control's stock font as a plain value; the text engine turns it into glyphs.
#pragma once

#include <string>

namespace ocx {

struct Font {
  std::string name = "MS Sans Serif";
  float size = 8.25f;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  short weight() const { return bold ? 700 : 400; }

  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace ocx
