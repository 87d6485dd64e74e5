#include <algorithm>

#include "headless_window.h"
#include "host/headless.h"

namespace host {

HeadlessContainer::HeadlessContainer(int width, int height, bool userMode, int logPixels)
    : window_(std::make_unique<Window>(width, height, userMode, logPixels)) {}

HeadlessContainer::~HeadlessContainer() = default;

automation::Dispatch& HeadlessContainer::create(const automation::Guid& clsid) {
  return window_->create(clsid);
}

automation::Dispatch& HeadlessContainer::control() { return window_->object(); }

void HeadlessContainer::resize(int width, int height) { window_->resize(width, height); }
int HeadlessContainer::width() const { return window_->width(); }
int HeadlessContainer::height() const { return window_->height(); }

void HeadlessContainer::setUserMode(bool userMode) { window_->setUserMode(userMode); }
bool HeadlessContainer::userMode() const { return window_->userMode(); }

void HeadlessContainer::pump() { window_->pump(); }

bool HeadlessContainer::waitForMessage(std::chrono::milliseconds timeout) {
  return window_->waitForMessage(timeout);
}

bool HeadlessContainer::postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  return window_->postMessage(msg, wParam, lParam);
}

std::uint32_t HeadlessContainer::pixel(int x, int y) const { return window_->screen().pixel(x, y); }

PixelView HeadlessContainer::screen() const { return window_->screenView(); }

bool HeadlessContainer::writeScreen(const std::string& path) const {
  return writeImageFile(path, screen());
}

const std::vector<HeadlessContainer::Event>& HeadlessContainer::events() const {
  return window_->events();
}

void HeadlessContainer::clearEvents() { window_->clearEvents(); }

void HeadlessContainer::setEventHandler(EventHandler handler) {
  window_->setEventHandler(std::move(handler));
}

void HeadlessContainer::mouse(int message, int x, int y, unsigned keys) {
  window_->mouse(static_cast<unsigned>(message), x, y, keys);
}

void HeadlessContainer::setAltDown(bool down) { window_->setAltDown(down); }
int HeadlessContainer::cursor() const { return window_->cursor(); }

Clipboard& HeadlessContainer::clipboard() { return window_->clipboardStore(); }
std::uintptr_t HeadlessContainer::windowHandle() const { return window_->handle(); }

const std::vector<std::string>& HeadlessContainer::messageBoxes() const {
  return window_->messageBoxes();
}

void HeadlessContainer::key(int message, int virtualKey, unsigned keys) {
  window_->key(static_cast<unsigned>(message), virtualKey, keys);
}

std::vector<std::uint8_t> HeadlessContainer::saveStream() { return window_->saveStream(); }
std::string HeadlessContainer::saveBag() { return window_->saveBag(); }

automation::Dispatch& HeadlessContainer::load(const automation::Guid& clsid,
                                              std::span<const std::uint8_t> stream) {
  return window_->create(clsid, [stream](ocx::Control& c) { c.loadFromStream(stream); });
}

automation::Dispatch& HeadlessContainer::loadBag(const automation::Guid& clsid,
                                                 std::string_view bag) {
  return window_->create(clsid, [bag](ocx::Control& c) { c.loadFromBag(bag); });
}
void HeadlessContainer::setPrinter(const std::string& printer) {
  window_->print().setPrinter(printer);
}

void HeadlessContainer::setCancelPrinting(bool cancel) { window_->print().setCancelJobs(cancel); }

std::uintptr_t HeadlessContainer::showPicture(const PixelView& picture) {
  // The window is no larger than a container's: a larger picture shows its top left part.
  const bool readable =
      picture.pixels != nullptr && picture.stride >= static_cast<std::size_t>(picture.width);
  const int width = readable ? std::clamp(picture.width, 0, PaintCycle::kMaxSide) : 0;
  const int height = readable ? std::clamp(picture.height, 0, PaintCycle::kMaxSide) : 0;
  gdi::Bitmap copy(width, height);
  for (int y = 0; y < copy.height(); ++y) {
    const std::uint32_t* from = picture.pixels + static_cast<std::size_t>(y) * picture.stride;
    std::copy(from, from + copy.width(), copy.row(y));
  }
  const std::uintptr_t handle = newWindowHandle();
  window_->print().showPicture(handle, std::move(copy));
  return handle;
}

}  // namespace host
