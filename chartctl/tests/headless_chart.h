// A chart control on a headless form, driven by name as a form drives it, and what its screen
// shows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "automation/automation.h"
#include "host/headless.h"

namespace kvplotax::testing {

inline const automation::Guid kChartClsid =
    *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

inline automation::Variant i2(int v) { return automation::Variant(static_cast<std::int16_t>(v)); }
inline automation::Variant i4(std::int64_t v) {
  return automation::Variant(static_cast<std::int32_t>(v));
}
inline automation::Variant floatArray(const std::vector<float>& values) {
  auto a = automation::SafeArray::create(automation::VT_R4, values.size());
  std::copy(values.begin(), values.end(), static_cast<float*>(a->data()));
  return automation::Variant::array(automation::VT_R4, a);
}

// Every pixel of the screen once the form has painted what is pending.
inline std::vector<std::uint32_t> screenPixels(host::HeadlessContainer& form) {
  form.pump();
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(form.width()) * form.height());
  for (int y = 0; y < form.height(); ++y)
    for (int x = 0; x < form.width(); ++x) pixels.push_back(form.pixel(x, y));
  return pixels;
}

inline int differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  // A screen of another size differs in every pixel the other one lacks.
  int n = static_cast<int>(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}

}  // namespace kvplotax::testing
