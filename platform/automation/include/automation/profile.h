// Initialisation files of the classic kind: "[Section]" lines, each followed by its entries.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace automation {

// A file of that name in our configuration folder: $XDG_CONFIG_HOME/zelk, else ~/.config/zelk,
// each only when the variable holds an absolute path; empty when neither does.
std::filesystem::path profilePath(std::string_view fileName);

// Replaces everything the section holds with the given entry lines; a missing section is added at
// the end and a missing file created. Other sections stay as they are. The file is written whole
// and renamed over the old one, so a failed write leaves the old file intact; it keeps its mode,
// and a file another user owns is not replaced. An empty file name is refused.
bool writeProfileSection(const std::filesystem::path& file, std::string_view section,
                         std::span<const std::string> entries);

// The entry lines of a section (blank lines left out); nullopt when the section is missing.
std::optional<std::vector<std::string>> readProfileSection(const std::filesystem::path& file,
                                                           std::string_view section);

}  // namespace automation
