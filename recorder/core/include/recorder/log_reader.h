// Reads the recorder's log back field by field, as the forms runtime's Input # does: a field is a
// quoted text, a #date-time#, or bare text up to a comma or the line end; records are a tag field
// followed by the fields that tag calls for, wherever the line breaks fall. Blank lines are
// skipped. Nothing here allocates per record.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace recorder {

// The recorder logs at most 500 points a second; readers take no more than this many data
// records between two time records in one piece (playback draws them over several ticks, the
// CSV export refuses them), so a log without time records cannot hold a reader for long.
inline constexpr std::size_t kMaxRecordsPerPiece = 65536;

struct LogRecord {
  enum class Kind {
    Data,        // value holds the point
    Time,        // clock and row hold the time record's fields
    Invalid,     // a tag other than D and T; tag() holds it
    Unreadable,  // the tag called for a field that is missing or not of its kind
    End,         // nothing more to read
  };
  Kind kind = Kind::End;
  float value = 0;
  double clock = 0;
  std::int16_t row = 0;
  int line = 0;  // line of the record's tag (1-based)
  // The record's last field ran into the end of the file without a line end: the writer ends
  // every record with one, so this is a record cut short (a full disk, a crash), whose value
  // may be only the first digits of what was meant.
  bool unterminated = false;
  std::array<char, 16> tagText{};
  std::size_t tagLength = 0;
  std::string_view tag() const { return {tagText.data(), tagLength}; }
};

class LogReader {
 public:
  LogReader() = default;
  ~LogReader();
  LogReader(const LogReader&) = delete;
  LogReader& operator=(const LogReader&) = delete;

  bool open(const std::string& path);
  // Reads from a stream the caller owns and keeps open (tests, fuzzing).
  void attach(std::FILE* stream);
  void close();
  bool isOpen() const { return file_ != nullptr; }

  // True when only blank space is left.
  bool atEnd();
  LogRecord next();

 private:
  struct Field {
    enum class Kind { Quoted, Date, Bare, Malformed, Missing };
    Kind kind = Kind::Missing;
    std::array<char, 64> text{};
    std::size_t length = 0;
    int line = 0;
    std::string_view view() const { return {text.data(), length}; }
  };

  int get();
  void unget(int c);
  void skipBlank();  // spaces, tabs and line breaks
  void skipSpaces();
  // After a field: spaces, then one comma or one line break. False when other text follows.
  bool endField();
  Field readField();

  std::FILE* file_ = nullptr;
  bool owned_ = false;
  bool fieldEndedAtEof_ = false;  // the last field read ended at the end of the file
  int line_ = 1;
};

}  // namespace recorder
