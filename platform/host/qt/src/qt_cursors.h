// The cursor shapes a control asks its container for, as Qt cursors: the mouse-pointer table's
// values (1-22), the platform's system cursor numbers (IDC_*), and the control's own pictures
// (201-207: hand, bar, left push, right push, cross hair, target, disc).
#pragma once

#include <QCursor>
#include <optional>

namespace host::qt {

// nullopt: the container's own cursor (0, and any value without a shape).
std::optional<QCursor> cursorForShape(int shape);

}  // namespace host::qt
