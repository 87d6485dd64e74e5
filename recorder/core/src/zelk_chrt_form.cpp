#include "recorder/zelk_chrt_form.h"

#include "recorder/chart_setup.h"
#include "wave_tool_binding.h"

namespace recorder {

ZelkChrtForm::ZelkChrtForm(automation::Dispatch& chart, FormHost& host, host::Prompter& prompter)
    : chart_(chart),
      host_(host),
      prompter_(prompter),
      dialog_(prompter),
      waveTool_(std::make_unique<WaveToolBinding>()) {
  // Stored settings of the components.
  waveIn_.link(&dsp_);
  playBackTimer_.setEnabled(false);
  playBackTimer_.setWaitForTerminate(true);
  vertPosSpin_.setIncrement(100);
  sampleSizeLed_.setDigits(3);
  sampleSizeLed_.setBlankLeadingZeros(true);
  sampleSizeLed_.setValue(50);
  chartSpeedLed_.setDigits(3);
  chartSpeedLed_.setBlankLeadingZeros(true);
  chartSpeedLed_.setValue(30);
  vertScaleLed_.setDigits(1);
  vertScaleLed_.setValue(8);

  dsp_.onBufferReady([this](WAVEHDR* hdr) { bufferReady(hdr); });
  clock_.onTimer([this] { clockTick(); });
  playBackTimer_.onTimer([this] { playBackTimerTick(); });
  sampleSizeSpin_.onChange([this] { guarded([this] { sampleSizeChange(); }); });
  chartSpeedSpin_.onChange([this] { guarded([this] { chartSpeedChange(); }); });
  vertPosSpin_.onChange([this] { guarded([this] { vertPosChange(); }); });
  vertScaleSpin_.onChange([this] { guarded([this] { vertScaleChange(); }); });
  // A recording that runs out ends as if the operator had pressed Stop.
  waveIn_.onEndOfInput([this] {
    guarded([this] {
      if (Running_ == 1) stopRecording();
    });
  });
  waveIn_.onError([this](const std::string& why) {
    guarded([this, &why] {
      if (Running_ == 1) stopRecording();
      reportError("The audio input stopped: " + why);
    });
  });
}

ZelkChrtForm::~ZelkChrtForm() {
  waveIn_.Stop();
  clock_.setEnabled(false);
  playBackTimer_.setEnabled(false);
  closeFiles();
}

void ZelkChrtForm::load() {
  guarded([this] {
    host_.showForm();
    host_.moveForm((host_.screenWidth() - host_.formWidth()) / 2,
                   (host_.screenHeight() - host_.formHeight()) / 2);
    // The input's stored settings already give 16-bit samples in 8000-byte buffers; the rate
    // is the value written here.
    waveIn_.setSampleRate(8000);

    Running_ = 0;
    chartData_.xs()[0] = 0;
    LastX_.reset();
    BlockSamplesPerPoint_ = 400;
    LoggingEnabled_ = false;
    LogFileOpen_ = false;
    LogFileName_ = "Zelk.log";
    SpeedFactor_ = 26.5417f;
    Playing_ = false;
    StartTimeSet_ = false;
    SecondsPerPoint_ = 0.05f;
    SamplesPerPoint_ = 400;
    sampleSizeRow_ = 4;
    VertFraction_ = 0.875f;
    tables_.fill();
    clock_.setEnabled(false);

    setupPens(chart_);
    setupGeneralAppearance(chart_);
    setupViewport(chart_);
    runWindowSetup();
    runChannelSetup();
  });
}

void ZelkChrtForm::reportError(const std::string& text) {
  prompter_.messageBox(text, kFormCaption, host::vbOKOnly | host::vbCritical);
}

void ZelkChrtForm::viewChanged() {
  if (viewChanged_) viewChanged_();
}

void ZelkChrtForm::setText(std::string& box, std::string text) {
  if (box == text) return;
  box = std::move(text);
  viewChanged();
}

void ZelkChrtForm::setScrollCaption(const char* caption) {
  if (scrollCaption_ == caption) return;
  scrollCaption_ = caption;
  viewChanged();
}

void ZelkChrtForm::setLoggingChecked(bool checked) {
  if (loggingChecked_ == checked) return;
  loggingChecked_ = checked;
  viewChanged();
}

void ZelkChrtForm::runWindowSetup() {
  const int row = vertScaleSpin_.Value();
  const float divisions = row >= 0 && row < kVertScaleRows ? tables_.VertScaleTable[row][2] : 7;
  setupWindowScaleLabel(chart_, divisions, VertFraction_);
}

void ZelkChrtForm::runChannelSetup() { setupChannel(chart_, vertPosSpin_.Value()); }

void ZelkChrtForm::channelAction(std::int16_t action) {
  chart_.put("ChnDspAction", automation::Variant(action));
}

void ZelkChrtForm::sendPoints(std::int32_t points) {
  ChartResult_ = chartData_.send(chart_, 1, points);
}

void ZelkChrtForm::closeFiles() {
  closeLog();
  playback_.close();
}

}  // namespace recorder
