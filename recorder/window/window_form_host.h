// The recorder form's program side in the window: showing and centring the form, letting the
// chart's pending messages and paints run between blocks, and ending the program.
#pragma once

#include <QWidget>

#include "host/qt/qt_container.h"
#include "recorder/form_host.h"

namespace recorder::window {

class WindowFormHost final : public FormHost {
 public:
  WindowFormHost(QWidget& window, host::qt::QtContainer& chart) : window_(window), chart_(chart) {}

  void showForm() override;
  int screenWidth() const override;
  int screenHeight() const override;
  int formWidth() const override { return window_.frameGeometry().width(); }
  int formHeight() const override { return window_.frameGeometry().height(); }
  void moveForm(int left, int top) override;
  // The chart's posted messages and its paint; the event loop runs everything else between
  // blocks, so no handler is ever entered again from inside another.
  void doEvents() override { chart_.pump(); }
  // Leaves the event loop once the current handler has returned.
  void endProgram() override;
  void showAbout() override;
  // The window's X11 id: what window capture and printing look for.
  std::int32_t windowHandle() const override;

  bool ended() const { return ended_; }

 private:
  QWidget& window_;
  host::qt::QtContainer& chart_;
  bool ended_ = false;
};

}  // namespace recorder::window
