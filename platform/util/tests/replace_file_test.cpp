#include "util/replace_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace util {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t entries(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// What stands at the name before, how the write goes, and what must stand there after: either
// the new content with the given mode, or everything exactly as it was.
TEST(ReplaceFile, ReplacesWholeOrLeavesEverythingAsItWas) {
  struct Case {
    const char* what;
    std::function<void(const fs::path& target, int& held)> make;
    bool writeSucceeds;
    bool refuseLocked;
    ReplaceResult result;
    mode_t mode;  // of the file afterwards, when replaced
  };
  const auto file = [](mode_t mode) {
    return [mode](const fs::path& t, int&) {
      std::ofstream(t) << "old";
      fs::permissions(t, static_cast<fs::perms>(mode));
    };
  };
  // A file of its own that another open holds a shared lock on.
  const auto locked = [&file](const fs::path& t, int& held) {
    file(0600)(t, held);
    held = ::open(t.c_str(), O_RDONLY | O_CLOEXEC);
    ::flock(held, LOCK_SH);
  };
  const Case cases[] = {
      {"new file", [](const fs::path&, int&) {}, true, false, ReplaceResult::kReplaced, 0640},
      {"own file keeps its mode", file(0604), true, false, ReplaceResult::kReplaced, 0604},
      {"writer fails on a new file", [](const fs::path&, int&) {}, false, false,
       ReplaceResult::kFailed, 0},
      {"writer fails on an old file", file(0600), false, false, ReplaceResult::kFailed, 0},
      {"link", [](const fs::path& t, int&) { fs::create_symlink("elsewhere", t); }, true, false,
       ReplaceResult::kNotRegularFile, 0},
      {"folder", [](const fs::path& t, int&) { fs::create_directory(t); }, true, false,
       ReplaceResult::kNotRegularFile, 0},
      {"fifo", [](const fs::path& t, int&) { ::mkfifo(t.c_str(), 0600); }, true, false,
       ReplaceResult::kNotRegularFile, 0},
      {"locked, refused", locked, true, true, ReplaceResult::kLocked, 0},
      {"locked, not asked to refuse", locked, true, false, ReplaceResult::kReplaced, 0600},
  };
  const mode_t mask = ::umask(027);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string name = (fs::temp_directory_path() / "util-replace-XXXXXX").string();
    const fs::path folder = ::mkdtemp(name.data());
    const fs::path target = folder / "file";
    int held = -1;
    c.make(target, held);
    const std::size_t before = entries(folder);
    const fs::file_status status = fs::symlink_status(target);
    const std::string content = fs::is_regular_file(status) ? readAll(target) : "";

    const ReplaceResult result = replaceFile(
        target, [&](std::FILE* out) { return std::fputs("new", out) >= 0 && c.writeSucceeds; },
        {.newFileMode = 0666, .refuseLocked = c.refuseLocked});
    EXPECT_EQ(result, c.result);
    if (replaced(result)) {
      EXPECT_EQ(readAll(target), "new");
      EXPECT_EQ(fs::status(target).permissions(), static_cast<fs::perms>(c.mode));
      EXPECT_EQ(entries(folder), before == 0 ? 1u : before);
    } else {
      EXPECT_EQ(fs::symlink_status(target).type(), status.type());
      if (fs::is_regular_file(status)) {
        EXPECT_EQ(readAll(target), content);
      }
      EXPECT_EQ(entries(folder), before) << "scratch left behind";
    }
    if (held >= 0) ::close(held);
    fs::remove_all(folder);
  }
  ::umask(mask);
}

// A replacement written over time: nothing of it is seen until commit, and one dropped half way
// (a run stopped, a writer that failed) leaves the old file and no scratch file.
TEST(ReplaceFile, PieceByPieceIsSeenOnlyWhenCommitted) {
  std::string name = (fs::temp_directory_path() / "util-replace-XXXXXX").string();
  const fs::path folder = ::mkdtemp(name.data());
  const fs::path target = folder / "file";
  std::ofstream(target) << "old";
  {
    FileReplacement dropped;
    ASSERT_EQ(dropped.begin(target), ReplaceResult::kReplaced);
    std::fputs("half", dropped.stream());
  }
  EXPECT_EQ(readAll(target), "old");
  EXPECT_EQ(entries(folder), 1u);

  FileReplacement kept;
  ASSERT_EQ(kept.begin(target), ReplaceResult::kReplaced);
  std::fputs("new", kept.stream());
  EXPECT_EQ(readAll(target), "old");
  EXPECT_TRUE(replaced(kept.commit()));
  EXPECT_EQ(readAll(target), "new");
  EXPECT_EQ(entries(folder), 1u);
  EXPECT_EQ(kept.commit(), ReplaceResult::kFailed) << "committed twice";
  fs::remove_all(folder);
}

}  // namespace
}  // namespace util
