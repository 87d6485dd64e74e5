// Window capture without a window system: the control's window, and a picture the program shows
// beside it as a window of its own, each read whole and never across the two.
#include <gtest/gtest.h>

#include "headless_print_services.h"

namespace host {
namespace {

TEST(HeadlessCapture, TheControlsWindowAndTheProgramsPictureStandSideBySide) {
  const gdi::Bitmap control(30, 20, 0x00112233);
  HeadlessPrintServices services({[] { return std::uintptr_t{0x100}; },
                                  [&]() -> const gdi::Bitmap& { return control; },
                                  [] { return false; }});
  gdi::Bitmap picture(50, 40, 0x00AABBCC);
  picture.setPixel(49, 39, 0x00010203);
  EXPECT_EQ(services.windowRect(0x201, ocx::CaptureArea::kWindow), std::nullopt);
  services.showPicture(0x201, picture);

  const struct {
    std::uintptr_t window;
    std::optional<gdi::Rect> rect;
  } windows[] = {{0x100, gdi::Rect{0, 0, 30, 20}},
                 {0x201, gdi::Rect{30, 0, 80, 40}},
                 {0, std::nullopt},
                 {0x202, std::nullopt}};
  for (const auto& w : windows)
    EXPECT_EQ(services.windowRect(w.window, ocx::CaptureArea::kClient), w.rect) << w.window;
  EXPECT_EQ(services.screenSize(), (gdi::Point{80, 40}));

  const auto shown = services.grabScreen({30, 0, 80, 40});
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->pixel(0, 0), 0x00AABBCCu);
  EXPECT_EQ(shown->pixel(49, 39), 0x00010203u);
  const auto corner = services.grabScreen({79, 39, 80, 40});
  ASSERT_TRUE(corner);
  EXPECT_EQ(corner->pixel(0, 0), 0x00010203u);
  EXPECT_EQ(services.grabScreen({0, 0, 30, 20})->pixel(29, 19), 0x00112233u);
  // Across both windows, below the control's, or past the picture: nothing is read.
  for (const gdi::Rect rect : {gdi::Rect{20, 0, 40, 10}, gdi::Rect{0, 15, 10, 25},
                               gdi::Rect{70, 30, 81, 40}, gdi::Rect{40, 10, 40, 20}})
    EXPECT_EQ(services.grabScreen(rect), std::nullopt);

  services.showPicture(0x201, gdi::Bitmap());
  EXPECT_EQ(services.windowRect(0x201, ocx::CaptureArea::kWindow), std::nullopt);
  EXPECT_EQ(services.screenSize(), (gdi::Point{30, 20}));
}

TEST(HeadlessCapture, TheProgressDialogShowsControlCharactersAsEscapes) {
  const gdi::Bitmap control(1, 1);
  HeadlessPrintServices services({[] { return std::uintptr_t{1}; },
                                  [&]() -> const gdi::Bitmap& { return control; },
                                  [] { return false; }});
  const auto dialog = services.createAbortDialog(nullptr);
  const struct {
    std::string text, shown;
  } cases[] = {{"Printing 'Chart \xC3\xA9t\xC3\xA9'", "Printing 'Chart \xC3\xA9t\xC3\xA9'"},
               {"Printing '\x1B]0;owned\x07'", "Printing '\\x1B]0;owned\\x07'"},
               {"a\rb\nc\x7F", "a\\x0Db\\x0Ac\\x7F"}};
  for (const auto& c : cases) {
    ::testing::internal::CaptureStderr();
    dialog->setItemText(0, c.text);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Print Bitmap: " + c.shown + "\n");
  }
}

}  // namespace
}  // namespace host
