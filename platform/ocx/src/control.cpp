#include "ocx/control.h"

#include <strings.h>

#include <cmath>

#include "bag_exchange.h"
#include "font_dispatch.h"
#include "ocx/dispids.h"
#include "ocx/messages.h"
#include "stream_exchange.h"

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
void Control::onMouse(unsigned message, int x, int y, unsigned) {
  enum class Kind { Down, Up, DoubleClick };
  unsigned button = 0;
  Kind kind = Kind::Down;
  switch (message) {
    case kWmLButtonDown:
    case kWmRButtonDown:
    case kWmMButtonDown:
      button = message == kWmLButtonDown ? 1u : message == kWmRButtonDown ? 2u : 4u;
      break;
    case kWmLButtonUp:
    case kWmRButtonUp:
    case kWmMButtonUp:
      button = message == kWmLButtonUp ? 1u : message == kWmRButtonUp ? 2u : 4u;
      kind = Kind::Up;
      break;
    case kWmLButtonDblClk:
    case kWmRButtonDblClk:
    case kWmMButtonDblClk:
      button = message == kWmLButtonDblClk ? 1u : message == kWmRButtonDblClk ? 2u : 4u;
      kind = Kind::DoubleClick;
      break;
    default:
      return;
  }
  if (kind != Kind::Up) {
    if (buttonState_ == 0 && site_) site_->setCapture();
    buttonState_ |= button;
    if (kind == Kind::DoubleClick) {
      dblClkState_ |= button;
      fireEvent(kDispIdDblClick, {});
    }
    return;
  }
  if ((buttonState_ & button) == 0) return;
  buttonState_ &= ~button;
  if (buttonState_ == 0 && site_) site_->releaseCapture();
  // The release that ends a double click is no click of its own.
  if (dblClkState_ & button) {
    dblClkState_ &= ~button;
    return;
  }
  const gdi::Point size = site_ ? site_->clientSize() : gdi::Point{0, 0};
  if (x >= 0 && y >= 0 && x < size.x && y < size.y) fireEvent(kDispIdClick, {});
}

void Control::onKey(unsigned message, unsigned virtualKey, unsigned keys) {
  Variant code(static_cast<std::int16_t>(virtualKey & 0xFFFF));
  switch (message) {
    case kWmKeyDown:
      fireEvent(kDispIdKeyDown, {Variant::ref(&code), Variant(shiftState(keys))});
      break;
    case kWmKeyUp:
      fireEvent(kDispIdKeyUp, {Variant::ref(&code), Variant(shiftState(keys))});
      break;
    case kWmChar:
      fireEvent(kDispIdKeyPress, {Variant::ref(&code)});
      break;
    default:
      break;
  }
}

bool Control::onSetCursor(gdi::Point) { return false; }

std::int16_t Control::shiftState(unsigned keys) const {
  const bool alt = site_ && site_->isAltDown();
  return static_cast<std::int16_t>(((keys & kMkShift) ? 1 : 0) + ((keys & kMkControl) ? 2 : 0) +
                                   (alt ? 4 : 0));
}

std::vector<std::uint8_t> Control::saveToStream() {
  StreamSaver px;
  doPropExchange(px);
  return px.take();
}

std::string Control::saveToBag(const automation::Guid& clsid) {
  BagSaver px(clsid);
  doPropExchange(px);
  return px.take();
}

void Control::loadFromStream(std::span<const std::uint8_t> bytes) {
  StreamLoader px(bytes);
  doPropExchange(px);
  setModifiedFlag(false);
}

void Control::loadFromBag(std::string_view text) {
  BagLoader px(text);
  doPropExchange(px);
  setModifiedFlag(false);
}

void Control::doPropExchange(PropExchange& px) { exchangeStockProps(px); }

void Control::exchangeStockProps(PropExchange& px) {
  px.color("ForeColor", foreColor_);
  px.boolean("Enabled", enabled_);
  // Loaded values go straight into the font; one that could not be drawn keeps the default.
  Font f = font_;
  std::string name = f.name;
  px.text("FontName", name);
  px.r4("FontSize", f.size);
  px.boolean("FontBold", f.bold);
  px.boolean("FontItalic", f.italic);
  px.boolean("FontUnderline", f.underline);
  px.boolean("FontStrikethru", f.strikethrough);
  if (!px.loading()) return;
  if (!name.empty() && name.size() <= 255 && name.find('\0') == std::string::npos) f.name = name;
  if (!std::isfinite(f.size) || f.size <= 0.0f || f.size > 2048.0f) f.size = font_.size;
  font_ = f;
}
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
