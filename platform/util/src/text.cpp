#include "util/text.h"

namespace util {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string_view trimLeft(std::string_view text, std::string_view blanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  return first == std::string_view::npos ? text.substr(text.size()) : text.substr(first);
}

std::string_view trimRight(std::string_view text, std::string_view blanks) {
  const std::size_t last = text.find_last_not_of(blanks);
  return last == std::string_view::npos ? text.substr(0, 0) : text.substr(0, last + 1);
}

std::string_view trim(std::string_view text, std::string_view blanks) {
  return trimRight(trimLeft(text, blanks), blanks);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace util
