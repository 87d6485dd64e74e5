// The chart control loaded the way the programs load it: by class identifier into a form.
#include <gtest/gtest.h>

#include "host/headless.h"

namespace host {
namespace {

const automation::Guid kChartClass =
    *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

TEST(ChartControlInForm, LoadsByClassIdentifierAndAnswersProperties) {
  HeadlessContainer form(500, 400);
  automation::Dispatch& chart = form.create(kChartClass);
  EXPECT_EQ(chart.get("CtlVersion").toI4(), 101);
  EXPECT_EQ(static_cast<std::uintptr_t>(chart.get("hWnd").toI4()), form.windowHandle());
  form.pump();
  EXPECT_EQ(&form.control(), &chart);
}

}  // namespace
}  // namespace host
