// What an operator picks in a window that outlasts the run: the printer chosen in Printer Setup
// and the input chosen in Options > Input, kept per user in the file "choices" of our
// configuration folder ($XDG_CONFIG_HOME/zelk, else ~/.config/zelk) as key=value lines under
// [Choices]. Nothing a form sets up at its start is kept here: those settings are the form's.
// A choice that cannot be used at a start stays in the file, so a device plugged in again later
// is used again.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace apps {

inline constexpr char kPrinterChoice[] = "printer";
inline constexpr char kInputChoice[] = "input";

class RememberedChoices {
 public:
  // The user's file; with neither XDG_CONFIG_HOME nor HOME absolute, nothing is kept.
  RememberedChoices();
  explicit RememberedChoices(std::filesystem::path file);

  const std::filesystem::path& file() const { return file_; }
  // As the file holds it now; nothing for a missing file or key, or an empty value.
  std::optional<std::string> get(std::string_view key) const;
  // Reads the file afresh and replaces it whole with the key set, other lines as they were, so
  // two programs keeping different choices do not undo each other. False when it cannot be
  // written; the old file is then left as it was.
  bool set(std::string_view key, std::string_view value) const;

  // One entry line and back. Line ends, tabs, a trailing space and backslashes are escaped: any
  // device or file name stays on its line whole and cannot add lines of its own.
  static std::string entryLine(std::string_view key, std::string_view value);
  static std::optional<std::pair<std::string, std::string>> parseEntry(std::string_view line);

 private:
  std::filesystem::path file_;
};

}  // namespace apps
