// Replacing the registry and the initialisation file: what the new file keeps of the old one,
// what is refused, scratch files of writers that died, and a lock that another process holds.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "automation/profile.h"
#include "automation/server.h"
#include "test_environment.h"

namespace automation {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempDir;

constexpr uid_t kOtherUser = 65534;

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

pid_t deadProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

mode_t currentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

enum Target { RegistryFile, IniFile };

struct Leftover {
  std::string name;  // "{dead}" and "{live}" stand for a process id
  bool removed;
};

struct Case {
  const char* name;
  Target target;
  int mode;          // of the file before the write; -1: there is none
  bool otherOwner;   // the file belongs to another user
  bool lockHeld;     // another process holds the registry's lock
  bool relativeEnv;  // ZELK_REGISTRY is a relative path
  std::vector<Leftover> leftovers;
  bool written;
  const char* reported;  // what the one line on standard error says, or ""
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const Case kCases[] = {
    {"RegistryKeepsAPrivateMode", RegistryFile, 0600, false, false, false, {}, true, ""},
    {"RegistryKeepsAGroupMode", RegistryFile, 0640, false, false, false, {}, true, ""},
    {"NewRegistryTakesTheUmask", RegistryFile, -1, false, false, false, {}, true, ""},
    {"IniFileKeepsAPrivateMode", IniFile, 0600, false, false, false, {}, true, ""},
    {"NewIniFileTakesTheUmask", IniFile, -1, false, false, false, {}, true, ""},
    {"RegistryOfAnotherUserIsRefused",
     RegistryFile,
     0644,
     true,
     false,
     false,
     {},
     false,
     "belongs to another user"},
    {"IniFileOfAnotherUserIsRefused",
     IniFile,
     0644,
     true,
     false,
     false,
     {},
     false,
     "belongs to another user"},
    {"ScratchFilesOfDeadWritersAreRemoved",
     RegistryFile,
     0644,
     false,
     false,
     false,
     {{".registry.tmp-{dead}-a1b2c3", true},
      {"registry.tmp.{dead}.0", true},
      {".registry.tmp-{live}-d4e5f6", false},
      {".other.tmp-{dead}-a1b2c3", false}},
     true,
     ""},
    {"FilesAtOncePredictableNamesDoNotStopAWrite",
     IniFile,
     0644,
     false,
     false,
     false,
     {{"VB.INI.tmp.{live}.0", false}, {".VB.INI.tmp-{dead}-x", true}},
     true,
     ""},
    {"LockHeldElsewhereIsGivenUp",
     RegistryFile,
     0644,
     false,
     true,
     false,
     {},
     false,
     "is locked by another process"},
    {"RelativeExplicitRegistryWritesNothing",
     RegistryFile,
     -1,
     false,
     false,
     true,
     {},
     false,
     "ZELK_REGISTRY is not an absolute path"},
};

class RegistryWrite : public ::testing::TestWithParam<Case> {};

TEST_P(RegistryWrite, ReplacesTheFileOnlyAsItsOwnerWould) {
  const Case& c = GetParam();
  TempDir dir;
  const fs::path folder = dir.path() / "zelk";
  fs::create_directories(folder);
  const fs::path file = folder / (c.target == RegistryFile ? "registry" : "VB.INI");
  ScopedEnv registry("ZELK_REGISTRY", c.relativeEnv ? "zelk/registry" : file.string());
  ScopedEnv config("XDG_CONFIG_HOME", (dir.path() / "config").string());
  const std::string before = "# old\n[Keep]\nx=1\n";
  if (c.mode >= 0) {
    std::ofstream(file) << before;
    fs::permissions(file, static_cast<fs::perms>(c.mode));
    if (c.otherOwner && ::chown(file.c_str(), kOtherUser, static_cast<gid_t>(-1)) != 0) {
      GTEST_SKIP() << "giving a file to another user needs privileges";
    }
  }
  const pid_t dead = deadProcess();
  const auto named = [&](std::string name) {
    for (const auto& [mark, pid] : {std::pair{"{dead}", dead}, std::pair{"{live}", ::getpid()}}) {
      if (const auto at = name.find(mark); at != std::string::npos) {
        name.replace(at, std::string(mark).size(), std::to_string(pid));
      }
    }
    return folder / name;
  };
  for (const Leftover& leftover : c.leftovers) std::ofstream(named(leftover.name)) << "partial";
  int lockFd = -1;
  if (c.lockHeld) {
    lockFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);
  }
  const fs::path cwd = fs::current_path();
  fs::current_path(dir.path());

  ::testing::internal::CaptureStderr();
  bool written = false;
  if (c.target == RegistryFile) {
    written = RegistryEdit()
                  .setValue("Key", "Name", "value")
                  .waitForLock(std::chrono::milliseconds(300))
                  .commit();
  } else {
    const std::vector<std::string> entries = {"A=1"};
    written = writeProfileSection(file, "Section", entries);
  }
  const std::string reported = ::testing::internal::GetCapturedStderr();
  fs::current_path(cwd);
  if (lockFd >= 0) ::close(lockFd);

  EXPECT_EQ(written, c.written);
  if (*c.reported == '\0') {
    EXPECT_EQ(reported, "");
  } else {
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1) << reported;
    EXPECT_NE(reported.find(c.reported), std::string::npos) << reported;
  }
  if (!c.written) {
    EXPECT_EQ(c.mode >= 0 ? readFile(file) : "", c.mode >= 0 ? before : "");
    EXPECT_EQ(fs::exists(file), c.mode >= 0);
    EXPECT_FALSE(fs::exists(dir.path() / "config"));
  } else {
    EXPECT_NE(readFile(file).find(c.target == RegistryFile ? "Name=value" : "A=1"),
              std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    const mode_t expected = c.mode >= 0 ? static_cast<mode_t>(c.mode) : 0644 & ~currentUmask();
    EXPECT_EQ(st.st_mode & 07777, expected);
    EXPECT_EQ(st.st_uid, ::geteuid());
  }
  for (const Leftover& leftover : c.leftovers) {
    EXPECT_EQ(fs::exists(named(leftover.name)), !leftover.removed) << leftover.name;
  }
  // Nothing else is left in the folder: the scratch file became the file or was removed.
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files += entry.path() != file;
  }
  const auto kept = std::count_if(c.leftovers.begin(), c.leftovers.end(),
                                  [](const Leftover& l) { return !l.removed; });
  EXPECT_EQ(files, static_cast<std::size_t>(kept));
}

INSTANTIATE_TEST_SUITE_P(Cases, RegistryWrite, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace automation
