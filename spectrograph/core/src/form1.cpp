#include "spectrograph/form1.h"

#include <array>
#include <cmath>

namespace spectrograph {

namespace {

// The stored settings of the form's components.
constexpr int kSampleRate = 8000;
constexpr int kBitLength = 16;
constexpr int kStoredFFTLength = 512;
constexpr int kStoredWindow = 4;   // Gaussian
constexpr int kStoredPalette = 1;  // Threshold, as the palette text reads at start-up
constexpr int kMeterSamples = 1000;
constexpr std::uint32_t kSilver = 0x00C0C0C0;
constexpr int kLedDigits = 4;
constexpr std::int32_t kLedMax = 9999;

// VBPrintWindow's print area and option: client and non-client areas, best fit.
constexpr std::int32_t kPrintWholeWindow = 1;
constexpr std::int32_t kPrintBestFit = 1;

}  // namespace

Form1::Form1(automation::Dispatch* chart, SpecHost& host, host::Prompter& prompter)
    : chart_(chart), host_(host), prompter_(prompter) {
  waveIn_.setBitLength(kBitLength);
  waveIn_.setSampleRate(kSampleRate);
  waveIn_.setBufferSize(kWaveBufferSize);
  waveIn_.link(&connector_);
  connector_.link(&meter_);
  connector_.link(&spec_);

  spec_.setBitLength(kBitLength);
  spec_.setSampleRate(kSampleRate);
  spec_.setFFTLength(kStoredFFTLength);
  spec_.setWindow(kStoredWindow);
  spec_.setPalette(kStoredPalette);
  spec_.setDrawScale(true);
  spec_.setScroll(true);

  meter_.setCaption("dB");
  meter_.setBitLength(kBitLength);
  meter_.setSamples(kMeterSamples);
  meter_.setFont({"MS Sans Serif", 8, true});
  meter_.setCaptionColor(kSilver);

  fftLed_.setDigits(kLedDigits);
  fftLed_.setMinValue(0);
  fftLed_.setMaxValue(kLedMax);
  fftLed_.setBlankLeadingZeros(true);
  fftLed_.setValue(kStoredFFTLength);

  windowButton_.onChange([this] { windowButtonChange(); });
  palletButton_.onChange([this] { palletButtonChange(); });
  gainButton_.onChange([this] { gainButtonChange(); });
  fftButton_.onChange([this] { fftButtonChange(); });
  logAmpSwitch_.onChange([this] { logAmpSwitchChange(); });
  embossSwitch_.onChange([this] { embosswitchChange(); });
  waveIn_.onError([this](const std::string& why) {
    guarded([&] {
      setText(startStopCaption_, "Start");
      reportError("The audio input stopped: " + why);
    });
  });
}

Form1::~Form1() { waveIn_.Stop(); }

void Form1::load() {
  guarded([this] {
    tables_.fill();
    // The window box names the window the spectrogram applies from its first column: its stored
    // Gaussian, on which the button then stands too.
    windowButton_.setValue(kStoredWindow);
    setText(windowText_, tables_.WindowTable[kStoredWindow]);
    setText(palletText_, tables_.PalletTable[1]);
  });
}

void Form1::startStopClick() {
  guarded([this] {
    if (startStopCaption_ == "Start") {
      waveIn_.Start();
      setText(startStopCaption_, "Stop");
    } else if (startStopCaption_ == "Stop") {
      waveIn_.Stop();
      setText(startStopCaption_, "Start");
    }
  });
}

void Form1::exitButtonClick() {
  guarded([this] {
    waveIn_.Stop();
    host_.endProgram();
  });
}

void Form1::printButtonClick() {
  printFailure_.clear();
  if (chart_ == nullptr) {
    printFailure_ = "the chart control is not available";
  } else {
    try {
      std::array<automation::Variant, 6> args = {automation::Variant(host_.windowHandle()),
                                                 automation::Variant(kPrintWholeWindow),
                                                 automation::Variant(kPrintBestFit),
                                                 automation::Variant(std::int32_t{1}),
                                                 automation::Variant(std::int32_t{1}),
                                                 automation::Variant(std::string(kPrintJobName))};
      const automation::Variant result = chart_->call("VBPrintWindow", args);
      printResult_ = result.type() == automation::VT_EMPTY ? 0 : result.toI4();
      return;
    } catch (const automation::AutomationError& e) {
      printFailure_ = std::string(e.what()) + " (error " + std::to_string(e.number()) + ")";
    } catch (const std::exception& e) {
      printFailure_ = e.what();
    }
  }
  printResult_ = 0;
  reportError("Printing is not available: " + printFailure_);
}

void Form1::reportError(const std::string& text) {
  prompter_.messageBox(text, kFormCaption, host::vbOKOnly | host::vbCritical);
}

void Form1::setText(std::string& box, std::string text) {
  if (box == text) return;
  box = std::move(text);
  if (viewChanged_) viewChanged_();
}

}  // namespace spectrograph
