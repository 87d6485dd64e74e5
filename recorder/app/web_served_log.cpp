#include "web_served_log.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

extern char** environ;

namespace recorder::app {

namespace {

constexpr auto kPlotTimeLimit = std::chrono::seconds(30);

}  // namespace

std::shared_ptr<util::Descriptor> openServedLog(const ServedLog& log, struct stat& info) {
  auto file = std::make_shared<util::Descriptor>(
      ::open(log.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!*file) return nullptr;
  if (::fstat(file->get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_dev != log.device ||
      info.st_ino != log.inode) {
    return nullptr;
  }
  return file;
}

void readWholeLines(int fd, std::uint64_t size, std::string& text) {
  text.resize(size);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, text.data() + done, size - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  text.resize(done);
  const auto end = text.rfind('\n');
  text.resize(end == std::string::npos ? 0 : end + 1);
}

bool drawDayPlot(const std::string& logCopy, const std::atomic<bool>& stopping, std::string& png) {
  const std::string image = (std::filesystem::path(logCopy).parent_path() / "plot.png").string();
  const std::string program = "/proc/self/exe";
  std::vector<std::string> words = {"zelkchart", "--plot", logCopy, "--image", image};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // Not the listening socket nor the clients' connections.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + kPlotTimeLimit;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (done < 0 && errno != EINTR) return false;
    if (stopping || std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  std::ifstream in(image, std::ios::binary);
  png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !png.empty();
}

}  // namespace recorder::app
