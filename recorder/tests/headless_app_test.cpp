// The unattended program: its command line, the default answers, and whole runs of the binary.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless_options.h"
#include "host/headless_prompter.h"
#include "recorder/log_rotation.h"
#include "scratch_folder.h"
#include "station_signal.h"

namespace recorder::app {
namespace {

ParseResult parse(std::vector<std::string> args) { return parseCommandLine(args); }

TEST(HeadlessOptions, ReadsTheDocumentedCommandLine) {
  const auto r = parse({"--headless", "--input", "synthetic:3", "--seconds", "2.5", "--log",
                        "a.log", "--image", "a.png", "--start-time", "23:59:58", "--realtime"});
  ASSERT_EQ(r.error, "");
  EXPECT_TRUE(r.options.headless);
  EXPECT_EQ(r.options.input, "synthetic:3");
  EXPECT_EQ(r.options.seconds, 2.5);
  EXPECT_EQ(r.options.logPath, "a.log");
  EXPECT_EQ(r.options.imagePath, "a.png");
  EXPECT_EQ(r.options.startTime, "23:59:58");
  EXPECT_TRUE(r.options.realtime);
  for (const char* clock : {"now", "utc"}) {
    EXPECT_EQ(parse({"--headless", "--start-time", clock}).error, "") << clock;
  }
  const auto u = parse({"--headless", "--log", "a.log", "--rotate", "daily", "--start-date",
                        "2026-03-01", "--image", "a.png", "--image-every", "60"});
  ASSERT_EQ(u.error, "");
  EXPECT_TRUE(u.options.rotateDaily);
  EXPECT_EQ(u.options.imageEvery, 60);
  EXPECT_EQ(u.options.startDay, recorder::parseIsoDay("2026-03-01"));
  EXPECT_TRUE(parse({"--help"}).options.help);
  EXPECT_TRUE(parse({"--version"}).options.version);
}

TEST(HeadlessOptions, RefusesWhatCannotRun) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--seconds", "0"},
           {"--seconds", "abc"},
           {"--seconds"},
           {"--image", "x.jpg"},
           {"--input", "device:"},
           {"--headless", "--playback", "a.log", "--log", "b.log"},
           {"--frobnicate"},
           {"--headless", "--log", "a.log", "--rotate", "weekly"},
           {"--headless", "--rotate", "daily"},
           {"--headless", "--sync"},
           {"--headless", "--image", "a.png", "--image-every", "0"},
           {"--headless", "--image-labels"},
           {"--headless", "--start-time", "soon"},
           {"--date", "2026-01-01"},
           {"--headless", "--serve", "65536"},
           {"--headless", "--serve"},
           {"--plot", "a.log", "--image", "a.png", "--serve", "8080"},
           {"--export-csv", "a.log", "--serve", "8080"},
           {"--headless", "--db"}}) {
    EXPECT_NE(parse(args).error, "") << args[0];
  }
}

TEST(HeadlessPrompter, MessageBoxesTakeTheirDefaultButton) {
  using namespace host;
  EXPECT_EQ(defaultButton(vbOKOnly | vbCritical), vbOK);
  EXPECT_EQ(defaultButton(vbYesNo | vbInformation), vbYes);
  EXPECT_EQ(defaultButton(vbYesNo | vbDefaultButton2), vbNo);
  EXPECT_EQ(defaultButton(vbRetryCancel), vbRetry);
  EXPECT_EQ(defaultButton(vbYesNoCancel | 0x200), vbCancel);
}

#ifdef ZELKCHART_PATH
class HeadlessRunTest : public zelk::test::ScratchFolder {
 protected:
  int run(const std::string& args) { return runCommand(std::string(ZELKCHART_PATH) + " " + args); }
};

