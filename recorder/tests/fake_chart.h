// A chart control stand-in that records every property write and ChartData call in order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "automation/automation.h"

namespace recorder::testing {

struct PropertyWrite {
  std::string name;
  automation::VarType type;
  double number;  // numeric value (0 for text)
  std::string text;
};

struct ChartDataCallRecord {
  std::int16_t channel;
  std::int32_t points;
  std::vector<float> ys;  // the first `points` elements (up to the array's size)
  std::vector<double> xs;
  std::int32_t yOffset;
  std::int32_t xOffset;
  bool byReferenceArrays;
  std::uint32_t locksAtCall;
};

class FakeChart : public automation::Dispatch {
 public:
  automation::DispId idOfName(std::string_view name) const override;
  automation::Variant get(automation::DispId id) override;
  void put(automation::DispId id, const automation::Variant& value) override;
  automation::Variant call(automation::DispId id, std::span<automation::Variant> args) override;

  std::vector<PropertyWrite> writes;
  std::vector<ChartDataCallRecord> chartData;
  std::vector<std::vector<automation::Variant>> printCalls;
  // Every point handed over, in order, across calls.
  std::vector<float> allYs() const;
  std::vector<double> allXs() const;
  // Names written, in order, from index `from`.
  std::vector<std::string> names(std::size_t from = 0) const;

 private:
  mutable std::map<std::string, automation::DispId> ids_;
  mutable std::vector<std::string> byId_;
};

}  // namespace recorder::testing
