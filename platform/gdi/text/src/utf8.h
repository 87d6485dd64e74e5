// Decoding the UTF-8 strings callers pass as text.
#pragma once

#include <cstddef>
#include <string_view>

namespace gdi::detail {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point starting at `pos`, advancing `pos` past it. A malformed sequence (a stray
// continuation byte, a truncated or overlong sequence, a surrogate, a value above U+10FFFF)
// yields U+FFFD and advances by one byte, so every input terminates and no byte is read past
// the end.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

}  // namespace gdi::detail
