// The strip-chart recorder's main form: its state, tables, start-up, the per-block reduction and
// plotting, the one-second clock, logging, playback and the operator's controls. It holds the
// outside components as models and drives the chart control only through automation, so the
// same form serves the GUI and the headless run.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "automation/automation.h"
#include "host/common_dialog.h"
#include "host/prompter.h"
#include "recorder/block_reducer.h"
#include "recorder/chart_data_call.h"
#include "recorder/form_host.h"
#include "recorder/log_points.h"
#include "recorder/log_writer.h"
#include "recorder/point_clock.h"
#include "recorder/recorder_tables.h"
#include "xvaxtool.h"
#include "xvtools/xv_dsp_interface.h"
#include "xvtools/xv_hi_timer.h"
#include "xvtools/xv_led_panel.h"
#include "xvtools/xv_spin_button.h"
#include "xvtools/xv_wave_in.h"

namespace recorder {

class WaveToolBinding;

// BlockSamples holds 4001 samples: 8002 bytes.
constexpr std::size_t kBlockSampleCapacity = 4001;
constexpr std::int32_t kBlockByteCapacity = 8002;
// A block larger than the buffer is taken in parts of the stored buffer size.
constexpr std::int32_t kBlockPartBytes = 8000;

inline constexpr char kFormCaption[] = "ZelkChart";
inline constexpr char kLoggingOff[] = "Data logging NOT enabled!";

class ZelkChrtForm {
 public:
  // chart is QVM_Plotrex1; host and prompter must outlive the form.
  ZelkChrtForm(automation::Dispatch& chart, FormHost& host, host::Prompter& prompter);
  ~ZelkChrtForm();
  ZelkChrtForm(const ZelkChrtForm&) = delete;
  ZelkChrtForm& operator=(const ZelkChrtForm&) = delete;

  // Form load: shows and centres the form, fixes the audio input, initialises the state and the
  // tables, and configures the chart. Runs once.
  void load();

  // Operator controls.
  void scrollClick();          // "Start"/"Stop"
  void playbackButtonClick();  // "Playback"
  void eraseButtonClick();     // "Erase"
  void command1Click();        // "Print"
  void command2Click();        // "Time"
  void exitClick();            // "Exit" button
  void prnSetupClick();        // File > Printer Setup
  void getOutClick();          // File > Exit
  void enableLoggingClick();   // Options > Logging
  void aboutClick();

  // Events of the components (wired at construction; public for front ends and tests).
  void bufferReady(WAVEHDR* hdr);
  void clockTick();
  void playBackTimerTick();

  // Components on the form.
  xvtools::XVWaveInX& XVWaveInX1() { return waveIn_; }
  xvtools::XVDSPInterfaceX& XVDSPInterfaceX1() { return dsp_; }
  xvtools::XVHiTimerX& XVHiTimerX1() { return clock_; }
  xvtools::XVHiTimerX& PlayBackTimer() { return playBackTimer_; }
  xvtools::XVSpinButtonX& XVSpinButtonX1() { return sampleSizeSpin_; }
  xvtools::XVSpinButtonX& XVSpinButtonX2() { return chartSpeedSpin_; }
  xvtools::XVSpinButtonX& XVSpinButtonX3() { return vertPosSpin_; }
  xvtools::XVSpinButtonX& XVSpinButtonX4() { return vertScaleSpin_; }
  const xvtools::XVLEDPanelX& XVLEDPanelX1() const { return sampleSizeLed_; }
  const xvtools::XVLEDPanelX& XVLEDPanelX2() const { return chartSpeedLed_; }
  const xvtools::XVLEDPanelX& XVLEDPanelX3() const { return vertScaleLed_; }
  // For views, which listen to the displays.
  xvtools::XVLEDPanelX& XVLEDPanelX1() { return sampleSizeLed_; }
  xvtools::XVLEDPanelX& XVLEDPanelX2() { return chartSpeedLed_; }
  xvtools::XVLEDPanelX& XVLEDPanelX3() { return vertScaleLed_; }
  host::CommonDialog& Dialog() { return dialog_; }

