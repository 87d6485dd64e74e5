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
    int pointIndex = -1;
    char recordTag = 'D';
    bool splitNoted = false;
    const auto values = chartData_.values();
    const auto xs = chartData_.xs();
    std::size_t read = 0;
    while (recordTag == 'D' && !playback_.atEnd() && read++ < kMaxRecordsPerPiece) {
      LogRecord record = playback_.next();
      // A last record without its line end was cut short: its value may be a tenth of the one
      // meant.
      if (record.unterminated) record.kind = LogRecord::Kind::Unreadable;
      switch (record.kind) {
        case LogRecord::Kind::Data:
          if (pointIndex + 1 == static_cast<int>(kPointCapacity)) {
            // More records in one second than the arrays hold: draw them in parts.
            sendPoints(pointIndex + 1);
            pointIndex = -1;
            if (!splitNoted) {
              splitNoted = true;
              setText(text3_, "Playback from " + playbackTitle_ + ": over 401 points in the " +
                                  "second before line " + std::to_string(record.line) +
                                  ", drawn in parts");
            }
          }
          ++pointIndex;
          values[pointIndex] = record.value;
          xs[pointIndex] = LastX_.next(SecondsPerPoint_ * SpeedFactor_);
          break;
        case LogRecord::Kind::Time: {
          recordTag = 'T';
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
        }
        case LogRecord::Kind::Invalid:
          playbackRefused_ = true;
          playbackRefusedLine_ = record.line;
          prompter_.messageBox("Invalid log file format!", kFormCaption, host::vbOKOnly);
          endPlaybackState();
          setText(text3_, "");
          recordTag = 'X';
          break;
        case LogRecord::Kind::Unreadable:
          playbackRefused_ = true;
          playbackRefusedLine_ = record.line;
          // Draw what was read before the bad field, then stop where the operator can see it.
          if (pointIndex >= 0) sendPoints(pointIndex + 1);
          prompter_.messageBox("Line " + std::to_string(record.line) + " of " + playbackTitle_ +
                                   " cannot be read; the playback stops there.",
                               kFormCaption, host::vbOKOnly | host::vbExclamation);
          endPlaybackState();
          setText(text3_, "Playback stopped at line " + std::to_string(record.line) + " of " +
                              playbackTitle_);
          recordTag = 'X';
          break;
        case LogRecord::Kind::End:
          break;
      }
    }
    if (recordTag != 'X') {
      if (recordTag == 'D' && tables_.usableSampleSizeRow(sampleSizeRow_)) {
        applySampleSizeRow(sampleSizeRow_);
      }
      setClockLabels();
      sendPoints(pointIndex + 1);
    }
    if (playback_.atEnd()) {
      setText(text3_, "End of File " + playbackTitle_);
      endPlaybackState();
      playback_.close();
    }
    if (recordTag == 'X') playback_.close();
  });
}

}  // namespace recorder
