#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>

#include "automation/server.h"
#include "config_files.h"
#include "util/text.h"

namespace automation {
namespace {

namespace fs = std::filesystem;

std::string envValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string_view trim(std::string_view text) { return util::trim(text, " \t\r\n"); }

using util::equalsNoCase;

// "{CLSID} ProgID /path/to/module.so"; the path is the rest of the line, so it may hold spaces.
// A relative module path is taken relative to the registry file's folder.
std::optional<RegistryEntry> parseLine(std::string_view line, const fs::path& folder) {
  line = trim(line);
  if (line.empty() || line.front() == '#') return std::nullopt;
  const std::size_t clsidEnd = line.find_first_of(" \t");
  if (clsidEnd == std::string_view::npos) return std::nullopt;
  const auto clsid = Guid::parse(line.substr(0, clsidEnd));
  if (!clsid) return std::nullopt;
  std::string_view rest = trim(line.substr(clsidEnd));
  const std::size_t progIdEnd = rest.find_first_of(" \t");
  if (progIdEnd == std::string_view::npos) return std::nullopt;
  const std::string_view progId = rest.substr(0, progIdEnd);
  const std::string_view module = trim(rest.substr(progIdEnd));
  if (module.empty()) return std::nullopt;
  fs::path modulePath(module);
  if (modulePath.is_relative()) modulePath = folder / modulePath;
  return RegistryEntry{*clsid, std::string(progId), modulePath};
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

// A registry that cannot be read has no entries.
std::vector<std::string> readLines(const fs::path& file) {
  const auto text = detail::readFileText(file);
  return text ? splitLines(*text) : std::vector<std::string>{};
}

// Text that a registry never holds: NUL bytes and byte sequences that are not UTF-8.
bool isRegistryText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0) return false;
    const std::size_t length = c < 0x80         ? 1
                               : (c >> 5) == 6  ? 2
                               : (c >> 4) == 14 ? 3
                               : (c >> 3) == 30 ? 4
                                                : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// The file's lines for rewriting it: nothing when it is missing, nullopt when it exists but cannot
// be read or is not a registry, so that a rewrite never drops what it could not read.
std::optional<std::vector<std::string>> readLinesForRewrite(const fs::path& file) {
  const auto text = detail::readFileText(file);
  if (!text || !isRegistryText(*text)) return std::nullopt;
  return splitLines(*text);
}

// "[Key] Name=Value": the key in brackets, the name up to the first '=', the value the rest.
struct ValueLine {
  std::string_view key, name, value;
};

std::optional<ValueLine> parseValueLine(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view rest = trim(line.substr(close + 1));
  const std::size_t equals = rest.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view name = trim(rest.substr(0, equals));
  if (name.empty()) return std::nullopt;
  return ValueLine{trim(line.substr(1, close - 1)), name, rest.substr(equals + 1)};
}

bool keyIsAtOrBelow(std::string_view key, std::string_view top) {
  if (key.size() < top.size() || !equalsNoCase(key.substr(0, top.size()), top)) return false;
  return key.size() == top.size() || key[top.size()] == '\\';
}

bool isSingleLine(std::string_view text) {
  return text.find_first_of("\r\n") == std::string_view::npos;
}

bool writeLines(const fs::path& file, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  return detail::replaceFile(file, text);
}

// Serialises read-modify-write of the file between threads and between processes: the lock is
// taken on the registry's folder, so that no lock file is left beside it.
class RegistryLock {
 public:
  explicit RegistryLock(const fs::path& file) : threadLock_(mutex()) {
    std::error_code ec;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    fs::create_directories(folder, ec);
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~RegistryLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;
  bool folderExists() const { return fd_ >= 0; }

 private:
  static std::mutex& mutex() {
    static std::mutex m;
    return m;
  }
  std::lock_guard<std::mutex> threadLock_;
  int fd_ = -1;
};

bool lineHasClsid(const std::string& line, const Guid& clsid, const fs::path& folder) {
  const auto entry = parseLine(line, folder);
  return entry && entry->clsid == clsid;
}

}  // namespace

fs::path Registry::path() {
  if (const std::string explicitPath = envValue("ZELK_REGISTRY"); !explicitPath.empty()) {
    return explicitPath;
  }
  return detail::configFolder() / "registry";
}

std::vector<RegistryEntry> Registry::load() {
  const fs::path file = path();
  std::vector<RegistryEntry> entries;
  for (const std::string& line : readLines(file)) {
    if (auto entry = parseLine(line, file.parent_path())) entries.push_back(std::move(*entry));
  }
  return entries;
}

std::optional<RegistryEntry> Registry::find(const Guid& clsid) {
  for (RegistryEntry& entry : load()) {
    if (entry.clsid == clsid) return std::move(entry);
  }
  return std::nullopt;
}

std::optional<RegistryEntry> Registry::findProgId(std::string_view progId) {
  for (RegistryEntry& entry : load()) {
    if (equalsNoCase(entry.progId, progId)) return std::move(entry);
  }
  return std::nullopt;
}

std::optional<std::string> Registry::value(std::string_view key, std::string_view name) {
  for (const std::string& line : readLines(path())) {
    const auto parsed = parseValueLine(line);
    if (parsed && equalsNoCase(parsed->key, key) && equalsNoCase(parsed->name, name)) {
      return std::string(parsed->value);
    }
  }
  return std::nullopt;
}

bool Registry::add(const RegistryEntry& entry) { return RegistryEdit().addClass(entry).commit(); }

bool Registry::remove(const Guid& clsid) {
  if (!find(clsid)) return false;
  return RegistryEdit().removeClass(clsid).commit();
}

RegistryEdit& RegistryEdit::addClass(RegistryEntry entry) {
  changes_.push_back({Change::AddClass, std::move(entry), {}, {}, {}});
  return *this;
}

RegistryEdit& RegistryEdit::removeClass(const Guid& clsid) {
  changes_.push_back({Change::RemoveClass, RegistryEntry{clsid, {}, {}}, {}, {}, {}});
  return *this;
}

RegistryEdit& RegistryEdit::setValue(std::string key, std::string name, std::string value) {
  changes_.push_back({Change::SetValue, {}, std::move(key), std::move(name), std::move(value)});
  return *this;
}

RegistryEdit& RegistryEdit::removeKey(std::string key) {
  changes_.push_back({Change::RemoveKey, {}, std::move(key), {}, {}});
  return *this;
}

// Lines the registry does not understand (comments, other tools' notes) are kept as they are.
bool RegistryEdit::commit() {
  for (const Change& change : changes_) {
    if (change.kind == Change::AddClass) {
      const RegistryEntry& entry = change.entry;
      const std::string module = entry.module.string();
      if (entry.progId.empty() || entry.progId.find_first_of(" \t\r\n") != std::string::npos ||
          module.empty() || !isSingleLine(module) || trim(module) != module) {
        return false;
      }
    } else if (change.kind == Change::SetValue) {
      if (change.key.empty() || change.key.find(']') != std::string::npos ||
          !isSingleLine(change.key) || trim(change.name).empty() ||
          change.name.find_first_of("=[]") != std::string::npos || !isSingleLine(change.name) ||
          !isSingleLine(change.value)) {
        return false;
      }
    }
  }
  const fs::path file = Registry::path();
  const RegistryLock lock(file);
  if (!lock.folderExists()) return false;
  std::error_code ec;
  if (fs::exists(file, ec) && ::access(file.c_str(), W_OK) != 0) return false;
  auto lines = readLinesForRewrite(file);
  if (!lines) return false;
  const std::vector<std::string> before = *lines;
  const fs::path folder = file.parent_path();
  const auto removeIf = [&lines](auto&& test) {
    std::erase_if(*lines, [&test](const std::string& line) { return test(line); });
  };
  for (const Change& change : changes_) {
    switch (change.kind) {
      case Change::AddClass: {
        // In the place of the entry it replaces, so that registering again changes nothing.
        const std::string text = change.entry.clsid.toString() + " " + change.entry.progId + " " +
                                 change.entry.module.string();
        auto at = std::find_if(lines->begin(), lines->end(), [&](const std::string& line) {
          return lineHasClsid(line, change.entry.clsid, folder);
        });
        if (at == lines->end()) {
          lines->push_back(text);
          break;
        }
        *at = text;
        lines->erase(std::remove_if(std::next(at), lines->end(),
                                    [&](const std::string& line) {
                                      return lineHasClsid(line, change.entry.clsid, folder);
                                    }),
                     lines->end());
        break;
      }
      case Change::RemoveClass:
        removeIf([&](const std::string& line) {
          return lineHasClsid(line, change.entry.clsid, folder);
        });
        break;
      case Change::SetValue: {
        const std::string text = "[" + change.key + "] " + change.name + "=" + change.value;
        bool replaced = false;
        for (std::string& line : *lines) {
          const auto parsed = parseValueLine(line);
          if (parsed && equalsNoCase(parsed->key, change.key) &&
              equalsNoCase(parsed->name, change.name)) {
            line = text;
            replaced = true;
            break;
          }
        }
        if (!replaced) lines->push_back(text);
        break;
      }
      case Change::RemoveKey:
        removeIf([&](const std::string& line) {
          const auto parsed = parseValueLine(line);
          return parsed && keyIsAtOrBelow(parsed->key, change.key);
        });
        break;
    }
  }
  // Nothing to change is no reason to create or touch the file.
  if (*lines == before) return true;
  return writeLines(file, *lines);
}

}  // namespace automation
