// A day plot keeps each pixel column's lowest and highest point: a one-point spike or dip among
// thousands must survive the reduction, in the order the points came.
#include <gtest/gtest.h>

#include <vector>

#include "recorder/day_plot_data.h"

namespace recorder::testing {
namespace {

std::vector<float> levels(int fivesBefore, std::vector<float> middle, int fivesAfter) {
  std::vector<float> v(fivesBefore, 5);
  v.insert(v.end(), middle.begin(), middle.end());
  v.insert(v.end(), fivesAfter, 5);
  return v;
}

TEST(DayPlotColumns, KeepEachColumnsExtremesInTheirOrder) {
  struct Case {
    const char* name;
    int at;           // the one point that stands out, among 10,000 at level 5, one a second
    float level;      // its level
    double from, to;  // the span drawn in ten columns
    std::vector<float> kept;  // the levels kept, in order
  };
  const Case cases[] = {
      {"a spike opening a column", 5000, 900, 0, 10000, levels(5, {900, 5}, 4)},
      {"a dip closing a column", 4999, -900, 0, 10000, levels(5, {-900}, 5)},
      {"a spike after the span", 9500, 900, 0, 5000, levels(10, {}, 0)},
      {"a spike in the last point", 9999, 900, 5000, 10000, levels(10, {900}, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<double> time(10000);
    std::vector<float> value(10000, 5);
    for (int i = 0; i < 10000; ++i) time[i] = i;
    value[c.at] = c.level;
    const ColumnPoints kept = reduceToColumns(time, value, c.from, c.to, 10);
    EXPECT_EQ(kept.value, c.kept);
    for (std::size_t i = 1; i < kept.time.size(); ++i) EXPECT_LT(kept.time[i - 1], kept.time[i]);
  }
}

}  // namespace
}  // namespace recorder::testing
