// The log's number and date-time forms, and reading records back as the forms runtime does.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "recorder/log_number.h"
#include "recorder/log_reader.h"
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"

namespace recorder {
namespace {

std::string format(float v) {
  char out[kMaxNumberText];
  return std::string(out, formatSingle(v, out));
}

TEST(LogNumber, WritesPlainDecimalWithSevenSignificantDigits) {
  EXPECT_EQ(format(0.0f), "0");
  EXPECT_EQ(format(1024.0f), "1024");
  EXPECT_EQ(format(32768.0f), "32768");
  EXPECT_EQ(format(1187.25f), "1187.25");
  EXPECT_EQ(format(1234.567f), "1234.567");
  EXPECT_EQ(format(1234.5675f), "1234.568");  // rounded to 7 significant digits
  EXPECT_EQ(format(0.00125f), "0.00125");     // the smallest non-zero point value, 1/800
  EXPECT_EQ(format(0.25f), "0.25");
  EXPECT_EQ(format(-2.5f), "-2.5");
  EXPECT_EQ(format(1.0e-7f), "0.0000001");
  EXPECT_EQ(format(123456789.0f), "123456800");
  EXPECT_EQ(format(3.0e38f), "300000000000000000000000000000000000000");
}

TEST(LogNumber, ReadsTheFormsWritersUse) {
  EXPECT_EQ(parseSingle("0.25"), 0.25f);
  EXPECT_EQ(parseSingle(".25"), 0.25f);
  EXPECT_EQ(parseSingle("1.25E-03"), 0.00125f);
  EXPECT_EQ(parseSingle(" -3 "), -3.0f);
  EXPECT_EQ(parseSingle("3."), 3.0f);
  EXPECT_EQ(parseSingle("+7e2"), 700.0f);
  for (const char* bad : {"", ".", "1e", "0x10", "inf", "nan", "1,5", "12a", "1e39", "--1"}) {
    EXPECT_FALSE(parseSingle(bad)) << bad;
  }
  EXPECT_EQ(parseInteger16("4"), 4);
  EXPECT_EQ(parseInteger16("2.5"), 2);  // half to even
  EXPECT_EQ(parseInteger16("3.5"), 4);
  EXPECT_EQ(parseInteger16("-32768"), -32768);
  EXPECT_FALSE(parseInteger16("32768"));
}

TEST(LogDate, WritesTimeAloneOnDayZeroAndTheDateAfterMidnight) {
  EXPECT_EQ(formatLogDate(secondsToOleDate(14 * 3600 + 5 * 60 + 9)), "#14:05:09#");
  EXPECT_EQ(formatLogDate(0.0), "#00:00:00#");
  EXPECT_EQ(formatLogDate(1.0), "#1899-12-31#");
  EXPECT_EQ(formatLogDate(secondsToOleDate(kSecondsPerDay + 1)), "#1899-12-31 00:00:01#");
  EXPECT_EQ(formatLogDate(secondsToOleDate(400 * kSecondsPerDay + 3723)), "#1901-02-03 01:02:03#");
  for (std::int64_t s : {std::int64_t{0}, std::int64_t{50709}, kSecondsPerDay, kSecondsPerDay + 59,
                         46000 * kSecondsPerDay + 86399}) {
    const std::string text = formatLogDate(secondsToOleDate(s));
    const auto back = parseLogDate(std::string_view(text).substr(1, text.size() - 2));
    ASSERT_TRUE(back) << text;
    EXPECT_EQ(oleDateToSeconds(*back), s) << text;
  }
  for (const char* bad :
       {"", "25:00:00", "12:60", "1899-02-30", "1899-12-31x", "12:00:00:00", "noon"}) {
    EXPECT_FALSE(parseLogDate(bad)) << bad;
  }
}

TEST(LogDate, LabelsWrapAroundMidnightBothWays) {
  EXPECT_EQ(formatTimeOfDay(kSecondsPerDay), "00:00:00");
  EXPECT_EQ(formatTimeOfDay(kSecondsPerDay + 1), "00:00:01");
  EXPECT_EQ(formatTimeOfDay(-30), "23:59:30");
  EXPECT_EQ(formatTimeOfDay(30 - 180), "23:57:30");
  EXPECT_EQ(oleDateToSeconds(-1.25), -64800);  // 1899-12-29 06:00
  EXPECT_DOUBLE_EQ(secondsToOleDate(-64800), -1.25);
  EXPECT_EQ(parseTimeOfDay(" 7:08:09 "), secondsToOleDate(7 * 3600 + 8 * 60 + 9));
}

class LogReaderTest : public ::testing::Test {
 protected:
  void load(const std::string& text) {
    contents = text;
    stream = fmemopen(contents.data(), contents.size(), "rb");
    ASSERT_NE(stream, nullptr);
    reader.attach(stream);
  }
  void TearDown() override {
    reader.close();
    if (stream) std::fclose(stream);
  }
  std::string contents;
  std::FILE* stream = nullptr;
  LogReader reader;
};

TEST_F(LogReaderTest, ReadsRecordsFieldByFieldAcrossLinesAndSkipsBlankLines) {
  load("\"T\",#14:05:09#,4\r\n\"D\",1234.567\r\n\r\n\"D\",\r\n.25\nD,0\n\"T\",#1899-12-31#,2");
  LogRecord r = reader.next();
  EXPECT_EQ(r.kind, LogRecord::Kind::Time);
  EXPECT_EQ(oleDateToSeconds(r.clock), 14 * 3600 + 5 * 60 + 9);
  EXPECT_EQ(r.row, 4);
  r = reader.next();
  EXPECT_EQ(r.kind, LogRecord::Kind::Data);
  EXPECT_FLOAT_EQ(r.value, 1234.567f);
  r = reader.next();  // the value on the next line belongs to the tag before it
  EXPECT_EQ(r.kind, LogRecord::Kind::Data);
  EXPECT_FLOAT_EQ(r.value, 0.25f);
  EXPECT_EQ(r.line, 4);
  r = reader.next();  // an unquoted tag reads the same
  EXPECT_EQ(r.kind, LogRecord::Kind::Data);
  EXPECT_EQ(r.value, 0.0f);
  EXPECT_FALSE(reader.atEnd());
  r = reader.next();
  EXPECT_EQ(r.kind, LogRecord::Kind::Time);
  EXPECT_DOUBLE_EQ(r.clock, 1.0);
  EXPECT_TRUE(reader.atEnd());
  EXPECT_EQ(reader.next().kind, LogRecord::Kind::End);
}

TEST_F(LogReaderTest, TellsInvalidTagsFromUnreadableFields) {
  load("\"X\",1\r\n\"D\",abc\r\n\"T\",14:05:09,4\r\n\"D\"junk,5\r\n\"T\",#1:2:3#,99999\r\n\"D\"");
  LogRecord r = reader.next();
  EXPECT_EQ(r.kind, LogRecord::Kind::Invalid);
  EXPECT_EQ(r.tag(), "X");
  r = reader.next();  // the X record's value is read as the next tag
  EXPECT_EQ(r.kind, LogRecord::Kind::Invalid);
  EXPECT_EQ(r.tag(), "1");
  r = reader.next();
  EXPECT_EQ(r.kind, LogRecord::Kind::Unreadable);
  EXPECT_EQ(r.line, 2);
  r = reader.next();  // a time without # marks
  EXPECT_EQ(r.kind, LogRecord::Kind::Unreadable);
  EXPECT_EQ(reader.next().kind, LogRecord::Kind::Invalid);  // the 4 left over
  r = reader.next();                                        // text glued to a closing quote
  EXPECT_EQ(r.kind, LogRecord::Kind::Invalid);
  EXPECT_EQ(reader.next().kind, LogRecord::Kind::Invalid);     // 5
  EXPECT_EQ(reader.next().kind, LogRecord::Kind::Unreadable);  // row out of range
  r = reader.next();  // a tag with its value missing at the end of the file
  EXPECT_EQ(r.kind, LogRecord::Kind::Unreadable);
  EXPECT_TRUE(reader.atEnd());
}

TEST_F(LogReaderTest, SurvivesUnterminatedQuotesAndOverlongFields) {
  load("\"D,12\r\n\"" + std::string(500, 'D') + "\",1\r\n#14:00");
  EXPECT_EQ(reader.next().kind, LogRecord::Kind::Invalid);
  EXPECT_EQ(reader.next().kind, LogRecord::Kind::Invalid);
  while (!reader.atEnd()) reader.next();
  EXPECT_EQ(reader.next().kind, LogRecord::Kind::End);
}

TEST(LogRotation, DatedNamesAndDays) {
  const auto day = parseIsoDay("2026-12-09");
  ASSERT_TRUE(day);
  EXPECT_EQ(formatIsoDay(*day + 23), "2027-01-01");
  EXPECT_EQ(parseIsoDay("2028-02-29").value() - parseIsoDay("2028-02-28").value(), 1);
  EXPECT_EQ(formatIsoDay(0), "1899-12-30");
  const std::pair<const char*, const char*> names[] = {
      {"Zelk.log", "Zelk-2026-12-09.log"},
      {"/var/log/rx.d/night", "/var/log/rx.d/night-2026-12-09"},
      {"a/b.c.log", "a/b.c-2026-12-09.log"},
      {"dir/.hidden", "dir/.hidden-2026-12-09"},
  };
  for (const auto& [given, dated] : names) EXPECT_EQ(datedLogName(given, *day), dated);
  // The clock's day: a time of day alone is day 0, one second past midnight day 1.
  EXPECT_EQ(dayOf(secondsToOleDate(86399)), 0);
  EXPECT_EQ(dayOf(secondsToOleDate(86401)), 1);
}

}  // namespace
}  // namespace recorder
