// Finding an operator's name in a fixed list, ignoring case and spaces, so "black on white",
// "BlackOnWhite" and "Black on White" are the same choice.
#pragma once

#include <array>
#include <cctype>
#include <optional>
#include <span>
#include <string_view>

namespace xvtools {

inline bool sameName(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  auto skip = [](std::string_view s, std::size_t& k) {
    while (k < s.size() && (s[k] == ' ' || s[k] == '-' || s[k] == '_')) ++k;
  };
  for (;;) {
    skip(a, i);
    skip(b, j);
    if (i == a.size() || j == b.size()) return i == a.size() && j == b.size();
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[j])))
      return false;
    ++i;
    ++j;
  }
}

template <std::size_t N>
std::optional<int> matchName(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (sameName(names[i], name)) return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace xvtools
