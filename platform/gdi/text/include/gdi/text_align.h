// Text alignment flags, with the platform's numbers.
#pragma once

#include <cstdint>

namespace gdi {

// Horizontal reference: where along the text the reference point lies.
inline constexpr std::uint32_t TA_LEFT = 0;
inline constexpr std::uint32_t TA_RIGHT = 2;
inline constexpr std::uint32_t TA_CENTER = 6;
// Vertical reference: which line of the text cell passes through the reference point.
inline constexpr std::uint32_t TA_TOP = 0;
inline constexpr std::uint32_t TA_BOTTOM = 8;
inline constexpr std::uint32_t TA_BASELINE = 24;
// The reference point is the current position, which the output advances.
inline constexpr std::uint32_t TA_NOUPDATECP = 0;
inline constexpr std::uint32_t TA_UPDATECP = 1;

inline constexpr std::uint32_t kTextAlignHorizontalMask = TA_LEFT | TA_RIGHT | TA_CENTER;
inline constexpr std::uint32_t kTextAlignVerticalMask = TA_TOP | TA_BOTTOM | TA_BASELINE;

}  // namespace gdi
