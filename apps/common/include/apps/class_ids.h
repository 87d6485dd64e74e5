// The classes the programs create by identifier: the chart control on their forms, and its
// property pages in the order the designer's sheet shows them.
#pragma once

#include <array>
#include <string_view>

namespace apps {

inline constexpr char kChartClassId[] = "{F9285160-7EB9-11D0-AADB-0000C05F07C7}";

inline constexpr std::array<std::string_view, 11> kPageClassIds = {
    "{F9285164-7EB9-11D0-AADB-0000C05F07C7}",  // General
    "{257711F5-89C3-11D0-AAEB-0000C05F07C7}",  // Bezel
    "{257711E6-89C3-11D0-AAEB-0000C05F07C7}",  // Channel Data
    "{257711E4-89C3-11D0-AAEB-0000C05F07C7}",  // Channel Display
    "{257711F7-89C3-11D0-AAEB-0000C05F07C7}",  // Channel Transform
    "{257711F3-89C3-11D0-AAEB-0000C05F07C7}",  // Graticule
    "{257711F1-89C3-11D0-AAEB-0000C05F07C7}",  // Label
    "{257711E8-89C3-11D0-AAEB-0000C05F07C7}",  // Pen
    "{257711EF-89C3-11D0-AAEB-0000C05F07C7}",  // Scale
    "{257711EC-89C3-11D0-AAEB-0000C05F07C7}",  // Viewport
    "{257711EA-89C3-11D0-AAEB-0000C05F07C7}",  // Window
};

}  // namespace apps
