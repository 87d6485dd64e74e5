#include "scale_object.h"

namespace kvplotax {
namespace {

std::int32_t& slot(ScaleAxisSettings& a, ScaleField f) {
  switch (f) {
    case ScaleField::Pen:
      return a.pen;
    case ScaleField::Places:
      return a.places;
    case ScaleField::Gap:
      return a.gap;
    case ScaleField::Position:
      return a.position;
    case ScaleField::Orientation:
      return a.orientation;
    case ScaleField::Location:
      return a.location;
    case ScaleField::Path:
      return a.path;
    case ScaleField::Visibility:
      return a.visibility;
    case ScaleField::LabelPen:
      return a.labelPen;
    case ScaleField::LabelPosition:
      return a.labelPosition;
    case ScaleField::LabelOrientation:
      return a.labelOrientation;
    case ScaleField::LabelLocation:
      return a.labelLocation;
    case ScaleField::LabelPath:
      return a.labelPath;
  }
  return a.pen;
}

bool within(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v >= lo && v <= hi; }

}  // namespace

bool ScaleObject::setDimension(std::int32_t d) {
  if (d != 0 && d != 1) return false;
  dimension_ = d;
  return true;
}

std::int32_t ScaleObject::field(ScaleField f) const {
  return slot(const_cast<ScaleAxisSettings&>(current()), f);
}

bool ScaleObject::accepts(ScaleField f, std::int32_t value) {
  switch (f) {
    case ScaleField::Places:
      return within(value, 0, 15);
    case ScaleField::Gap:
      return value >= 0;
    case ScaleField::Position:
    case ScaleField::Orientation:
    case ScaleField::LabelOrientation:
      return within(value, 0, 1);
    case ScaleField::Location:
    case ScaleField::LabelPosition:
    case ScaleField::LabelLocation:
      return within(value, 0, 2);
    case ScaleField::Path:
    case ScaleField::LabelPath:
    case ScaleField::Visibility:
      return within(value, 0, 3);
    case ScaleField::Pen:
    case ScaleField::LabelPen:
      return true;
  }
  return false;
}

bool ScaleObject::setField(ScaleField f, std::int32_t value) {
  std::int32_t& s = slot(current(), f);
  if (s == value) return false;
  s = value;
  return true;
}

bool ScaleObject::setCaption(const std::string& caption) {
  ScaleAxisSettings& a = current();
  if (a.caption == caption) return false;
  a.caption = caption;
  a.descender = caption.find_first_of("gjpqy") != std::string::npos;
  return true;
}

bool ScaleObject::setFactor(float factor) {
  ScaleAxisSettings& a = current();
  if (a.factor == factor) return false;
  a.factor = factor;
  return true;
}

}  // namespace kvplotax
