// The checks a channel command runs before it touches the channel.
#pragma once

#include <cstdint>

#include "chart_state.h"

namespace kvplotax {

// Commits the staged pen, window, viewport, transform and data description, then checks that
// the selected channel's pen, window, viewport, data descriptions, shapes, transforms and buffer
// length are usable. Raises the control's error (with the error base) for the first problem.
void validateChannel(CChartState& state);

// Checks transform number t as a data description uses it.
void validateTransform(CChartState& state, std::int32_t t);

}  // namespace kvplotax
