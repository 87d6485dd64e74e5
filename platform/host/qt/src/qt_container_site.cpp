#include "qt_container_site.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include "automation/server.h"
#include "gdi/system_colors.h"
#include "ocx/dispids.h"
#include "ocx/messages.h"
#include "qt_cursors.h"

namespace host::qt {

namespace {

// Handles are never 0 and never reused within a process, so a message posted to a window that
// has gone cannot reach its successor.
std::uintptr_t newWindowHandle() {
  static std::atomic<std::uintptr_t> next{0x20000};
  return next.fetch_add(4);
}

constexpr int kColorButtonFace = 15;

class Flag {
 public:
  explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
  ~Flag() { flag_ = false; }
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;

 private:
  bool& flag_;
};

QRect toQRect(const gdi::Rect& r) {
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

QtContainer::Site::Site(QtContainer& widget)
    : widget_(widget),
      paint_(widget.width(), widget.height(), gdi::GetSysColor(kColorButtonFace)) {}

QtContainer::Site::~Site() { destroyControl(); }

automation::Dispatch& QtContainer::Site::create(const automation::Guid& clsid,
                                                const std::function<void(ocx::Control&)>& init) {
  std::shared_ptr<automation::Dispatch> object = automation::createObject(clsid);
  destroyControl();
  object_ = std::move(object);
  clsid_ = clsid;
  control_ = std::dynamic_pointer_cast<ocx::Control>(object_);
  if (!control_) return *object_;
  try {
    control_->setSite(this);
    if (init) {
      init(*control_);
    } else {
      control_->initNew();
    }
    hwnd_ = newWindowHandle();
    postTarget_.store(hwnd_);
    control_->onWindowCreated(hwnd_);
    control_->onResize(paint_.width(), paint_.height());
  } catch (...) {
    destroyControl();
    throw;
  }
  invalidateAll();
  return *object_;
}

automation::Dispatch& QtContainer::Site::object() {
  if (!object_) {
    throw automation::AutomationError(static_cast<std::int32_t>(0x800A005B),
                                      "Object variable or With block variable not set");
  }
  return *object_;
}

void QtContainer::Site::destroyControl() {
  if (!object_) return;
  // No timer may post into the window once it is gone.
  timers_.killAll();
  postTarget_.store(0);
  if (control_) {
    if (hwnd_ != 0) control_->onWindowDestroyed();
    control_->setSite(nullptr);
  }
  control_.reset();
  object_.reset();
  hwnd_ = 0;
  cursor_ = 0;
  ownCursors_.clear();
  widget_.unsetCursor();
}

void QtContainer::Site::setUserMode(bool userMode) {
  if (userMode_ == userMode) return;
  userMode_ = userMode;
  if (control_) control_->onAmbientChanged(ocx::kDispIdAmbientUserMode);
}

void QtContainer::Site::resize(int width, int height) {
  const int oldWidth = paint_.width();
  const int oldHeight = paint_.height();
  paint_.resize(width, height);
  if (paint_.width() == oldWidth && paint_.height() == oldHeight) return;
  if (control_) control_->onResize(paint_.width(), paint_.height());
  widget_.update();
}

void QtContainer::Site::requestResize(int width, int height) {
  // Never inside the control's own paint entry: it hears of the new size after it returns.
  QTimer::singleShot(0, &widget_, [this, width, height] { widget_.resize(width, height); });
}

bool QtContainer::Site::postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  const std::uintptr_t target = postTarget_.load();
  if (target == 0) return false;
  if (!queue_.post({target, msg, wParam, lParam})) return false;
  // Thread-safe: the event reaches the widget on the GUI thread. Timers are stopped before the
  // widget goes, so it exists whenever a timer posts.
  if (!wakePending_.exchange(true)) {
    QCoreApplication::postEvent(&widget_, new QEvent(kMessagesPosted));
  }
  return true;
}

void QtContainer::Site::runPosted() {
  wakePending_.store(false);
  // Only what is queued now: a control that keeps posting gets its turn at the next wake-up.
  for (std::size_t n = queue_.size(); n > 0; --n) {
    const auto message = queue_.take();
    if (!message) break;
    if (!control_ || message->window != hwnd_) continue;  // for a window that is gone
    if (message->msg == ocx::kWmPaint) {
      paintControl();
      widget_.update();
    } else {
      control_->onMessage(message->msg, message->wParam, message->lParam);
    }
  }
}

void QtContainer::Site::paintControl() {
  if (painting_) return;
  Flag painting(painting_);
  if (!control_) {
    paint_.paint([](gdi::DeviceContext&, const gdi::Rect&, const gdi::Rect&) {});
    return;
  }
  paint_.paint([this](gdi::DeviceContext& dc, const gdi::Rect& bounds, const gdi::Rect& invalid) {
    control_->onPaint(dc, bounds, invalid);
  });
}

void QtContainer::Site::invalidate(const gdi::Rect& rect) {
  paint_.invalidate(rect);
  widget_.update(toQRect(rect));
}

void QtContainer::Site::invalidateAll() {
  paint_.invalidateAll();
  widget_.update();
}

void QtContainer::Site::updateWindow() {
  if (painting_ || !paint_.needsPaint()) return;
  paintControl();
  widget_.update();
}

int QtContainer::Site::logPixelsX() const {
  const int dpi = widget_.logicalDpiX();
  return dpi > 0 ? dpi : 96;
}

int QtContainer::Site::logPixelsY() const {
  const int dpi = widget_.logicalDpiY();
  return dpi > 0 ? dpi : 96;
}

void QtContainer::Site::fireEvent(automation::DispId id, std::vector<automation::Variant> args) {
  if (eventHandler_) eventHandler_(id, args);
}

void QtContainer::Site::mouse(unsigned message, int x, int y, unsigned keys) {
  lastMouse_ = gdi::Point{x, y};
  if (!control_) return;
  control_->onMouse(message, x, y, keys);
  // The cursor follows every mouse message over the window; outside it, or when the control
  // leaves it, the container's own shows.
  if (!control_ || !paint_.screen().bounds().contains(*lastMouse_) ||
      !control_->onSetCursor(*lastMouse_))
    setCursor(0);
}

void QtContainer::Site::key(unsigned message, int virtualKey, unsigned keys) {
  if (control_) control_->onKey(message, static_cast<unsigned>(virtualKey), keys);
}

std::vector<std::uint8_t> QtContainer::Site::saveStream() {
  return control_ ? control_->saveToStream() : std::vector<std::uint8_t>();
}

std::string QtContainer::Site::saveBag() {
  return control_ ? control_->saveToBag(clsid_) : std::string();
}

bool QtContainer::Site::isAltDown() const {
  return (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier) != 0;
}

void QtContainer::Site::setCapture() { widget_.grabMouse(); }
void QtContainer::Site::releaseCapture() { widget_.releaseMouse(); }

void QtContainer::Site::setCursor(int shape) {
  if (cursor_ == shape) return;
  cursor_ = shape;
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
      cursor_ = -1;
      widget_.setCursor(*cursor);
      return;
    }
    ownCursors_.emplace(shape, *cursor);
    if (cursor_ == shape) cursor_ = 0;  // shown below with its picture
  }
  setCursor(shape);
}

bool QtContainer::Site::cursorPosition(gdi::Point& where) const {
  if (!lastMouse_ || !paint_.screen().bounds().contains(*lastMouse_)) return false;
  where = *lastMouse_;
  return true;
}

void QtContainer::Site::showMessage(const std::string& title, const std::string& text) {
  QMessageBox::information(&widget_, QString::fromStdString(title), QString::fromStdString(text));
}

}  // namespace host::qt
