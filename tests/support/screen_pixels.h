// What the X server shows of a widget, for GUI tests that compare it with the pixels drawn.
#pragma once

#include <cstdint>
#include <vector>

class QWidget;

namespace zelk::test {

// The widget's area of the screen, rows from the top, as 0x00BBGGRR words.
std::vector<std::uint32_t> onScreen(QWidget& widget);

}  // namespace zelk::test
