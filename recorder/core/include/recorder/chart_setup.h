// The recorder configures its chart control entirely at run time with these five procedures.
// Each writes the control's properties one after another by name; the order matters, because a
// selector chooses the object the following writes change and an action applies the writes made
// before it. Results are not examined.
#pragma once

#include <cstdint>

#include "automation/automation.h"

namespace recorder {

// The vertical scale: window y runs up from kWindowBottom for the vertical fraction of
// kFullWindowHeight, and its labels read y x kScaleFactor (4000 reads 1.0). A point of value v is
// drawn at y = v + the channel's vertical offset (Vert Pos).
inline constexpr std::int16_t kWindowBottom = 4000;
inline constexpr float kFullWindowHeight = 32000.0f;
inline constexpr double kScaleFactor = 0.00025;
// What the scale reads where a point of that value is drawn.
inline double levelOnScale(float value, std::int32_t offsetY) {
  return (static_cast<double>(value) + offsetY) * kScaleFactor;
}
// The scale's top label.
inline double scaleTop(float vertFraction) {
  return (kWindowBottom + static_cast<double>(vertFraction) * kFullWindowHeight) * kScaleFactor;
}

// Pens 1, 2, 3, 4, 9 and 5: colour, intense colour, width 1, solid.
void setupPens(automation::Dispatch& chart);
// Background, bezel, frame, axes, grid, divisions, margins and colour depth.
void setupGeneralAppearance(automation::Dispatch& chart);
// One viewport with a green storage colour.
void setupViewport(automation::Dispatch& chart);
// Window 1 (x 0..9600, y from 4000, height vertFraction x 32000), the vertical divisions, and the
// vertical scale 1 on the right with its label.
void setupWindowScaleLabel(automation::Dispatch& chart, float majorDivVert, float vertFraction);
// Channel 1: scroll-right red lines at the vertical offset offsetY; initialising it clears its
// trace.
void setupChannel(automation::Dispatch& chart, std::int32_t offsetY);

// A channel of window 1: its pen, the points it keeps, whether it scrolls (mode 1) or holds a
// record drawn at once (mode 0), and the vertical offset its points are drawn at.
struct ChannelLayout {
  std::int16_t channel = 1;
  std::int16_t pen = 1;
  std::int16_t bufferLength = 16000;
  std::int16_t mode = 1;
  std::int32_t offsetY = 0;
};
// Describes the channel, levels as 32-bit floats and times as 64-bit floats, and initialises it,
// which clears its trace.
void describeChannel(automation::Dispatch& chart, const ChannelLayout& layout);

// Channel commands written to ChnDspAction.
enum ChannelAction : std::int16_t {
  kChannelInitialize = 1,
  kChannelErase = 2,
  kChannelTranslate = 9,
  kChannelEndRun = 10,  // the line stops at the newest point; the next starts a new one
};

}  // namespace recorder
