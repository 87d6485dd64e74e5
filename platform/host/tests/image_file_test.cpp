#include "host/image_file.h"
#include "host/output_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace host {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class ImageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("zelk-host-image-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  static Bytes readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
  }

  fs::path folder_;
  // 3 x 2, every channel different, held in rows of 4 pixels; the fourth column must not show.
  const std::vector<std::uint32_t> pixels_{0x00030201, 0x00060504, 0x00090807, 0xDEADBEEF,
                                           0x000C0B0A, 0x000F0E0D, 0x00FFFFFF, 0xDEADBEEF};
  const PixelView view_{pixels_.data(), 3, 2, 4};
};

std::uint32_t le32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST_F(ImageFileTest, BitmapFileIsATrueColourDibBottomUp) {
  const fs::path path = folder_ / "screen.bmp";
  ASSERT_TRUE(writeBmp(path, view_));
  const Bytes file = readAll(path);
  // Rows of 3 pixels at 24 bits take 9 bytes, padded to 12.
  ASSERT_EQ(file.size(), 54u + 2 * 12);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(le32(file, 2), file.size());
  EXPECT_EQ(le32(file, 6), 0u);    // both reserved words
  EXPECT_EQ(le32(file, 10), 54u);  // no colour table
  EXPECT_EQ(le32(file, 14), 40u);
  EXPECT_EQ(le32(file, 18), 3u);
  EXPECT_EQ(le32(file, 22), 2u);  // positive height: bottom-up
  EXPECT_EQ(file[26] | file[27] << 8, 1);
  EXPECT_EQ(file[28] | file[29] << 8, 24);
  EXPECT_EQ(le32(file, 30), 0u);  // BI_RGB
  EXPECT_EQ(le32(file, 34), 24u);
  const Bytes rows(file.begin() + 54, file.end());
  const Bytes expected{0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0xFF, 0xFF, 0xFF, 0, 0, 0,
                       0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0x09, 0x08, 0x07, 0, 0, 0};
  EXPECT_EQ(rows, expected);
}

TEST_F(ImageFileTest, PngReadsBackAsTheSameColours) {
  const fs::path path = folder_ / "screen.PNG";
  ASSERT_TRUE(writeImageFile(path, view_));
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&png, path.c_str()), 0) << png.message;
  EXPECT_EQ(png.width, 3u);
  EXPECT_EQ(png.height, 2u);
  EXPECT_EQ(png.format & PNG_FORMAT_FLAG_ALPHA, 0u);
  png.format = PNG_FORMAT_RGB;
  Bytes rgb(PNG_IMAGE_SIZE(png));
  ASSERT_NE(png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr), 0) << png.message;
  const Bytes expected{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
                       0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(rgb, expected);
  // Encoded in memory (for the web view), the bytes are the file's.
  const std::string bytes = encodePng(view_);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), readAll(path));
  EXPECT_EQ(encodePng({pixels_.data(), 3, 2, 2}), "");
}

