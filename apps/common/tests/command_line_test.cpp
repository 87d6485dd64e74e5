// The programs' command lines as a user types them: read by the shared parser with each
// program's own options, and what the program answers before it runs (the exit status, the
// exact line on standard error, help and version on standard output). And the forms' settings
// files, read whole or refused.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apps/command_line.h"
#include "apps/designed_chart.h"
#include "recorder/app/headless_options.h"
#include "scratch_folder.h"
#include "spectrograph/app/headless_options.h"

namespace apps {
namespace {

enum class Prog { Chart, Spec, Designer };

constexpr int kRuns = -1;  // the line is accepted and the program goes on to run

// What the program answers before its run, as its main() does.
EarlyExit answer(Prog prog, const std::vector<std::string>& args) {
  std::optional<EarlyExit> done;
  if (prog == Prog::Chart) {
    const auto parsed = recorder::app::parseCommandLine(args);
    done = answerBeforeRun({"zelkchart", "9.9", recorder::app::usageText()}, parsed.options,
                           {parsed.error, parsed.tryHelp});
  } else if (prog == Prog::Spec) {
    const auto parsed = spectrograph::app::parseCommandLine(args);
    done = answerBeforeRun({"zelkspec", "9.9", spectrograph::app::usageText()}, parsed.options,
                           {parsed.error, parsed.tryHelp});
  } else {
    CommonOptions options;
    std::vector<std::string> files;
    const ParsedLine line = parseOptions(args, options, {}, &files);
    done =
        answerBeforeRun({"kvplotax-designer", "9.9", "Usage: kvplotax-designer\n"}, options, line);
    if (!done) return {kRuns, std::to_string(files.size()) + " files", ""};
  }
  return done.value_or(EarlyExit{kRuns, "", ""});
}

TEST(CommandLine, AnswersBeforeTheRun) {
  struct Case {
    Prog prog;
    std::vector<std::string> args;
    int status;
    std::string out;  // what standard output starts with
    std::string err;  // all of standard error
  };
  const std::string tryChart = "Try 'zelkchart --help'.\n";
  const std::string trySpec = "Try 'zelkspec --help'.\n";
  const Case cases[] = {
      // Help and version on standard output, whatever else the line holds.
      {Prog::Chart, {"--help"}, 0, "Usage: zelkchart", ""},
      {Prog::Chart, {"-h", "--log", "a.log"}, 0, "Usage: zelkchart", ""},
      {Prog::Spec, {"--version", "--fft", "512"}, 0, "zelkspec 9.9\n", ""},
      {Prog::Designer, {"--version"}, 0, "kvplotax-designer 9.9\n", ""},
      {Prog::Designer, {"a.bag", "--help"}, 0, "Usage: kvplotax-designer", ""},
      // Accepted lines, written in the ways getopt allows.
      {Prog::Chart, {"--headless", "--seconds=2.5", "--log", "a.log"}, kRuns, "", ""},
      {Prog::Chart, {"--input", "synthetic:4", "--seconds", "1e7", "--start"}, kRuns, "", ""},
      {Prog::Spec, {"--headless", "--image", "A.PNG", "--palette=bone"}, kRuns, "", ""},
      {Prog::Spec, {"--input", "synthetic"}, kRuns, "", ""},
      {Prog::Designer, {"--", "-odd name.bag"}, kRuns, "1 files", ""},
      {Prog::Designer, {}, kRuns, "0 files", ""},
      // Refused lines: one line naming the fault, and where to look.
      {Prog::Chart, {"--bogus"}, 2, "", "zelkchart: unknown option --bogus\n" + tryChart},
      {Prog::Chart, {"--head"}, 2, "", "zelkchart: unknown option --head\n" + tryChart},
      {Prog::Chart,
       {"--headless", "--sec", "3"},
       2,
       "",
       "zelkchart: unknown option --sec\n" + tryChart},
      {Prog::Chart, {"-x"}, 2, "", "zelkchart: unknown option -x\n" + tryChart},
      {Prog::Chart, {"stray"}, 2, "", "zelkchart: unknown option stray\n" + tryChart},
      {Prog::Chart, {"--headless=yes"}, 2, "", "zelkchart: --headless takes no value\n" + tryChart},
      {Prog::Chart,
       {"--headless", "--log"},
       2,
       "",
       "zelkchart: --log needs a file name\n" + tryChart},
      {Prog::Chart,
       {"--headless", "--log="},
       2,
       "",
       "zelkchart: --log needs a file name\n" + tryChart},
      {Prog::Chart,
       {"--export-csv", "a.log", "--date", ""},
       2,
       "",
       "zelkchart: --date needs a date\n" + tryChart},
      {Prog::Chart,
       {"--export-csv", "a.log", "--date="},
       2,
       "",
       "zelkchart: --date needs a date\n" + tryChart},
      {Prog::Chart,
       {"--headless", "--seconds", "10000001"},
       2,
       "",
       "zelkchart: --seconds 10000001 is more than the limit of 10000000 seconds\n" + tryChart},
      {Prog::Chart,
       {"--headless", "--seconds", "-1"},
       2,
       "",
       "zelkchart: --seconds -1 is not a positive number of seconds\n" + tryChart},
      {Prog::Chart,
       {"--headless", "--seconds", "nan"},
       2,
       "",
       "zelkchart: --seconds nan is not a positive number of seconds\n" + tryChart},
      {Prog::Chart,
       {"--headless", "--print", "x.ps"},
       2,
       "",
       "zelkchart: --print x.ps: the name must end in .pdf\n" + tryChart},
      {Prog::Chart,
       {"--headless", "--input", "device:"},
       2,
       "",
       "zelkchart: --input device: is not an input\n" + tryChart},
      {Prog::Spec,
       {"--headless", "--image", "a.png", "--gain", "3"},
       2,
       "",
       "zelkspec: --gain 3 is not 0, 6 or 12 (dB)\n" + trySpec},
      {Prog::Spec,
       {"--headless", "--seconds", "2"},
       2,
       "",
       "zelkspec: nothing to write: give --image FILE.png, --print FILE.pdf, or with --echoes "
       "--events, --counts or --rmob\n" +
           trySpec},
      {Prog::Designer,
       {"--headless"},
       2,
       "",
       "kvplotax-designer: unknown option --headless\nTry 'kvplotax-designer --help'.\n"},
      // Options of the other run are refused in one line rather than ignored.
      {Prog::Chart, {"--log", "a.log"}, 2, "", "zelkchart: --log is only for --headless runs\n"},
      {Prog::Chart,
       {"--input", "synthetic", "--image", "a.png"},
       2,
       "",
       "zelkchart: --image is only for --headless runs\n"},
      {Prog::Chart,
       {"--export-csv", "a.log", "--realtime"},
       2,
       "",
       "zelkchart: --realtime is only for --headless runs\n"},
      {Prog::Chart,
       {"--headless", "--start"},
       2,
       "",
       "zelkchart: --start is only for the window, not for --headless runs\n"},
      {Prog::Chart,
       {"--screenshot", "w.png", "--headless"},
       2,
       "",
       "zelkchart: --screenshot is only for the window, not for --headless runs\n"},
      {Prog::Spec, {"--seconds", "5"}, 2, "", "zelkspec: --seconds is only for --headless runs\n"},
      {Prog::Spec, {"--fft", "1024"}, 2, "", "zelkspec: --fft is only for --headless runs\n"},
      {Prog::Spec,
       {"--relief", "--input", "synthetic"},
       2,
       "",
       "zelkspec: --relief is only for --headless runs\n"},
      {Prog::Spec, {"--print", "a.pdf"}, 2, "", "zelkspec: --print is only for --headless runs\n"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += " " + a;
    SCOPED_TRACE(line);
    const EarlyExit got = answer(c.prog, c.args);
    EXPECT_EQ(got.status, c.status);
    EXPECT_EQ(got.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(got.err, c.err);
  }
}

using SettingsFile = zelk::test::ScratchFolder;

TEST_F(SettingsFile, IsReadWholeOrRefusedWithItsReason) {
  const std::string bag = "[Class " + std::string(kChartClassId) + "]\r\nBorderWidth = 3\r\n";
  std::ofstream(dir / "ok.bag", std::ios::binary) << bag;
  std::ofstream(dir / "at_limits.bag", std::ios::binary)
      << std::string(kMaxSettingsLineBytes, 'A') << "\n"
      << std::string(kMaxSettingsBytes - kMaxSettingsLineBytes - 1, '\n');
  std::ofstream(dir / "long_line.bag", std::ios::binary)
      << "A = 1\n"
      << std::string(kMaxSettingsLineBytes + 1, 'A');
  std::ofstream(dir / "one_over.bag", std::ios::binary) << std::string(kMaxSettingsBytes + 1, '\n');
  // A huge file is refused without being read: it takes no memory to speak of.
  std::filesystem::resize_file((std::ofstream(dir / "huge.bag"), dir / "huge.bag"), 64u << 20);
  ASSERT_EQ(::mkfifo((dir / "fifo.bag").c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder.bag");
  struct Case {
    std::string name;
    std::string error;  // empty: the text is returned whole
  };
  const Case cases[] = {
      {"ok.bag", ""},
      {"at_limits.bag", ""},
      {"long_line.bag", "has a line longer than 256 KiB"},
      {"one_over.bag", "is larger than 1 MiB"},
      {"huge.bag", "is larger than 1 MiB"},
      {"fifo.bag", "is not a regular file"},
      {"folder.bag", "is not a regular file"},
      {"missing.bag", "cannot be read: No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path file = dir / c.name;
    if (c.error.empty()) {
      EXPECT_EQ(readSettingsFile(file), read(c.name));
      continue;
    }
    try {
      readSettingsFile(file);
      ADD_FAILURE() << "read";
    } catch (const SettingsError& e) {
      EXPECT_EQ(std::string(e.what()), "the settings file " + file.string() + " " + c.error);
    }
  }
}

}  // namespace
}  // namespace apps
