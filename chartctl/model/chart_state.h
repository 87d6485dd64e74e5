// The control's state record: control-wide settings, the current selections with their staged
// values, the stored object settings, the live drawing objects and the layout.
#pragma once

#include <cstdint>

#include "control_settings.h"
#include "gdi/geometry.h"
#include "live_objects.h"
#include "records.h"
#include "render/layout/plot_layout.h"
#include "setting_maps.h"

namespace kvplotax {

struct Selections {
  std::int32_t pen = 0;
  std::int32_t viewport = 0;
  std::int32_t window = 0;
  std::int32_t xform = 0;
  std::int32_t channel = 0;
  std::int32_t dataDimension = 0;
  std::int32_t scale = 0;
};

// The copy of the selected object's settings that property reads return and writes change.
struct StagedValues {
  PenSettings pen;
  ViewportSettings viewport;
  WindowObject window;
  float wndX = 0.0f;
  float wndY = 0.0f;
  XformSettings xform;
  ChannelSettings channel;
  ChnDataSettings data;
};

struct DrawingState {
  bool dirty = false;
};

class CChartState {
 public:
  CChartState();

  ControlSettings& settings() { return settings_; }
  const ControlSettings& settings() const { return settings_; }
  const Selections& selection() const { return selection_; }
  StagedValues& staged() { return staged_; }
  const StagedValues& staged() const { return staged_; }
  CSettingMaps& maps() { return maps_; }
  CLiveObjects& live() { return live_; }
  DrawingState& drawing() { return drawing_; }
  const layout::PlotGeometry& geometry() const { return geometry_; }
  const gdi::Rect& clientRect() const { return client_; }
  ScaleObject* selectedScale() const { return selectedScale_; }

  // Writing a selector commits the staged values of the current selection first; a positive
  // number then selects (creating on first use), a negative one deletes, 0 only commits.
  void selectPen(std::int16_t n);
  void selectWindow(std::int16_t n);
  void selectXform(std::int16_t n);
  // Returns the area the deleted channel's trace had drawn.
  gdi::Rect selectChannel(std::int16_t n);
  // 1..viewports selects, 0 does nothing; false for any other number.
  bool selectViewport(std::int16_t n, int logPixelsX, int logPixelsY);
  // False for dimensions other than 0 and 1; with no channel selected nothing changes.
  bool selectDataDimension(std::int32_t d);
  void selectScale(std::int16_t n);
  void clearScaleSelection();

  void commitPen();
  void commitWindow();
  void commitXform();
  void commitChannel();
  void commitData();
  void commitViewport();

  // Group tests: correct what is out of range and report whether everything was in range.
  bool testBezel();
  bool testGraticule();

  // 1..MajorDivVert sets the count and creates the missing viewport objects; false otherwise.
  bool setViewportCount(std::int32_t n);

  // Recomputes the plot area and the viewport rectangles for a client rectangle.
  void relayout(const gdi::Rect& client);
  int bezelThickness() const;
  layout::GraticuleCounts counts() const;

 private:
  ControlSettings settings_;
  Selections selection_;
  StagedValues staged_;
  CSettingMaps maps_;
  CLiveObjects live_;
  DrawingState drawing_;
  layout::PlotGeometry geometry_;
  gdi::Rect client_;
  ScaleObject* selectedScale_ = nullptr;
};

}  // namespace kvplotax
