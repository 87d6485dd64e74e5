// Erasing in the control: what a trace or a scale covered comes back exactly as it was,
// background and graticule alike.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "automation/automation.h"
#include "host/headless.h"

namespace kvplotax {
namespace {

using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }

std::vector<std::uint32_t> screen(const host::HeadlessContainer& form, int w, int h) {
  std::vector<std::uint32_t> pixels;
  pixels.reserve(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(form.pixel(x, y));
  return pixels;
}

TEST(ChartErase, AnErasedTraceLeavesTheChartAsItWas) {
  host::HeadlessContainer form(500, 400);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  const std::vector<std::uint32_t> before = screen(form, 500, 400);
  chart.put("Chn_Select", i2(1));
  chart.put("ChnDspStyle", i2(1));  // lines
  chart.put("ChnDspAction", i2(1));
  auto values = automation::SafeArray::create(automation::VT_R4, 400);
  auto* y = static_cast<float*>(values->data());
  for (int i = 0; i < 400; ++i) y[i] = 5.0f + 4.0f * std::sin(i * 0.05f);
  auto xs = automation::SafeArray::create(automation::VT_R4, 400);
  Variant count(std::int32_t{400});
  std::vector<Variant> args{i2(1),
                            Variant::ref(&count),
                            Variant::arrayRef(automation::VT_R4, &values),
                            Variant(std::int32_t{0}),
                            Variant::arrayRef(automation::VT_R4, &xs),
                            Variant(std::int32_t{0})};
  chart.call("ChartData", args);
  form.pump();
  ASSERT_NE(screen(form, 500, 400), before) << "the trace was not drawn";
  chart.put("ChnDspAction", i2(2));
  form.pump();
  const std::vector<std::uint32_t> after = screen(form, 500, 400);
  int differing = 0;
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    if (differing++ < 5) {
      ADD_FAILURE() << "pixel (" << i % 500 << ", " << i / 500 << ") is " << std::hex << after[i]
                    << ", was " << before[i];
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace kvplotax
