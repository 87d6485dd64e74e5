// The programs started as a user starts them: help and version without a display, a window
// without a display refused in one line, and stop signals ending a window with status 0.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scratch_folder.h"

namespace {

using WithoutDisplay = zelk::test::ScratchFolder;

#if defined(ZELKCHART_PATH) && defined(ZELKSPEC_PATH)
TEST_F(WithoutDisplay, ProgramsAnswerOrRefuseInOneLine) {
  struct Case {
    std::string program;
    std::string args;
    int status;
    std::string out;  // what standard output starts with
    std::string err;  // all of standard error
  };
  std::vector<Case> cases = {
      {ZELKCHART_PATH, "--help", 0, "Usage: zelkchart", ""},
      {ZELKSPEC_PATH, "--version", 0, "zelkspec ", ""},
      {ZELKCHART_PATH, "--input synthetic", 2, "",
       "zelkchart: no display to open the window on; use --headless\n"},
      {ZELKSPEC_PATH, "", 2, "", "zelkspec: no display to open the window on; use --headless\n"},
      {ZELKSPEC_PATH, "--palette Hot", 2, "", "zelkspec: --palette is only for --headless runs\n"},
  };
#ifdef DESIGNER_PATH
  cases.push_back({DESIGNER_PATH, "--help", 0, "Usage: kvplotax-designer", ""});
  cases.push_back({DESIGNER_PATH, "--version", 0, "kvplotax-designer ", ""});
  cases.push_back(
      {DESIGNER_PATH, "a.bag", 2, "", "kvplotax-designer: no display to open the window on\n"});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program + " " + c.args);
    EXPECT_EQ(runCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + c.program + " " +
                         c.args),
              c.status);
    EXPECT_EQ(read("stdout.txt").substr(0, c.out.size()), c.out);
    EXPECT_EQ(read("stderr.txt"), c.err);
  }
}

// SIGTERM and SIGINT end a window as its Exit does, with status 0, on Qt's screenless platform.
TEST(StopSignals, EndTheWindowProgramsWithStatusZero) {
  std::vector<std::vector<std::string>> programs = {{ZELKSPEC_PATH, "--input", "synthetic"}};
#ifdef DESIGNER_PATH
  programs.push_back({DESIGNER_PATH});
#endif
  for (const auto& command : programs) {
    for (const int signal : {SIGTERM, SIGINT}) {
      SCOPED_TRACE(command.front() + " " + std::to_string(signal));
      const pid_t pid = ::fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::freopen("/dev/null", "w", stdout);
        ::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
      }
      ::usleep(1500 * 1000);
      int status = 0;
      ASSERT_EQ(::waitpid(pid, &status, WNOHANG), 0) << "ended by itself";
      ::kill(pid, signal);
      bool ended = false;
      for (int waited = 0; waited < 200 && !ended; ++waited) {
        ended = ::waitpid(pid, &status, WNOHANG) == pid;
        if (!ended) ::usleep(50 * 1000);
      }
      if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ADD_FAILURE() << "still running";
        continue;
      }
      EXPECT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 0);
    }
  }
}
#endif

}  // namespace
