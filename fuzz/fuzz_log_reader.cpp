// Reads arbitrary bytes as a recorder log to the end, and checks that what it accepts writes
// back to text it accepts again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "recorder/log_number.h"
#include "recorder/log_reader.h"
#include "recorder/ole_date.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<char> bytes(data, data + size);
  std::FILE* stream = fmemopen(size ? bytes.data() : nullptr, size, "rb");
  if (stream == nullptr) return 0;
  recorder::LogReader reader;
  reader.attach(stream);
  // Every call consumes at least one character, so the records are bounded by the size.
  std::size_t records = 0;
  while (!reader.atEnd()) {
    const recorder::LogRecord r = reader.next();
    if (++records > size + 1) std::abort();
    if (r.line < 1) std::abort();
    if (r.kind == recorder::LogRecord::Kind::Data) {
      char text[recorder::kMaxNumberText];
      const std::size_t n = recorder::formatSingle(r.value, text);
      if (n == 0 || n > sizeof text) std::abort();
      const auto back = recorder::parseSingle(std::string_view(text, n));
      if (!back) std::abort();
    } else if (r.kind == recorder::LogRecord::Kind::Time) {
      const std::string date = recorder::formatLogDate(r.clock);
      const auto back = recorder::parseLogDate(std::string_view(date).substr(1, date.size() - 2));
      if (!back || recorder::oleDateToSeconds(*back) != recorder::oleDateToSeconds(r.clock)) {
        std::abort();
      }
    } else if (r.kind == recorder::LogRecord::Kind::End) {
      std::abort();  // atEnd() said there was more
    }
  }
  reader.close();
  std::fclose(stream);
  return 0;
}
