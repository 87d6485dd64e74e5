#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <system_error>

#include "automation/server.h"

namespace automation {
namespace {

namespace fs = std::filesystem;

std::string envValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string_view trim(std::string_view text) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

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

std::vector<std::string> readLines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// Writes the whole file beside the old one and renames it over, so that a reader sees either
// the old or the new file, never a half-written one. A registry that is a link to a file kept
// elsewhere stays a link: the file it names is replaced.
bool writeLines(const fs::path& link, const std::vector<std::string>& lines) {
  static std::atomic<unsigned> sequence{0};
  std::error_code ec;
  fs::path file = link;
  if (fs::is_symlink(link, ec)) {
    const fs::path target = fs::weakly_canonical(link, ec);
    if (ec) return false;
    file = target;
  }
  fs::path temp = file;
  temp += ".tmp." + std::to_string(::getpid()) + "." + std::to_string(sequence++);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::string text;
  for (const std::string& line : lines) text += line + '\n';
  bool ok = true;
  for (std::size_t done = 0; ok && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
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
  if (const std::string config = envValue("XDG_CONFIG_HOME");
      !config.empty() && fs::path(config).is_absolute()) {
    return fs::path(config) / "zelk" / "registry";
  }
  std::string home = envValue("HOME");
  if (home.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
      home = pw->pw_dir;
    }
  }
  return fs::path(home) / ".config" / "zelk" / "registry";
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

// Lines the registry does not understand (comments, other tools' notes) are kept as they are.
bool Registry::add(const RegistryEntry& entry) {
  if (entry.progId.empty() || entry.progId.find_first_of(" \t\r\n") != std::string::npos) {
    return false;
  }
  const std::string module = entry.module.string();
  if (module.empty() || module.find_first_of("\r\n") != std::string::npos ||
      trim(module) != module) {
    return false;
  }
  const fs::path file = path();
  const RegistryLock lock(file);
  if (!lock.folderExists()) return false;
  std::vector<std::string> lines;
  for (std::string& line : readLines(file)) {
    if (!lineHasClsid(line, entry.clsid, file.parent_path())) lines.push_back(std::move(line));
  }
  lines.push_back(entry.clsid.toString() + " " + entry.progId + " " + module);
  return writeLines(file, lines);
}

bool Registry::remove(const Guid& clsid) {
  const fs::path file = path();
  std::error_code ec;
  if (!fs::exists(file, ec)) return false;
  const RegistryLock lock(file);
  std::vector<std::string> lines;
  bool found = false;
  for (std::string& line : readLines(file)) {
    if (lineHasClsid(line, clsid, file.parent_path())) {
      found = true;
    } else {
      lines.push_back(std::move(line));
    }
  }
  return found && writeLines(file, lines);
}

}  // namespace automation
