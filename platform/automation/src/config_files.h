// Files of our own in the user's configuration folder, and replacing a file whole.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace automation::detail {

// $XDG_CONFIG_HOME/zelk when that is an absolute path, else ~/.config/zelk.
std::filesystem::path configFolder();

// The file's bytes; empty when it does not exist, nullopt when it exists but cannot be read.
std::optional<std::string> readFileText(const std::filesystem::path& file);

// Writes the text beside the file and renames it over, so that a reader sees either the old or the
// new file, never a half-written one; on failure the old file is left as it was. A file that is a
// link stays a link: the file it names is replaced.
bool replaceFile(const std::filesystem::path& file, std::string_view text);

}  // namespace automation::detail
