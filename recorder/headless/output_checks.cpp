#include "output_checks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "host/output_file.h"
#include "recorder/log_rotation.h"
#include "xvtools/audio_source.h"
#include "xvtools/input_spec.h"

namespace recorder::headless {

namespace {

// Opening a recording or a device tells whether it can be read; a pipe is not opened, since
// what it holds can be read only once.
std::string inputProblem(const xvtools::InputSpec& input) {
  if (input.kind == xvtools::InputSpec::Kind::Synthetic) return {};
  if (input.kind == xvtools::InputSpec::Kind::File) {
    struct stat info {};
    if (::stat(input.name.c_str(), &info) != 0) {
      return "cannot read the recording " + input.name + ": " + std::strerror(errno);
    }
    if (S_ISDIR(info.st_mode))
      return "cannot read the recording " + input.name + ": it is a folder";
    if (!S_ISREG(info.st_mode)) {
      return ::access(input.name.c_str(), R_OK) == 0
                 ? std::string()
                 : "cannot read the recording " + input.name + ": " + std::strerror(errno);
    }
  }
  try {
    // A recording cut short is read as far as it goes; the operator is told.
    const auto source = xvtools::openAudioSource(input, 8000);
    if (const std::string warning = source->warning(); !warning.empty())
      std::cerr << "zelkchart: " << warning << '\n';
  } catch (const std::exception& e) {
    if (input.kind == xvtools::InputSpec::Kind::File) return e.what();
    return "cannot use the input " + input.toString() + ": " + e.what();
  }
  return {};
}

std::string readableLog(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || ::access(path.c_str(), R_OK) != 0) {
    return "cannot read the log " + path + ": " + std::strerror(errno);
  }
  if (S_ISDIR(info.st_mode)) return "cannot read the log " + path + ": it is a folder";
  return {};
}

std::string logProblem(const std::string& path, const HeadlessSettings& options) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0) {
    if (S_ISLNK(info.st_mode)) {
      return "cannot write the log " + path +
             ": it is a symbolic link, and logs are not written through links";
    }
    if (S_ISDIR(info.st_mode)) return "cannot write the log " + path + ": it is a folder";
  }
  std::string problem = host::nameProblem(path);
  if (problem.empty() && options.rotateDaily) {
    // The longest dated name differs from any other only in its digits.
    const std::string dated = datedLogName(path, options.startDay.value_or(today(false)));
    problem = host::nameProblem(dated);
    if (!problem.empty()) problem = "its daily files (" + dated + ") cannot be made: " + problem;
  }
  return problem.empty() ? problem : "cannot write the log " + path + ": " + problem;
}

std::string replacedProblem(const char* what, const std::string& path) {
  const std::string problem = host::replaceProblem(path);
  return problem.empty() ? problem : std::string("cannot write ") + what + path + ": " + problem;
}

std::string ownerProblem(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || info.st_uid == ::geteuid()) return {};
  return "cannot write the log " + path + ": it belongs to another user (uid " +
         std::to_string(info.st_uid) + "), who could read and change what is recorded";
}

}  // namespace

std::string checkAppendedOwners(const HeadlessSettings& options) {
  if (options.logPath.empty() || !options.playbackPath.empty()) return {};
  std::string problem = ownerProblem(options.logPath);
  if (problem.empty() && options.rotateDaily)
    problem = ownerProblem(datedLogName(options.logPath, options.startDay.value_or(today(false))));
  return problem;
}

std::string checkRunFiles(const HeadlessSettings& options) {
  const bool playback = !options.playbackPath.empty();
  std::string input;  // the file the run reads, if any
  if (playback) {
    if (auto problem = readableLog(options.playbackPath); !problem.empty()) return problem;
    input = options.playbackPath;
  } else {
    const auto choice = xvtools::InputSpec::parse(options.input);
    if (!choice) return "--input " + options.input + " is not an input";
    if (auto problem = inputProblem(*choice); !problem.empty()) return problem;
    if (choice->kind == xvtools::InputSpec::Kind::File) input = choice->name;
  }
  struct Output {
    const std::string& path;
    const char* what;
  };
  const Output outputs[] = {{options.logPath, "the log "},
                            {options.imagePath, "the image "},
                            {options.printPath, "the printed chart "}};
  for (std::size_t i = 0; i < std::size(outputs); ++i) {
    const Output& out = outputs[i];
    if (out.path.empty() || (playback && i == 0)) continue;
    if (!input.empty() && host::sameFile(out.path, input)) {
      return std::string("cannot write ") + out.what + out.path + ": it is the input " + input;
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (!outputs[j].path.empty() && host::sameFile(out.path, outputs[j].path)) {
        return std::string("cannot write ") + out.what + out.path + ": it is also " +
               outputs[j].what + outputs[j].path;
      }
    }
    const std::string problem =
        i == 0 ? logProblem(out.path, options) : replacedProblem(out.what, out.path);
    if (!problem.empty()) return problem;
  }
  return {};
}

}  // namespace recorder::headless
