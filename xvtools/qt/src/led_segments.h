// Seven-segment geometry shared by the LED panel's painting and its tests.
#pragma once

#include <QRect>
#include <array>
#include <cstdint>

namespace xvtools::qt {

// Segments in the usual order: a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle.
using SegmentRects = std::array<QRect, 7>;

// The segments of one digit cell; the cell keeps a margin of a fifth of its width.
SegmentRects segmentRects(const QRect& cell);
// Bit i set: segment i lit. Blank for characters without a pattern.
std::uint8_t segmentPattern(char c);
// The cell of digit i of count in a panel of the given size.
QRect digitCell(const QSize& panel, int count, int i);
// An unlit segment's colour: the lit colour at a fifth of its strength.
std::uint32_t dimmed(std::uint32_t colorRef);
// 0x00BBGGRR to an opaque Qt colour value.
unsigned int toRgb(std::uint32_t colorRef);

}  // namespace xvtools::qt