  // What the form shows.
  const std::string& TimeDisp() const { return timeDisp_; }
  const std::string& Text1() const { return text1_; }
  const std::string& Text2() const { return text2_; }
  const std::string& Text3() const { return text3_; }
  const std::string& scrollCaption() const { return scrollCaption_; }
  bool enableLoggingChecked() const { return loggingChecked_; }
  // A note of the front end's own on the status line (e.g. the input it fell back to); the
  // form's next status text replaces it.
  void showStatus(std::string text) { setText(text3_, std::move(text)); }
  // Raised once after any of the texts, the caption or the check mark changed.
  void onViewChanged(std::function<void()> handler) { viewChanged_ = std::move(handler); }

  // Recorder state, read-only.
  std::int16_t Running() const { return Running_; }
  bool Playing() const { return Playing_; }
  bool LoggingEnabled() const { return LoggingEnabled_; }
  bool LogFileOpen() const { return LogFileOpen_; }
  const std::string& LogFileName() const { return LogFileName_; }
  const std::string& PlaybackFileName() const { return PlaybackFileName_; }
  double CurrentTime() const { return CurrentTime_; }
  bool StartTimeSet() const { return StartTimeSet_; }
  std::int16_t SamplesPerPoint() const { return SamplesPerPoint_; }
  float SecondsPerPoint() const { return SecondsPerPoint_; }
  float SpeedFactor() const { return SpeedFactor_; }
  float VertFraction() const { return VertFraction_; }
  double LastX() const { return LastX_.last(); }
  std::int32_t PointCount() const { return PointCount_; }
  // The level of the last point plotted, 0 before the first.
  float LastLevel() const { return lastLevel_; }
  std::int32_t ChartResult() const { return ChartResult_; }
  // Where the newest point went on the chart's X axis.
  double lastPointX() const { return LastX_.last(); }
  const RecorderTables& tables() const { return tables_; }
  // The SampleSizeTable row in force (what the time records carry).
  int sampleSizeRow() const { return sampleSizeRow_; }

  // Flushes and closes the log and the playback file (program end, Ctrl-C).
  void closeFiles();
  // True once records meant for a log failed to reach it, while writing or when it was closed.
  bool logDataLost() const { return logDataLost_; }
  // True when the last playback stopped at a record it could not use.
  bool playbackRefused() const { return playbackRefused_; }

  // Unattended recording. Sync: each second's records are also handed to the disk. Daily
  // rotation: when the clock passes midnight, the log is closed after that second's time record
  // and NAME-YYYY-MM-DD.EXT opened for the new day; firstDay is the day number of the date on
  // which recording starts (dates of later files count from it).
  void setLogSync(bool sync) { log_.setSync(sync); }
  void setDailyLogRotation(std::optional<std::int64_t> firstDay) { rotationFirstDay_ = firstDay; }
  // Unattended recording: a log file that already holds records is never emptied; the log goes
  // on in NAME-2.EXT (then -3 ...), dated names alike, and the operator is told which.
  void setKeepLogRecords(bool keep) { keepLogRecords_ = keep; }
  // True while records meant for the log cannot be written (they are dropped; each second is
  // tried afresh).
  bool logPaused() const { return logGap_; }
  // The line of the record that ended the last playback, when it stopped at one.
  int playbackRefusedLine() const { return playbackRefusedLine_; }

 private:
  template <typename Handler>
  void guarded(Handler&& handler);
  void reportError(const std::string& text);

  void setText(std::string& box, std::string text);
  void setScrollCaption(const char* caption);
  void setLoggingChecked(bool checked);
  void viewChanged();

  // Chart procedures with the form's current settings.
  void runWindowSetup();
  void runChannelSetup();
  void channelAction(std::int16_t action);
  void sendPoints(std::int32_t points);

