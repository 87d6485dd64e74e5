#include "live_objects.h"

namespace kvplotax {
namespace {

bool isKey(std::int32_t n) { return n >= -32768 && n <= 32767; }

}  // namespace

CLiveObjects::~CLiveObjects() {
  // Viewports keep pointers to the items: forget them before the items go.
  for (auto& [channel, item] : traces_) {
    for (auto& [number, viewport] : viewports_) {
      if (item && viewport.contains(item.get())) viewport.removeItem(item.get());
    }
  }
  traces_.clear();
}

ViewportObject* CLiveObjects::viewport(std::int32_t n) {
  if (!isKey(n)) return nullptr;
  auto it = viewports_.find(static_cast<std::int16_t>(n));
  return it == viewports_.end() ? nullptr : &it->second;
}

ChartItem* CLiveObjects::trace(std::int32_t channel) {
  if (!isKey(channel)) return nullptr;
  auto it = traces_.find(static_cast<std::int16_t>(channel));
  return it == traces_.end() ? nullptr : it->second.get();
}

bool CLiveObjects::hasTraceEntry(std::int32_t channel) const {
  return isKey(channel) && traces_.count(static_cast<std::int16_t>(channel)) != 0;
}

gdi::Rect CLiveObjects::setTrace(std::int16_t channel, std::unique_ptr<ChartItem> item) {
  gdi::Rect old = removeTrace(channel);
  traces_[channel] = std::move(item);
  return old;
}

gdi::Rect CLiveObjects::removeTrace(std::int32_t channel) {
  if (!isKey(channel)) return {};
  auto it = traces_.find(static_cast<std::int16_t>(channel));
  if (it == traces_.end()) return {};
  ChartItem* item = it->second.get();
  const gdi::Rect drawn = item ? item->drawnRect() : gdi::Rect{};
  if (item) {
    for (auto& [number, viewport] : viewports_) {
      if (viewport.contains(item)) viewport.removeItem(item);
    }
  }
  traces_.erase(it);
  return drawn;
}

trace::PenDrawing* CLiveObjects::pen(std::int32_t n) {
  if (!isKey(n)) return nullptr;
  auto it = pens_.find(static_cast<std::int16_t>(n));
  return it == pens_.end() ? nullptr : it->second.get();
}

void CLiveObjects::setPen(std::int16_t n, std::unique_ptr<trace::PenDrawing> pen) {
  pens_[n] = std::move(pen);
}

}  // namespace kvplotax
