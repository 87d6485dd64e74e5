// The control's own errors: codes 0 to 23, raised with the error base added.
#pragma once

#include <cstdint>
#include <string_view>

namespace kvplotax {

enum class ControlError : std::int16_t {
  InvalidWindow = 0,
  InvalidPen = 1,
  InvalidViewport = 2,
  WindowWidth = 3,
  WindowHeight = 4,
  InvalidData = 5,
  InvalidIncrement = 6,
  InvalidPointCount = 7,
  InvalidTransform = 9,
  InvalidMsb = 12,
  InvalidLsb = 13,
  ShapesIncompatible = 14,
  InvalidSurface = 19,
  InvalidFileName = 20,
  ChannelNotInitialized = 21,
  UnrecognizedTransform = 22,
  GainIsZero = 23,
};

// The text of a code; empty for numbers that have none.
std::string_view controlErrorText(std::int16_t code);

// Raises the automation error (errBase + code) with the code's text. The number wraps in 16 bits
// as the error's low word does.
[[noreturn]] void raiseControlError(std::int16_t errBase, ControlError code);

// Raises the standard error 380.
[[noreturn]] void raiseInvalidValue();

}  // namespace kvplotax
