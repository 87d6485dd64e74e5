// The text of one scale number: fixed-point with a chosen number of places, an exact zero
// always written as a single 0. Kept in a fixed buffer so that laying out numbers allocates
// nothing for the texts themselves.
#pragma once

#include <array>
#include <string_view>

namespace kvplotax::scale {

struct NumberText {
  std::array<char, 80> chars{};
  int length = 0;
  std::string_view view() const { return {chars.data(), static_cast<std::size_t>(length)}; }
};

// places is held to 0..15.
NumberText formatScaleNumber(float value, int places);

}  // namespace kvplotax::scale
