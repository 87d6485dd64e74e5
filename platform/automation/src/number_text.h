// Numbers as the forms runtime reads and writes them: "." decimal mark, no locale.
#pragma once

#include <string>
#include <string_view>

namespace automation::detail {

enum class ParseStatus { kOk, kNotANumber, kOverflow };

struct ParsedNumber {
  ParseStatus status = ParseStatus::kNotANumber;
  double value = 0.0;
};

// Surrounding spaces or tabs, an optional sign, digits with an optional "." fraction (at least
// one digit in all), an optional exponent "e"/"E" with optional sign and digits. Magnitudes
// beyond the double range overflow; ones too small to represent become zero.
ParsedNumber parseNumber(std::string_view text);

// Shortest text that reads back to the same value; exponent form "1.5E+20" when the decimal
// exponent is below -4 or at least 15, like the runtime's printing of a number.
std::string formatDouble(double value);
std::string formatFloat(float value);

// A date as days since 1899-12-30 with the time of day as fraction: "yyyy-mm-dd hh:mm:ss",
// the time left out when it is midnight and the date left out when it is 1899-12-30.
std::string formatDate(double value);

}  // namespace automation::detail
