// The operator's buttons, spin buttons and menu items.
#include <cmath>

#include "recorder/chart_setup.h"
#include "recorder/ole_date.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder {

void ZelkChrtForm::scrollClick() {
  guarded([this] {
    if (Running_ == 0 && !Playing_) {
      startRecording();
    } else if (Running_ == 1 && !Playing_) {
      stopRecording();
    } else if (Running_ == 0 && Playing_) {
      // Pause or resume the playback.
      if (scrollCaption_ == "Start") {
        playBackTimer_.setEnabled(true);
        setScrollCaption("Stop");
      } else {
        playBackTimer_.setEnabled(false);
        setScrollCaption("Start");
      }
    }
  });
}

void ZelkChrtForm::startRecording() {
  const bool opensLog = LoggingEnabled_ && !LogFileOpen_;
  if (opensLog && !openLog()) return;
  if (!StartTimeSet_) CurrentTime_ = host_.timeOfDay();
  if (opensLog && LogFileOpen_) {
    beginLogDay();
  } else if (LogFileOpen_) {
    keepLogDay();
  }
  runWindowSetup();
  channelAction(kChannelInitialize);
  waveIn_.Start();
  clock_.setEnabled(true);
  setScrollCaption("Stop");
  Running_ = 1;
}

void ZelkChrtForm::stopRecording() {
  // The trace stays on the chart and the log stays open.
  waveIn_.Stop();
  clock_.setEnabled(false);
  LastX_.reset();
  setScrollCaption("Start");
  Running_ = 0;
}

void ZelkChrtForm::command2Click() {
  guarded([this] {
    const std::int64_t now = oleDateToSeconds(host_.timeOfDay());
    const auto answer = prompter_.inputBox("Enter the start time for the data (hh:mm:ss)",
                                           kFormCaption, formatTimeOfDay(now));
    if (!answer || answer->empty()) {
      CurrentTime_ = host_.timeOfDay();
      return;
    }
    const auto time = parseTimeOfDay(*answer);
    if (!time) {
      // Nothing changes: the clock keeps its time and the operator may try again.
      reportError("\"" + *answer + "\" is not a time of day; enter it as hh:mm:ss.");
      return;
    }
    CurrentTime_ = *time;
    StartTimeSet_ = true;
  });
}

void ZelkChrtForm::applySampleSizeRow(int row) {
  sampleSizeRow_ = row;
  SamplesPerPoint_ = tables_.SampleSizeTable[row][0];
  sampleSizeLed_.setValue(tables_.SampleSizeTable[row][1]);
  SecondsPerPoint_ = static_cast<float>(tables_.SampleSizeTable[row][1]) / 1000.0f;
  applyLedColourRule();
}

void ZelkChrtForm::applyLedColourRule() {
  const double m = sampleSizeLed_.Value();
  const double s = chartSpeedLed_.Value();
  if (s == 0) return;  // no chart speed shown: nothing to compare with
  sampleSizeLed_.setFillColor(m / s >= 0.6 ? 0x00FF00 : 0x00FFFF);
}

void ZelkChrtForm::sampleSizeChange() {
  // Only rows that give a sample size; the spin button's range keeps to them.
  const int row = sampleSizeSpin_.Value();
  if (tables_.usableSampleSizeRow(row)) applySampleSizeRow(row);
}

void ZelkChrtForm::chartSpeedChange() {
  const int row = chartSpeedSpin_.Value();
  if (row < 0 || row >= kChartSpeedRows) return;
  SpeedFactor_ = tables_.ChartSpeedTable[row][0];
  chartSpeedLed_.setValue(
      static_cast<std::int32_t>(std::nearbyint(tables_.ChartSpeedTable[row][1])));
  // The trace drawn so far no longer matches the spacing.
  channelAction(kChannelErase);
  applyLedColourRule();
}

void ZelkChrtForm::vertPosChange() {
  chart_.put("ChnDspOffsetY", automation::Variant(static_cast<std::int32_t>(vertPosSpin_.Value())));
  channelAction(kChannelTranslate);
}

void ZelkChrtForm::vertScaleChange() {
  const int row = vertScaleSpin_.Value();
  if (row < 0 || row >= kVertScaleRows) return;
  VertFraction_ = tables_.VertScaleTable[row][1];
  runWindowSetup();
  runChannelSetup();
  vertScaleLed_.setValue(static_cast<std::int32_t>(std::nearbyint(tables_.VertScaleTable[row][0])));
}

void ZelkChrtForm::eraseButtonClick() {
  guarded([this] { channelAction(kChannelErase); });
}

void ZelkChrtForm::command1Click() {
  guarded([this] {
    // The whole window, client and non-client areas, best fit, scale 1:1.
    std::array<automation::Variant, 6> args = {
        automation::Variant(host_.windowHandle()), automation::Variant(std::int32_t{1}),
        automation::Variant(std::int32_t{1}),      automation::Variant(std::int32_t{1}),
        automation::Variant(std::int32_t{1}),      automation::Variant(std::string("ZelkChart"))};
    const automation::Variant result = chart_.call("VBPrintWindow", args);
    ChartResult_ = result.type() == automation::VT_EMPTY ? 0 : result.toI4();
  });
}

void ZelkChrtForm::prnSetupClick() {
  guarded([this] { dialog_.ShowPrinter(); });
}

void ZelkChrtForm::exitClick() {
  guarded([this] {
    waveIn_.Stop();
    closeLog();
    host_.endProgram();
  });
}

void ZelkChrtForm::getOutClick() {
  // The program's end closes the files.
  guarded([this] { host_.endProgram(); });
}

void ZelkChrtForm::aboutClick() {
  guarded([this] { host_.showAbout(); });
}

}  // namespace recorder
