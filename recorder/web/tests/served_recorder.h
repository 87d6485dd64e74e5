// A zelkchart run with --serve started as its own process, for the tests and the benchmark of
// the web view: it waits for the line that says where the run serves, and can be stopped as a
// service manager would.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace recorder::testing {

class ServedRecorder {
 public:
  // args after the program's name; stderr goes to stderrPath.
  ServedRecorder(const std::string& program, const std::vector<std::string>& args,
                 std::string stderrPath)
      : stderrPath_(std::move(stderrPath)) {
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    pid_ = ::fork();
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (std::string& w : words) argv.push_back(w.data());
      argv.push_back(nullptr);
      std::FILE* err = std::freopen(stderrPath_.c_str(), "w", stderr);
      if (err == nullptr) ::_exit(127);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
  }
  ~ServedRecorder() {
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  std::string errors() const {
    std::ifstream in(stderrPath_);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // The port from "serving the web view at http://HOST:PORT/", or 0 when the run ended or said
  // nothing within the time.
  int waitForPort(std::chrono::seconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      const std::string text = errors();
      const auto at = text.find("serving the web view at http://");
      if (at != std::string::npos) {
        const auto colon = text.find(':', at + 31);
        if (colon != std::string::npos) return std::atoi(text.c_str() + colon + 1);
      }
      if (exited(std::chrono::milliseconds(0))) return 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
  }

  // The exit status once the process has ended within the time, else -1.
  int waitForExit(std::chrono::milliseconds limit) {
    if (!exited(limit)) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
  }

  void signal(int number) const { ::kill(pid_, number); }
  pid_t pid() const { return pid_; }

 private:
  bool exited(std::chrono::milliseconds limit) {
    if (reaped_) return true;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
      if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
        reaped_ = true;
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
  }

  std::string stderrPath_;
  pid_t pid_ = -1;
  int status_ = 0;
  bool reaped_ = false;
};

}  // namespace recorder::testing
