#include "scale/scale_layout.h"

#include <algorithm>

#include "scale/alignment_code.h"

namespace kvplotax::scale {
namespace {

// The base line across the axis, by location.
int baseAcross(int dimension, int location, const gdi::Rect& r) {
  if (dimension == kHorz) {
    if (location == kFrameLeftTop) return r.top;
    if (location == kFrameRightBottom) return r.bottom;
    return r.top + r.height() / 2;
  }
  if (location == kFrameLeftTop) return r.left;
  if (location == kFrameRightBottom) return r.right;
  return r.left + r.width() / 2;
}

// How far the texts move off the base line, and whether that includes the tick.
int acrossMove(int location, int position, int gap, int tick, bool& includesTick) {
  const bool below = position == kBelowRight;
  switch (location) {
    case kFrameLeftTop:
      includesTick = below;
      return below ? gap + tick : -(gap + 1);
    case kFrameRightBottom:
      includesTick = !below;
      return below ? gap : -(gap + tick);
    default:
      includesTick = true;
      return below ? gap + tick : -(gap + tick);
  }
}

bool intersects(const gdi::Rect& a, const gdi::Rect& b) { return !a.intersect(b).isEmpty(); }

bool within(const gdi::Rect& r, const gdi::Rect& s) {
  return r.left >= s.left && r.right <= s.right && r.top >= s.top && r.bottom <= s.bottom;
}

bool normalFont(int dimension, int orientation) {
  return (dimension == kHorz) == (orientation == 0);
}

void layoutNumbers(int d, const ScaleStyle& s, const ScaleFrame& f, const ScaleFonts& fonts,
                   ScaleLayout& layout) {
  const gdi::Rect& r = f.viewport;
  const int n = f.intervals;
  if (n <= 0 || r.isEmpty()) return;
  const float step = (f.end - f.start) / static_cast<float>(n);
  bool includesTick = false;
  const int across = acrossMove(s.location, s.position, s.gap, f.majorTick, includesTick);
  const int base = baseAcross(d, s.location, r) + across;
  const bool inside = !((s.location == kFrameLeftTop && s.position == kAboveLeft) ||
                        (s.location == kFrameRightBottom && s.position == kBelowRight));
  const int pull = s.gap + f.majorTick;
  TextForm form;
  form.rotated = fonts.isRotated(!normalFont(d, s.orientation));
  form.font = &fonts.pick(form.rotated);
  form.path = s.path;
  layout.texts.resize(static_cast<std::size_t>(n) + 1);
  layout.numbers.resize(static_cast<std::size_t>(n) + 1);
  float value = f.start;
  for (int i = 0; i <= n; ++i, value += step) {
    layout.texts[i] = formatScaleNumber(value, s.places);
    gdi::Point anchor = d == kHorz ? gdi::Point{r.left + i * (r.width() / n), base}
                                   : gdi::Point{base, r.bottom - i * (r.height() / n)};
    const bool first = i == 0;
    const bool last = i == n;
    if (inside) {
      if (d == kHorz) anchor.x += first ? pull : last ? -pull : 0;
      if (d == kVert) anchor.y += first ? -pull : last ? pull : 0;
    } else if (d == kVert) {
      anchor.y += first ? 1 : last ? -1 : 0;
    }
    PlacedText& placed = layout.numbers[i];
    placed.form = form;
    placed.form.code = alignmentCode(d, s.orientation, s.position, s.path,
                                     first  ? 0
                                     : last ? 2
                                            : 1);
    placed.base = placed.anchor = anchor;
    placed.rect = placeText(placed.form, layout.texts[i].view(), placed.anchor);
    placed.shown = true;
    layout.numbersBounds = layout.numbersBounds.unite(placed.rect);
  }
}

void layoutLabel(int d, const ScaleStyle& s, const ScaleFrame& f, const ScaleFonts& fonts,
                 ScaleLayout& layout) {
  const gdi::Rect& r = f.viewport;
  const int position = s.labelPosition == kOnScale ? s.position : s.labelPosition;
  bool includesTick = false;
  const int across = acrossMove(s.location, position, s.gap, f.majorTick, includesTick);
  const int along = includesTick ? s.gap + f.majorTick : 0;
  gdi::Point anchor;
  if (d == kHorz) {
    anchor.y = baseAcross(d, s.location, r) + across;
    switch (s.labelLocation) {
      case kLeftBottom:
        anchor.x = r.left + along;
        break;
      case kCenter:
        anchor.x = r.left + r.width() / 2;
        break;
      default:
        anchor.x = r.right - along;
    }
  } else {
    anchor.x = baseAcross(d, s.location, r) + across;
    switch (s.labelLocation) {
      case kLeftBottom:
        anchor.y = r.bottom - along;
        break;
      case kCenter:
        anchor.y = r.top + r.height() / 2;
        break;
      default:
        anchor.y = r.top + along;
    }
  }
  // Beside numbers on the same side the caption stands clear of them.
  if (s.labelPosition == s.position) {
    const gdi::Rect& nb = layout.numbersBounds;
    const int extent = nb.isEmpty() ? 0 : (d == kHorz ? nb.height() : nb.width());
    const int push = (extent + s.gap) * (position == kBelowRight ? 1 : -1);
    if (d == kHorz) {
      anchor.y += push;
    } else {
      anchor.x += push;
    }
  }
  PlacedText& label = layout.label;
  label.form.rotated = fonts.isRotated(!normalFont(d, s.labelOrientation));
  label.form.font = &fonts.pick(label.form.rotated);
  label.form.path = s.labelPath;
  label.form.captionDescends = descends(s.caption);
  label.form.code = alignmentCode(d, s.labelOrientation, position, s.labelPath, s.labelLocation);
  label.base = label.anchor = anchor;
  label.rect = placeText(label.form, s.caption, label.anchor);
  label.shown = true;
  layout.labelShown = true;
}

void thin(int d, const ScaleFrame& f, ScaleLayout& layout) {
  std::vector<PlacedText>& numbers = layout.numbers;
  const int count = static_cast<int>(numbers.size());
  // Neighbours that overlap go in pairs, the later one and its mirror image, so the scale
  // stays symmetric.
  int previous = 0;
  for (int i = 1; i < count; ++i) {
    if (!numbers[i].shown) continue;
    if (intersects(numbers[i].rect, numbers[previous].rect)) {
      numbers[i].shown = false;
      numbers[count - 1 - i].shown = false;
      while (previous > 0 && !numbers[previous].shown) --previous;
      continue;
    }
    previous = i;
  }
  // The middle number sits where the other axis crosses.
  int shown = 0;
  for (const PlacedText& p : numbers) shown += p.shown;
  const bool crossingAxis =
      d == kHorz ? (f.axesType == 0 || f.axesType == 2) : (f.axesType == 0 || f.axesType == 1);
  if (shown % 2 == 1 && layout.inOwnViewport && crossingAxis) {
    for (int i = 0, seen = 0; i < count; ++i) {
      if (numbers[i].shown && seen++ == shown / 2) {
        numbers[i].shown = false;
        break;
      }
    }
  }
  if (layout.labelShown) {
    for (PlacedText& p : numbers) {
      if (p.shown && intersects(p.rect, layout.label.rect)) p.shown = false;
    }
  }
}

}  // namespace

void layoutScale(int d, const ScaleStyle& style, const ScaleFrame& frame, const ScaleFonts& fonts,
                 ScaleLayout& layout) {
  // Any gap or tick beyond the largest surface puts the texts out of sight all the same; held
  // there, the pixel arithmetic stays far from overflowing.
  constexpr int kFarAway = 1 << 20;
  ScaleStyle s = style;
  s.gap = std::clamp(s.gap, 0, kFarAway);
  ScaleFrame f = frame;
  f.majorTick = std::clamp(f.majorTick, 0, kFarAway);
  layout.texts.clear();
  layout.numbers.clear();
  layout.label = {};
  layout.labelShown = false;
  layout.numbersBounds = {};
  layout.bounds = {};
  layout.inOwnViewport = true;
  if (!fonts.normal) return;
  if (s.visibility == kScaleOnly || s.visibility == kScaleAndLabel) {
    layoutNumbers(d, s, f, fonts, layout);
  }
  if ((s.visibility == kLabelOnly || s.visibility == kScaleAndLabel) && !s.caption.empty()) {
    layoutLabel(d, s, f, fonts, layout);
  }
  layout.bounds = layout.numbersBounds;
  if (layout.labelShown) layout.bounds = layout.bounds.unite(layout.label.rect);
  layout.inOwnViewport = within(layout.bounds, f.viewport);
  thin(d, f, layout);
}

}  // namespace kvplotax::scale
