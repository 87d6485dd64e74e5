// The recorder's main window: the chart control in a QtContainer, the four LED-and-spin groups,
// the time boxes, the status line, the six buttons and the File/Options/About menus, all driven
// by the same form logic as the headless run.
//
// Printing: Print calls the chart's VBPrintWindow with this window's handle (its X11 id) and
// File > Printer Setup asks prompter().choosePrinter(), which opens Qt's printer dialog; the
// printer picked there is where later prints go. Tests may install another chooser.
#pragma once

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <array>
#include <memory>
#include <string>

#include "apps/user_chart_style.h"
#include "host/qt/qt_container.h"
#include "host/qt/qt_prompter.h"
#include "input_choice.h"
#include "input_menu.h"
#include "log_choice_prompter.h"
#include "recorder/zelk_chrt_form.h"
#include "window_form_host.h"
#include "xvtools/qt/led_panel_widget.h"
#include "xvtools/qt/qt_form_thread.h"
#include "xvtools/qt/spin_button_widget.h"

namespace recorder::web {
class WebView;
}  // namespace recorder::web

namespace recorder::window {

class RecorderWindow final : public QMainWindow {
 public:
  // Creates the chart control (throws when it cannot), builds the window, and runs the form's
  // start-up, which shows and centres it. devices lists the capture devices for the Input menu.
  RecorderWindow(const StartInput& input, InputMenu::DeviceLister devices);
  ~RecorderWindow() override;

  ZelkChrtForm& form() { return *form_; }
  host::qt::QtContainer& chart() { return *chart_; }
  host::qt::QtPrompter& prompter() { return prompter_; }
  bool ended() const { return formHost_->ended(); }

  QPushButton* scrollButton() const { return scroll_; }
  QPushButton* playbackButton() const { return playback_; }
  QPushButton* eraseButton() const { return erase_; }
  QPushButton* printButton() const { return print_; }
  QPushButton* timeButton() const { return time_; }
  QPushButton* exitButton() const { return exit_; }
  QLineEdit* timeDisp() const { return timeDisp_; }
  QLineEdit* text1() const { return text1_; }
  QLineEdit* text2() const { return text2_; }
  QLineEdit* text3() const { return text3_; }
  // Frames in the order sample size, chart speed, vertical scale, vertical position.
  const std::array<QGroupBox*, 4>& frames() const { return frames_; }
  xvtools::qt::LedPanelWidget* led(int i) const {
    return leds_.at(static_cast<std::size_t>(i - 1));
  }
  // XVSpinButtonX1..4 by their number.
  xvtools::qt::SpinButtonWidget* spin(int i) const {
    return spins_.at(static_cast<std::size_t>(i - 1));
  }
  QAction* printerSetupAction() const { return printerSetup_; }
  QAction* getOutAction() const { return getOut_; }
  QAction* loggingAction() const { return logging_; }
  QAction* aboutAction() const { return about_; }
  InputMenu* inputMenu() const { return inputMenu_; }
  QMenu* optionsMenu() const { return options_; }
  // The Web view menu's entry naming where --serve listens; null without --serve.
  QAction* webViewAction() const { return webView_; }
  // Says where the web view is served (the menu bar and, until the form says something else,
  // the status line) and keeps its snapshot up to date after each of the clock's seconds.
  void serve(web::WebView& web);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls(QWidget* client);
  void buildMenus(InputMenu::DeviceLister devices);
  void showFormView();
  void print();
  void orderTabs();

  host::qt::QtPrompter prompter_;
  LogChoicePrompter formPrompter_{prompter_};
  xvtools::qt::QtFormThread formThread_;
  host::qt::QtContainer* chart_ = nullptr;
  std::unique_ptr<WindowFormHost> formHost_;
  std::unique_ptr<apps::StyledChart> styledChart_;
  std::unique_ptr<ZelkChrtForm> form_;

  QPushButton* scroll_ = nullptr;
  QPushButton* playback_ = nullptr;
  QPushButton* erase_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* time_ = nullptr;
  QPushButton* exit_ = nullptr;
  QLineEdit* timeDisp_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QLineEdit* text3_ = nullptr;
  std::array<QGroupBox*, 4> frames_{};
  std::array<xvtools::qt::LedPanelWidget*, 3> leds_{};
  std::array<xvtools::qt::SpinButtonWidget*, 4> spins_{};
  QAction* printerSetup_ = nullptr;
  QAction* getOut_ = nullptr;
  QAction* logging_ = nullptr;
  QAction* about_ = nullptr;
  InputMenu* inputMenu_ = nullptr;
  QMenu* options_ = nullptr;
  QAction* webView_ = nullptr;
  std::string printFailure_;         // on the status line after a failed print
  std::string statusBeforeFailure_;  // what it said before
};

}  // namespace recorder::window
