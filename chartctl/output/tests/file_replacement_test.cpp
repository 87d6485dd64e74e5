// Writing the chart's bitmap file over what the path names: only a regular file of the writer's
// own that nobody holds locked is replaced, whole, keeping its permission bits; links, special
// files, other users' files and locked files are left exactly as they were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "bitmap_file_writer.h"
#include "gdi/packed_dib.h"

namespace kvplotax::output {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& file, const std::string& text, mode_t mode) {
  std::ofstream(file, std::ios::binary) << text;
  fs::permissions(file, static_cast<fs::perms>(mode));
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string name = (fs::temp_directory_path() / "kvplotax-file-XXXXXX").string();
    path_ = ::mkdtemp(name.data());
  }
  ~ScratchFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }
  // Every name in the folder, to see that nothing was left behind.
  std::size_t entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
  }

 private:
  fs::path path_;
};

// A descriptor held open for the length of a case, with the lock a case puts on it.
struct Held {
  int fd = -1;
  ~Held() {
    if (fd >= 0) ::close(fd);
  }
};

TEST(BitmapFileReplacementTest, OnlyTheWritersOwnUnlockedRegularFilesAreReplaced) {
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(gdi::Bitmap(3, 2, 0x123456), 24);
  const std::string old = "the file as it was";
  struct Case {
    const char* what;
    // Makes what the path names; may hold a descriptor open for the case.
    std::function<void(const fs::path& target, const fs::path& folder, Held& held)> make;
    bool written;
    mode_t mode;  // of the file afterwards, when written
  };
  const Case kCases[] = {
      {"no file yet", [](const fs::path&, const fs::path&, Held&) {}, true, 0640},
      {"own file, private",
       [&](const fs::path& t, const fs::path&, Held&) { writeText(t, old, 0600); }, true, 0600},
      {"own file, read by all",
       [&](const fs::path& t, const fs::path&, Held&) { writeText(t, old, 0644); }, true, 0644},
      {"a link to a file",
       [&](const fs::path& t, const fs::path& f, Held&) {
         writeText(f / "real", old, 0600);
         fs::create_symlink(f / "real", t);
       },
       false, 0},
      {"a dangling link",
       [](const fs::path& t, const fs::path& f, Held&) { fs::create_symlink(f / "nowhere", t); },
       false, 0},
      {"a FIFO", [](const fs::path& t, const fs::path&, Held&) { ::mkfifo(t.c_str(), 0600); },
       false, 0},
      {"a folder", [](const fs::path& t, const fs::path&, Held&) { fs::create_directory(t); },
       false, 0},
      {"locked whole by another open",
       [&](const fs::path& t, const fs::path&, Held& h) {
         writeText(t, old, 0600);
         h.fd = ::open(t.c_str(), O_RDWR | O_CLOEXEC);
         ASSERT_EQ(::flock(h.fd, LOCK_EX), 0);
       },
       false, 0},
      {"a record lock on part of it",
       [&](const fs::path& t, const fs::path&, Held& h) {
         writeText(t, old, 0600);
         h.fd = ::open(t.c_str(), O_RDWR | O_CLOEXEC);
         struct flock part {};
         part.l_type = F_RDLCK;
         part.l_whence = SEEK_SET;
         part.l_start = 2;
         part.l_len = 3;
         ASSERT_EQ(::fcntl(h.fd, F_OFD_SETLK, &part), 0);
       },
       false, 0},
  };
  const mode_t mask = ::umask(027);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const fs::path target = folder.path() / "chart.bmp";
    Held held;
    c.make(target, folder.path(), held);
    const std::size_t before = folder.entries();
    const fs::file_status linkStatus = fs::symlink_status(target);
    const std::string content = fs::is_regular_file(linkStatus) ? readAll(target) : "";

    const bool written = writeBitmapFile(target.string(), dib.bytes());
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(folder.entries(), c.written && before == 0 ? 1u : before) << "scratch left behind";
    if (c.written) {
      struct stat st {};
      ASSERT_EQ(::lstat(target.c_str(), &st), 0);
      EXPECT_TRUE(S_ISREG(st.st_mode));
      EXPECT_EQ(st.st_mode & 0777, c.mode);
      const std::string bytes = readAll(target);
      ASSERT_EQ(bytes.size(), dib.bytes().size() + 14);
      EXPECT_EQ(bytes.substr(0, 2), "BM");
    } else {
      EXPECT_EQ(fs::symlink_status(target).type(), linkStatus.type());
      if (fs::is_regular_file(linkStatus)) {
        EXPECT_EQ(readAll(target), content);
      }
      if (fs::exists(folder.path() / "real")) {
        EXPECT_EQ(readAll(folder.path() / "real"), old);
      }
    }
  }
  ::umask(mask);
}

// Another user's file in a shared folder is not given to the writer, nor emptied.
TEST(BitmapFileReplacementTest, AnotherUsersFileIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a file owned by another user";
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(gdi::Bitmap(1, 1, 0), 24);
  ScratchFolder folder;
  const fs::path target = folder.path() / "theirs.bmp";
  writeText(target, "theirs", 0666);
  ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
  EXPECT_FALSE(writeBitmapFile(target.string(), dib.bytes()));
  EXPECT_EQ(readAll(target), "theirs");
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(folder.entries(), 1u);
}

}  // namespace
}  // namespace kvplotax::output
