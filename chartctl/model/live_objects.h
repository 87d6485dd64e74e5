// The objects that draw: viewport objects, channels' trace items and pen drawing objects.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "chart_item.h"
#include "gdi/geometry.h"

namespace kvplotax {

struct ViewportObject {
  gdi::Rect rect;  // client pixels
  bool hidden = true;
  bool storageOn = false;
};

// The drawing pens built from a pen record; made by the drawing layers.
class PenObject {
 public:
  virtual ~PenObject() = default;
};

class CLiveObjects {
 public:
  ViewportObject* viewport(std::int32_t n);
  ViewportObject& ensureViewport(std::int16_t n) { return viewports_[n]; }
  const std::unordered_map<std::int16_t, ViewportObject>& viewports() const { return viewports_; }

  ChartItem* trace(std::int32_t channel);
  bool hasTraceEntry(std::int32_t channel) const;
  // Replaces the channel's item; returns the area the old one had drawn.
  gdi::Rect setTrace(std::int16_t channel, std::unique_ptr<ChartItem> item);
  // Removes the channel's item; returns the area it had drawn (empty when there was none).
  gdi::Rect removeTrace(std::int32_t channel);

  PenObject* pen(std::int32_t n);
  void setPen(std::int16_t n, std::unique_ptr<PenObject> pen);

 private:
  std::unordered_map<std::int16_t, ViewportObject> viewports_;
  std::unordered_map<std::int16_t, std::unique_ptr<ChartItem>> traces_;
  std::unordered_map<std::int16_t, std::unique_ptr<PenObject>> pens_;
};

}  // namespace kvplotax
