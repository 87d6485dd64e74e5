#include "registry_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

#include "file_text.h"
#include "util/folder.h"

namespace automation::detail {
namespace {

std::mutex& processMutex() {
  static std::mutex m;
  return m;
}

std::string waitText(std::chrono::milliseconds wait) {
  if (wait.count() % 1000 == 0) return std::to_string(wait.count() / 1000) + " s";
  return std::to_string(wait.count()) + " ms";
}

}  // namespace

RegistryLock::RegistryLock(const std::filesystem::path& file, std::chrono::milliseconds wait)
    : threadLock_(processMutex()) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  util::makeFolders(folder);
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      reportProblem("the registry " + file.string() +
                    " is locked by another process; gave up after " + waitText(wait) +
                    " (another user may hold the lock on the folder " + folder.string() + ")");
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

RegistryLock::~RegistryLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace automation::detail
