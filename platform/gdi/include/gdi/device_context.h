// A device context: a target bitmap with a selected pen, brush, font and clip region, and the
// drawing operations. All coordinates are device pixels; nothing is drawn outside the target
// bitmap or the clip region. Selecting an object returns the one it displaced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/brush.h"
#include "gdi/geometry.h"
#include "gdi/palette.h"
#include "gdi/pen.h"
#include "gdi/region.h"
#include "gdi/text_metrics.h"

namespace gdi {

class PackedDib;
namespace raster {
struct LineInk;
}

class Font;

// The selected font as the context hands it back; a realised gdi::Font when text is to use it.
using FontHandle = std::shared_ptr<const void>;

enum BackgroundMode : int { TRANSPARENT = 1, OPAQUE = 2 };

// GetDeviceCaps indexes.
enum DeviceCap : int {
  HORZRES = 8,
  VERTRES = 10,
  BITSPIXEL = 12,
  PLANES = 14,
  NUMCOLORS = 24,
  LOGPIXELSX = 88,
  LOGPIXELSY = 90,
  SIZEPALETTE = 104,
};

// Region kinds, as the clip operations report them.
enum RegionKind : int { kRegionError = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class DeviceContext {
 public:
  // A memory device context; without a bitmap it draws nowhere until one is selected.
  explicit DeviceContext(Bitmap* target = nullptr);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  Bitmap* selectBitmap(Bitmap* bitmap);
  Bitmap* bitmap() const { return target_; }

  Pen selectPen(const Pen& pen);
  const Pen& pen() const { return pen_; }
  Brush selectBrush(const Brush& brush);
  const Brush& brush() const { return brush_; }
  // A realised font that text output and measurement use from now on.
  FontHandle selectFont(std::shared_ptr<const Font> font);
  // Any other object in the font slot (text then uses the system font).
  FontHandle selectFont(FontHandle font);
  FontHandle selectFont(std::nullptr_t) { return selectFont(FontHandle()); }
  const FontHandle& font() const { return font_; }
  // The font text is written in: the selected one, else the system font.
  const Font& textFont() const;

  // Clipping. The clip region is in device pixels; without one the whole bitmap is drawable.
  // selectClipRegion(nullptr) removes clipping. Each returns the kind of the new clip region.
  // The context keeps its region's storage when clipping is removed or replaced, so that a clip
  // set and removed around every data block allocates nothing once warm.
  int selectClipRegion(const Region* region);
  int selectClipRect(const Rect& rect);
  int excludeClipRect(const Rect& rect);
  int intersectClipRect(const Rect& rect);
  // The clip region selected, or null when the context is not clipped.
  const Region* clipRegion() const { return clipped_ ? &clip_ : nullptr; }
  // The rectangles actually drawable: the clip region within the bitmap.
  std::span<const Rect> drawableRects() const {
    refresh();
    return drawable_;
  }

  // A palette selected into a true-colour context changes no pixel; realising it maps nothing.
  Palette selectPalette(const Palette& palette);
  const Palette& palette() const { return palette_; }
  int realizePalette() const { return 0; }

  // HORZRES and VERTRES are the bitmap's size; 32 bits per pixel in one plane, no palette
  // (NUMCOLORS -1, SIZEPALETTE 0); logical pixels per inch as set (96 unless the host says).
  int getDeviceCaps(int index) const;
  void setLogPixels(int perInch) { logPixels_ = perInch > 0 ? perInch : 96; }

  int setBkMode(int mode);  // returns the previous mode; unknown modes are refused (0)
  int bkMode() const { return bkMode_; }
  ColorRef setBkColor(ColorRef color);
  ColorRef bkColor() const { return bkColor_; }
  ColorRef setTextColor(ColorRef color);
  ColorRef textColor() const { return textColor_; }

