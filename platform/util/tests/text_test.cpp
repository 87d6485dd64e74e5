#include "util/text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace util {
namespace {

struct TrimCase {
  std::string_view text;
  std::string_view blanks;
  std::string_view left, right, both;
};

TEST(Text, TrimsOnlyTheGivenBlanksAtTheirEnd) {
  const TrimCase cases[] = {
      {"", " \t", "", "", ""},
      {" \t ", " \t", "", "", ""},
      {" a b ", " ", "a b ", " a b", "a b"},
      {"\tvalue\r", " \t", "value\r", "\tvalue\r", "value\r"},  // CR is not blank here
      {"\tvalue\r", " \t\r", "value\r", "\tvalue", "value"},
      {"\r\nx\r\n", " \t\r\n", "x\r\n", "\r\nx", "x"},
      {"x", "", "x", "x", "x"},
  };
  for (const TrimCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(trimLeft(c.text, c.blanks), c.left);
    EXPECT_EQ(trimRight(c.text, c.blanks), c.right);
    EXPECT_EQ(trim(c.text, c.blanks), c.both);
  }
}

TEST(Text, ComparesLettersWithoutCaseAndEverythingElseExactly) {
  struct Case {
    std::string_view a, b;
    bool equal;
  };
  const Case cases[] = {
      {"", "", true},
      {"ChnDspStyle", "chndspstyle", true},
      {"[Class]", "[CLASS]", true},
      {"a", "ab", false},
      {"@", "`", false},                // 0x40 and 0x60 differ by the case bit but are no letters
      {"[", "{", false},                // so do 0x5B and 0x7B
      {"\xC3\x84", "\xC3\xA4", false},  // UTF-8 letters outside ASCII are not folded
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + std::string(c.b));
    EXPECT_EQ(equalsNoCase(c.a, c.b), c.equal);
  }
}

}  // namespace
}  // namespace util
