#include "host/internal/sited_control.h"

#include "automation/server.h"
#include "gdi/system_colors.h"
#include "ocx/dispids.h"
#include "ocx/messages.h"

namespace host {

namespace {

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

}  // namespace

std::uintptr_t newWindowHandle() {
  static std::atomic<std::uintptr_t> next{0x10000};
  return next.fetch_add(4);
}

SitedControl::SitedControl(int width, int height, bool userMode)
    : userMode_(userMode), paint_(width, height, gdi::GetSysColor(kColorButtonFace)) {}

SitedControl::~SitedControl() { destroyControl(); }

automation::Dispatch& SitedControl::create(const automation::Guid& clsid,
                                           const std::function<void(ocx::Control&)>& init) {
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
  invalidateAll();
  return *object_;
}

automation::Dispatch& SitedControl::object() {
  if (!object_) {
    throw automation::AutomationError(static_cast<std::int32_t>(0x800A005B),
                                      "Object variable or With block variable not set");
  }
  return *object_;
}

void SitedControl::destroyControl() {
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
  windowDestroyed();
}

void SitedControl::resize(int width, int height) {
  const int oldWidth = paint_.width();
  const int oldHeight = paint_.height();
  paint_.resize(width, height);
  if (paint_.width() == oldWidth && paint_.height() == oldHeight) return;
  if (control_) control_->onResize(paint_.width(), paint_.height());
  screenChanged(paint_.screen().bounds());
}

void SitedControl::setUserMode(bool userMode) {
  if (userMode_ == userMode) return;
  userMode_ = userMode;
  if (control_) control_->onAmbientChanged(ocx::kDispIdAmbientUserMode);
}

bool SitedControl::postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  const std::uintptr_t target = postTarget_.load();
  if (target == 0) return false;
  if (!queue_.post({target, msg, wParam, lParam})) return false;
  messagePosted();
  return true;
}

bool SitedControl::dispatchOne() {
  const auto message = queue_.take();
  if (!message) return false;
  if (!control_ || message->window != hwnd_) return true;  // for a window that is gone
  if (message->msg == ocx::kWmPaint) {
    paintNow();
    screenChanged(paint_.screen().bounds());
  } else {
    control_->onMessage(message->msg, message->wParam, message->lParam);
  }
  return true;
}

void SitedControl::paintNow() {
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

PixelView SitedControl::screenView() const {
  const gdi::Bitmap& image = paint_.screen();
  return {image.pixels().data(), image.width(), image.height(),
          static_cast<std::size_t>(image.width())};
}

void SitedControl::invalidate(const gdi::Rect& rect) {
  paint_.invalidate(rect);
  screenChanged(rect);
}

void SitedControl::invalidateAll() {
  paint_.invalidateAll();
  screenChanged(paint_.screen().bounds());
}

void SitedControl::updateWindow() {
  if (painting_ || !paint_.needsPaint()) return;
  paintNow();
  screenChanged(paint_.screen().bounds());
}

void SitedControl::fireEvent(automation::DispId id, std::vector<automation::Variant> args) {
  if (eventHandler_) eventHandler_(id, args);
}

void SitedControl::mouse(unsigned message, int x, int y, unsigned keys) {
  lastMouse_ = gdi::Point{x, y};
  if (!control_) return;
  control_->onMouse(message, x, y, keys);
  // The cursor follows every mouse message over the window; outside it, or when the control
  // leaves it, the container's own shows.
  if (!control_ || !paint_.screen().bounds().contains(*lastMouse_) ||
      !control_->onSetCursor(*lastMouse_))
    setCursor(0);
}

void SitedControl::key(unsigned message, int virtualKey, unsigned keys) {
  if (control_) control_->onKey(message, static_cast<unsigned>(virtualKey), keys);
}

std::vector<std::uint8_t> SitedControl::saveStream() {
  return control_ ? control_->saveToStream() : std::vector<std::uint8_t>();
}

std::string SitedControl::saveBag() {
  return control_ ? control_->saveToBag(clsid_) : std::string();
}

gdi::ColorRef SitedControl::systemColor(int index) const { return gdi::GetSysColor(index); }

bool SitedControl::cursorPosition(gdi::Point& where) const {
  if (!lastMouse_ || !paint_.screen().bounds().contains(*lastMouse_)) return false;
  where = *lastMouse_;
  return true;
}

}  // namespace host
