// The cursors of the mouse-pointer table: system cursors by number, and the control's own
// cursors with their pictures.
#pragma once

#include <cstdint>

#include "ocx/control_site.h"

namespace kvplotax {

// The cursor a MousePointer value stands for: a system IDC_* number, an own cursor's number
// (201-207), -1 for the MouseIcon picture; 0 for values the table has no cursor for.
int cursorForMousePointer(std::int32_t pointer);

// An own cursor's 32 by 32 picture; null for other numbers.
const ocx::CursorImage* ownCursorImage(int id);

}  // namespace kvplotax
