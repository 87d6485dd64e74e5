// Where the recorder window's controls sit, in pixels of the form's client area (below the menu
// bar). The controls keep these places and sizes whatever size the window is given.
#pragma once

#include <QRect>

namespace recorder::window::layout {

inline constexpr QRect kChart{8, 8, 601, 257};
inline constexpr QSize kClient{617, 392};

// The time labels under the chart: its left edge, middle and right edge.
inline constexpr QRect kText2{8, 270, 64, 20};
inline constexpr QRect kText1{276, 270, 64, 20};
inline constexpr QRect kTimeDisp{545, 270, 64, 20};

// The four framed groups at top 296, each an LED display and its spin button.
inline constexpr QRect kSampleSizeFrame{8, 296, 108, 58};
inline constexpr QRect kChartSpeedFrame{120, 296, 116, 58};
inline constexpr QRect kVertScaleFrame{240, 296, 92, 58};
inline constexpr QRect kVertPosFrame{336, 296, 56, 58};
inline constexpr QRect kLed1{16, 316, 56, 30};
inline constexpr QRect kSpin1{80, 316, 24, 30};
inline constexpr QRect kLed2{128, 316, 56, 30};
inline constexpr QRect kSpin2{192, 316, 24, 30};
inline constexpr QRect kLed3{248, 316, 24, 30};
inline constexpr QRect kSpin4{280, 316, 24, 30};
inline constexpr QRect kSpin3{344, 316, 24, 30};

// The buttons, two rows of three beside the groups.
inline constexpr QRect kScroll{400, 300, 64, 24};
inline constexpr QRect kPlayback{472, 300, 64, 24};
inline constexpr QRect kErase{544, 300, 64, 24};
inline constexpr QRect kPrint{400, 330, 64, 24};
inline constexpr QRect kTime{472, 330, 64, 24};
inline constexpr QRect kExit{544, 330, 64, 24};

// The status line.
inline constexpr QRect kText3{8, 362, 601, 22};

// Text sizes: the form's 8-point fonts at the screen's 96 pixels per inch.
inline constexpr int kFontPixels = 11;

}  // namespace recorder::window::layout
