// The programs' command lines: the options every program shares (with their checks and texts),
// the options a program declares for itself, and the answers given before a run starts (help,
// version, a refused line). Read with getopt_long: no toolkit is needed to start a headless run.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace apps {

// Which run an option belongs to. Given to the other run it would be silently ignored, so the
// line is refused instead.
enum class Runs { Any, HeadlessOnly, WindowOnly };

struct Option {
  std::string name;   // "--fft"
  std::string needs;  // for an option with a value, the error when the value is missing or
                      // empty ("--fft needs a length"); empty for a switch
  Runs runs = Runs::Any;
  // Takes the value (empty for a switch); returns why it cannot, or "" when it was taken.
  std::function<std::string(const std::string& value)> take;
};

// What every program reads the same way.
struct CommonOptions {
  bool headless = false;
  bool help = false;
  bool version = false;
  std::string input = "synthetic";
  bool inputGiven = false;
  std::optional<double> seconds;  // run this long; otherwise until the input ends or a stop
  std::string imagePath;
  std::string printPath;
};

// The longest run --seconds accepts.
inline constexpr double kMaxSeconds = 1e7;

Option headlessOption(CommonOptions& options);
Option inputOption(CommonOptions& options);
Option secondsOption(CommonOptions& options, Runs runs);
Option imageOption(CommonOptions& options);  // headless runs only
Option printOption(CommonOptions& options);  // headless runs only

// A program's own switch, and its own option whose value is kept as written.
Option switchOption(const char* name, Runs runs, bool& set);
Option textOption(const char* name, const char* needs, Runs runs, std::string& out);

struct ParsedLine {
  std::string error;    // empty when the line is usable
  bool tryHelp = true;  // the error is in how the line is written; --help shows how
};

// A program's parsed line: its options and whether the line can be used.
template <class Options>
struct ParseResult : ParsedLine {
  Options options;
};

// Reads args (the program's name left out) with --help, -h and --version and the given options.
// Arguments that are not options go to operands when the program takes them, else are refused.
// The last of a repeated option wins. Options are written in full: abbreviations are refused,
// so that a later option cannot make a working command line ambiguous.
ParsedLine parseOptions(const std::vector<std::string>& args, CommonOptions& common,
                        const std::vector<Option>& options,
                        std::vector<std::string>* operands = nullptr);

struct Program {
  std::string name;  // as the user types it, and the prefix of every message
  std::string version;
  std::string usage;  // --help's text
};

// The end of a program before its run: what goes to standard output and standard error, and
// the exit status.
struct EarlyExit {
  int status = 0;
  std::string out;
  std::string err;
};

// --help and --version answer on standard output with status 0; a refused line is one line on
// standard error (with a pointer to --help when the line is written wrongly), status 2.
std::optional<EarlyExit> answerBeforeRun(const Program& program, const CommonOptions& options,
                                         const ParsedLine& line);

// Prints what the early exit says and returns its status.
int finish(const EarlyExit& exit);

}  // namespace apps
