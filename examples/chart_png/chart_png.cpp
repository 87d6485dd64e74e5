// Writes the recorder's chart, set up exactly as the recorder sets it up, with one second of a
// sine wave on channel 1, to a PNG file. The control is created by class identifier in a
// headless container and driven only through its automation interface.
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "automation/automation.h"
#include "host/headless.h"
#include "recorder/chart_setup.h"

namespace {

constexpr char kChartClassId[] = "{F9285160-7EB9-11D0-AADB-0000C05F07C7}";
constexpr int kPoints = 9600;  // one point per window unit across the whole width

int sendSine(automation::Dispatch& chart) {
  auto values = automation::SafeArray::create(automation::VT_R4, kPoints);
  auto xs = automation::SafeArray::create(automation::VT_R4, kPoints);
  auto* y = static_cast<float*>(values->data());
  auto* x = static_cast<float*>(xs->data());
  for (int i = 0; i < kPoints; ++i) {
    x[i] = static_cast<float>(i);
    // Eight periods, swinging over the middle of the 4000..32000 window.
    y[i] = 14000.0f + 9000.0f * std::sin(2.0f * std::numbers::pi_v<float> * 8.0f * i / kPoints);
  }
  automation::Variant count(std::int32_t{kPoints});
  std::vector<automation::Variant> args{automation::Variant(std::int16_t{1}),
                                        automation::Variant::ref(&count),
                                        automation::Variant::arrayRef(automation::VT_R4, &values),
                                        automation::Variant(std::int32_t{0}),
                                        automation::Variant::arrayRef(automation::VT_R4, &xs),
                                        automation::Variant(std::int32_t{0})};
  return chart.call("ChartData", args).toI4();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: chart_png OUT.png\n");
    return 2;
  }
  try {
    host::HeadlessContainer form(601, 257);
    automation::Dispatch& chart = form.create(*automation::Guid::parse(kChartClassId));
    form.pump();
    recorder::setupPens(chart);
    recorder::setupGeneralAppearance(chart);
    recorder::setupViewport(chart);
    recorder::setupWindowScaleLabel(chart, 7.0f, 28000.0f / 32000.0f);
    recorder::setupChannel(chart, 0);
    sendSine(chart);
    form.pump();
    if (!form.writeScreen(argv[1])) {
      std::fprintf(stderr, "chart_png: cannot write %s\n", argv[1]);
      return 1;
    }
  } catch (const automation::AutomationError& e) {
    std::fprintf(stderr, "chart_png: error %u: %s\n", e.number(), e.what());
    return 1;
  }
  return 0;
}
