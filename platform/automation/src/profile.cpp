#include "automation/profile.h"

#include "config_folders.h"
#include "file_replace.h"
#include "file_text.h"
#include "util/folder.h"
#include "util/text.h"

namespace automation {
namespace {

namespace fs = std::filesystem;

// A CR LF file leaves a CR at the end of each line.
std::string_view trimmed(std::string_view text) {
  return util::trimRight(util::trimLeft(text, " \t"), " \t\r");
}

// The name of a "[Section]" line; nullopt for other lines.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trimmed(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return trimmed(line.substr(1, line.size() - 2));
}

}  // namespace

fs::path profilePath(std::string_view fileName) {
  const auto folder = detail::userConfigFolder();
  return folder ? *folder / fileName : fs::path();
}

bool writeProfileSection(const fs::path& file, std::string_view section,
                         std::span<const std::string> entries) {
  if (file.empty() || section.empty() ||
      section.find_first_of("[]\r\n") != std::string_view::npos) {
    return false;
  }
  for (const std::string& entry : entries) {
    if (entry.find_first_of("\r\n") != std::string::npos) return false;
  }
  const auto text = detail::readFileText(file);
  if (!text || text->find('\0') != std::string::npos) return false;
  std::vector<std::string> lines = detail::splitLines(*text);
  std::string out;
  bool written = false;
  bool skipping = false;
  const auto writeSection = [&] {
    // Appended piece by piece: g++ 12 warns falsely of an overlapping copy in optimised builds
    // when the heading is built as one temporary.
    out += '[';
    out += section;
    out += "]\n";
    for (const std::string& entry : entries) {
      out += entry;
      out += '\n';
    }
    written = true;
  };
  for (const std::string& line : lines) {
    if (const auto name = sectionName(line)) {
      skipping = util::equalsNoCase(*name, section);
      // A repeated section is folded into the first.
      if (skipping && !written) writeSection();
      if (skipping) continue;
    }
    if (!skipping) {
      out += line;
      out += '\n';
    }
  }
  if (!written) writeSection();
  util::makeFolders(file.parent_path());
  return detail::replaceFile(file, out);
}

std::optional<std::vector<std::string>> readProfileSection(const fs::path& file,
                                                           std::string_view section) {
  const auto text = detail::readFileText(file);
  if (!text) return std::nullopt;
  std::optional<std::vector<std::string>> entries;
  bool inside = false;
  for (const std::string& line : detail::splitLines(*text)) {
    if (const auto name = sectionName(line)) {
      inside = util::equalsNoCase(*name, section);
      if (inside && !entries) entries.emplace();
      continue;
    }
    if (inside && !trimmed(line).empty()) entries->emplace_back(trimmed(line));
  }
  return entries;
}

}  // namespace automation
