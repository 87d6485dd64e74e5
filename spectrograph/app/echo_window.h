// Counting meteor echoes in the window: Options > Echo counting... sets the listening and
// reference bands, the threshold and the longest echo (kept with the user's choices), and the
// status line shows this UTC hour's count, the bands and threshold it counts with, and the last
// echo's time and SNR. The window's clock is the system clock in UTC at the start of counting,
// carried on by the samples.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <memory>
#include <optional>

#include "apps/remembered_choices.h"
#include "spectrograph/echo_detector.h"
#include "spectrograph/form1.h"

namespace spectrograph::app {

inline constexpr char kEchoChoice[] = "spec.echoes";  // "LOW:HIGH NOISELOW:NOISEHIGH SNR MAX"

// The choice as kept, and back; nullopt when it is not one.
std::optional<EchoSettings> parseEchoChoice(const std::string& text);
std::string echoChoiceText(const EchoSettings& settings);

class EchoWindow {
 public:
  // Adds the menu entry and the status line to main; form must outlive this.
  EchoWindow(QMainWindow& main, Form1& form, const apps::RememberedChoices& choices);
  ~EchoWindow();

  // Counting with these settings (nullopt: off), as the dialog's OK does.
  void use(const std::optional<EchoSettings>& settings);
  QLabel* statusLine() const { return status_; }

 private:
  void ask();
  void showStatus();

  QMainWindow& main_;
  Form1& form_;
  const apps::RememberedChoices& choices_;
  QLabel* status_;
  std::optional<EchoSettings> settings_;
  std::unique_ptr<EchoDetector> detector_;
  std::int64_t hour_ = 0;
  int hourCount_ = 0;
  std::optional<Echo> last_;
};

}  // namespace spectrograph::app
