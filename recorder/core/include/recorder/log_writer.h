// Writes the recorder's log: one record a line, CR LF line ends, quoted tags, comma separators.
//   "D",<point value>            one per plotted point
//   "T",#<clock>#,<sample row>   one per clock tick
// A record reaches the file whole or not at all: a second's records are kept in hand and handed
// to the file together with its time record; when the file takes only part of them, it is cut
// back to the end of the last whole second. After a failure the next second is tried afresh, so
// logging resumes at a record boundary, with a time record, once writing works again.
// Logs are opened with O_NOFOLLOW: a log is never written through a symbolic link, so a link
// planted in a shared folder cannot turn a run into the emptying of somebody else's file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace recorder {

class LogWriter {
 public:
  LogWriter();
  ~LogWriter();
  LogWriter(const LogWriter&) = delete;
  LogWriter& operator=(const LogWriter&) = delete;

  // Opens path for writing from its start (an existing file is emptied). With keepRecords a
  // file that already holds records is never emptied: the log goes on in NAME-2.EXT (then -3
  // ...) instead, and name() tells which. On failure returns false and leaves the reason in
  // error().
  bool open(const std::string& path, bool keepRecords = false);
  // As open, but the file is made only when the first records go to it, so a log that never
  // receives one leaves no empty file; a failure to open it counts as a failed write.
  void openWhenWritten(const std::string& path, bool keepRecords);
  // Hands what is in hand to the file and closes; closing a log that is not open does nothing.
  // False when records could not be written.
  bool close();
  bool isOpen() const { return fd_ >= 0 || !pending_.empty(); }
  // The file written (or to be made), once opened.
  const std::string& name() const { return name_; }

  // A data record is kept in hand (handed over early, at a record boundary, when a second holds
  // more than the writer keeps). A time record ends a second: the second's records go to the
  // file with it, so a crash loses at most the second in hand. False when records were lost:
  // they did not reach the file (the reason is in error()) and are dropped.
  bool writeData(float value);
  bool writeTime(double clock, std::int16_t sampleSizeRow);
  // Also asks the disk to keep each second's records (fdatasync) when they are handed over.
  void setSync(bool sync) { sync_ = sync; }

  const std::string& error() const { return error_; }

 private:
  bool openNow(const std::string& path, bool keepRecords);
  bool append(const char* text, std::size_t length);
  bool handOver();

  int fd_ = -1;
  std::string name_;
  std::string pending_;  // the name openWhenWritten waits to open
  bool pendingKeep_ = false;
  bool sync_ = false;
  std::uint64_t committed_ = 0;  // bytes of the file that hold whole records
  std::vector<char> hand_;       // records not yet handed over, whole records only
  std::size_t handLength_ = 0;
  std::string error_;
};

}  // namespace recorder
