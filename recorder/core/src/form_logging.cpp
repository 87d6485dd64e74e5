// The Logging switch and the log file's life: chosen and opened at the start of recording,
// closed when logging is turned off, a playback starts, or the program ends.
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder {

void ZelkChrtForm::enableLoggingClick() {
  guarded([this] {
    if (LoggingEnabled_) {
      LoggingEnabled_ = false;
      closeLog();
      setLoggingChecked(false);
      setText(text3_, kLoggingOff);
    } else {
      // The file is chosen when recording next starts.
      LoggingEnabled_ = true;
      setLoggingChecked(true);
    }
  });
}

bool ZelkChrtForm::openLog() {
  dialog_.setFilter("Log Files (*.log)|*.log|All (*.*)|*.*");
  dialog_.ShowOpen();
  LogFileName_ = dialog_.FileName();
  if (LogFileName_.empty()) {
    LoggingEnabled_ = false;
    setLoggingChecked(false);
    LogFileOpen_ = false;
    return true;  // recording starts without logging
  }
  if (!log_.open(LogFileName_, keepLogRecords_)) {
    // Recording does not start: nothing would be logged that the operator asked to keep.
    setText(text3_, "Cannot write " + dialog_.FileTitle());
    reportError("The log file " + LogFileName_ + " cannot be opened for writing: " + log_.error() +
                ". Choose another file and press Start again.");
    return false;
  }
  LogFileOpen_ = true;
  logGap_ = false;
  logWriteWorked();
  setText(text3_, "Logging to " + logFileTitle());
  return true;
}

std::string ZelkChrtForm::logFileTitle() const {
  const auto slash = LogFileName_.rfind('/');
  return slash == std::string::npos ? LogFileName_ : LogFileName_.substr(slash + 1);
}

bool ZelkChrtForm::closeLog() {
  const bool wasOpen = log_.isOpen();
  const bool ok = log_.close();
  LogFileOpen_ = false;
  if (wasOpen && logGap_) {
    logDataLost_ = true;
    reportError("Nothing could be written to the log file " + LogFileName_ + " after " +
                formatTimeOfDay(oleDateToSeconds(logGapSince_)) + ": " + logGapWhy_ + ".");
  } else if (wasOpen && !ok) {
    logDataLost_ = true;
    reportError("The end of the log file " + LogFileName_ +
                " could not be written: " + log_.error());
  }
  logGap_ = false;
  return !wasOpen || ok;
}

void ZelkChrtForm::logWriteFailed(double lastWhole) {
  // The records in hand are lost; the log stays open and the next second is tried afresh.
  logDataLost_ = true;
  if (logGap_) return;
  logGap_ = true;
  logGapSince_ = lastWhole;
  logGapWhy_ = log_.error();
  setText(text3_, "Logging paused: cannot write " + logFileTitle() + ": " + logGapWhy_);
}

void ZelkChrtForm::logWriteWorked() {
  if (log_.name() != LogFileName_) {
    prompter_.messageBox("The log file " + LogFileName_ +
                             " already holds records; logging goes on in " + log_.name() + ".",
                         kFormCaption, host::vbOKOnly | host::vbInformation);
    LogFileName_ = log_.name();
    setText(text3_, "Logging to " + logFileTitle());
  }
  if (!logGap_) return;
  logGap_ = false;
  prompter_.messageBox("Writing the log file " + LogFileName_ + " failed after " +
                           formatTimeOfDay(oleDateToSeconds(logGapSince_)) + " (" + logGapWhy_ +
                           "); logging resumed with the second that ended at " +
                           formatTimeOfDay(oleDateToSeconds(CurrentTime_)) + ".",
                       kFormCaption, host::vbOKOnly | host::vbInformation);
  setText(text3_, "Logging to " + logFileTitle());
}

void ZelkChrtForm::beginLogDay() {
  rotationBaseName_ = dialog_.FileName();
  rotationStartClockDay_ = dayOf(CurrentTime_);
  logClockDay_ = rotationStartClockDay_;
}

void ZelkChrtForm::keepLogDay() {
  // Recording starts again on the open log with a clock that may have been set anew: the file
  // keeps its date, and later days count on from it.
  const std::int64_t clockDay = dayOf(CurrentTime_);
  rotationStartClockDay_ += clockDay - logClockDay_;
  logClockDay_ = clockDay;
}

void ZelkChrtForm::rotateLog() {
  const std::int64_t clockDay = dayOf(CurrentTime_);
  const std::string next =
      datedLogName(rotationBaseName_, *rotationFirstDay_ + (clockDay - rotationStartClockDay_));
  // Everything of the day is in its file already; a file that cannot be closed has lost some.
  if (!log_.close()) logWriteFailed(CurrentTime_);
  // The new day's file is made with its first records, so a run that ends at midnight leaves
  // no empty file; one that cannot be made pauses logging until it can.
  log_.openWhenWritten(next, keepLogRecords_);
  LogFileName_ = next;
  logClockDay_ = clockDay;
  if (!logGap_) setText(text3_, "Logging to " + logFileTitle());
}

}  // namespace recorder
