// Writes the recorder's log: one record a line, CR LF line ends, quoted tags, comma separators.
//   "D",<point value>            one per plotted point
//   "T",#<clock>#,<sample row>   one per clock tick
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace recorder {

class LogWriter {
 public:
  LogWriter() = default;
  ~LogWriter();
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Opens path for writing from its start (an existing file is emptied). On failure returns
  // false and leaves the reason in error().
  bool open(const std::string& path);
  // Flushes and closes; closing a log that is not open does nothing. False when the last
  // records could not be written.
  bool close();
  bool isOpen() const { return file_ != nullptr; }

  // Each record goes to the file layer at once. False when the file layer refuses it. A time
  // record ends a second: the second's records are flushed to the file with it, so a crash
  // loses at most the second in hand.
  bool writeData(float value);
  bool writeTime(double clock, std::int16_t sampleSizeRow);
  // Also asks the disk to keep each second's records (fdatasync) when they are flushed.
  void setSync(bool sync) { sync_ = sync; }

  const std::string& error() const { return error_; }

 private:
  bool put(const char* text, std::size_t length);

  bool flush();

  std::FILE* file_ = nullptr;
  bool sync_ = false;
  std::string error_;
};

}  // namespace recorder