TEST_F(HeadlessRunTest, RecordsLogsDrawsAndPlaysBack) {
  ASSERT_EQ(run("--headless --input synthetic:5 --seconds 4 --start-time 10:00:00 --log " +
                p("r.log") + " --image " + p("r.png")),
            0)
      << read("stderr.txt");
  const std::string log = read("r.log");
  std::size_t data = 0, time = 0;
  for (std::size_t at = log.find("\"D\","); at != std::string::npos;
       at = log.find("\"D\",", at + 1)) {
    ++data;
  }
  for (std::size_t at = log.find("\"T\","); at != std::string::npos;
       at = log.find("\"T\",", at + 1)) {
    ++time;
  }
  EXPECT_EQ(data, 80u);  // 8 blocks of 10 points
  EXPECT_EQ(time, 4u);   // one per 8000 samples
  EXPECT_NE(log.find("\"T\",#10:00:04#,4\r\n"), std::string::npos);
  EXPECT_EQ(read("r.png").substr(1, 3), "PNG");
  ASSERT_EQ(run("--headless --playback " + p("r.log") + " --image " + p("p.bmp")), 0)
      << read("stderr.txt");
  EXPECT_EQ(read("p.bmp").substr(0, 2), "BM");
}

// Columns of a 24-bit bottom-up bitmap file that hold the trace's red.
std::pair<int, int> redColumns(const std::string& bmp) {
  const auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 3])) << 24;
  };
  const int width = static_cast<int>(u32(18)), height = static_cast<int>(u32(22));
  const std::size_t offset = u32(10), stride = (static_cast<std::size_t>(width) * 3 + 3) & ~3u;
  int first = width, last = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t at = offset + static_cast<std::size_t>(y) * stride + x * 3u;
      if (at + 2 < bmp.size() && bmp[at] == 0 && bmp[at + 1] == 0 &&
          static_cast<unsigned char>(bmp[at + 2]) == 0xFF) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  return {first, last};
}

TEST_F(HeadlessRunTest, SixMinutesFillTheChartAndPlaybackDrawsTheSameChart) {
  // Six minutes span the chart's twelve divisions of 30 s: the trace reaches both edges of the
  // plot area, so the recorder's set-up was not replaced by the new control's own defaults.
  ASSERT_EQ(run("--headless --input synthetic:3 --seconds 400 --log " + p("r.log") + " --image " +
                p("r.bmp")),
            0)
      << read("stderr.txt");
  const std::string recorded = read("r.bmp");
  const auto [first, last] = redColumns(recorded);
  EXPECT_LT(first, 40);
  EXPECT_GT(last, 560);
  ASSERT_EQ(run("--headless --playback " + p("r.log") + " --image " + p("p.bmp")), 0)
      << read("stderr.txt");
  EXPECT_EQ(redColumns(read("p.bmp")), redColumns(recorded));
}

TEST_F(HeadlessRunTest, UnusableInputsAndOutputsFailClearly) {
  EXPECT_NE(run("--headless --input " + p("missing.wav") + " --seconds 1"), 0);
  EXPECT_NE(read("stderr.txt").find("missing.wav"), std::string::npos);
  EXPECT_NE(run("--headless --seconds 1 --log " + p("no/folder/x.log")), 0);
  EXPECT_NE(run("--headless --playback " + p("missing.log")), 0);
  EXPECT_NE(run("--headless --seconds 1 --image " + p("no/folder/x.png")), 0);
  // A log whose last records are refused when it is closed has lost data.
  EXPECT_NE(run("--headless --seconds 0.5 --log /dev/full"), 0);
  EXPECT_NE(read("stderr.txt").find("/dev/full"), std::string::npos);
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(run("--bogus"), 2);
  EXPECT_EQ(read("stderr.txt"), "zelkchart: unknown option --bogus\nTry 'zelkchart --help'.\n");
  std::ofstream(p("bad.log"), std::ios::binary) << "\"T\",#10:00:00#,4\r\n\"X\",1\r\n";
  EXPECT_EQ(run("--headless --playback " + p("bad.log")), 1);
  EXPECT_EQ(run("--export-csv " + p("bad.log")), 1);
  EXPECT_NE(read("stderr.txt").find("Invalid log file format!"), std::string::npos);
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST_F(HeadlessRunTest, AKilledRealTimeRunKeepsAllButItsLastSecond) {
  const std::string command = std::string(ZELKCHART_PATH) + " --headless --realtime --sync --log " +
                              p("k.log") + " 2>/dev/null & echo $! >" + p("pid");
  ASSERT_EQ(std::system(command.c_str()), 0);
  // Killed once three seconds are in the file (a busy machine can be slow to start it).
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (count(read("k.log"), "\"T\",") < 3 && std::chrono::steady_clock::now() < giveUp)
    ::usleep(50 * 1000);
  const pid_t pid = std::stoi(read("pid"));
  ASSERT_EQ(::kill(pid, SIGKILL), 0);
  const std::string log = read("k.log");
  // Each second ended with its time record and reached the file with it, so the file ends with
  // a whole time record.
  EXPECT_GE(count(log, "\"T\","), 3u) << log;
  // The audio blocks keep their own pace beside the clock: about 20 points a second.
  EXPECT_GE(count(log, "\"D\","), 20u);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.substr(log.rfind("\r\n", log.size() - 3) + 2, 4), "\"T\",");
}

