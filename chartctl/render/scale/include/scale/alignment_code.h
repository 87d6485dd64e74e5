// How a scale number or caption sits on its anchor: alignment flags for the text output and
// shifts of the anchor along and across the text. One table holds the codes of every
// combination of dimension, orientation, position and path: for each, the code of the first,
// the middle and the last number (or of a caption at the left/bottom, centre and right/top).
#pragma once

#include <cstdint>

namespace kvplotax::scale {

enum class Horizontal { kLeft = 0, kCentre = 1, kRight = 2 };
// kBaselineOrBottom is the baseline for text without descenders and the bottom for text with.
enum class Vertical { kTop = 0, kBaseline = 1, kBottom = 2, kBaselineOrBottom = 3 };

struct AlignmentCode {
  std::uint16_t raw = 0;
  bool updatesPosition() const { return (raw & 1) != 0; }
  Horizontal horizontal() const { return static_cast<Horizontal>((raw >> 1) & 3); }
  Vertical vertical() const { return static_cast<Vertical>((raw >> 3) & 3); }
  // 1: + half the text's extent along it, 2: - half, 3: + all of it, 4: - all of it.
  int alongShift() const { return (raw >> 5) & 7; }
  // 1: + internal leading, 2: - internal leading, 3/4: +- half the height, 5/6: +- all of it.
  int acrossShift() const { return (raw >> 8) & 7; }
};

// Arguments out of range are held to the table's bounds.
AlignmentCode alignmentCode(int dimension, int orientation, int position, int path, int column);

}  // namespace kvplotax::scale