  // Text, in the text colour, over the background colour when the background mode is opaque,
  // clipped like every other drawing. With TA_UPDATECP in the alignment the text starts at the
  // current position (x and y are ignored) and the position moves on past it.
  std::uint32_t setTextAlign(std::uint32_t align);  // returns the previous alignment
  std::uint32_t textAlign() const { return textAlign_; }
  void textOut(int x, int y, std::string_view utf8);
  TextExtent getTextExtent(std::string_view utf8) const;
  const TextMetrics& getTextMetrics() const;

  // Lines with the selected pen, from the current position; the end pixel is not drawn.
  Point moveTo(int x, int y);  // returns the previous position
  Point currentPosition() const { return position_; }
  void lineTo(int x, int y);
  // A line from (x1, y1) to (x2, y2) with its own dash pattern start; the position is unchanged.
  void line(int x1, int y1, int x2, int y2);
  // The dash pattern of a styled pen runs on from segment to segment.
  void polyline(std::span<const Point> points);
  // Alternate-mode fill with the brush, then the closed outline with the pen.
  void polygon(std::span<const Point> points);
  // Border on columns left and right - 1 and rows top and bottom - 1 with the pen, inside with
  // the brush. With the null pen the brush covers left..right-2 by top..bottom-2.
  void rectangle(int left, int top, int right, int bottom);
  // A rectangle whose corners are quarters of an ellipse of width x height pixels.
  void roundRect(int left, int top, int right, int bottom, int width, int height);
  // Covers left..right-1 by top..bottom-1 with the brush; no pen.
  void fillRect(const Rect& rect, const Brush& brush);
  // Returns the colour set, or kInvalidColor when the point is outside or clipped.
  ColorRef setPixel(int x, int y, ColorRef color);
  ColorRef getPixel(int x, int y) const;
  // One pixel per point, clipped: a trace drawn as points.
  void setPixels(std::span<const Point> points,
                 ColorRef color);  // kInvalidColor outside the bitmap or the clip

  // SRCCOPY of width x height pixels from the source's (srcX, srcY) to (x, y). Pixels whose
  // source lies outside the source bitmap are left unchanged. False without bitmaps.
  bool bitBlt(int x, int y, int width, int height, const DeviceContext& source, int srcX, int srcY);
  // COLORONCOLOR stretch of a DIB's rectangle (srcX, srcY from the DIB's lower-left corner, as
  // the platform counts) onto the destination rectangle. Returns the rows drawn, 0 on failure.
  int stretchDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                    int srcHeight, const PackedDib& dib);

  // For the text layer: fills a horizontal run [x0, x1) of row y, clipped.
  void fillSpan(int y, int x0, int x1, ColorRef color);

 private:
  void updateDrawable() const;
  void clipToBitmapIfUnclipped();
  // A bitmap resized or replaced while selected must not leave a stale drawable area behind.
  void refresh() const {
    if (target_ && (target_->width() != drawnWidth_ || target_->height() != drawnHeight_))
      updateDrawable();
  }
  void drawPolyline(std::span<const Point> points, bool closed, int dashStart);
  void drawSolidPolyline(std::span<const Point> points, std::size_t segments, const Rect& bounds,
                         const raster::LineInk& ink);
  void strokeRoundShape(int left, int top, int right, int bottom, int ew, int eh);

  Bitmap* target_ = nullptr;
  Pen pen_;
  Brush brush_;
  FontHandle font_;
  std::shared_ptr<const Font> textFont_;
  std::uint32_t textAlign_ = 0;
  Palette palette_;
  int logPixels_ = 96;
  Region clip_;  // meaningful only while clipped_
  bool clipped_ = false;
  mutable std::vector<Rect> drawable_;
  mutable int drawnWidth_ = 0;
  mutable int drawnHeight_ = 0;
  int bkMode_ = OPAQUE;
  ColorRef bkColor_ = 0xFFFFFF;
  ColorRef textColor_ = 0;
  Point position_{};
  // Scratch reused from primitive to primitive so that drawing allocates nothing once warm.
  struct Scratch;
  std::unique_ptr<Scratch> scratch_;
};

}  // namespace gdi
