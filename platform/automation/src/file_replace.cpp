#include "file_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string>
#include <system_error>

#include "file_text.h"

namespace automation::detail {
namespace {

namespace fs = std::filesystem;

// ".NAME.tmp-PID-RANDOM": the process id tells whether its writer is still alive, the random part
// keeps others from making the name in advance.
std::string scratchPrefix(const std::string& name) { return "." + name + ".tmp-"; }

std::string randomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[12];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  std::string suffix;
  for (std::size_t i = 0; i < got; ++i) suffix += kLetters[bytes[i] % (sizeof kLetters - 1)];
  return suffix;
}

// The writer's process id in a scratch name "PREFIX<pid><end>...", or 0 when there is none.
pid_t pidAfter(std::string_view entry, std::string_view prefix, char end) {
  if (!entry.starts_with(prefix)) return 0;
  entry.remove_prefix(prefix.size());
  pid_t pid = 0;
  const auto [rest, ec] = std::from_chars(entry.data(), entry.data() + entry.size(), pid);
  if (ec != std::errc() || pid <= 0 || rest == entry.data() + entry.size() || *rest != end)
    return 0;
  return pid;
}

// Scratch files of ours whose writer no longer runs, in our naming and in the one used before it
// ("NAME.tmp.PID.N").
void removeLeftovers(const fs::path& folder, const std::string& name) {
  const std::string prefix = scratchPrefix(name);
  const std::string oldPrefix = name + ".tmp.";
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    pid_t pid = pidAfter(entry, prefix, '-');
    if (pid == 0) pid = pidAfter(entry, oldPrefix, '.');
    if (pid == 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
      ::unlink(it->path().c_str());
    }
  }
}

bool writeAll(int fd, std::string_view text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Gives the new file the old one's group and mode. Where the group cannot be kept, the group's
// access is dropped rather than handed to another group.
bool takeOver(int fd, const struct stat& old) {
  mode_t mode = old.st_mode & 07777;
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  if (now.st_gid != old.st_gid && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    mode &= ~static_cast<mode_t>(S_IRWXG | S_ISGID);
  }
  return ::fchmod(fd, mode) == 0;
}

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    reportProblem("the folder " + folder.string() + " could not be synced after writing to it");
  }
  if (fd >= 0) ::close(fd);
}

}  // namespace

bool replaceFile(const fs::path& link, std::string_view text) {
  std::error_code ec;
  fs::path file = link;
  if (fs::is_symlink(link, ec)) {
    file = fs::weakly_canonical(link, ec);
    if (ec) return false;
  }
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const std::string name = file.filename().string();
  removeLeftovers(folder, name);

  struct stat old {};
  const bool exists = ::stat(file.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && !S_ISREG(old.st_mode)) {
    reportProblem("will not replace " + file.string() + ": it is not a regular file");
    return false;
  }
  if (exists && old.st_uid != ::geteuid()) {
    reportProblem("will not replace " + file.string() + ": it belongs to another user");
    return false;
  }

  fs::path temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    const std::string suffix = randomSuffix();
    if (suffix.empty()) return false;
    temp = folder / (scratchPrefix(name) + std::to_string(::getpid()) + "-" + suffix);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool ok = (!exists || takeOver(fd, old)) && writeAll(fd, text);
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  syncFolder(folder);
  return true;
}

}  // namespace automation::detail
