#include "headless_window.h"

#include "automation/server.h"
#include "gdi/system_colors.h"
#include "ocx/dispids.h"
#include "ocx/messages.h"

namespace host {

namespace {

// Window handles are never 0 and never reused within a process, so a message posted to a
// window that has gone cannot reach its successor.
std::uintptr_t newWindowHandle() {
  static std::atomic<std::uintptr_t> next{0x10000};
  return next.fetch_add(4);
}

// A control that keeps posting or invalidating from inside its own handlers would otherwise
// keep pump() from ever returning.
constexpr int kMaxPumpRounds = 10000;

constexpr int kColorButtonFace = 15;

// The value an argument has now; by-reference arguments point into the firing code's frame
// and must not be kept.
automation::Variant valueOf(const automation::Variant& argument) {
  const automation::Variant& value = argument.deref();
  if (!value.isByRef()) return value;
  if (value.isArray())
    return automation::Variant::array(value.arrayElementType(), value.arrayValue());
  return automation::Variant();
}

class Flag {
 public:
  explicit Flag(bool& flag) : flag_(flag) { flag_ = true; }
  ~Flag() { flag_ = false; }
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

HeadlessContainer::Window::Window(int width, int height, bool userMode, int logPixels)
    : userMode_(userMode),
      logPixels_(logPixels > 0 ? logPixels : 96),
      paint_(width, height, gdi::GetSysColor(kColorButtonFace)) {}

HeadlessContainer::Window::~Window() { destroyControl(); }

automation::Dispatch& HeadlessContainer::Window::create(
    const automation::Guid& clsid, const std::function<void(ocx::Control&)>& init) {
  std::shared_ptr<automation::Dispatch> object = automation::createObject(clsid);
  destroyControl();
  object_ = std::move(object);
  clsid_ = clsid;
  control_ = std::dynamic_pointer_cast<ocx::Control>(object_);
  if (!control_) return *object_;  // a plain automation object: nothing to show
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
  paint_.invalidateAll();
  return *object_;
}

automation::Dispatch& HeadlessContainer::Window::object() {
  if (!object_) {
    throw automation::AutomationError(static_cast<std::int32_t>(0x800A005B),
                                      "Object variable or With block variable not set");
  }
  return *object_;
}

void HeadlessContainer::Window::destroyControl() {
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
  captured_ = false;
  cursor_ = 0;
}

void HeadlessContainer::Window::resize(int width, int height) {
  if (painting_) {
    // The control is in its paint entry; it hears of the new size after it returns.
    requestedSize_ = gdi::Point{width, height};
    return;
  }
  const int oldWidth = paint_.width();
  const int oldHeight = paint_.height();
  paint_.resize(width, height);
  if (paint_.width() == oldWidth && paint_.height() == oldHeight) return;
  if (control_) control_->onResize(paint_.width(), paint_.height());
}

void HeadlessContainer::Window::requestResize(int width, int height) { resize(width, height); }

bool HeadlessContainer::Window::applyRequestedResize() {
  if (!requestedSize_) return false;
  const gdi::Point size = *requestedSize_;
  requestedSize_.reset();
  resize(size.x, size.y);
  return true;
}

void HeadlessContainer::Window::setUserMode(bool userMode) {
  if (userMode_ == userMode) return;
  userMode_ = userMode;
  if (control_) control_->onAmbientChanged(ocx::kDispIdAmbientUserMode);
}

bool HeadlessContainer::Window::post(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  const std::uintptr_t target = postTarget_.load();
  if (target == 0) return false;
  return queue_.post({target, msg, wParam, lParam});
}

void HeadlessContainer::Window::pump() {
  for (int round = 0; round < kMaxPumpRounds; ++round) {
    if (!pumpOne()) return;
  }
}

bool HeadlessContainer::Window::pumpOne() {
  if (applyRequestedResize()) return true;
  if (const auto message = queue_.take()) {
    dispatch(*message);
    return true;
  }
  if (paint_.needsPaint() && !painting_) {
    paintNow();
    return true;
  }
  return false;
}

void HeadlessContainer::Window::dispatch(const Message& message) {
  if (!control_ || message.window != hwnd_) return;  // for a window that is gone
  if (message.msg == ocx::kWmPaint) {
    paintNow();
  } else {
    control_->onMessage(message.msg, message.wParam, message.lParam);
  }
}

void HeadlessContainer::Window::paintNow() {
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

void HeadlessContainer::Window::updateWindow() {
  if (!painting_ && paint_.needsPaint()) paintNow();
}

void HeadlessContainer::Window::fireEvent(automation::DispId id,
                                          std::vector<automation::Variant> args) {
  Event event{id, {}};
  event.args.reserve(args.size());
  for (const automation::Variant& argument : args) event.args.push_back(valueOf(argument));
  events_.push_back(std::move(event));
  if (eventHandler_) eventHandler_(id, args);
}

void HeadlessContainer::Window::mouse(int message, int x, int y, unsigned keys) {
  lastMouse_ = gdi::Point{x, y};
  if (!control_) return;
  control_->onMouse(static_cast<unsigned>(message), x, y, keys);
  // The cursor follows every mouse message over the window; outside it, or when the control
  // leaves it, the container's own shows.
  if (!control_ || !paint_.screen().bounds().contains(*lastMouse_) ||
      !control_->onSetCursor(*lastMouse_))
    cursor_ = 0;
}

void HeadlessContainer::Window::key(int message, int virtualKey, unsigned keys) {
  if (control_)
    control_->onKey(static_cast<unsigned>(message), static_cast<unsigned>(virtualKey), keys);
}

std::vector<std::uint8_t> HeadlessContainer::Window::saveStream() {
  return control_ ? control_->saveToStream() : std::vector<std::uint8_t>();
}

std::string HeadlessContainer::Window::saveBag() {
  return control_ ? control_->saveToBag(clsid_) : std::string();
}

bool HeadlessContainer::Window::cursorPosition(gdi::Point& where) const {
  if (!lastMouse_ || !paint_.screen().bounds().contains(*lastMouse_)) return false;
  where = *lastMouse_;
  return true;
}

gdi::ColorRef HeadlessContainer::Window::systemColor(int index) const {
  return gdi::GetSysColor(index);
}

void HeadlessContainer::Window::showMessage(const std::string& title, const std::string& text) {
  messageBoxes_.push_back(title.empty() ? text : title + ": " + text);
}

}  // namespace host
