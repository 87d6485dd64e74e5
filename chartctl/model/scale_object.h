// A numbered scale: its window and viewport, and the settings of its two axes. Scales have no
// staged copy; properties act on the record directly and refuse out-of-range values.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "scale/scale_info.h"

namespace kvplotax {

// The fields the saved scale record keeps per axis, plus the factor, caption and label settings
// the record keeps once.
struct ScaleAxisSettings : scale::ScaleInfoAxis {
  float factor = 1.0f;
  std::string caption;
  bool descender = false;  // the caption has a letter reaching below the baseline
  std::int32_t labelPen = 1;
  std::int32_t labelPosition = 0;
  std::int32_t labelOrientation = 0;
  std::int32_t labelLocation = 2;
  std::int32_t labelPath = 0;
};

// Which per-axis value a property addresses.
enum class ScaleField {
  Pen,
  Places,
  Gap,
  Position,
  Orientation,
  Location,
  Path,
  Visibility,
  LabelPen,
  LabelPosition,
  LabelOrientation,
  LabelLocation,
  LabelPath
};

class ScaleObject {
 public:
  explicit ScaleObject(std::int16_t number) : number_(number) {}

  std::int16_t number() const { return number_; }
  std::int32_t action = 0;
  std::int32_t window = 1;
  std::int32_t viewport = 1;

  std::int32_t dimension() const { return dimension_; }
  // False for anything but 0 or 1.
  bool setDimension(std::int32_t d);

  ScaleAxisSettings& axis(int d) { return axes_[d == 1 ? 1 : 0]; }
  const ScaleAxisSettings& axis(int d) const { return axes_[d == 1 ? 1 : 0]; }
  ScaleAxisSettings& current() { return axis(dimension_); }
  const ScaleAxisSettings& current() const { return axis(dimension_); }

  std::int32_t field(ScaleField f) const;
  // Range test of a per-axis value; the window and viewport conditions of a visibility are the
  // caller's.
  static bool accepts(ScaleField f, std::int32_t value);
  // Stores a value already tested; false when it equals the stored one.
  bool setField(ScaleField f, std::int32_t value);
  bool setCaption(const std::string& caption);
  // False for factors that are not above 0.
  static bool acceptsFactor(float factor) { return factor > 0.0f; }
  bool setFactor(float factor);

 private:
  std::int16_t number_;
  std::int32_t dimension_ = 0;
  std::array<ScaleAxisSettings, 2> axes_{};
};

}  // namespace kvplotax