TEST_F(HeadlessRunTest, DailyLogsSplitAtMidnightWithEveryRecordOnce) {
  ASSERT_EQ(run("--headless --seconds 10 --start-time 23:59:56 --start-date 2026-02-28 --rotate "
                "daily --log " +
                p("day.log")),
            0)
      << read("stderr.txt");
  const std::string first = read("day.log"), second = read("day-2026-03-01.log");
  // The time record of midnight ends the first day's file; the next day starts after it.
  EXPECT_EQ(count(first, "\"T\","), 4u);
  EXPECT_EQ(first.substr(first.rfind("\"T\",")), "\"T\",#1899-12-31#,4\r\n");
  EXPECT_EQ(count(second, "\"T\","), 6u);
  EXPECT_EQ(count(first, "\"D\",") + count(second, "\"D\","), 200u);
  EXPECT_EQ(second.find("\"T\","), second.find("\"T\",#1899-12-31 00:00:01#,4"));
  for (const char* name : {"day.log", "day-2026-03-01.log"}) {
    EXPECT_EQ(run("--headless --playback " + p(name)), 0) << name;
  }
}

TEST_F(HeadlessRunTest, ExportsAKnownLogAsCsv) {
  std::ofstream(p("k.log"), std::ios::binary)
      << "\"D\",7\r\n\"T\",#23:59:59#,4\r\n\"D\",1\r\n\"D\",2.5\r\n\"D\",0\r\n\"D\",1024\r\n"
         "\"T\",#1899-12-31#,5\r\n\"D\",3\r\n";
  const std::string command = std::string(ZELKCHART_PATH) + " --export-csv " + p("k.log") +
                              " --date 2026-12-31 >" + p("k.csv");
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(read("k.csv"),
            "2026-12-31T23:59:59.000,7\n"
            "2026-12-31T23:59:59.250,1\n"
            "2026-12-31T23:59:59.500,2.5\n"
            "2026-12-31T23:59:59.750,0\n"
            "2027-01-01T00:00:00.000,1024\n"
            "2027-01-01T00:00:00.100,3\n");
  // A rotated file's name dates its first day, whenever it was copied; a name without a date
  // gets the file's change date, and standard error says so.
  std::filesystem::copy_file(p("k.log"), p("k-2026-12-31.log"));
  const std::string named = std::string(ZELKCHART_PATH) + " --export-csv " + p("k-2026-12-31.log") +
                            " >" + p("named.csv") + " 2>" + p("err.txt");
  ASSERT_EQ(std::system(named.c_str()), 0);
  EXPECT_EQ(read("named.csv"), read("k.csv"));
  EXPECT_EQ(read("err.txt"), "");
  const std::string undated = std::string(ZELKCHART_PATH) + " --export-csv " + p("k.log") + " >" +
                              p("undated.csv") + " 2>" + p("err.txt");
  ASSERT_EQ(std::system(undated.c_str()), 0);
  EXPECT_NE(read("err.txt").find("the name carries no date"), std::string::npos);
}

// A mono 16-bit WAV of a steady tone.
void writeWav(const std::string& path, int rate, int seconds) {
  std::vector<std::int16_t> samples(static_cast<std::size_t>(rate) * seconds);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = i % 40 < 20 ? 3000 : -3000;
  test::writeWav(path, rate, samples);
}

TEST_F(HeadlessRunTest, RecordingsOfWholeSecondsGiveThatManyTimeRecords) {
  for (const int rate : {44100, 8000, 22050}) {
    writeWav(p("s.wav"), rate, 7);
    std::filesystem::remove(p("s.log"));  // a run never empties an earlier run's log
    ASSERT_EQ(run("--headless --input " + p("s.wav") + " --log " + p("s.log")), 0);
    EXPECT_EQ(count(read("s.log"), "\"T\","), 7u) << rate;
  }
}

