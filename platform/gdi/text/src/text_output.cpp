#include "gdi/text_output.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "font_face.h"
#include "quadrant.h"
#include "utf8.h"

namespace gdi {
namespace {

// Far beyond any device, small enough that no placement arithmetic overflows.
constexpr int kCoordinateLimit = 1 << 28;

int saturate(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, -kCoordinateLimit, kCoordinateLimit));
}

class ClippedBuffer {
 public:
  ClippedBuffer(const PixelBufferView& buffer, std::span<const Rect> clip)
      : buffer_(buffer), clip_(clip) {}

  void fill(const Rect& area, std::uint32_t pixel) const {
    for (const Rect& c : clip_) {
      const Rect r = area.intersect(c).intersect(buffer_.bounds());
      for (int y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = rowAt(y);
        std::fill(row + r.left, row + r.right, pixel);
      }
    }
  }

  void stamp(const detail::Glyph& glyph, Point pen, std::uint32_t pixel) const {
    const Rect box = glyph.box.offset(pen.x, pen.y);
    const int boxWidth = box.width();
    for (const Rect& c : clip_) {
      const Rect r = box.intersect(c).intersect(buffer_.bounds());
      for (int y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = rowAt(y);
        const std::uint8_t* ink =
            glyph.mask.data() + static_cast<std::size_t>(y - box.top) * boxWidth;
        for (int x = r.left; x < r.right; ++x) {
          if (ink[x - box.left]) row[x] = pixel;
        }
      }
    }
  }

 private:
  std::uint32_t* rowAt(int y) const {
    return buffer_.pixels + static_cast<std::ptrdiff_t>(y) * buffer_.stride;
  }

  const PixelBufferView& buffer_;
  std::span<const Rect> clip_;
};

// The text-space offset from the reference point to the start of the baseline.
int alongOffset(std::uint32_t align, int advance) {
  switch (align & kTextAlignHorizontalMask) {
    case TA_CENTER:
      return -(advance / 2);
    case TA_RIGHT:
      return -advance;
    default:
      return 0;
  }
}

int acrossOffset(std::uint32_t align, const TextMetrics& tm) {
  switch (align & kTextAlignVerticalMask) {
    case TA_BASELINE:
      return 0;
    case TA_BOTTOM:
      return -tm.tmDescent;
    default:
      return tm.tmAscent;
  }
}

}  // namespace

Point drawText(const PixelBufferView& buffer, std::span<const Rect> clip, const Font& font,
               Point reference, std::string_view utf8, const TextStyle& style) {
  FontFace& face = font.face();
  std::lock_guard lock(face.mutex());
  const detail::FaceMetrics& m = face.metrics();
  const int q = face.quadrant();

  int advance = 0;
  for (std::size_t pos = 0; pos < utf8.size();) {
    advance =
        saturate(std::int64_t{advance} + face.glyph(detail::nextCodePoint(utf8, pos)).advance);
  }
  const Point ref{saturate(reference.x), saturate(reference.y)};
  const int du = alongOffset(style.align, advance);
  const Point shift = detail::turnVector(q, du, acrossOffset(style.align, m.text));
  const Point origin{ref.x + shift.x, ref.y + shift.y};

  if (buffer.pixels && buffer.width > 0 && buffer.height > 0 && buffer.stride >= buffer.width &&
      !utf8.empty()) {
    const ClippedBuffer target(buffer, clip);
    if (style.opaque) {
      target.fill(detail::turnRect(q, origin, 0, -m.text.tmAscent, advance, m.text.tmDescent),
                  style.backgroundPixel);
    }
    int pen = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
      const detail::Glyph& glyph = face.glyph(detail::nextCodePoint(utf8, pos));
      const Point step = detail::turnVector(q, pen, 0);
      target.stamp(glyph, {origin.x + step.x, origin.y + step.y}, style.textPixel);
      pen = saturate(std::int64_t{pen} + glyph.advance);
    }
    const auto strokeLine = [&](const detail::TextLine& line) {
      target.fill(detail::turnRect(q, origin, 0, line.top, advance, line.top + line.thickness),
                  style.textPixel);
    };
    if (font.logFont().underline) strokeLine(m.underline);
    if (font.logFont().strikeOut) strokeLine(m.strikeOut);
  }

  if (!(style.align & TA_UPDATECP)) return reference;
  // Left-aligned text moves the position past its end, right-aligned text back to its start,
  // so that successive outputs continue each other; centred text leaves it.
  const std::uint32_t horizontal = style.align & kTextAlignHorizontalMask;
  if (horizontal == TA_CENTER) return reference;
  const Point move = detail::turnVector(q, horizontal == TA_RIGHT ? -advance : advance, 0);
  return {saturate(std::int64_t{reference.x} + move.x),
          saturate(std::int64_t{reference.y} + move.y)};
}

Point drawText(const PixelBufferView& buffer, const Rect& clip, const Font& font, Point reference,
               std::string_view utf8, const TextStyle& style) {
  return drawText(buffer, std::span<const Rect>(&clip, 1), font, reference, utf8, style);
}

}  // namespace gdi
