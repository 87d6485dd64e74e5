// The form's chart control, created with its designed settings (forms/zelkspec.bag), else as a
// new control. The settings are looked for beside the program (the build tree) and in the
// installed data folder relative to it.
#pragma once

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "automation/automation.h"

namespace spectrograph::app {

inline constexpr char kChartClassId[] = "{F9285160-7EB9-11D0-AADB-0000C05F07C7}";
// The chart control's size on the form.
inline constexpr int kChartWidth = 105;
inline constexpr int kChartHeight = 49;

// The designed settings' text; empty when no forms folder has them.
std::string readFormBag();

template <typename Container>
automation::Dispatch& createFormChart(Container& container) {
  const automation::Guid clsid = *automation::Guid::parse(kChartClassId);
  const std::string bag = readFormBag();
  if (!bag.empty()) {
    try {
      return container.loadBag(clsid, bag);
    } catch (const std::exception& e) {
      // The control still prints with its own defaults.
      std::fprintf(stderr, "zelkspec: the form's chart settings were not loaded: %s\n", e.what());
    }
  }
  return container.create(clsid);
}

}  // namespace spectrograph::app
