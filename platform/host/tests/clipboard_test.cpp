#include "host/clipboard.h"

#include <gtest/gtest.h>

#include <thread>

namespace host {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Clipboard, ChangesNeedTheClipboardOpenOnTheCallingThread) {
  Clipboard clipboard;
  EXPECT_FALSE(clipboard.empty());
  EXPECT_FALSE(clipboard.setData(kCfDib, {1}));
  EXPECT_FALSE(clipboard.close());
  ASSERT_TRUE(clipboard.open(11));
  EXPECT_TRUE(clipboard.isOpen());
  EXPECT_EQ(clipboard.openWindow(), 11u);
  std::thread other([&] {
    EXPECT_FALSE(clipboard.open(22));
    EXPECT_FALSE(clipboard.setData(kCfText, {2}));
    EXPECT_FALSE(clipboard.empty());
    EXPECT_FALSE(clipboard.close());
  });
  other.join();
  EXPECT_TRUE(clipboard.setData(kCfDib, {1}));
  EXPECT_FALSE(clipboard.setData(0, {3}));
  EXPECT_TRUE(clipboard.close());
  EXPECT_EQ(clipboard.openWindow(), 0u);
  EXPECT_EQ(clipboard.formats(), std::vector<unsigned>{kCfDib});
  std::thread later([&] {
    EXPECT_TRUE(clipboard.open(22));
    EXPECT_TRUE(clipboard.close());
  });
  later.join();
}

TEST(Clipboard, EmptyingTakesOwnershipAndAddingKeepsOtherFormats) {
  Clipboard clipboard;
  ASSERT_TRUE(clipboard.open(5));
  ASSERT_TRUE(clipboard.empty());
  ASSERT_TRUE(clipboard.setData(kCfText, {'h', 'i', 0}));
  ASSERT_TRUE(clipboard.close());
  EXPECT_EQ(clipboard.owner(), 5u);

  // A second window adds a picture without emptying: the text stays, ownership does not move.
  ASSERT_TRUE(clipboard.open(9));
  ASSERT_TRUE(clipboard.setData(kCfDib, {1, 2, 3}));
  ASSERT_TRUE(clipboard.setData(kCfDib, {4, 5}));  // replaces its own format only
  ASSERT_TRUE(clipboard.close());
  EXPECT_EQ(clipboard.owner(), 5u);
  EXPECT_EQ(clipboard.formats(), (std::vector<unsigned>{kCfText, kCfDib}));
  EXPECT_EQ(clipboard.data(kCfText), (Bytes{'h', 'i', 0}));
  EXPECT_EQ(clipboard.data(kCfDib), (Bytes{4, 5}));
  EXPECT_FALSE(clipboard.data(kCfBitmap));
  EXPECT_FALSE(clipboard.hasFormat(kCfBitmap));

  // Replacing the contents: empty, then set.
  const auto before = clipboard.sequenceNumber();
  ASSERT_TRUE(clipboard.open(9));
  ASSERT_TRUE(clipboard.empty());
  EXPECT_FALSE(clipboard.hasFormat(kCfText));
  ASSERT_TRUE(clipboard.setData(kCfBitmap, {7}));
  ASSERT_TRUE(clipboard.close());
  EXPECT_EQ(clipboard.owner(), 9u);
  EXPECT_EQ(clipboard.formats(), std::vector<unsigned>{kCfBitmap});
  EXPECT_EQ(clipboard.sequenceNumber(), before + 2);
}

}  // namespace
}  // namespace host
