#include "recorder/log_reader.h"

#include <algorithm>

#include "recorder/log_number.h"
#include "recorder/ole_date.h"

namespace recorder {

LogReader::~LogReader() { close(); }

bool LogReader::open(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "rbe");
  owned_ = file_ != nullptr;
  line_ = 1;
  return file_ != nullptr;
}

void LogReader::attach(std::FILE* stream) {
  close();
  file_ = stream;
  owned_ = false;
  line_ = 1;
}

void LogReader::close() {
  if (file_ != nullptr && owned_) std::fclose(file_);
  file_ = nullptr;
  owned_ = false;
}

int LogReader::get() {
  const int c = std::getc(file_);
  if (c == '\n') ++line_;
  return c;
}

void LogReader::unget(int c) {
  if (c == EOF) return;
  if (c == '\n') --line_;
  std::ungetc(c, file_);
}

void LogReader::skipSpaces() {
  int c;
  do c = get();
  while (c == ' ' || c == '\t');
  unget(c);
}

void LogReader::skipBlank() {
  int c;
  do c = get();
  while (c == ' ' || c == '\t' || c == '\r' || c == '\n');
  unget(c);
}

bool LogReader::atEnd() {
  if (file_ == nullptr) return true;
  skipBlank();
  const int c = get();
  unget(c);
  return c == EOF;
}

bool LogReader::endField() {
  skipSpaces();
  const int c = get();
  fieldEndedAtEof_ = c == EOF;
  if (c == ',' || c == '\n' || c == EOF) return true;
  if (c == '\r') {
    const int lf = get();
    if (lf != '\n') unget(lf);
    fieldEndedAtEof_ = lf == EOF;
    return true;
  }
  // Text after a closed quote or date: skip the rest of the field so reading can resume.
  int d = c;
  while (d != ',' && d != '\n' && d != '\r' && d != EOF) d = get();
  if (d == '\r' || d == '\n') unget(d);
  if (d == '\r') endField();
  return false;
}

LogReader::Field LogReader::readField() {
  Field field;
  skipBlank();
  field.line = line_;
  int c = get();
  if (c == EOF) return field;  // Missing
  auto keep = [&field](int ch) {
    if (field.length < field.text.size()) {
      field.text[field.length++] = static_cast<char>(ch);
      return true;
    }
    return false;
  };
  bool fits = true;
  if (c == '"' || c == '#') {
    const int close = c;
    field.kind = c == '"' ? Field::Kind::Quoted : Field::Kind::Date;
    for (c = get(); c != close; c = get()) {
      if (c == EOF || c == '\r' || c == '\n') {
        unget(c);
        field.kind = Field::Kind::Malformed;
        endField();
        return field;
      }
      fits = keep(c) && fits;
    }
    if (!endField()) field.kind = Field::Kind::Malformed;
  } else if (c == ',') {
    field.kind = Field::Kind::Bare;  // an empty field
    fieldEndedAtEof_ = false;
  } else {
    field.kind = Field::Kind::Bare;
    while (c != ',' && c != '\r' && c != '\n' && c != EOF) {
      fits = keep(c) && fits;
      c = get();
    }
    while (field.length > 0 &&
           (field.text[field.length - 1] == ' ' || field.text[field.length - 1] == '\t')) {
      --field.length;
    }
    unget(c);
    endField();
  }
  if (!fits) field.kind = Field::Kind::Malformed;
  return field;
}

LogRecord LogReader::next() {
  LogRecord record;
  if (atEnd()) return record;
  const Field tag = readField();
  record.line = tag.line;
  record.tagLength = std::min(tag.length, record.tagText.size());
  std::copy_n(tag.text.begin(), record.tagLength, record.tagText.begin());
  const bool textual = tag.kind == Field::Kind::Quoted || tag.kind == Field::Kind::Bare;
  if (!textual || (tag.view() != "D" && tag.view() != "T")) {
    record.kind = LogRecord::Kind::Invalid;
    return record;
  }
  record.kind = LogRecord::Kind::Unreadable;
  if (tag.view() == "D") {
    const Field value = readField();
    if (value.kind != Field::Kind::Bare) return record;
    const auto number = parseSingle(value.view());
    if (!number) return record;
    record.value = *number;
    record.kind = LogRecord::Kind::Data;
    record.unterminated = fieldEndedAtEof_;
    return record;
  }
  const Field date = readField();
  if (date.kind != Field::Kind::Date) return record;
  const auto clock = parseLogDate(date.view());
  if (!clock) return record;
  const Field row = readField();
  if (row.kind != Field::Kind::Bare) return record;
  const auto number = parseInteger16(row.view());
  if (!number) return record;
  record.clock = *clock;
  record.row = *number;
  record.kind = LogRecord::Kind::Time;
  record.unterminated = fieldEndedAtEof_;
  return record;
}

}  // namespace recorder
