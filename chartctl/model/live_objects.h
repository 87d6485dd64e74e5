// The objects that draw: viewport objects, channels' trace items and pen drawing objects.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "gdi/geometry.h"
#include "output/chart_item.h"
#include "output/viewport_object.h"
#include "trace/pen_drawing.h"

namespace kvplotax {

using output::ChartItem;
using output::ViewportObject;

class CLiveObjects {
 public:
  CLiveObjects() = default;
  CLiveObjects(const CLiveObjects&) = delete;
  CLiveObjects& operator=(const CLiveObjects&) = delete;
  ~CLiveObjects();

  ViewportObject* viewport(std::int32_t n);
  ViewportObject& ensureViewport(std::int16_t n) { return viewports_[n]; }
  std::unordered_map<std::int16_t, ViewportObject>& viewports() { return viewports_; }

  ChartItem* trace(std::int32_t channel);
  bool hasTraceEntry(std::int32_t channel) const;
  // Replaces the channel's item; returns the area the old one had drawn.
  gdi::Rect setTrace(std::int16_t channel, std::unique_ptr<ChartItem> item);
  // Takes the channel's item out of every viewport and destroys it; returns the area it had
  // drawn (empty when there was none).
  gdi::Rect removeTrace(std::int32_t channel);
  template <class Visit>
  void forEachTrace(Visit visit) {
    for (auto& [channel, item] : traces_)
      if (item) visit(*item);
  }

  // The drawing pens of a pen record, made when a channel using it is initialised; they stay
  // where they are while items point at them.
  trace::PenDrawing* pen(std::int32_t n);
  void setPen(std::int16_t n, std::unique_ptr<trace::PenDrawing> pen);
  template <class Visit>
  void forEachPen(Visit visit) {
    for (auto& [number, pen] : pens_)
      if (pen) visit(*pen);
  }

 private:
  // Pens and viewports outlive the items that point at them.
  std::unordered_map<std::int16_t, std::unique_ptr<trace::PenDrawing>> pens_;
  std::unordered_map<std::int16_t, ViewportObject> viewports_;
  std::unordered_map<std::int16_t, std::unique_ptr<ChartItem>> traces_;
};

}  // namespace kvplotax
