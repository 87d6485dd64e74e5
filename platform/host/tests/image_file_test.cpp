#include "host/image_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
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

}  // namespace
}  // namespace host
