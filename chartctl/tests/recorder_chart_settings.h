// The recorder's chart as the recorder writes it through the automation interface: 601 x 257,
// white, no bevels, 12 x 7 divisions, window 9600 x 28000 from y 4000, and vertical scale 1 on
// the right of the frame with one decimal place. Scale commands and channels are left to the test.
#pragma once

#include <cstdint>
#include <span>
#include <utility>

#include "automation/automation.h"

namespace kvplotax::testing {

using PropertyWrite = std::pair<const char*, automation::Variant>;

inline std::span<const PropertyWrite> recorderChartSettings() {
  using automation::Variant;
  const auto i2 = [](int v) { return Variant(static_cast<std::int16_t>(v)); };
  const auto i4 = [](std::int32_t v) { return Variant(v); };
  static const PropertyWrite kWrites[] = {
      {"Pen_Select", i2(4)},
      {"PenColor", i4(0)},
      {"PenWidth", i2(1)},
      {"PenStyle", i2(0)},
      {"BevelInner", i2(0)},
      {"BevelOuter", i2(0)},
      {"BackColor", i4(0xFFFFFF)},
      {"GridColor", i4(0xC0C0C0)},
      {"FrameColor", i4(0)},
      {"AxesColor", i4(0)},
      {"AxesType", i2(2)},
      {"MajorDivHorz", i2(12)},
      {"MarginLeft", i2(20)},
      {"MarginTop", i2(5)},
      {"MarginRight", i2(25)},
      {"MarginBottom", i2(32)},
      {"ColorDepth", i2(1)},
      {"Viewports", i2(1)},
      {"ViewportStorageColor", i4(0xFF00)},
      {"Wnd_Select", i2(1)},
      {"WndXmin", Variant(0.0f)},
      {"WndWidth", Variant(9600.0f)},
      {"MajorDivVert", Variant(7.0f)},
      {"WndHeight", Variant(28000.0f)},
      {"WndYmin", Variant(4000.0f)},
      {"Scale_Select", i2(1)},
      {"ScaleViewport", i2(1)},
      {"ScaleWindow", i2(1)},
      {"ScaleDimension", i2(1)},
      {"ScalePen", i2(4)},
      {"ScaleLocation", i2(2)},
      {"ScalePosition", i2(0)},
      {"ScaleOrientation", i2(1)},
      {"ScalePath", i2(0)},
      {"ScaleGap", i2(1)},
      {"ScaleFactor", Variant(0.00025)},
      {"ScalePlaces", i2(1)},
      {"LabelCaption", Variant("")},
      {"LabelPen", i2(4)},
      {"FontName", Variant("Arial")},
      {"FontSize", Variant(8.0f)},
      {"ScaleVisibility", i2(3)},
  };
  return kWrites;
}

}  // namespace kvplotax::testing
