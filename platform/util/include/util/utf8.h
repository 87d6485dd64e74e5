// Scanning the UTF-8 text that every layer passes around: decoding it a character at a time,
// checking it, and cutting it to a byte budget without splitting a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace util {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point starting at pos, advancing pos past it. A malformed sequence (a stray
// continuation byte, a truncated or overlong sequence, a surrogate, a value above U+10FFFF)
// yields U+FFFD and advances by one byte, so every input terminates and no byte is read past
// the end. pos must be before the end.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

// True when every byte belongs to a well-formed sequence (as nextCodePoint reads them).
bool isUtf8(std::string_view text);

// The length of the longest start of text of at most maxBytes that ends on a character
// boundary: at a cut inside a character, the cut moves back to that character's start. Text that
// is not UTF-8 there (more continuation bytes than a character has) is cut at maxBytes.
std::size_t utf8Prefix(std::string_view text, std::size_t maxBytes);

}  // namespace util
