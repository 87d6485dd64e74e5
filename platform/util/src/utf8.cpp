#include "util/utf8.h"

#include <cstdint>

namespace util {

namespace {

bool isContinuation(char c) { return (static_cast<std::uint8_t>(c) & 0xC0) == 0x80; }

// The length of the well-formed sequence at pos and its value; 0 when there is none.
std::size_t sequenceAt(std::string_view text, std::size_t pos, char32_t& value) {
  const auto lead = static_cast<std::uint8_t>(text[pos]);
  if (lead < 0x80) {
    value = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - pos < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const char next = text[pos + i];
    if (!isContinuation(next)) return 0;
    value = (value << 6) | (static_cast<std::uint8_t>(next) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
  char32_t value = 0;
  const std::size_t length = sequenceAt(text, pos, value);
  if (length == 0) {
    ++pos;
    return kReplacementCharacter;
  }
  pos += length;
  return value;
}

bool isUtf8(std::string_view text) {
  char32_t value = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = sequenceAt(text, pos, value);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::size_t utf8Prefix(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  // A character has at most three continuation bytes.
  std::size_t cut = maxBytes;
  for (int i = 0; i < 3 && cut > 0 && isContinuation(text[cut]); ++i) --cut;
  return isContinuation(text[cut]) ? maxBytes : cut;
}

}  // namespace util
