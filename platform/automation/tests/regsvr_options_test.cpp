// zelk-regsvr's own options: what goes to standard output, and the exit statuses.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct RegsvrRun {
  int status = -1;
  std::string out;
};

RegsvrRun regsvr(const std::string& arguments) {
  RegsvrRun run;
  // Appended piece by piece: the optimiser's bounds warning misreads a chain of + on a literal.
  std::string command = ZELK_REGSVR;
  command.append(" ").append(arguments).append(" 2>/dev/null");
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.out += buffer;
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

struct Case {
  const char* arguments;
  int status;
  const char* outStart;  // what standard output starts with ("" for nothing)
};

TEST(RegsvrOptions, HelpAndVersionGoToStandardOutputAndSucceed) {
  const Case cases[] = {
      {"--version", 0, "zelk-regsvr "},
      {"--help", 0, "Usage: zelk-regsvr [--system] [-u] MODULE\n"},
      {"-h", 0, "Usage: zelk-regsvr "},
      {"", 2, ""},
      {"--bogus", 2, ""},
      {"-u", 2, ""},
      {"one.so two.so", 2, ""},
      {"/nonexistent/libKVPLOTAX.so", 3, ""},
  };
  for (const Case& c : cases) {
    const RegsvrRun run = regsvr(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_EQ(run.out.rfind(c.outStart, 0), 0u) << c.arguments << ": " << run.out;
    if (*c.outStart == '\0') {
      EXPECT_EQ(run.out, "") << c.arguments;
    }
  }
}

}  // namespace
