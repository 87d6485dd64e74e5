#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>

#include "automation/server.h"
#include "config_folders.h"
#include "file_replace.h"
#include "file_text.h"
#include "registry_lock.h"
#include "util/text.h"
#include "util/utf8.h"

namespace automation {
namespace {

namespace fs = std::filesystem;

std::string_view trim(std::string_view text) { return util::trim(text, " \t\r\n"); }

using util::equalsNoCase;

// "{CLSID} ProgID /path/to/module.so"; the path is the rest of the line, so it may hold spaces.
// An entry whose module path is relative names no module: it would be found relative to whatever
// the current folder is. It still counts as the class's line when the registry is rewritten.
std::optional<RegistryEntry> parseLine(std::string_view line, bool relativeToo = false) {
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
  if (!relativeToo && !modulePath.is_absolute()) return std::nullopt;
  return RegistryEntry{*clsid, std::string(progId), modulePath};
}

// A registry that cannot be read has no entries.
std::vector<std::string> readLines(const fs::path& file) {
  const auto text = detail::readFileText(file);
  return text ? detail::splitLines(*text) : std::vector<std::string>{};
}

// Text that a registry never holds: NUL bytes and byte sequences that are not UTF-8.
bool isRegistryText(std::string_view text) {
  return text.find('\0') == std::string_view::npos && util::isUtf8(text);
}

// The file's lines for rewriting it: nothing when it is missing, nullopt when it exists but cannot
// be read or is not a registry, so that a rewrite never drops what it could not read.
std::optional<std::vector<std::string>> readLinesForRewrite(const fs::path& file) {
  const auto text = detail::readFileText(file);
  if (!text || !isRegistryText(*text)) return std::nullopt;
  return detail::splitLines(*text);
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

bool lineHasClsid(const std::string& line, const Guid& clsid) {
  const auto entry = parseLine(line, true);
  return entry && entry->clsid == clsid;
}

}  // namespace

fs::path Registry::path() {
  if (detail::explicitRegistryIgnored()) return {};
  if (const auto file = detail::explicitRegistry()) return *file;
  const auto folder = detail::userConfigFolder();
  return folder ? *folder / "registry" : fs::path();
}

std::vector<RegistryFile> Registry::lookupOrder() {
  std::vector<RegistryFile> files;
  const auto add = [&files](ModuleSource source, const fs::path& file) {
    const bool seen = std::any_of(files.begin(), files.end(),
                                  [&file](const RegistryFile& f) { return f.file == file; });
    if (!seen) files.push_back({source, file});
  };
  if (const auto file = detail::explicitRegistry()) add(ModuleSource::ExplicitRegistry, *file);
  if (const auto folder = detail::userConfigFolder()) {
    add(ModuleSource::UserRegistry, *folder / "registry");
  }
  for (const fs::path& folder : detail::systemConfigFolders()) {
    add(ModuleSource::SystemRegistry, folder / "registry");
  }
  return files;
}

std::vector<RegistryEntry> Registry::load() { return load(path()); }

std::vector<RegistryEntry> Registry::load(const fs::path& file) {
  std::vector<RegistryEntry> entries;
  if (file.empty()) return entries;
  for (const std::string& line : readLines(file)) {
    if (auto entry = parseLine(line)) entries.push_back(std::move(*entry));
  }
  return entries;
}

std::optional<RegistryEntry> Registry::find(const Guid& clsid) {
  for (const RegistryFile& registry : lookupOrder()) {
    for (RegistryEntry& entry : load(registry.file)) {
      if (entry.clsid == clsid) return std::move(entry);
    }
  }
  return std::nullopt;
}

std::optional<RegistryEntry> Registry::findProgId(std::string_view progId) {
  for (const RegistryFile& registry : lookupOrder()) {
    for (RegistryEntry& entry : load(registry.file)) {
      if (equalsNoCase(entry.progId, progId)) return std::move(entry);
    }
  }
  return std::nullopt;
}

std::optional<std::string> Registry::value(std::string_view key, std::string_view name) {
  const fs::path file = path();
  if (file.empty()) return std::nullopt;
  for (const std::string& line : readLines(file)) {
    const auto parsed = parseValueLine(line);
    if (parsed && equalsNoCase(parsed->key, key) && equalsNoCase(parsed->name, name)) {
      return std::string(parsed->value);
    }
  }
  return std::nullopt;
}

bool Registry::add(const RegistryEntry& entry) { return RegistryEdit().addClass(entry).commit(); }

bool Registry::remove(const Guid& clsid) {
  const auto entries = load();
  if (std::none_of(entries.begin(), entries.end(),
                   [&clsid](const RegistryEntry& e) { return e.clsid == clsid; })) {
    return false;
  }
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

RegistryEdit& RegistryEdit::waitForLock(std::chrono::milliseconds wait) {
  lockWait_ = wait;
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
          !entry.module.is_absolute() || !isSingleLine(module) || trim(module) != module) {
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
  if (file.empty()) {
    detail::reportProblem(detail::explicitRegistryIgnored()
                              ? "ZELK_REGISTRY is not an absolute path: nothing is registered"
                              : "neither XDG_CONFIG_HOME nor HOME is an absolute path: there is "
                                "no registry to write");
    return false;
  }
  const detail::RegistryLock lock(file, lockWait_);
  if (!lock.held()) return false;
  std::error_code ec;
  if (fs::exists(file, ec) && ::access(file.c_str(), W_OK) != 0) {
    detail::reportProblem("will not replace " + file.string() + ": it is read-only to this user");
    return false;
  }
  auto lines = readLinesForRewrite(file);
  if (!lines) return false;
  const std::vector<std::string> before = *lines;
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
          return lineHasClsid(line, change.entry.clsid);
        });
        if (at == lines->end()) {
          lines->push_back(text);
          break;
        }
        *at = text;
        lines->erase(std::remove_if(std::next(at), lines->end(),
                                    [&](const std::string& line) {
                                      return lineHasClsid(line, change.entry.clsid);
                                    }),
                     lines->end());
        break;
      }
      case Change::RemoveClass:
        removeIf([&](const std::string& line) { return lineHasClsid(line, change.entry.clsid); });
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
