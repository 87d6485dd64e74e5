// The chart control's eleven property pages, by class identifier, in the order the sheet shows
// them, and the class a new file's control is made of.
#pragma once

#include <string_view>

#include "apps/class_ids.h"

namespace designer {

inline constexpr auto& kPageClasses = apps::kPageClassIds;
inline constexpr std::string_view kChartClass = apps::kChartClassId;

}  // namespace designer
