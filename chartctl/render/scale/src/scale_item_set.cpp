#include "scale/scale_item_set.h"

namespace kvplotax::scale {

ScaleItemSet::~ScaleItemSet() { drop(); }

ScaleItem* ScaleItemSet::item(std::int16_t number, int dimension) const {
  const auto it = items_.find({number, dimension});
  return it == items_.end() ? nullptr : it->second.item.get();
}

void ScaleItemSet::detach(ScaleHost& host, Entry& entry) {
  if (!entry.item) return;
  const gdi::Rect area = entry.item->drawnRect();
  erase(host, entry);
  if (entry.viewport) entry.viewport->removeItem(entry.item.get());
  host.scaleAreaChanged(area);
}

void ScaleItemSet::erase(ScaleHost& host, Entry& entry) {
  const gdi::Rect area = entry.item->drawnRect();
  if (entry.viewport) {
    // The viewport has the item erase itself and redraws what lay beneath at its next flush.
    entry.viewport->itemErased(entry.item.get(), area);
  } else if (output::DrawSurface* surface = host.scaleSurface()) {
    entry.item->erase(*surface, area);
  }
}

void ScaleItemSet::draw(ScaleHost& host, Entry& entry) {
  const gdi::Rect area = entry.item->drawnRect();
  if (entry.viewport) {
    // Drawn now, or after the pending redraw of an erased area so that it is not covered.
    entry.viewport->itemChanged(entry.item.get(), 0, 0, area);
  } else if (output::DrawSurface* surface = host.scaleSurface()) {
    entry.item->redraw(*surface, area);
  }
  host.scaleAreaChanged(area);
}

void ScaleItemSet::remove(ScaleHost& host, std::int16_t number, int dimension) {
  const auto it = items_.find({number, dimension});
  if (it == items_.end()) return;
  detach(host, it->second);
  items_.erase(it);
}

void ScaleItemSet::clear(ScaleHost& host) {
  for (auto& [key, entry] : items_) detach(host, entry);
  items_.clear();
}

void ScaleItemSet::drop() {
  for (auto& [key, entry] : items_) {
    if (entry.viewport && entry.item && entry.viewport->contains(entry.item.get())) {
      // Without a surface nothing is drawn: the viewport only forgets the item.
      entry.viewport->removeItem(entry.item.get());
    }
  }
  items_.clear();
}

std::unique_ptr<ScaleItem> makeScaleItem(ScaleHost& host, const ScaleRequest& r,
                                         const ScaleFonts& fonts,
                                         output::ViewportObject*& viewport) {
  viewport = nullptr;
  if (r.style.visibility == kHidden || !fonts.normal) return nullptr;
  // A pen that is named must exist; one pen given alone serves numbers and caption.
  ScaleColors colors;
  const int pen = r.pen != 0 ? r.pen : r.labelPen;
  const int labelPen = r.labelPen != 0 ? r.labelPen : r.pen;
  if (pen == 0) return nullptr;
  if (!host.scalePenColors(pen, colors.number, colors.numberIntense)) return nullptr;
  if (!host.scalePenColors(labelPen, colors.label, colors.labelIntense)) return nullptr;
  colors.back = host.scaleBackColor();
  colors.storage = host.scaleStorageColor();
  float min = 0.0f;
  float extent = 0.0f;
  if (!host.scaleWindowRange(r.window, r.dimension, min, extent)) return nullptr;
  const ScaleGraticule g = host.scaleGraticule();
  ScaleFrame frame;
  frame.viewport = host.scaleViewportRect(r.viewport);
  frame.intervals = scaleIntervals(r.dimension, g.majorDivHorz, g.majorDivVert, g.viewports);
  frame.majorTick = g.majorTick;
  frame.axesType = g.axesType;
  scaleRange(min, extent, r.factor, frame.start, frame.end);

  auto item = std::make_unique<ScaleItem>(r.number, r.dimension);
  item->setColors(colors);
  item->setStorage(host.scaleStorageOn(r.viewport));
  item->layout(r.style, frame, fonts);
  // Bounds that leave the scale's viewport put the item into the whole drawable area's.
  viewport = host.scaleViewport(item->inOwnViewport() ? r.viewport : 0);
  return item;
}

void ScaleItemSet::build(ScaleHost& host, const ScaleRequest& r, const ScaleFonts& fonts) {
  remove(host, r.number, r.dimension);
  Entry entry;
  entry.item = makeScaleItem(host, r, fonts, entry.viewport);
  if (!entry.item) return;
  if (entry.viewport) entry.viewport->addItem(entry.item.get());
  Entry& placed = items_.emplace(Key{r.number, r.dimension}, std::move(entry)).first->second;
  draw(host, placed);
}

void ScaleItemSet::recolour(ScaleHost& host, Entry& entry, bool intense) {
  erase(host, entry);
  entry.item->setIntense(intense);
  draw(host, entry);
}

ScaleActionResult ScaleItemSet::apply(ScaleHost& host, const ScaleRequest& r, int action,
                                      const ScaleFonts& fonts) {
  if (action < kScaleNoAction || action > kScaleChangeWindow) return ScaleActionResult::kIgnored;
  if (action == kScaleNoAction) return ScaleActionResult::kDone;
  const auto it = items_.find({r.number, r.dimension});
  if (action != kScaleInitialize && it == items_.end()) {
    return ScaleActionResult::kNotInitialized;
  }
  switch (action) {
    case kScaleErase:
      erase(host, it->second);
      host.scaleAreaChanged(it->second.item->drawnRect());
      break;
    case kScaleIntenseColor:
      recolour(host, it->second, true);
      break;
    case kScaleNormalColor:
      recolour(host, it->second, false);
      break;
    default:
      build(host, r, fonts);
  }
  return ScaleActionResult::kDone;
}

}  // namespace kvplotax::scale
