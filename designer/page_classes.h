// The chart control's eleven property pages, by class identifier, in the order the sheet shows
// them.
#pragma once

#include <array>
#include <string_view>

namespace designer {

inline constexpr std::array<std::string_view, 11> kPageClasses = {
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

// The class a new file's control is made of.
inline constexpr std::string_view kChartClass = "{F9285160-7EB9-11D0-AADB-0000C05F07C7}";

}  // namespace designer
