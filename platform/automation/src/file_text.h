// Reading our own small text files, and telling the user in one line why one could not be used.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace automation::detail {

// The file's bytes; empty when it does not exist, nullopt when it exists but cannot be read.
std::optional<std::string> readFileText(const std::filesystem::path& file);

// One line on standard error, prefixed "zelk: "; line breaks in the text are shown as spaces so
// that a file's name cannot start lines of its own.
void reportProblem(std::string_view text);

}  // namespace automation::detail
