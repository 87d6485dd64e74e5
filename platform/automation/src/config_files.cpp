#include "config_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace automation::detail {

namespace fs = std::filesystem;

fs::path configFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && *config != '\0' && fs::path(config).is_absolute()) {
    return fs::path(config) / "zelk";
  }
  const char* homeValue = std::getenv("HOME");
  std::string home = homeValue != nullptr ? homeValue : "";
  if (home.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
      home = pw->pw_dir;
    }
  }
  return fs::path(home) / ".config" / "zelk";
}

std::optional<std::string> readFileText(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    if (ec) return std::nullopt;
    return std::string();
  }
  // A folder or a device in the file's place is not a file we can read: reading one throws.
  if (!fs::is_regular_file(file, ec)) return std::nullopt;
  try {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
}

// Writes the whole file beside the old one and renames it over, so that a reader sees either
// the old or the new file, never a half-written one. A registry that is a link to a file kept
// elsewhere stays a link: the file it names is replaced.
bool replaceFile(const fs::path& link, std::string_view text) {
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

}  // namespace automation::detail
