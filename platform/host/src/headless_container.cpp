#include <algorithm>
#include <atomic>

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
  return window_->post(msg, wParam, lParam);
}

std::uint32_t HeadlessContainer::pixel(int x, int y) const { return window_->screen().pixel(x, y); }

PixelView HeadlessContainer::screen() const {
  const gdi::Bitmap& image = window_->screen();
  return {image.pixels().data(), image.width(), image.height(),
          static_cast<std::size_t>(image.width())};
}

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
  window_->mouse(message, x, y, keys);
}

void HeadlessContainer::setAltDown(bool down) { window_->setAltDown(down); }
int HeadlessContainer::cursor() const { return window_->cursor(); }

Clipboard& HeadlessContainer::clipboard() { return window_->clipboardStore(); }
std::uintptr_t HeadlessContainer::windowHandle() const { return window_->handle(); }

const std::vector<std::string>& HeadlessContainer::messageBoxes() const {
  return window_->messageBoxes();
}

void HeadlessContainer::key(int message, int virtualKey, unsigned keys) {
  window_->key(message, virtualKey, keys);
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
  gdi::Bitmap copy(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const std::uint32_t* from = picture.pixels + static_cast<std::size_t>(y) * picture.stride;
    std::copy(from, from + picture.width, copy.row(y));
  }
  // Apart from every control window's handle, which are multiples of four.
  static std::atomic<std::uintptr_t> next{0x7F000001};
  const std::uintptr_t handle = next.fetch_add(4);
  window_->print().showPicture(handle, std::move(copy));
  return handle;
}

}  // namespace host
