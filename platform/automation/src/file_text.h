// Reading our own small text files, and telling the user in one line why one could not be used.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace automation::detail {

// The file's bytes; empty when it does not exist, nullopt when it exists but cannot be read.
std::optional<std::string> readFileText(const std::filesystem::path& file);

// The text's lines without their '\n'; a last line without one counts too.
std::vector<std::string> splitLines(const std::string& text);

// One line on standard error, prefixed "zelk: "; line breaks in the text are shown as spaces so
// that a file's name cannot start lines of its own.
void reportProblem(std::string_view text);

}  // namespace automation::detail
