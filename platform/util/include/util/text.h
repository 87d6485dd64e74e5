// Text helpers every layer needs: trimming by a caller's set of blanks and ASCII comparison
// without regard to case. Each reader keeps its own rule of what is blank (a CR LF file trims the
// CR at the end of a line only), so the set is always given.
#pragma once

#include <string_view>

namespace util {

// The text without the leading characters that are in blanks.
std::string_view trimLeft(std::string_view text, std::string_view blanks);
// The text without the trailing characters that are in blanks.
std::string_view trimRight(std::string_view text, std::string_view blanks);
// Both ends.
std::string_view trim(std::string_view text, std::string_view blanks);

// Equal when each character is, A-Z matched with a-z; other bytes, UTF-8 included, must match
// exactly, whatever the process's locale.
bool equalsNoCase(std::string_view a, std::string_view b);

// The value of a hexadecimal digit, either case; -1 for any other character.
constexpr int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace util
