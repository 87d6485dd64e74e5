// Everything a channel's trace item is built from, as plain values gathered by the object
// model at initialisation.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "gdi/geometry.h"
#include "render/converter_params.h"

namespace kvplotax::output {
class ViewportObject;
}

namespace kvplotax::trace {

class PenDrawing;

enum DisplayMode : std::int32_t { kModeCrt = 0, kModeScrollRight = 1, kModeScaleItem = 101 };
enum DisplayStyle : std::int32_t { kStylePoints = 0, kStyleLines = 1, kStyleArea = 2 };

// One dimension's data description (ChnDataType, ChnDataShape, ChnDataOffset, ChnDataIncr) and
// its transform, absent when ChnDataXform is 0.
struct DataDescription {
  std::int32_t type = 6;
  std::int32_t shape = 0;
  std::int32_t offset = 0;
  std::int32_t increment = 1;
  std::optional<SampleTransform> transform;
};

// A window's world rectangle.
struct WorldRect {
  float xmin = 0.0f;
  float ymin = 0.0f;
  float width = 1.0f;
  float height = 1.0f;
};

// Asks the client for a channel's samples again (the control's Refresh event): the channel and
// the number of points it held. The client answers, or not, through ChartData before returning.
using RefreshRequest = std::function<void(std::int16_t channel, std::int32_t samples)>;

struct TraceSetup {
  std::int16_t channel = 0;
  std::int32_t mode = kModeCrt;
  std::int32_t style = kStylePoints;
  std::int32_t bufferLength = 0;
  const PenDrawing* pen = nullptr;  // outlives the item (the model keeps pens until reset)
  output::ViewportObject* viewport = nullptr;
  gdi::Rect viewportRect;
  std::optional<WorldRect> window;
  std::int32_t windowNumber = 0;  // ChnDspWindow, so that a rescale of that window finds it
  float offsetX = 0.0f;           // ChnDspOffsetX, ChnDspOffsetY in world units
  float offsetY = 0.0f;
  DataDescription y;
  DataDescription x;  // ignored when the vertical shape is a pair
  bool storageOn = false;
  RefreshRequest refresh;  // may be empty: the held points are then always moved arithmetically
};

}  // namespace kvplotax::trace
