// Qt's input and clipboard data in the platform's terms.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "qt_clipboard.h"
#include "qt_input.h"

namespace host::qt {
namespace {

TEST(QtInput, KeysBecomeVirtualKeyCodes) {
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    int vk;
  } cases[] = {{Qt::Key_A, Qt::NoModifier, 'A'},         {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
               {Qt::Key_5, Qt::NoModifier, '5'},         {Qt::Key_5, Qt::KeypadModifier, 0x65},
               {Qt::Key_F1, Qt::NoModifier, 0x70},       {Qt::Key_F12, Qt::NoModifier, 0x7B},
               {Qt::Key_Shift, Qt::ShiftModifier, 0x10}, {Qt::Key_Control, Qt::NoModifier, 0x11},
               {Qt::Key_Alt, Qt::NoModifier, 0x12},      {Qt::Key_Return, Qt::NoModifier, 0x0D},
               {Qt::Key_Escape, Qt::NoModifier, 0x1B},   {Qt::Key_Left, Qt::NoModifier, 0x25},
               {Qt::Key_Down, Qt::NoModifier, 0x28},     {Qt::Key_Delete, Qt::NoModifier, 0x2E},
               {Qt::Key_Space, Qt::NoModifier, 0x20},    {Qt::Key_Backtab, Qt::NoModifier, 0x09},
               {Qt::Key_Eacute, Qt::NoModifier, 0},      {Qt::Key_VolumeUp, Qt::NoModifier, 0}};
  for (const auto& c : cases) {
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
    EXPECT_EQ(virtualKey(event), c.vk) << std::hex << c.key;
  }
}

TEST(QtInput, ButtonsBecomeTheirMessagesAndFlags) {
  EXPECT_EQ(buttonMessage(Qt::LeftButton, true, false), 0x201u);
  EXPECT_EQ(buttonMessage(Qt::LeftButton, false, false), 0x202u);
  EXPECT_EQ(buttonMessage(Qt::LeftButton, true, true), 0x203u);
  EXPECT_EQ(buttonMessage(Qt::RightButton, true, false), 0x204u);
  EXPECT_EQ(buttonMessage(Qt::RightButton, true, true), 0x206u);
  EXPECT_EQ(buttonMessage(Qt::MiddleButton, false, false), 0x208u);
  EXPECT_EQ(buttonMessage(Qt::BackButton, true, false), 0u);
  EXPECT_EQ(mouseKeyFlags(Qt::LeftButton | Qt::MiddleButton, Qt::ControlModifier),
            0x01u | 0x10u | 0x08u);
  EXPECT_EQ(mouseKeyFlags(Qt::NoButton, Qt::AltModifier), 0u);  // Alt is asked for separately
}

// A packed bitmap: 40-byte header, colours, then pixel bytes.
std::vector<std::uint8_t> dib(int bitCount, std::uint32_t compression, std::uint32_t used,
                              std::size_t colourBytes, std::size_t pixelBytes) {
  std::vector<std::uint8_t> b(40 + colourBytes + pixelBytes, 0);
  b[0] = 40;
  b[4] = 2;  // width 2
  b[8] = 2;  // height 2
  b[12] = 1;
  b[14] = static_cast<std::uint8_t>(bitCount);
  b[16] = static_cast<std::uint8_t>(compression);
  b[32] = static_cast<std::uint8_t>(used);
  b[33] = static_cast<std::uint8_t>(used >> 8);
  return b;
}

TEST(QtClipboard, BitmapFileHeaderPointsPastHeaderAndColours) {
  const struct {
    std::vector<std::uint8_t> dib;
    std::optional<std::uint32_t> offset;
  } cases[] = {
      {dib(24, 0, 0, 0, 16), 54},           // true colour: pixels follow the header
      {dib(8, 0, 0, 1024, 8), 54 + 1024},   // 256 colours by default for 8 bits
      {dib(8, 0, 2, 8, 8), 54 + 8},         // two colours used
      {dib(1, 0, 0, 8, 8), 54 + 8},         // two colours for 1 bit
      {dib(32, 3, 0, 12, 16), 54 + 12},     // bit fields after a 40-byte header
      {{0x28, 0x00}, std::nullopt},         // too short to be a header
      {dib(0, 0, 0, 0, 16), std::nullopt},  // no bit count
      {dib(8, 0, 300, 0, 8), std::nullopt}  // more colours than a table can hold
  };
  for (const auto& c : cases) {
    const auto file = bitmapFileOf(c.dib);
    ASSERT_EQ(file.has_value(), c.offset.has_value());
    if (!file) continue;
    ASSERT_EQ(file->size(), c.dib.size() + 14);
    EXPECT_EQ((*file)[0], 'B');
    EXPECT_EQ((*file)[1], 'M');
    EXPECT_EQ((*file)[2] | (*file)[3] << 8 | (*file)[4] << 16, static_cast<int>(file->size()));
    EXPECT_EQ(static_cast<std::uint32_t>((*file)[10] | (*file)[11] << 8), *c.offset);
    EXPECT_TRUE(std::equal(c.dib.begin(), c.dib.end(), file->begin() + 14));
  }
}

}  // namespace
}  // namespace host::qt
