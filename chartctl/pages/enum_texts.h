// The drop-down lists' entries: each value of an enumeration as "0 - Solid".
#pragma once

#include <string_view>

namespace kvplotax::pages::texts {

inline constexpr std::string_view kChartActions[] = {
    "0 - Rescale",       "1 - Copy to clipboard", "2 - Append to clipboard", "3 - Print",
    "4 - Write to disk", "5 - Disable paint",     "6 - Enable paint"};
inline constexpr std::string_view kColorDepths[] = {"0 - Default", "1 - 16 colors",
                                                    "2 - 256 colors"};
inline constexpr std::string_view kBevelStyles[] = {"0 - None", "1 - Inset", "2 - Raised"};
inline constexpr std::string_view kDims[] = {"0 - Horz", "1 - Vert"};
inline constexpr std::string_view kDataTypes[] = {
    "0 - Unsigned 8-bit int", "1 - Signed 8-bit int",    "2 - Unsigned 16-bit int",
    "3 - Signed 16-bit int",  "4 - Unsigned 32-bit int", "5 - Signed 32-bit int",
    "6 - 32-bit float",       "7 - 64-bit float"};
inline constexpr std::string_view kDataShapes[] = {"0 - Scalar", "1 - (x,y)-pair",
                                                   "2 - Autoincrement"};
inline constexpr std::string_view kChannelActions[] = {
    "0 - None",         "1 - Initialize", "2 - Erase",           "3 - Intense color",
    "4 - Normal color", "5 - Change pen", "6 - Change viewport", "7 - Change window",
    "8 - Flush",        "9 - Translate"};
inline constexpr std::string_view kDisplayModes[] = {"0 - CRT", "1 - Scroll right"};
inline constexpr std::string_view kDisplayStyles[] = {"0 - Points", "1 - Line", "2 - Area"};
inline constexpr std::string_view kTics[] = {"0 - Major & minor", "1 - Major only", "2 - None"};
inline constexpr std::string_view kAxesTypes[] = {"0 - Horz & vert", "1 - Horz", "2 - Vert",
                                                  "3 - None"};
inline constexpr std::string_view kGridTypes[] = {"0 - Horz/vert", "1 - Horz", "2 - Vert",
                                                  "3 - None"};
inline constexpr std::string_view kGridSymmetries[] = {"0 - Isotropic", "1 - Anisotropic"};
inline constexpr std::string_view kLabelLocations[] = {"0 - Left/bottom", "1 - Center",
                                                       "2 - Right/top"};
inline constexpr std::string_view kOrientations[] = {"0 - Parallel", "1 - Perpendicular"};
inline constexpr std::string_view kPaths[] = {"0 - Right", "1 - Up", "2 - Left", "3 - Down"};
inline constexpr std::string_view kPositions[] = {"0 - Below", "1 - Above", "2 - On scale"};
inline constexpr std::string_view kPenStyles[] = {"0 - Solid", "1 - Dash", "2 - Dot",
                                                  "3 - Dash-dot", "4 - Dash-dot-dot"};
inline constexpr std::string_view kScaleActions[] = {
    "0 - None",         "1 - Initialize", "2 - Erase",           "3 - Intense color",
    "4 - Normal color", "5 - Change pen", "6 - Change viewport", "7 - Change window"};
inline constexpr std::string_view kScaleLocations[] = {"0 - Axis", "1 - Frame left/top",
                                                       "2 - Frame right/bottom"};
inline constexpr std::string_view kScaleVisibilities[] = {"0 - None", "1 - Scale only",
                                                          "2 - Label only", "3 - Scale & Label"};

}  // namespace kvplotax::pages::texts