  void startRecording();
  void stopRecording();
  bool openLog();   // false: recording must not start
  bool closeLog();  // false when the end of an open log could not be written
  // lastWhole: the clock of the last second whose records are all in the file.
  void logWriteFailed(double lastWhole);
  void logWriteWorked();
  std::string logFileTitle() const;
  void beginLogDay();
  void keepLogDay();
  void rotateLog();

  void reduceAndPlot(const WAVEHDR* hdr);
  void setClockLabels();

  void applySampleSizeRow(int row);
  void applyLedColourRule();
  void sampleSizeChange();
  void chartSpeedChange();
  void vertPosChange();
  void vertScaleChange();

  void startPlayback();
  void cancelPlayback();
  void stopPlaybackAfterBadRecord(const std::string& text);
  void endPlaybackState();

  automation::Dispatch& chart_;
  FormHost& host_;
  host::Prompter& prompter_;

  xvtools::XVWaveInX waveIn_;
  xvtools::XVDSPInterfaceX dsp_;
  xvtools::XVHiTimerX clock_;
  xvtools::XVHiTimerX playBackTimer_;
  xvtools::XVSpinButtonX sampleSizeSpin_{2, 5, 4};
  xvtools::XVSpinButtonX chartSpeedSpin_{0, 4, 2};
  xvtools::XVSpinButtonX vertPosSpin_{0, 32000, 4000};
  xvtools::XVSpinButtonX vertScaleSpin_{0, 2, 2};
  xvtools::XVLEDPanelX sampleSizeLed_;
  xvtools::XVLEDPanelX chartSpeedLed_;
  xvtools::XVLEDPanelX vertScaleLed_;
  host::CommonDialog dialog_;

  std::string timeDisp_;
  std::string text1_;
  std::string text2_;
  std::string text3_ = kLoggingOff;
  std::string scrollCaption_ = "Start";
  bool loggingChecked_ = false;
  std::function<void()> viewChanged_;

  // Recorder state.
  std::int16_t Running_ = 0;
  bool Playing_ = false;
  bool LoggingEnabled_ = false;
  bool LogFileOpen_ = false;
  std::string LogFileName_ = "Zelk.log";
  std::string PlaybackFileName_;
  std::string playbackTitle_;
  double CurrentTime_ = 0;
  bool StartTimeSet_ = false;
  std::int16_t SamplesPerPoint_ = 400;
  std::int16_t BlockSamplesPerPoint_ = 400;
  float SecondsPerPoint_ = 0.05f;
  float SpeedFactor_ = 26.5417f;
  float VertFraction_ = 0.875f;
  PointClock LastX_;
  std::int32_t PointCount_ = 0;
  float lastLevel_ = 0;
  std::int32_t ChartResult_ = 0;
  int sampleSizeRow_ = 4;
  RecorderTables tables_;

  ChartDataCall chartData_;
  std::array<std::int16_t, kBlockSampleCapacity> BlockSamples_{};
  std::unique_ptr<WaveToolBinding> waveTool_;
  bool waveToolReported_ = false;
  bool largeBlockReported_ = false;
  bool logDataLost_ = false;
  bool playbackRefused_ = false;
  int playbackRefusedLine_ = 0;
  bool keepLogRecords_ = false;
  bool logGap_ = false;
  double logGapSince_ = 0;
  std::string logGapWhy_;
  std::optional<std::int64_t> rotationFirstDay_;
  std::string rotationBaseName_;
  std::int64_t rotationStartClockDay_ = 0;
  std::int64_t logClockDay_ = 0;

  LogWriter log_;
  LogPointReader playback_;
};

// Every handler runs through here: a failure of a chart call or a component is shown to the
// operator instead of ending the program.
template <typename Handler>
void ZelkChrtForm::guarded(Handler&& handler) {
  try {
    handler();
  } catch (const automation::AutomationError& e) {
    reportError(std::string(e.what()) + " (error " + std::to_string(e.number()) + ")");
  } catch (const std::exception& e) {
    reportError(e.what());
  }
}

}  // namespace recorder
