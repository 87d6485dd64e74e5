#include "web_served_log.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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
constexpr std::size_t kPiece = 64 * 1024;

// Writes to a pipe without the signal its closed far end raises (a plotter that has died): the
// signal is held back for this thread while it writes, and taken back if the write raised it.
ssize_t writeWithoutSignal(int fd, const char* data, std::size_t size) {
  sigset_t brokenPipe, before;
  sigemptyset(&brokenPipe);
  sigaddset(&brokenPipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &brokenPipe, &before);
  const ssize_t n = ::write(fd, data, size);
  const int error = errno;
  if (n < 0 && error == EPIPE && !sigismember(&before, SIGPIPE)) {
    const timespec now{0, 0};
    while (sigtimedwait(&brokenPipe, nullptr, &now) == SIGPIPE) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  errno = error;
  return n;
}

struct FilePrefix {
  std::shared_ptr<util::Descriptor> file;
  std::uint64_t size;
  std::uint64_t at = 0;
  const std::atomic<bool>* stopping;
  const std::atomic<bool>* gone;
};

ssize_t readPrefix(void* cookie, char* buffer, std::size_t length) {
  auto& f = *static_cast<FilePrefix*>(cookie);
  if (*f.stopping || (f.gone != nullptr && *f.gone) || f.at >= f.size) return 0;
  const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(length, f.size - f.at));
  ssize_t n = 0;
  do {
    n = ::pread(f.file->get(), buffer, want, static_cast<off_t>(f.at));
  } while (n < 0 && errno == EINTR);
  if (n > 0) f.at += static_cast<std::uint64_t>(n);
  return n;
}

int seekPrefix(void* cookie, off64_t* offset, int whence) {
  auto& f = *static_cast<FilePrefix*>(cookie);
  const std::int64_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? static_cast<std::int64_t>(f.at)
                                                 : static_cast<std::int64_t>(f.size);
  const std::int64_t to = base + *offset;
  if (to < 0) return -1;
  f.at = static_cast<std::uint64_t>(to);
  *offset = to;
  return 0;
}

int closePrefix(void* cookie) {
  delete static_cast<FilePrefix*>(cookie);
  return 0;
}

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

std::uint64_t wholeLinesEnd(int fd, std::uint64_t size) {
  std::array<char, 4096> piece{};
  for (std::uint64_t end = size; end > 0;) {
    const std::uint64_t from = end > piece.size() ? end - piece.size() : 0;
    ssize_t n = 0;
    do {
      n = ::pread(fd, piece.data(), end - from, static_cast<off_t>(from));
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return 0;
    for (auto i = static_cast<std::size_t>(n); i > 0; --i) {
      if (piece[i - 1] == '\n') return from + i;
    }
    end = from;
  }
  return 0;
}

std::FILE* openFilePrefix(std::shared_ptr<util::Descriptor> file, std::uint64_t size,
                          const std::atomic<bool>& stopping, const std::atomic<bool>* gone) {
  auto* cookie = new FilePrefix{std::move(file), size, 0, &stopping, gone};
  std::FILE* stream = ::fopencookie(cookie, "r", {readPrefix, nullptr, seekPrefix, closePrefix});
  if (stream == nullptr) delete cookie;
  return stream;
}

bool drawDayPlot(int fd, std::uint64_t size, const std::string& folder,
                 const std::atomic<bool>& stopping, std::string& png) {
  const std::string image = (std::filesystem::path(folder) / "plot.png").string();
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) return false;
  util::Descriptor reading(pipe[0]), writing(pipe[1]);
  const std::string program = "/proc/self/exe";
  std::vector<std::string> words = {"zelkchart", "--plot", "/dev/stdin", "--image", image};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, reading.get(), STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // Not the listening socket nor the clients' connections.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  reading.reset(-1);
  if (spawned != 0) return false;
  ::fcntl(writing.get(), F_SETFL, O_NONBLOCK);
  // The log goes to the plot through a piece of memory of a fixed size.
  std::vector<char> piece(kPiece);
  std::uint64_t sent = 0;
  std::size_t begin = 0, end = 0;
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
    if (writing) {
      if (begin == end && sent < size) {
        const ssize_t n =
            ::pread(fd, piece.data(),
                    static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, size - sent)),
                    static_cast<off_t>(sent));
        begin = 0;
        end = n > 0 ? static_cast<std::size_t>(n) : 0;
        if (n <= 0) size = sent;  // the file shrank: the plot gets what there was
        sent += end;
      }
      if (begin < end) {
        const ssize_t n = writeWithoutSignal(writing.get(), piece.data() + begin, end - begin);
        if (n > 0) begin += static_cast<std::size_t>(n);
        if (n < 0 && errno != EAGAIN && errno != EINTR) writing.reset(-1);
      }
      if (begin == end && sent >= size) writing.reset(-1);  // the end of the log
      if (writing) {
        pollfd p{writing.get(), POLLOUT, 0};
        ::poll(&p, 1, 10);
        continue;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  std::ifstream in(image, std::ios::binary);
  png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !png.empty();
}

}  // namespace recorder::app
