#include "file_text.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

namespace automation::detail {

namespace fs = std::filesystem;

std::optional<std::string> readFileText(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    if (ec) return std::nullopt;
    return std::string();
  }
  // A folder or a device in the file's place is not a file we can read: reading one throws.
  if (!fs::is_regular_file(file, ec)) return std::nullopt;
  try {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
}

void reportProblem(std::string_view text) {
  std::string line = "zelk: ";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    line += byte < 0x20 || byte == 0x7F ? ' ' : c;
  }
  line += '\n';
  std::fputs(line.c_str(), stderr);
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace automation::detail