// Black pixels in the strip under the chart (the bottom rows of a bottom-up bitmap), under the
// left edge, the middle and the right edge of the plot.
std::array<int, 3> inkUnderTheChart(const std::string& bmp) {
  std::array<int, 3> inked{};
  if (bmp.size() < 54) return inked;
  const auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bmp[at + i]);
    return v;
  };
  const int width = static_cast<int>(u32(18)), height = static_cast<int>(u32(22));
  if (width != 601 || height != 257 + 18) return inked;
  const std::size_t offset = u32(10), stride = (601 * 3 + 3) & ~3u;
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t at = offset + static_cast<std::size_t>(y) * stride + x * 3u;
      if (at + 2 < bmp.size() && bmp[at] == 0 && bmp[at + 1] == 0 && bmp[at + 2] == 0) {
        ++inked[x * 3 / width];
      }
    }
  }
  return inked;
}

TEST_F(HeadlessRunTest, LabelsUnderTheChartTellTheTime) {
  ASSERT_EQ(
      run("--headless --seconds 4 --start-time 12:00:00 --image-labels --image " + p("l.bmp")), 0);
  const auto inked = inkUnderTheChart(read("l.bmp"));
  for (int zone = 0; zone < 3; ++zone) EXPECT_GT(inked[zone], 20) << zone;
}

TEST_F(HeadlessRunTest, TheFirstLivePictureOfARealTimeRunIsLabelled) {
  const std::string command = std::string(ZELKCHART_PATH) +
                              " --headless --realtime --start-time 12:00:00 --image-every 1 "
                              "--image-labels --image " +
                              p("live.bmp") + " 2>/dev/null & echo $! >" + p("pid");
  ASSERT_EQ(std::system(command.c_str()), 0);
  ::usleep(100 * 1000);
  const pid_t pid = std::stoi(read("pid"));
  std::string first;
  for (int wait = 0; wait < 300 && first.empty(); ++wait) {
    ::usleep(10 * 1000);
    first = read("live.bmp");
  }
  ::kill(pid, SIGKILL);
  const auto inked = inkUnderTheChart(first);
  for (int zone = 0; zone < 3; ++zone) EXPECT_GT(inked[zone], 20) << zone;
}

TEST_F(HeadlessRunTest, ALiveImageIsAlwaysWholeWhenRead) {
  const std::string command = std::string(ZELKCHART_PATH) +
                              " --headless --seconds 200 --image-every 1 --image-labels --image " +
                              p("live.png") + " 2>/dev/null & echo $! >" + p("pid");
  ASSERT_EQ(std::system(command.c_str()), 0);
  ::usleep(100 * 1000);
  const pid_t pid = std::stoi(read("pid"));
  int reads = 0;
  // Reads as fast as it can until the run ends (a stopped run's process is reaped by init).
  while (::kill(pid, 0) == 0) {
    const std::string png = read("live.png");
    if (png.empty()) continue;
    ++reads;
    ASSERT_GE(png.size(), 8u);
    ASSERT_EQ(png.substr(png.size() - 8), std::string("IEND\xAE\x42\x60\x82", 8)) << reads;
    ASSERT_EQ(png.substr(1, 3), "PNG");
  }
  EXPECT_GT(reads, 0);
}

TEST_F(HeadlessRunTest, PrintsTheWindowAtTheEndOnTheFilePrinter) {
  ASSERT_EQ(run("--headless --input synthetic:2 --seconds 3 --print " + p("chart.pdf")), 0)
      << read("stderr.txt");
  const std::string pdf = read("chart.pdf");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_NE(pdf.find("/MediaBox [0 0 595.2 841.92]"), std::string::npos);
  EXPECT_NE(read("stderr.txt").find("Print Bitmap: Printing 'ZelkChart'"), std::string::npos);
  EXPECT_NE(run("--headless --seconds 1 --print " + p("no/folder/x.pdf")), 0);
  EXPECT_NE(parse({"--headless", "--print", "x.png"}).error, "");
}

