// The spectrograph's form: the audio chain (input, connector, meter, spectrogram) joined by its
// stored links, the operator's spin buttons and switches passing their choices to the
// spectrogram, Start/Stop, Exit, and Print through the form's chart control. Toolkit-free, so
// the same form serves the window and the headless run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "automation/automation.h"
#include "host/prompter.h"
#include "spectrograph/spec_host.h"
#include "spectrograph/spec_tables.h"
#include "xvtools/xv_connector.h"
#include "xvtools/xv_led_panel.h"
#include "xvtools/xv_meter.h"
#include "xvtools/xv_spectrogram.h"
#include "xvtools/xv_spin_button.h"
#include "xvtools/xv_switch.h"
#include "xvtools/xv_wave_in.h"

namespace spectrograph {

inline constexpr char kFormCaption[] = "ZelkSpec";
inline constexpr char kPrintJobName[] = "ZelkSpec";
// Bytes per audio buffer: 512 samples, a sixteenth of a second at 8000 per second.
inline constexpr int kWaveBufferSize = 1024;

class Form1 {
 public:
  // chart is QVM_Plotrex1, used only for printing; it may be null when the control could not be
  // created (printing then reports that it is not available). host and prompter must outlive
  // the form. The components start with their stored settings and links.
  Form1(automation::Dispatch* chart, SpecHost& host, host::Prompter& prompter);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Form load: fills the tables and the window and palette texts; the window button and text
  // show the spectrogram's stored window.
  void load();

  void startStopClick();
  void exitButtonClick();
  void printButtonClick();

  // Events of the spin buttons and switches (wired at construction).
  void windowButtonChange();
  void palletButtonChange();
  void gainButtonChange();
  void fftButtonChange();
  void logAmpSwitchChange();
  void embosswitchChange();

  // Components on the form.
  xvtools::XVWaveInX& WaveIn() { return waveIn_; }
  xvtools::XVConnectorX& XVConnectorX1() { return connector_; }
  xvtools::XVMeterX& XVMeterX1() { return meter_; }
  xvtools::XVSpectrogramX& Spec() { return spec_; }
  xvtools::XVSpinButtonX& WindowButton() { return windowButton_; }
  xvtools::XVSpinButtonX& PalletButton() { return palletButton_; }
  xvtools::XVSpinButtonX& GainButton() { return gainButton_; }
  xvtools::XVSpinButtonX& FFTButton() { return fftButton_; }
  xvtools::XVLEDPanelX& FFTLength() { return fftLed_; }
  xvtools::XVSwitchX& LogAmpSwitch() { return logAmpSwitch_; }
  xvtools::XVSwitchX& Embosswitch() { return embossSwitch_; }

  // What the form shows.
  const std::string& WindowText() const { return windowText_; }
  const std::string& PalletText() const { return palletText_; }
  const std::string& GainText() const { return gainText_; }
  const std::string& startStopCaption() const { return startStopCaption_; }
  // Raised once after a text or the caption changed.
  void onViewChanged(std::function<void()> handler) { viewChanged_ = std::move(handler); }

  const SpecTables& tables() const { return tables_; }
  // What the last print call returned (0 when it could not be made).
  std::int32_t PrintResult() const { return printResult_; }
  // Why the last Print could not reach the chart control's printing; empty when it did.
  const std::string& printFailure() const { return printFailure_; }
  // Tells the operator, as a failing handler does.
  void reportError(const std::string& text);

 private:
  template <typename Handler>
  void guarded(Handler&& handler);
  void setText(std::string& box, std::string text);

  automation::Dispatch* chart_;
  SpecHost& host_;
  host::Prompter& prompter_;

  xvtools::XVWaveInX waveIn_;
  xvtools::XVConnectorX connector_;
  xvtools::XVMeterX meter_;
  xvtools::XVSpectrogramX spec_;
  xvtools::XVSpinButtonX windowButton_{0, 6, 0};
  xvtools::XVSpinButtonX palletButton_{0, 7, 1};
  xvtools::XVSpinButtonX gainButton_{0, 2, 0};
  xvtools::XVSpinButtonX fftButton_{0, 4, 3};
  xvtools::XVLEDPanelX fftLed_;
  xvtools::XVSwitchX logAmpSwitch_{1};
  xvtools::XVSwitchX embossSwitch_{1};

  std::string windowText_;
  std::string palletText_;
  std::string gainText_ = "0dB";
  std::string startStopCaption_ = "Start";
  std::function<void()> viewChanged_;

  SpecTables tables_;
  std::int32_t printResult_ = 0;
  std::string printFailure_;
};

// Every handler runs through here: a failing component or chart call is shown to the operator
// instead of ending the program.
template <typename Handler>
void Form1::guarded(Handler&& handler) {
  try {
    handler();
  } catch (const automation::AutomationError& e) {
    reportError(std::string(e.what()) + " (error " + std::to_string(e.number()) + ")");
  } catch (const std::exception& e) {
    reportError(e.what());
  }
}

}  // namespace spectrograph
