// Playback of a log: each tick of PlayBackTimer draws the data records up to and including the
// next time record, as one recorded second.
#include "recorder/chart_setup.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder {

void ZelkChrtForm::playbackButtonClick() {
  guarded([this] {
    if (Playing_) {
      cancelPlayback();
    } else {
      startPlayback();
    }
  });
}

void ZelkChrtForm::startPlayback() {
  closeLog();
  playbackRefused_ = false;
  playbackRefusedLine_ = 0;
  LastX_.reset();
  dialog_.setFilter("Log Files(*.log)|*.log|All|*.*");
  dialog_.setFlags(host::CommonDialog::cdlOFNFileMustExist);
  dialog_.ShowOpen();
  PlaybackFileName_ = dialog_.FileName();
  if (PlaybackFileName_.empty()) return;
  if (!playback_.open(PlaybackFileName_)) {
    reportError("The log file " + PlaybackFileName_ + " cannot be read.");
    return;
  }
  playbackTitle_ = dialog_.FileTitle();
  setText(text3_, "Playback from " + playbackTitle_);
  runWindowSetup();
  channelAction(kChannelInitialize);
  playBackTimer_.setEnabled(true);
  Playing_ = true;
  sampleSizeSpin_.setEnabled(false);  // the log decides the sample size
  setScrollCaption("Stop");
}

void ZelkChrtForm::cancelPlayback() {
  const auto answer = prompter_.messageBox("Cancel current playback?", kFormCaption,
                                           host::vbYesNo | host::vbInformation);
  if (answer != host::vbYes) return;
  Playing_ = false;
  playBackTimer_.setEnabled(false);
  playback_.close();
  setText(text3_, "");
  setScrollCaption("Start");
  sampleSizeSpin_.setEnabled(true);
}

void ZelkChrtForm::endPlaybackState() {
  playBackTimer_.setEnabled(false);
  Playing_ = false;
  setScrollCaption("Start");
  sampleSizeSpin_.setEnabled(true);
}

void ZelkChrtForm::playBackTimerTick() {
  guarded([this] {
    if (!playback_.isOpen()) return;
    const LogSecond& second = playback_.next();
    const LogRecord& record = second.closing;
    // A hole in the recording (a restart, a full disk) or a clock set back: the line stops at
    // the last point drawn rather than bridging it with what looks like a quiet signal.
    if (second.ends == LogSecond::Ends::Time && (second.gapBefore || second.setBack))
      channelAction(kChannelEndRun);
    // The second's points, in parts where there are more than the arrays hold.
    const auto values = chartData_.values();
    const auto xs = chartData_.xs();
    int pointIndex = -1;
    for (std::size_t i = 0; i < second.values.size(); ++i) {
      if (pointIndex + 1 == static_cast<int>(kPointCapacity)) {
        sendPoints(pointIndex + 1);
        pointIndex = -1;
        if (i == kPointCapacity) {
          setText(text3_, "Playback from " + playbackTitle_ + ": over 401 points in the " +
                              "second before line " + std::to_string(record.line) +
                              ", drawn in parts");
        }
      }
      ++pointIndex;
      values[pointIndex] = second.values[i];
      xs[pointIndex] = LastX_.next(SecondsPerPoint_ * SpeedFactor_);
    }
    bool stopped = false;
    switch (second.ends) {
      case LogSecond::Ends::Time:
        CurrentTime_ = record.clock;
        if (tables_.usableSampleSizeRow(record.row)) {
          sampleSizeSpin_.setValue(record.row);
          // The log's row governs even where the spin button's range cannot show it.
          applySampleSizeRow(record.row);
        } else {
          setText(text3_, "Playback from " + playbackTitle_ + ": line " +
                              std::to_string(record.line) + " asks for sample-size row " +
                              std::to_string(record.row) + "; " +
                              std::to_string(sampleSizeLed_.Value()) + " ms kept");
        }
        break;
      case LogSecond::Ends::Piece:
      case LogSecond::Ends::End:
        if (tables_.usableSampleSizeRow(sampleSizeRow_)) applySampleSizeRow(sampleSizeRow_);
        break;
      case LogSecond::Ends::Damaged:
        stopped = true;
        playbackRefused_ = true;
        playbackRefusedLine_ = record.line;
        if (record.kind == LogRecord::Kind::Invalid && !record.unterminated) {
          prompter_.messageBox("Invalid log file format!", kFormCaption, host::vbOKOnly);
          endPlaybackState();
          setText(text3_, "");
          break;
        }
        // Draw what was read before the bad field, then stop where the operator can see it.
        if (pointIndex >= 0) sendPoints(pointIndex + 1);
        prompter_.messageBox("Line " + std::to_string(record.line) + " of " + playbackTitle_ +
                                 " cannot be read; the playback stops there.",
                             kFormCaption, host::vbOKOnly | host::vbExclamation);
        endPlaybackState();
        setText(text3_, "Playback stopped at line " + std::to_string(record.line) + " of " +
                            playbackTitle_);
        break;
    }
    if (!stopped) {
      setClockLabels();
      sendPoints(pointIndex + 1);
    }
    if (stopped) {
      playback_.close();
    } else if (second.ends == LogSecond::Ends::End || playback_.atEnd()) {
      setText(text3_, "End of File " + playbackTitle_);
      endPlaybackState();
      playback_.close();
    }
  });
}

}  // namespace recorder
