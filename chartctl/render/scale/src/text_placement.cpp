#include "scale/text_placement.h"

#include <algorithm>
#include <array>
#include <string>

#include "gdi/text_align.h"
#include "gdi/text_output.h"
#include "util/utf8.h"

namespace kvplotax::scale {
namespace {

// Each character as its bytes; a byte that starts no well-formed character stands alone, as the
// text layer draws it.
template <typename F>
void forEachCharacter(std::string_view text, F&& f) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    util::nextCodePoint(text, i);
    f(text.substr(start, i - start));
  }
}

bool isDescender(std::string_view ch) {
  return ch.size() == 1 && std::string_view("gjpqy").find(ch[0]) != std::string_view::npos;
}

bool stacked(int path) { return path == kUpPath || path == kDownPath; }

// How far the next stacked character sits from this one.
int stackStep(const gdi::Font& font, std::string_view ch) {
  const int height = font.extent(ch).cy;
  return isDescender(ch) ? height : height - font.metrics().tmDescent;
}

gdi::TextExtent extentOf(const gdi::Font& font, int path, std::string_view text) {
  if (!stacked(path)) return font.extent(text);
  gdi::TextExtent e;
  forEachCharacter(text, [&](std::string_view ch) {
    e.cx = std::max(e.cx, font.extent(ch).cx);
    e.cy += stackStep(font, ch);
  });
  return e;
}

Vertical effectiveVertical(const TextForm& form) {
  const Vertical v = form.code.vertical();
  if (v != Vertical::kBaselineOrBottom) return v;
  return form.captionDescends ? Vertical::kBottom : Vertical::kBaseline;
}

std::uint32_t alignFlags(const TextForm& form) {
  std::uint32_t flags = 0;
  switch (form.code.horizontal()) {
    case Horizontal::kCentre:
      flags |= gdi::TA_CENTER;
      break;
    case Horizontal::kRight:
      flags |= gdi::TA_RIGHT;
      break;
    default:
      flags |= gdi::TA_LEFT;
  }
  switch (effectiveVertical(form)) {
    case Vertical::kBaseline:
      flags |= gdi::TA_BASELINE;
      break;
    case Vertical::kBottom:
      flags |= gdi::TA_BOTTOM;
      break;
    default:
      flags |= gdi::TA_TOP;
  }
  return flags;
}

// The cell of one straight piece of text drawn at reference.
gdi::Rect cellAt(const TextForm& form, gdi::Point reference, gdi::TextExtent e) {
  int along = 0;
  switch (form.code.horizontal()) {
    case Horizontal::kCentre:
      along = -e.cx / 2;
      break;
    case Horizontal::kRight:
      along = -e.cx;
      break;
    default:
      break;
  }
  int across = 0;
  switch (effectiveVertical(form)) {
    case Vertical::kBaseline:
      across = -form.font->metrics().tmAscent;
      break;
    case Vertical::kBottom:
      across = -e.cy;
      break;
    default:
      break;
  }
  if (!form.rotated) {
    const int x = reference.x + along;
    const int y = reference.y + across;
    return {x, y, x + e.cx, y + e.cy};
  }
  // Turned upward: the text runs towards -y and its cell's top faces -x.
  const int x = reference.x + across;
  return {x, reference.y - along - e.cx, x + e.cy, reference.y - along};
}

// Calls f(piece, reference) for each piece of text as the path lays it out.
template <typename F>
void forEachPiece(const TextForm& form, std::string_view text, gdi::Point anchor, F&& f) {
  if (!stacked(form.path)) {
    f(text, anchor);
    return;
  }
  const int sign = form.path == kUpPath ? -1 : 1;
  gdi::Point at = anchor;
  forEachCharacter(text, [&](std::string_view ch) {
    f(ch, at);
    const int step = sign * stackStep(*form.font, ch);
    if (form.rotated) {
      at.x += step;
    } else {
      at.y += step;
    }
  });
}

}  // namespace

bool descends(std::string_view text) {
  return text.find_first_of("gjpqy") != std::string_view::npos;
}

gdi::Rect placeText(const TextForm& form, std::string_view text, gdi::Point& anchor) {
  if (form.font == nullptr || text.empty()) return {};
  const gdi::TextExtent e = extentOf(*form.font, form.path, text);
  int along = 0;
  switch (form.code.alongShift()) {
    case 1:
      along = e.cx / 2;
      break;
    case 2:
      along = -e.cx / 2;
      break;
    case 3:
      along = e.cx;
      break;
    case 4:
      along = -e.cx;
      break;
    default:
      break;
  }
  const int leading = form.font->metrics().tmInternalLeading;
  int across = 0;
  switch (form.code.acrossShift()) {
    case 1:
      across = form.captionDescends ? 0 : leading;
      break;
    case 2:
      across = -leading;
      break;
    case 3:
      across = e.cy / 2;
      break;
    case 4:
      across = -e.cy / 2;
      break;
    case 5:
      across = e.cy;
      break;
    case 6:
      across = -e.cy;
      break;
    default:
      break;
  }
  if (form.rotated) {
    anchor.x += across;
    anchor.y += along;
  } else {
    anchor.x += along;
    anchor.y += across;
  }
  gdi::Rect rect;
  forEachPiece(form, text, anchor, [&](std::string_view piece, gdi::Point at) {
    rect = rect.unite(cellAt(form, at, form.font->extent(piece)));
  });
  return rect;
}

void drawPlacedText(const gdi::PixelBufferView& buffer, std::span<const gdi::Rect> clip,
                    const TextForm& form, std::string_view text, gdi::Point anchor,
                    gdi::ColorRef color) {
  if (form.font == nullptr || text.empty()) return;
  gdi::TextStyle style;
  style.textPixel = color;
  style.opaque = false;
  style.align = alignFlags(form);
  if (form.path == kLeftPath) {
    // Drawn last character first.
    std::array<char, 256> small;
    std::string large;
    char* out = small.data();
    if (text.size() > small.size()) {
      large.resize(text.size());
      out = large.data();
    }
    std::size_t end = text.size();
    forEachCharacter(text, [&](std::string_view ch) {
      end -= ch.size();
      std::copy(ch.begin(), ch.end(), out + end);
    });
    gdi::drawText(buffer, clip, *form.font, anchor, std::string_view(out, text.size()), style);
    return;
  }
  forEachPiece(form, text, anchor, [&](std::string_view piece, gdi::Point at) {
    gdi::drawText(buffer, clip, *form.font, at, piece, style);
  });
}

}  // namespace kvplotax::scale
