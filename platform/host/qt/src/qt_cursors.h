// The cursor shapes a control asks its container for, as Qt cursors: the platform's system
// cursor numbers (IDC_*) and the pictures a control hands over for its own cursors (201 and up)
// and for its custom picture (-1).
#pragma once

#include <QCursor>
#include <optional>

#include "ocx/control_site.h"

namespace host::qt {

// A system cursor; nullopt for the container's own (0) and for numbers without a shape.
std::optional<QCursor> cursorForShape(int shape);

// The control's picture as a cursor: 0xAARRGGBB pixels, or PNG bytes when it carries them.
// nullopt when the picture is empty or cannot be read.
std::optional<QCursor> cursorFromImage(const ocx::CursorImage& image);

}  // namespace host::qt
