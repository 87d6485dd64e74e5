#include "ocx/control.h"

#include <strings.h>

#include "font_dispatch.h"
#include "ocx/dispids.h"

namespace ocx {

using automation::AutomationError;
using automation::DispId;
using automation::Variant;

namespace {

constexpr std::int32_t kErrObjectNotSet = static_cast<std::int32_t>(0x800A005B);

}  // namespace

Control::Control() : self_(std::make_shared<Control*>(this)) {}

Control::~Control() { *self_ = nullptr; }

void Control::setSite(ControlSite* site) { site_ = site; }

void Control::initNew() {
  // A new control starts from the stock defaults; the container's modified state is clean.
  font_ = Font{};
  foreColor_ = systemColor(18);
  enabled_ = true;
  modified_ = false;
}

void Control::onWindowCreated(std::uintptr_t hwnd) { hwnd_ = hwnd; }
void Control::onWindowDestroyed() { hwnd_ = 0; }
void Control::onResize(int, int) {}
void Control::onPaint(gdi::DeviceContext&, const gdi::Rect&, const gdi::Rect&) {}
void Control::onMessage(unsigned, std::uintptr_t, std::intptr_t) {}
void Control::onMouse(unsigned, int, int, unsigned) {}
void Control::onAmbientChanged(DispId) {}

bool Control::ambientUserMode() const { return site_ == nullptr || site_->ambientUserMode(); }

int Control::logPixelsX() const {
  const int v = site_ ? site_->logPixelsX() : 96;
  return v > 0 ? v : 96;
}

int Control::logPixelsY() const {
  const int v = site_ ? site_->logPixelsY() : 96;
  return v > 0 ? v : 96;
}

void Control::setModifiedFlag(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  if (site_) site_->onModifiedChanged(modified);
}

void Control::setFont(const Font& font) {
  if (font_ == font) return;
  font_ = font;
  setModifiedFlag();
  firePropertyChanged(kDispIdFont);
  onFontChanged();
}

void Control::setForeColor(OleColor color) {
  if (foreColor_ == color) return;
  foreColor_ = color;
  setModifiedFlag();
  firePropertyChanged(kDispIdForeColor);
  onForeColorChanged();
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  setModifiedFlag();
  firePropertyChanged(kDispIdEnabled);
  onEnabledChanged();
}

gdi::ColorRef Control::translateColor(OleColor color) const {
  if (!isSystemColor(color)) return color & 0x00FFFFFFu;
  const int index = systemColorIndex(color);
  return site_ ? site_->systemColor(index) : classicSystemColor(index);
}

void Control::throwError(std::uint16_t number) { throw AutomationError::standard(number); }

void Control::throwError(std::uint16_t number, const std::string& description) {
  throw AutomationError::custom(number, description);
}

bool Control::stockIdOfName(std::string_view name, DispId& id) const {
  struct Entry {
    std::string_view name;
    DispId id;
  };
  static constexpr Entry kStock[] = {{"Font", kDispIdFont},
                                     {"ForeColor", kDispIdForeColor},
                                     {"Enabled", kDispIdEnabled},
                                     {"hWnd", kDispIdHwnd}};
  for (const Entry& e : kStock) {
    if (e.name.size() == name.size() && strncasecmp(e.name.data(), name.data(), name.size()) == 0) {
      id = e.id;
      return true;
    }
  }
  return false;
}

bool Control::getStock(DispId id, Variant& out) {
  switch (id) {
    case kDispIdFont:
      // The font object may outlive the control; it then refuses to be used.
      out = Variant(std::shared_ptr<automation::Dispatch>(std::make_shared<FontDispatch>(
          [self = self_] {
            if (!*self) throw AutomationError(kErrObjectNotSet, "Object variable not set");
            return (*self)->font_;
          },
          [self = self_](const Font& f) {
            if (!*self) throw AutomationError(kErrObjectNotSet, "Object variable not set");
            (*self)->setFont(f);
          })));
      return true;
    case kDispIdForeColor:
      out = Variant(static_cast<std::int32_t>(foreColor_));
      return true;
    case kDispIdEnabled:
      out = Variant(enabled_);
      return true;
    case kDispIdHwnd:
      out = Variant(static_cast<std::int32_t>(hwnd_));
      return true;
    default:
      return false;
  }
}

bool Control::putStock(DispId id, const Variant& value) {
  switch (id) {
    case kDispIdFont: {
      std::shared_ptr<automation::Dispatch> font = value.toDispatch();
      if (!font) throwError(automation::kErrInvalidPropertyValue);
      setFont(FontDispatch::fromDispatch(*font));
      return true;
    }
    case kDispIdForeColor:
      setForeColor(static_cast<OleColor>(value.toI4()));
      return true;
    case kDispIdEnabled:
      setEnabled(value.toBool());
      return true;
    case kDispIdHwnd:
      throwError(automation::kErrSetNotSupported);
    default:
      return false;
  }
}

void Control::firePropertyChanged(DispId id) {
  if (site_) site_->onPropertyChanged(id);
}

void Control::fireEvent(DispId id, std::vector<Variant> args) {
  if (site_) site_->fireEvent(id, std::move(args));
}

void Control::invalidate(const gdi::Rect& rect) {
  if (site_ && !rect.isEmpty()) site_->invalidate(rect);
}

void Control::invalidateAll() {
  if (site_) site_->invalidateAll();
}

bool Control::postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  return site_ != nullptr && site_->postMessage(msg, wParam, lParam);
}

}  // namespace ocx
