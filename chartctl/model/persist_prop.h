// The persistence object: carries the stored object records of a chart through one save or
// load, as a separate object of its own class with its own stream.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "automation/automation.h"
#include "chart_state.h"

namespace kvplotax {

class PersistProp : public automation::Dispatch {
 public:
  static const automation::Guid& classId();

  // The chart state whose records a save writes; lent, not owned.
  void setState(CChartState* state) { state_ = state; }
  CChartState* state() const { return state_; }

  // The persistent-stream operations. A loaded object always asks to be saved again.
  bool isDirty() const { return true; }
  std::vector<std::uint8_t> save() const;
  // Builds fresh records from the stream: a 32-bit stream version (not tested), then the
  // records' block. What cannot be read stays out of the maps.
  void load(std::span<const std::uint8_t> bytes);
  // The records a load built, handed over once.
  CSettingMaps takeLoaded() { return std::move(loaded_); }

  // No automation members of its own.
  automation::DispId idOfName(std::string_view name) const override;
  automation::Variant get(automation::DispId id) override;
  void put(automation::DispId id, const automation::Variant& value) override;
  automation::Variant call(automation::DispId id, std::span<automation::Variant> args) override;
  using automation::Dispatch::call;
  using automation::Dispatch::get;
  using automation::Dispatch::put;

 private:
  CChartState* state_ = nullptr;
  CSettingMaps loaded_;
};

}  // namespace kvplotax
