// The Logging switch and the log file's life: chosen and opened at the start of recording,
// closed when logging is turned off, a playback starts, or the program ends.
#include "recorder/log_rotation.h"
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
  if (!log_.open(LogFileName_)) {
    // Recording does not start: nothing would be logged that the operator asked to keep.
    setText(text3_, "Cannot write " + dialog_.FileTitle());
    reportError("The log file " + LogFileName_ + " cannot be opened for writing: " + log_.error() +
                ". Choose another file and press Start again.");
    return false;
  }
  LogFileOpen_ = true;
  setText(text3_, "Logging to " + dialog_.FileTitle());
  return true;
}

bool ZelkChrtForm::closeLog() {
  const bool wasOpen = log_.isOpen();
  const bool ok = log_.close();
  LogFileOpen_ = false;
  if (wasOpen && !ok) {
    logDataLost_ = true;
    reportError("The end of the log file " + LogFileName_ +
                " could not be written: " + log_.error());
  }
  return !wasOpen || ok;
}

void ZelkChrtForm::logWriteFailed() {
  // Keep what reached the file, stop writing, and ask for a file at the next start.
  const std::string why = log_.error();
  logDataLost_ = true;
  log_.close();
  LogFileOpen_ = false;
  setText(text3_, "Logging stopped: cannot write " + dialog_.FileTitle());
  reportError("Writing the log file " + LogFileName_ + " failed: " + why +
              ". Logging has stopped; the next Start asks for a file.");
}

void ZelkChrtForm::beginLogDay() {
  rotationBaseName_ = LogFileName_;
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
  if (!closeLog()) return;
  LogFileName_ = next;
  logClockDay_ = clockDay;
  if (!log_.open(next)) {
    logDataLost_ = true;
    setText(text3_, "Logging stopped: cannot write " + next);
    reportError("The log file " + next + " cannot be opened for writing: " + log_.error() +
                ". Logging has stopped; the next Start asks for a file.");
    return;
  }
  LogFileOpen_ = true;
  const auto slash = next.rfind('/');
  setText(text3_, "Logging to " + (slash == std::string::npos ? next : next.substr(slash + 1)));
}

}  // namespace recorder
