#include "qt_container_site.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include "host/prompter.h"
#include "host/qt/qt_prompter.h"
#include "qt_cursors.h"

namespace host::qt {

QtContainer::Site::Site(QtContainer& widget)
    : SitedControl(widget.width(), widget.height(), true), widget_(widget) {}

QtContainer::Site::~Site() { destroyControl(); }

void QtContainer::Site::requestResize(int width, int height) {
  // Never inside the control's own paint entry: it hears of the new size after it returns.
  QTimer::singleShot(0, &widget_, [this, width, height] { widget_.resize(width, height); });
}

void QtContainer::Site::messagePosted() {
  // Thread-safe: the event reaches the widget on the GUI thread. Timers are stopped before the
  // widget goes, so it exists whenever a timer posts.
  if (!wakePending_.exchange(true)) {
    QCoreApplication::postEvent(&widget_, new QEvent(kMessagesPosted));
  }
}

void QtContainer::Site::runPosted() {
  wakePending_.store(false);
  // Only what is queued now: a control that keeps posting gets its turn at the next wake-up.
  for (std::size_t n = messagesWaiting(); n > 0; --n) {
    if (!dispatchOne()) break;
  }
}

void QtContainer::Site::screenChanged(const gdi::Rect& r) {
  widget_.update(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

void QtContainer::Site::windowDestroyed() {
  ownCursors_.clear();
  widget_.unsetCursor();
}

int QtContainer::Site::logPixelsX() const {
  const int dpi = widget_.logicalDpiX();
  return dpi > 0 ? dpi : 96;
}

int QtContainer::Site::logPixelsY() const {
  const int dpi = widget_.logicalDpiY();
  return dpi > 0 ? dpi : 96;
}

bool QtContainer::Site::isAltDown() const {
  return (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier) != 0;
}

void QtContainer::Site::setCapture() { widget_.grabMouse(); }
void QtContainer::Site::releaseCapture() { widget_.releaseMouse(); }

void QtContainer::Site::setCursor(int shape) {
  if (cursor() == shape) return;
  SitedControl::setCursor(shape);
  if (const auto own = ownCursors_.find(shape); own != ownCursors_.end()) {
    widget_.setCursor(own->second);
  } else if (const auto cursor = cursorForShape(shape)) {
    widget_.setCursor(*cursor);
  } else {
    widget_.unsetCursor();
  }
}

void QtContainer::Site::setCustomCursor(int shape, const ocx::CursorImage& image) {
  // Own cursors keep their picture, made once; the custom picture (-1) may change between calls.
  if (shape == -1 || !ownCursors_.contains(shape)) {
    const auto cursor = cursorFromImage(image);
    if (!cursor) {
      setCursor(shape == -1 ? 0 : shape);
      return;
    }
    if (shape == -1) {
      SitedControl::setCursor(-1);
      widget_.setCursor(*cursor);
      return;
    }
    ownCursors_.emplace(shape, *cursor);
    if (this->cursor() == shape) SitedControl::setCursor(0);  // shown below with its picture
  }
  setCursor(shape);
}

void QtContainer::Site::showMessage(const std::string& title, const std::string& text) {
  QtPrompter(&widget_).messageBox(text, title, vbOKOnly | vbInformation);
}

}  // namespace host::qt