// Each refused run exits 1 with one line saying why, before any file is created or emptied.
TEST_F(HeadlessRunTest, RefusedRunsLeaveEveryFileAsItWas) {
  writeWav(p("rec.wav"), 8000, 2);
  const std::string kept = "\"D\",1\r\n\"T\",#10:00:00#,4\r\n";
  std::ofstream(p("important.log"), std::ios::binary) << kept;
  std::ofstream(p("text.txt")) << "not a recording\n";
  ASSERT_EQ(::mkfifo(p("fifo.png").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/null", p("null.bmp"));
  std::filesystem::create_symlink("important.log", p("log.png"));
  std::filesystem::create_symlink("important.log", p("link.log"));
  std::filesystem::create_directory(p("folder.pdf"));
  // An empty log another user made beforehand, for the run to fill where they can read it.
  std::ofstream(p("theirs.log")).close();
  ::chmod(p("theirs.log").c_str(), 0666);
  const bool theirs = ::chown(p("theirs.log").c_str(), 65534, 65534) == 0;
  const std::string longImage = std::string(252, 'i') + ".png";
  const std::string longLog = std::string(248, 'l') + ".log";
  const struct {
    std::string args;  // @ stands for the test's folder
    const char* says;
    int status = 1;
  } cases[] = {
      {"--input @rec.wav --log @rec.wav", "it is the input"},
      {"--input @missing.wav --log @important.log", "missing.wav"},
      {"--input device:nonesuch --log @important.log", "nonesuch"},
      {"--input @text.txt --log @important.log", "text.txt"},
      {"--log @important.log --image @log.png", "it is also the log"},
      {"--log @new.pdf --print @new.pdf", "it is also the log"},
      {"--log @important.log --image @fifo.png", "not a regular file"},
      {"--log @important.log --image @null.bmp", "not a regular file"},
      {"--log @important.log --print @folder.pdf", "it is a folder"},
      {"--log @link.log", "symbolic link"},
      {"--log @important.log --image @" + longImage, "longer than"},
      {"--log @" + longLog + " --rotate daily", "daily files"},
      {"--log @important.log --image @no/x.png", "does not exist"},
      {"--playback @important.log --image @log.png", "it is the input"},
      {theirs ? "--log @theirs.log" : "--log @link.log",
       theirs ? "belongs to another user" : "symbolic link", theirs ? 2 : 1},
  };
  const auto before = std::distance(std::filesystem::directory_iterator(dir), {});
  for (const auto& c : cases) {
    std::string args = c.args;
    for (auto at = args.find('@'); at != std::string::npos; at = args.find('@', at)) {
      args.replace(at, 1, dir.string() + "/");
    }
    EXPECT_EQ(run("--headless --seconds 1 " + args), c.status) << c.args;
    const std::string said = read("stderr.txt");
    EXPECT_NE(said.find(c.says), std::string::npos) << c.args << ": " << said;
    EXPECT_EQ(count(said, "\n"), 1u) << said;
    EXPECT_EQ(read("important.log"), kept) << c.args;
    EXPECT_EQ(read("rec.wav").size(), 44u + 2 * 8000 * 2) << c.args;
    // No file but the two the run's output goes to.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), before + 2) << c.args;
  }
  EXPECT_TRUE(std::filesystem::is_symlink(p("null.bmp")));
}

TEST_F(HeadlessRunTest, ARestartedRunGoesOnInANewFile) {
  const std::string night = "\"T\",#01:00:00#,4\r\n";
  std::ofstream(p("night.log"), std::ios::binary) << night;
  for (const char* next : {"night-2.log", "night-3.log"}) {
    ASSERT_EQ(run("--headless --seconds 2 --log " + p("night.log")), 0) << read("stderr.txt");
    EXPECT_NE(read("stderr.txt").find(p(next)), std::string::npos) << read("stderr.txt");
    EXPECT_EQ(count(read(next), "\"T\","), 2u) << next;
  }
  EXPECT_EQ(read("night.log"), night);
}

TEST_F(HeadlessRunTest, RealTimeRunsOfNSecondsLogNSeconds) {
  for (const int seconds : {2, 3, 2}) {
    const std::string name = "rt" + std::to_string(seconds) + ".log";
    std::filesystem::remove(p(name));
    ASSERT_EQ(
        run("--headless --realtime --seconds " + std::to_string(seconds) + " --log " + p(name)), 0)
        << read("stderr.txt");
    const std::string log = read(name);
    EXPECT_EQ(count(log, "\"T\","), static_cast<std::size_t>(seconds)) << log;
    EXPECT_EQ(count(log, "\"D\","), static_cast<std::size_t>(20 * seconds)) << log;
  }
}
#endif

}  // namespace
}  // namespace recorder::app
