// A widget that sites one control: the Qt counterpart of the headless container. It paints the
// control's screen image, turns invalidation into widget updates, runs the messages the control
// (and its frame timer's thread) posts on the GUI thread, and hands mouse and key input to the
// control as the platform's window messages.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/automation.h"
#include "host/image_file.h"

namespace host::qt {

class QtContainer final : public QWidget {
 public:
  explicit QtContainer(QWidget* parent = nullptr);
  ~QtContainer() override;

  // Loads the control by class identifier, sites it, initialises it as a new control and gives
  // it a window of this widget's size. A control created before is destroyed first. Raises
  // error 429 when no module provides the class.
  automation::Dispatch& create(const automation::Guid& clsid);
  // Raises error 91 before create().
  automation::Dispatch& control();
  // Like create(), but the control loads saved state instead of starting as a new control.
  // Damaged data never fail the load: what cannot be read keeps its default.
  automation::Dispatch& load(const automation::Guid& clsid, std::span<const std::uint8_t> stream);
  automation::Dispatch& loadBag(const automation::Guid& clsid, std::string_view bag);
  // The control's persisted state, in the stream form and in the property-bag text form; empty
  // when the object is not a control.
  std::vector<std::uint8_t> saveStream();
  std::string saveBag();

  // Run mode (true, the default) or design mode, as a designer shows the control; the control is
  // told when it changes.
  void setUserMode(bool userMode);
  bool userMode() const;

  // Runs the posted messages and the pending paint now, as the event loop would.
  void pump();
  // What the control's screen shows, 0x00BBGGRR.
  PixelView screenImage() const;
  std::uint32_t pixel(int x, int y) const;
  // The control's window handle, 0 before create().
  std::uintptr_t windowHandle() const;
  // The cursor shape the control last asked for: a system IDC_* number, the control's own
  // cursor number (201-207), -1 for its custom picture, 0 for the container's own.
  int cursorShape() const;

  // Events the control fires, handed to the program inside the control's firing call;
  // by-reference arguments may be written back.
  using EventHandler = std::function<void(automation::DispId, std::span<automation::Variant>)>;
  void setEventHandler(EventHandler handler);

  QSize sizeHint() const override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  class Site;
  std::unique_ptr<Site> site_;
  struct Press {
    Qt::MouseButton button = Qt::NoButton;
    quint64 time = 0;
    QPoint at;
  };
  Press lastPress_;  // the first press of a possible double click
};

}  // namespace host::qt
