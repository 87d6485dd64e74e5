#include "headless_window.h"

namespace host {

namespace {

// A control that keeps posting or invalidating from inside its own handlers would otherwise
// keep pump() from ever returning.
constexpr int kMaxPumpRounds = 10000;

// The value an argument has now; by-reference arguments point into the firing code's frame
// and must not be kept.
automation::Variant valueOf(const automation::Variant& argument) {
  const automation::Variant& value = argument.deref();
  if (!value.isByRef()) return value;
  if (value.isArray())
    return automation::Variant::array(value.arrayElementType(), value.arrayValue());
  return automation::Variant();
}

}  // namespace

HeadlessContainer::Window::Window(int width, int height, bool userMode, int logPixels)
    : SitedControl(width, height, userMode), logPixels_(logPixels > 0 ? logPixels : 96) {}

HeadlessContainer::Window::~Window() { destroyControl(); }

void HeadlessContainer::Window::resize(int width, int height) {
  if (painting()) {
    requestedSize_ = gdi::Point{width, height};
    return;
  }
  SitedControl::resize(width, height);
}

bool HeadlessContainer::Window::applyRequestedResize() {
  if (!requestedSize_) return false;
  const gdi::Point size = *requestedSize_;
  requestedSize_.reset();
  resize(size.x, size.y);
  return true;
}

void HeadlessContainer::Window::pump() {
  for (int round = 0; round < kMaxPumpRounds; ++round) {
    if (!pumpOne()) return;
  }
}

bool HeadlessContainer::Window::pumpOne() {
  if (applyRequestedResize()) return true;
  if (dispatchOne()) return true;
  // Paints come after the posted messages, as on the platform.
  if (needsPaint() && !painting()) {
    paintNow();
    return true;
  }
  return false;
}

void HeadlessContainer::Window::fireEvent(automation::DispId id,
                                          std::vector<automation::Variant> args) {
  Event event{id, {}};
  event.args.reserve(args.size());
  for (const automation::Variant& argument : args) event.args.push_back(valueOf(argument));
  events_.push_back(std::move(event));
  SitedControl::fireEvent(id, std::move(args));
}

void HeadlessContainer::Window::showMessage(const std::string& title, const std::string& text) {
  messageBoxes_.push_back(title.empty() ? text : title + ": " + text);
}

}  // namespace host
