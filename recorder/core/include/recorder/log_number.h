// Numbers in the log as the forms runtime writes them: plain decimal with "." as the mark, at
// most 7 significant digits for a 32-bit float, no trailing zeros, no point for whole values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace recorder {

// Longest text formatSingle produces (a float's range written out in plain decimal).
constexpr std::size_t kMaxNumberText = 64;

// Writes v into out (no terminator) and returns the number of characters; out must hold
// kMaxNumberText characters. Values below 0.01 are written in plain notation too (0.00125).
std::size_t formatSingle(float v, char* out);

// Reads an optional sign, digits with or without a point (".25", "0.25", "3.") and an optional
// exponent ("1.25E-03"); surrounding spaces are allowed. Empty for anything else, and for a value
// outside the 32-bit float range.
std::optional<float> parseSingle(std::string_view text);

// A number read into a 16-bit integer: rounded half to even; empty when it does not fit.
std::optional<std::int16_t> parseInteger16(std::string_view text);

}  // namespace recorder
