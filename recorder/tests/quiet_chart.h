// A chart that answers ChartData with the point count and ignores every write, allocating
// nothing: it measures and checks the form's own block handling without a real control.
#pragma once

#include <span>
#include <string_view>

#include "automation/automation.h"

namespace recorder::testing {

class QuietChart : public automation::Dispatch {
 public:
  automation::DispId idOfName(std::string_view name) const override {
    return name == "ChartData" ? 0x70 : 1;
  }
  automation::Variant get(automation::DispId) override { return {}; }
  void put(automation::DispId, const automation::Variant&) override {}
  automation::Variant call(automation::DispId, std::span<automation::Variant> args) override {
    return automation::Variant(args[1].toI4());
  }
};

}  // namespace recorder::testing
