// The programs started as a user starts them: help and version without a display, a window
// without a display refused in one line, and stop signals ending a window with status 0.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
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

// A recording piped in whose writer falls silent: SIGTERM ends each headless run within three
// seconds, and the run still writes its picture of what came.
TEST_F(WithoutDisplay, SigtermEndsRunsWhoseInputPipeStalls) {
  // A WAV header promising a minute of 8000 samples/s, then one second of silence.
  std::string wav(
      "RIFF\x24\xa6\x0e\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0"
      "\x02\0\x10\0data\0\xa6\x0e\0",
      44);
  wav.append(16000, '\0');
  for (const std::string& run : {std::string(ZELKCHART_PATH) + " --headless",
                                 std::string(ZELKCHART_PATH) + " --headless --realtime",
                                 std::string(ZELKSPEC_PATH) + " --headless",
                                 std::string(ZELKSPEC_PATH) + " --headless --full"}) {
    SCOPED_TRACE(run);
    std::filesystem::remove(p("in.wav"));
    std::filesystem::remove(p("s.png"));
    ASSERT_EQ(::mkfifo(p("in.wav").c_str(), 0600), 0);
    const std::string command = run + " --input " + p("in.wav") + " --image " + p("s.png") +
                                " 2>/dev/null & echo $! >" + p("pid");
    ASSERT_EQ(std::system(command.c_str()), 0);
    const int pipe = ::open(p("in.wav").c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(pipe, 0);
    ASSERT_EQ(::write(pipe, wav.data(), wav.size()), static_cast<ssize_t>(wav.size()));
    ::usleep(1500 * 1000);
    const pid_t pid = std::stoi(read("pid"));
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int waited = 0;
    while (::kill(pid, 0) == 0 && waited < 30) {
      ::usleep(100 * 1000);
      ++waited;
    }
    EXPECT_LT(waited, 30);
    if (waited == 30) ::kill(pid, SIGKILL);
    ::close(pipe);
    EXPECT_EQ(read("s.png").substr(1, 3), "PNG");
  }
}
#endif

}  // namespace
