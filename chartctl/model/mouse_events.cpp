// Mouse events with hit detection, and the cursor of MousePointer.
#include "automation/picture.h"
#include "cursor_images.h"
#include "kvplotax_ctrl.h"
#include "ocx/messages.h"
#include "render/layout/plot_layout.h"

namespace kvplotax {

using automation::Variant;

namespace {

constexpr automation::DispId kMouseDown = 1;
constexpr automation::DispId kMouseMove = 2;
constexpr automation::DispId kMouseUp = 3;

// Only the message's own button is reported for presses and releases.
unsigned keysForMessage(unsigned message, unsigned keys) {
  constexpr unsigned kModifiers = ocx::kMkShift | ocx::kMkControl;
  switch (message) {
    case ocx::kWmLButtonDown:
    case ocx::kWmLButtonUp:
      return keys & (kModifiers | ocx::kMkLButton);
    case ocx::kWmRButtonDown:
    case ocx::kWmRButtonUp:
      return keys & (kModifiers | ocx::kMkRButton);
    case ocx::kWmMButtonDown:
    case ocx::kWmMButtonUp:
      return keys & (kModifiers | ocx::kMkMButton);
    default:
      return keys;
  }
}

automation::DispId eventOf(unsigned message) {
  switch (message) {
    case ocx::kWmMouseMove:
      return kMouseMove;
    case ocx::kWmLButtonDown:
    case ocx::kWmRButtonDown:
    case ocx::kWmMButtonDown:
      return kMouseDown;
    case ocx::kWmLButtonUp:
    case ocx::kWmRButtonUp:
    case ocx::kWmMButtonUp:
      return kMouseUp;
    default:
      return automation::kDispIdUnknown;
  }
}

}  // namespace

void CKvplotaxCtrl::onMouse(unsigned message, int x, int y, unsigned keys) {
  // While designing, the right button's release belongs to the container's context menu.
  if (message == ocx::kWmRButtonUp && !ambientUserMode()) return;
  chartMouse(message, x, y, keysForMessage(message, keys));
  Control::onMouse(message, x, y, keys);
}

void CKvplotaxCtrl::chartMouse(unsigned message, int x, int y, unsigned keys) {
  const automation::DispId event = eventOf(message);
  if (event == automation::kDispIdUnknown) return;
  const gdi::Point where{x, y};
  output::HitInfo hit;
  if (state_.settings().hitTest) {
    for (const auto& [number, viewport] : state_.live().viewports()) {
      output::HitInfo found;
      if (viewport.hitTest(where, found)) {
        hit = found;
        break;
      }
    }
  }
  const bool samePlace = lastMouse_ && *lastMouse_ == where;
  lastMouse_ = where;
  if (event == kMouseMove && samePlace) return;

  Variant button(static_cast<std::int16_t>(((keys & ocx::kMkLButton) ? 1 : 0) +
                                           ((keys & ocx::kMkRButton) ? 2 : 0) +
                                           ((keys & ocx::kMkMButton) ? 4 : 0)));
  Variant shift(shiftState(keys));
  Variant twipsX(static_cast<float>(layout::pixelsToTwips(x, logPixelsX())));
  Variant twipsY(static_cast<float>(layout::pixelsToTwips(y, logPixelsY())));
  Variant obj(hit.obj);
  Variant position(hit.position);
  Variant objType(hit.objType);
  fireEvent(event, {Variant::ref(&button), Variant::ref(&shift), Variant::ref(&twipsX),
                    Variant::ref(&twipsY), Variant::ref(&obj), Variant::ref(&position),
                    Variant::ref(&objType)});
}

bool CKvplotaxCtrl::onSetCursor(gdi::Point where) {
  const std::int32_t pointer = state_.settings().mousePointer;
  if (!site() || !ambientUserMode() || pointer == 0 || !state_.clientRect().contains(where))
    return false;
  const int cursor = cursorForMousePointer(pointer);
  if (cursor == -1) {
    const auto* picture = dynamic_cast<const automation::Picture*>(mouseIcon.get());
    if (!picture) return false;
    ocx::CursorImage image;
    image.width = picture->width();
    image.height = picture->height();
    image.png = picture->png();
    site()->setCustomCursor(cursor, image);
    return true;
  }
  if (cursor == 0) return false;
  if (const ocx::CursorImage* own = ownCursorImage(cursor)) {
    site()->setCustomCursor(cursor, *own);
  } else {
    site()->setCursor(cursor);
  }
  return true;
}

void CKvplotaxCtrl::refreshCursor() {
  gdi::Point where;
  if (!site() || !ambientUserMode() || !site()->cursorPosition(where)) return;
  if (!onSetCursor(where)) site()->setCursor(0);
}

}  // namespace kvplotax
