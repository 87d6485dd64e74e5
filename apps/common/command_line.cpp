#include "apps/command_line.h"

#include <getopt.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "xvtools/input_spec.h"

namespace apps {

namespace {

// getopt_long's value for the option at index i of the table; short options keep their letter.
constexpr int kFirstLong = 0x100;
constexpr int kHelp = 'h';
constexpr int kVersion = kFirstLong - 1;

bool endsWithCaseFree(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (std::size_t i = 0; i < tail.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[text.size() - tail.size() + i]);
    if (std::tolower(c) != tail[i]) return false;
  }
  return true;
}

std::string_view nameAsTyped(std::string_view token) { return token.substr(0, token.find('=')); }

}  // namespace

Option headlessOption(CommonOptions& options) {
  return {"--headless", "", Runs::Any, [&options](const std::string&) {
            options.headless = true;
            return std::string();
          }};
}

Option switchOption(const char* name, Runs runs, bool& set) {
  return {name, "", runs, [&set](const std::string&) {
            set = true;
            return std::string();
          }};
}

Option textOption(const char* name, const char* needs, Runs runs, std::string& out) {
  return {name, needs, runs, [&out](const std::string& value) {
            out = value;
            return std::string();
          }};
}

Option inputOption(CommonOptions& options) {
  return {"--input", "--input needs a value", Runs::Any, [&options](const std::string& value) {
            if (!xvtools::InputSpec::parse(value)) return "--input " + value + " is not an input";
            options.input = value;
            options.inputGiven = true;
            return std::string();
          }};
}

Option secondsOption(CommonOptions& options, Runs runs) {
  return {"--seconds", "--seconds needs a value", runs, [&options](const std::string& value) {
            char* end = nullptr;
            const double s = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || *end != '\0' || !std::isfinite(s) || s <= 0)
              return "--seconds " + value + " is not a positive number of seconds";
            if (s > kMaxSeconds) {
              return "--seconds " + value + " is more than the limit of " +
                     std::to_string(static_cast<long>(kMaxSeconds)) + " seconds";
            }
            options.seconds = s;
            return std::string();
          }};
}

Option imageOption(CommonOptions& options) {
  return {"--image", "--image needs a file name", Runs::HeadlessOnly,
          [&options](const std::string& value) {
            if (!endsWithCaseFree(value, ".png") && !endsWithCaseFree(value, ".bmp"))
              return "--image " + value + ": the name must end in .png or .bmp";
            options.imagePath = value;
            return std::string();
          }};
}

Option printOption(CommonOptions& options) {
  return {"--print", "--print needs a file name", Runs::HeadlessOnly,
          [&options](const std::string& value) {
            if (!endsWithCaseFree(value, ".pdf"))
              return "--print " + value + ": the name must end in .pdf";
            options.printPath = value;
            return std::string();
          }};
}

ParsedLine parseOptions(const std::vector<std::string>& args, CommonOptions& common,
                        const std::vector<Option>& options, std::vector<std::string>* operands) {
  std::vector<struct option> table;
  table.reserve(options.size() + 3);
  for (std::size_t i = 0; i < options.size(); ++i) {
    table.push_back({options[i].name.c_str() + 2,
                     options[i].needs.empty() ? no_argument : required_argument, nullptr,
                     kFirstLong + static_cast<int>(i)});
  }
  table.push_back({"help", no_argument, nullptr, kHelp});
  table.push_back({"version", no_argument, nullptr, kVersion});
  table.push_back({nullptr, 0, nullptr, 0});

  // getopt_long takes writable words, with the program's name first.
  std::vector<std::string> words;
  words.reserve(args.size() + 1);
  words.emplace_back("program");
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  ParsedLine line;
  auto refuse = [&line](std::string text) {
    line.error = std::move(text);
    return line;
  };
  std::vector<bool> given(options.size(), false);
  opterr = 0;
  optind = 0;  // a fresh scan, also after an earlier parse in the same process
  auto isName = [&options](std::string_view typed) {
    if (typed == "--help" || typed == "--version") return true;
    for (const Option& option : options) {
      if (typed == option.name) return true;
    }
    return false;
  };
  for (;;) {
    // In order, so that the first fault on the line is the one reported.
    const int c = getopt_long(argc, argv.data(), "-:h", table.data(), nullptr);
    if (c == -1) break;
    const std::string last = argv[optind - 1];
    if (c == 1) {
      if (operands == nullptr) return refuse("unknown option " + last);
      operands->emplace_back(last);
      continue;
    }
    if (c == '?') {
      if (optopt == 0 || !last.starts_with("--"))
        return refuse("unknown option " +
                      (optopt == 0 ? last : "-" + std::string(1, static_cast<char>(optopt))));
      const std::string_view typed = nameAsTyped(last);
      if (!isName(typed)) return refuse("unknown option " + std::string(typed));
      return refuse(std::string(typed) + " takes no value");
    }
    if (c == ':') {
      const std::string_view typed = nameAsTyped(last);
      if (!isName(typed)) return refuse("unknown option " + std::string(typed));
      return refuse(options[static_cast<std::size_t>(optopt - kFirstLong)].needs);
    }
    // The word the option was written in: the one before its value when that is a word of its own.
    const bool separateValue = optarg != nullptr && optarg == argv[optind - 1];
    const std::string word = separateValue ? argv[optind - 2] : last;
    const std::string_view typed = nameAsTyped(word);
    if (typed.starts_with("--") && !isName(typed))
      return refuse("unknown option " + std::string(typed));
    if (c == kHelp) {
      common.help = true;
      continue;
    }
    if (c == kVersion) {
      common.version = true;
      continue;
    }
    const std::size_t index = static_cast<std::size_t>(c - kFirstLong);
    const Option& option = options[index];
    const std::string value = optarg != nullptr ? optarg : "";
    if (!option.needs.empty() && value.empty()) return refuse(option.needs);
    if (std::string why = option.take(value); !why.empty()) return refuse(std::move(why));
    given[index] = true;
  }
  for (int i = optind; i < argc; ++i) {
    if (operands == nullptr) return refuse("unknown option " + std::string(argv[i]));
    operands->emplace_back(argv[i]);
  }
  if (common.help || common.version) return line;
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (!given[i]) continue;
    const Runs runs = options[i].runs;
    if (runs == Runs::HeadlessOnly && !common.headless) {
      line.tryHelp = false;
      return refuse(options[i].name + " is only for --headless runs");
    }
    if (runs == Runs::WindowOnly && common.headless) {
      line.tryHelp = false;
      return refuse(options[i].name + " is only for the window, not for --headless runs");
    }
  }
  return line;
}

std::optional<EarlyExit> answerBeforeRun(const Program& program, const CommonOptions& options,
                                         const ParsedLine& line) {
  if (!line.error.empty()) {
    std::string err = program.name + ": " + line.error + "\n";
    if (line.tryHelp) err += "Try '" + program.name + " --help'.\n";
    return EarlyExit{2, "", err};
  }
  if (options.help) return EarlyExit{0, program.usage, ""};
  if (options.version) return EarlyExit{0, program.name + " " + program.version + "\n", ""};
  return std::nullopt;
}

int finish(const EarlyExit& exit) {
  std::fputs(exit.out.c_str(), stdout);
  std::fputs(exit.err.c_str(), stderr);
  return exit.status;
}

}  // namespace apps
