// Base of an embedded control: site, ambient mode, modified flag, stock properties, error raising,
// and the entries its container calls.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/automation.h"
#include "gdi/geometry.h"
#include "ocx/control_site.h"
#include "ocx/font.h"
#include "ocx/ole_color.h"

namespace gdi {
class DeviceContext;
}

namespace ocx {

class DdeDataSource;
class PropExchange;

class Control : public automation::Dispatch {
 public:
  Control();
  ~Control() override;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The container attaches its site before initNew() or loading, and detaches it (null) before
  // it lets the control go.
  void setSite(ControlSite* site);
  ControlSite* site() const { return site_; }

  // The container initialises a new control: the stock properties are reset.
  virtual void initNew();

  // Container entries, all on the UI thread.
  virtual void onWindowCreated(std::uintptr_t hwnd);
  virtual void onWindowDestroyed();
  virtual void onResize(int width, int height);
  // dc draws on the screen image; bounds is the control's rectangle on it, invalid the part that
  // needs painting (empty: all of it).
  virtual void onPaint(gdi::DeviceContext& dc, const gdi::Rect& bounds, const gdi::Rect& invalid);
  virtual void onMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
  // The framework's default mouse handling: capture between press and release, the stock Click
  // after a release over the control and DblClick on a double-click message. A control that
  // handles the mouse itself calls it after its own routine.
  virtual void onMouse(unsigned message, int x, int y, unsigned keys);
  // WM_KEYDOWN, WM_KEYUP and WM_CHAR with MK_SHIFT / MK_CONTROL flags: the stock key events,
  // whose key argument the container may change.
  virtual void onKey(unsigned message, unsigned virtualKey, unsigned keys);
  // The container asks for the cursor over a client point; false leaves it to the container.
  virtual bool onSetCursor(gdi::Point where);
  virtual void onAmbientChanged(automation::DispId id);

  // Persistence: the control's entries through a property exchange, in either form. Loading
  // takes the place of initNew(); what the data lack keeps its construction default.
  std::vector<std::uint8_t> saveToStream();
  std::string saveToBag(const automation::Guid& clsid);
  void loadFromStream(std::span<const std::uint8_t> bytes);
  void loadFromBag(std::string_view text);

  // The interface a development environment's DDE link asks for; null when not offered.
  virtual DdeDataSource* ddeDataSource() { return nullptr; }

  bool ambientUserMode() const;  // run mode when there is no site
  int logPixelsX() const;        // 96 when there is no site
  int logPixelsY() const;

  bool isModified() const { return modified_; }
  void setModifiedFlag(bool modified = true);

  // Stock properties.
  const Font& font() const { return font_; }
  void setFont(const Font& font);
  OleColor foreColor() const { return foreColor_; }
  void setForeColor(OleColor color);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  std::uintptr_t hWnd() const { return hwnd_; }

  // An OLE colour as the screen shows it (system colours through the site).
  gdi::ColorRef translateColor(OleColor color) const;

  // Raising automation errors: a standard one (380, 383, ...) or the control's own.
  [[noreturn]] static void throwError(std::uint16_t number);
  [[noreturn]] static void throwError(std::uint16_t number, const std::string& description);

 protected:
  // Stock properties through the dispatch interface; a derived control forwards unknown ids here.
  // Return false when the id is not a stock one.
  bool stockIdOfName(std::string_view name, automation::DispId& id) const;
  bool getStock(automation::DispId id, automation::Variant& out);
  bool putStock(automation::DispId id, const automation::Variant& value);

  // The exchange of every persisted entry; the base exchanges the stock properties.
  virtual void doPropExchange(PropExchange& px);
  void exchangeStockProps(PropExchange& px);
  // The Shift argument of mouse and key events: Shift 1, Ctrl 2, Alt 4.
  std::int16_t shiftState(unsigned keys) const;

  // Hooks after a stock property changed.
  virtual void onFontChanged() {}
  virtual void onForeColorChanged() {}
  virtual void onEnabledChanged() {}

  // Forwarders to the site that do nothing without one.
  void firePropertyChanged(automation::DispId id);
  void fireEvent(automation::DispId id, std::vector<automation::Variant> args);
  void invalidate(const gdi::Rect& rect);
  void invalidateAll();
  bool postMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

 private:
  ControlSite* site_ = nullptr;
  bool modified_ = false;
  Font font_;
  OleColor foreColor_ = systemColor(18);  // button text
  bool enabled_ = true;
  std::uintptr_t hwnd_ = 0;
  unsigned buttonState_ = 0;
  unsigned dblClkState_ = 0;
  // Shared with objects handed out to clients (the font), which may outlive the control.
  std::shared_ptr<Control*> self_;
};

}  // namespace ocx
