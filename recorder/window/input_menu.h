// Options > Input: the capture devices PortAudio reports (read again each time the menu opens),
// the synthetic signal and a recording. The choice takes effect at the next Start.
#pragma once

#include <QMenu>
#include <functional>
#include <string>
#include <vector>

#include "host/prompter.h"
#include "xvtools/xv_wave_in.h"

namespace recorder::window {

class InputMenu final : public QMenu {
 public:
  using DeviceLister = std::function<std::vector<std::string>()>;
  InputMenu(xvtools::XVWaveInX& waveIn, host::Prompter& prompter, DeviceLister devices,
            QWidget* parent = nullptr);

  // Rebuilds the entries from the devices present, checking the input in force.
  void refresh();
  // Called once the operator's choice is the input in force.
  void onChosen(std::function<void()> handler) { chosen_ = std::move(handler); }

 private:
  void addChoice(const QString& text, const xvtools::InputSpec& choice);
  void chooseRecording();

  xvtools::XVWaveInX& waveIn_;
  host::Prompter& prompter_;
  DeviceLister devices_;
  std::function<void()> chosen_;
};

}  // namespace recorder::window
