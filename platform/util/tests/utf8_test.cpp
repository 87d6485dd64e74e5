#include "util/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace util {
namespace {

// Whether text is UTF-8, and where a cut to a byte budget falls: never inside a character of
// well-formed text, at the budget itself where the text is not UTF-8 there.
TEST(Utf8, ChecksTextAndCutsOnlyBetweenCharacters) {
  struct Case {
    std::string_view text;
    bool utf8;
    std::size_t budget;
    std::size_t cut;
  };
  const Case cases[] = {
      {"", true, 0, 0},
      {"abc", true, 3, 3},
      {"abc", true, 2, 2},
      {"a\xC3\xA9", true, 2, 1},           // é would be split
      {"a\xE2\x82\xAC", true, 3, 1},       // € would be split after two of its bytes
      {"a\xF0\x9F\x98\x80z", true, 4, 1},  // U+1F600 after three of its four bytes
      {"a\xF0\x9F\x98\x80z", true, 5, 5},  // ends exactly after it
      {"\xC3\xA9", true, 0, 0},
      {"ab\x80\x80\x80\x80z", false, 5, 5},  // runs of stray bytes are cut where they are
      {"\xC0\xAF", false, 2, 2},             // overlong
      {"\xED\xA0\x80", false, 3, 3},         // surrogate
      {"\xF4\x90\x80\x80", false, 4, 4},     // above U+10FFFF
      {"\xE2\x82", false, 2, 2},             // truncated at the end
      {"\xE2(\xAC", false, 3, 3},            // interrupted
      {"\xFF", false, 1, 1},
      {std::string_view("a\0b", 3), true, 3, 3},  // NUL is a character like any other
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    EXPECT_EQ(isUtf8(c.text), c.utf8);
    EXPECT_EQ(utf8Prefix(c.text, c.budget), c.cut);
  }
}

}  // namespace
}  // namespace util
