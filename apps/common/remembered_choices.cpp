#include "apps/remembered_choices.h"

#include <vector>

#include "automation/profile.h"

namespace apps {

namespace {

constexpr char kSection[] = "Choices";
constexpr char kFileName[] = "choices";

std::string escaped(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    switch (const char c = value[i]) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\0':
        out += "\\0";
        break;
      case ' ':
        // Readers trim the end of a line.
        out += i + 1 == value.size() ? "\\s" : " ";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (const char c = text[++i]) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case '0':
        out += '\0';
        break;
      case 's':
        out += ' ';
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

RememberedChoices::RememberedChoices() : file_(automation::profilePath(kFileName)) {}

RememberedChoices::RememberedChoices(std::filesystem::path file) : file_(std::move(file)) {}

std::optional<std::string> RememberedChoices::get(std::string_view key) const {
  if (file_.empty()) return std::nullopt;
  const auto entries = automation::readProfileSection(file_, kSection);
  if (!entries) return std::nullopt;
  // The last of repeated keys counts, as a later line would have been written later.
  std::optional<std::string> value;
  for (const std::string& line : *entries) {
    if (auto entry = parseEntry(line); entry && entry->first == key) value = entry->second;
  }
  if (value && value->empty()) return std::nullopt;
  return value;
}

bool RememberedChoices::set(std::string_view key, std::string_view value) const {
  if (file_.empty()) return false;
  std::vector<std::string> lines;
  if (const auto entries = automation::readProfileSection(file_, kSection)) {
    for (const std::string& line : *entries) {
      const auto entry = parseEntry(line);
      if (!entry || entry->first != key) lines.push_back(line);
    }
  }
  lines.push_back(entryLine(key, value));
  return automation::writeProfileSection(file_, kSection, lines);
}

std::string RememberedChoices::entryLine(std::string_view key, std::string_view value) {
  return std::string(key) + "=" + escaped(value);
}

std::optional<std::pair<std::string, std::string>> RememberedChoices::parseEntry(
    std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return std::nullopt;
  return std::pair{std::string(line.substr(0, equals)), unescaped(line.substr(equals + 1))};
}

}  // namespace apps