TEST_F(ImageFileTest, FailuresLeaveNothingBehindAndKeepTheOldFile) {
  const fs::path path = folder_ / "kept.bmp";
  { std::ofstream(path) << "old"; }
  const std::uint32_t one = 0;
  for (const PixelView& bad :
       {PixelView{nullptr, 1, 1, 1}, PixelView{&one, 0, 1, 1}, PixelView{&one, 1, -1, 1},
        PixelView{&one, 2, 1, 1}, PixelView{&one, 1, 32768, 1}, PixelView{&one, 32768, 1, 32768}}) {
    EXPECT_FALSE(writeBmp(path, bad));
    EXPECT_FALSE(writePng(folder_ / "kept.png", bad));
  }
  EXPECT_FALSE(writeImageFile(folder_ / "screen.gif", view_));
  EXPECT_FALSE(writeImageFile(folder_ / "screen", view_));
  EXPECT_FALSE(writeBmp(folder_ / "missing" / "screen.bmp", view_));
  fs::create_directory(folder_ / "taken.png");
  EXPECT_FALSE(writePng(folder_ / "taken.png", view_));  // a folder is in the way
  EXPECT_EQ(readAll(path), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(entries(), 2u);  // kept.bmp and taken.png: no scratch files

  ASSERT_TRUE(writeBmp(path, view_));  // a good write replaces it
  EXPECT_EQ(readAll(path).size(), 78u);
  EXPECT_EQ(entries(), 2u);
}

// What stands at an image's name: each case sets it up, says whether a write may replace it,
// and what the name must hold afterwards (the picture, or what was there).
TEST_F(ImageFileTest, WritesThroughLinksAndLeavesWhatIsNotItsOwnAlone) {
  const fs::path real = folder_ / "real.bmp";
  const std::string longName(250, 'n');
  struct Case {
    const char* what;
    std::function<fs::path()> setUp;
    const char* problem;  // start of replaceProblem's answer, "" when it may be replaced
  };
  const Case cases[] = {
      {"absent", [&] { return folder_ / "new.bmp"; }, ""},
      {"a link to an image",
       [&] {
         std::ofstream(real) << "old";
         fs::create_symlink("real.bmp", folder_ / "link.bmp");
         return folder_ / "link.bmp";
       },
       ""},
      {"a dangling link",
       [&] {
         fs::create_symlink("made.bmp", folder_ / "dangling.bmp");
         return folder_ / "dangling.bmp";
       },
       ""},
      {"a 250-byte name", [&] { return folder_ / (longName + ".bmp"); }, ""},
      {"a FIFO",
       [&] {
         ::mkfifo((folder_ / "fifo.bmp").c_str(), 0600);
         return folder_ / "fifo.bmp";
       },
       "it is not a regular file"},
      {"a link to a device",
       [&] {
         fs::create_symlink("/dev/null", folder_ / "null.bmp");
         return folder_ / "null.bmp";
       },
       "it is not a regular file"},
      {"a folder",
       [&] {
         fs::create_directory(folder_ / "dir.bmp");
         return folder_ / "dir.bmp";
       },
       "it is a folder"},
      {"another user's file",
       [&] {
         std::ofstream(folder_ / "theirs.bmp") << "old";
         if (::chown((folder_ / "theirs.bmp").c_str(), 65534, 65534) != 0) return fs::path();
         return folder_ / "theirs.bmp";
       },
       "the file belongs to another user"},
      {"a name too long", [&] { return folder_ / (longName + "xxxxxx.bmp"); },
       "the name is longer than"},
      {"a missing folder", [&] { return folder_ / "missing" / "x.bmp"; }, "its folder"},
      {"links in a circle",
       [&] {
         fs::create_symlink("b.bmp", folder_ / "a.bmp");
         fs::create_symlink("a.bmp", folder_ / "b.bmp");
         return folder_ / "a.bmp";
       },
       "its symbolic links go round"},
  };
  for (const Case& c : cases) {
    const fs::path path = c.setUp();
    if (path.empty()) continue;  // chown needs privileges this run has not
    EXPECT_EQ(replaceProblem(path).substr(0, std::string(c.problem).size()), c.problem) << c.what;
    const bool replaceable = std::string(c.problem).empty();
    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    EXPECT_EQ(writeBmp(path, view_), replaceable) << c.what;
    struct stat after {};
    if (replaceable) {
      EXPECT_EQ(readAll(path).size(), 78u) << c.what;
      if (fs::is_symlink(path)) {
        EXPECT_EQ(readAll(linkTarget(path)).size(), 78u) << c.what;
      }
    } else if (existed) {
      ASSERT_EQ(::stat(path.c_str(), &after), 0) << c.what;
      EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
      EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
      EXPECT_EQ(after.st_size, before.st_size) << c.what;
    }
  }
  EXPECT_TRUE(fs::is_symlink(folder_ / "link.bmp"));
  EXPECT_TRUE(fs::exists(folder_ / "made.bmp"));
  for (const auto& entry : fs::directory_iterator(folder_)) {
    EXPECT_NE(entry.path().filename().string().substr(0, 5), ".zelk") << entry.path();
  }
}

TEST_F(ImageFileTest, AReplacedFileKeepsItsModeAndLeftoversOfDeadWritersGo) {
  const fs::path path = folder_ / "private.png";
  { std::ofstream(path) << "old"; }
  ::chmod(path.c_str(), 0600);
  // A scratch file of a writer killed before its rename, and names an attacker made up front in
  // the old predictable form: none stops the write, and the dead writer's scratch goes.
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ::waitpid(dead, nullptr, 0);
  const fs::path leftover = folder_ / (".zelk" + std::to_string(dead) + ".0123456789abcdef");
  const fs::path foreign = folder_ / ".zelk1.0123456789abcdeg";
  std::ofstream(leftover) << "half a picture";
  std::ofstream(foreign) << "not a scratch name of ours";
  for (int i = 0; i < 100; ++i) {
    std::ofstream(folder_ /
                  (".private.png.part" + std::to_string(::getpid()) + "-" + std::to_string(i)));
  }
  ASSERT_TRUE(writePng(path, view_));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(foreign));
  EXPECT_EQ(entries(), 102u);  // the picture, the foreign name and the 100 made up front
}

TEST(OutputFile, NamesOfOneFileAreTheSame) {
  const fs::path folder = fs::temp_directory_path() / ("zelk-same-" + std::to_string(::getpid()));
  fs::create_directories(folder / "sub");
  std::ofstream(folder / "a.log") << "x";
  fs::create_symlink("a.log", folder / "link.png");
  fs::create_hard_link(folder / "a.log", folder / "hard.log");
  const struct {
    fs::path a, b;
    bool same;
  } cases[] = {{folder / "a.log", folder / "link.png", true},
               {folder / "a.log", folder / "hard.log", true},
               {folder / "a.log", folder / "sub/../a.log", true},
               {folder / "new.png", folder / "sub/../new.png", true},
               {folder / "a.log", folder / "new.png", false},
               {folder / "new.png", folder / "new.bmp", false}};
  for (const auto& c : cases) EXPECT_EQ(sameFile(c.a, c.b), c.same) << c.a << " " << c.b;
  fs::remove_all(folder);
}

}  // namespace
}  // namespace host
