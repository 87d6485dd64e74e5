#include "host/headless.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace host {
namespace {

using automation::AutomationError;
using automation::Variant;
using std::chrono::milliseconds;

constexpr unsigned kWmPaint = 0x000F;
constexpr int kWmLButtonDown = 0x0201;
constexpr unsigned kMkLButton = 1;
constexpr std::uint32_t kButtonFace = 0xC0C0C0;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kOutside = 0xFFFFFFFF;

automation::Guid fakeChartId() {
  return *automation::Guid::parse("{5A3E0C11-7D2B-4C1E-9F00-000000C0FFEE}");
}

Variant call(automation::Dispatch& d, std::string_view name, std::vector<Variant> args = {}) {
  return d.call(name, args);
}

// Every pixel of the screen, row by row.
std::vector<std::uint32_t> screenPixels(const HeadlessContainer& form) {
  std::vector<std::uint32_t> all;
  for (int y = 0; y < form.height(); ++y)
    for (int x = 0; x < form.width(); ++x) all.push_back(form.pixel(x, y));
  return all;
}

bool allPixels(const HeadlessContainer& form, std::uint32_t color) {
  for (std::uint32_t p : screenPixels(form))
    if (p != color) return false;
  return true;
}

TEST(HeadlessContainer, PaintsWhatWasInvalidatedAtTheNextPumpOnly) {
  HeadlessContainer form(40, 30);
  automation::Dispatch& chart = form.create(fakeChartId());
  EXPECT_EQ(chart.get("Size").toString(), "40 30");
  EXPECT_NE(chart.get("Window").toI4(), 0);
  EXPECT_TRUE(allPixels(form, kButtonFace));  // nothing painted before the first pump
  form.pump();
  EXPECT_EQ(chart.get("Paints").toI4(), 1);
  EXPECT_EQ(chart.get("LastInvalid").toString(), "0 0 40 30");
  EXPECT_TRUE(allPixels(form, kWhite));

  chart.put("Fill", Variant(0x123456));
  EXPECT_TRUE(allPixels(form, kWhite));
  form.pump();
  EXPECT_TRUE(allPixels(form, 0x123456));
  form.pump();  // nothing left to do
  EXPECT_EQ(chart.get("Paints").toI4(), 2);
  EXPECT_EQ(chart.get("DirtyPaints").toI4(), 0);
}

TEST(HeadlessContainer, APaintReachesOnlyTheInvalidRegion) {
  HeadlessContainer form(40, 30);
  automation::Dispatch& chart = form.create(fakeChartId());
  form.pump();
  chart.put("Tint", Variant(0x00FF00));  // drawn off-screen, not invalidated
  call(chart, "Mark", {Variant(1), Variant(1), Variant(0x0000FF)});
  call(chart, "Mark", {Variant(10), Variant(20), Variant(0xFF0000)});
  form.pump();
  // One paint covering both marks; the bounding rectangle is reported as the invalid area but
  // the device context is clipped to the two pixels.
  EXPECT_EQ(chart.get("Paints").toI4(), 2);
  EXPECT_EQ(chart.get("LastInvalid").toString(), "1 1 11 21");
  EXPECT_EQ(form.pixel(1, 1), 0x0000FFu);
  EXPECT_EQ(form.pixel(10, 20), 0xFF0000u);
  EXPECT_EQ(form.pixel(5, 5), kWhite);
  EXPECT_EQ(form.pixel(2, 1), kWhite);
  EXPECT_EQ(chart.get("DirtyPaints").toI4(), 0);

  // A posted paint request with nothing invalid shows the whole image.
  EXPECT_TRUE(form.postMessage(kWmPaint, 0, 0));
  form.pump();
  EXPECT_EQ(chart.get("LastInvalid").toString(), "0 0 0 0");
  EXPECT_EQ(form.pixel(5, 5), 0x00FF00u);
  EXPECT_EQ(form.pixel(1, 1), 0x0000FFu);
}

TEST(HeadlessContainer, RunsMessagesPostedFromOtherThreads) {
  HeadlessContainer form(10, 10);
  automation::Dispatch& chart = form.create(fakeChartId());
  std::vector<std::thread> posters;
  for (int t = 0; t < 3; ++t) {
    posters.emplace_back([&form] {
      for (int i = 0; i < 500; ++i) form.postMessage(0x0401, 0, 0);
    });
  }
  for (auto& poster : posters) poster.join();
  call(chart, "PostMessages", {Variant(5)});
  form.pump();
  EXPECT_EQ(chart.get("Messages").toI4(), 1505);
}

TEST(HeadlessContainer, FrameTimerPostsPaintsUntilStoppedOrTheFormGoes) {
  auto form = std::make_unique<HeadlessContainer>(16, 16);
  automation::Dispatch& chart = form->create(fakeChartId());
  form->pump();
  chart.put("Tint", Variant(0x0A0B0C));
  ASSERT_TRUE(call(chart, "StartFrames", {Variant(2)}).toBool());
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (chart.get("Paints").toI4() < 4 && std::chrono::steady_clock::now() < limit) {
    form->waitForMessage(milliseconds(50));
    form->pump();
  }
  EXPECT_GE(chart.get("Paints").toI4(), 4);
  EXPECT_TRUE(allPixels(*form, 0x0A0B0C));  // each tick shows the off-screen image
  EXPECT_FALSE(call(chart, "StartFrames", {Variant(0)}).toBool());  // the device refuses 0 ms

  ASSERT_TRUE(call(chart, "StartFrames", {Variant(1)}).toBool());
  std::this_thread::sleep_for(milliseconds(10));
  form.reset();  // the timer is still running: it must be stopped before the window goes
}

TEST(HeadlessContainer, ARunawayControlCannotHangThePump) {
  HeadlessContainer form(4, 4);
  automation::Dispatch& chart = form.create(fakeChartId());
  chart.put("RepaintInPaint", Variant(true));
  form.pump();
  EXPECT_GT(chart.get("Paints").toI4(), 100);
}

TEST(HeadlessContainer, ResizingKeepsTheOverlapUntilRepainted) {
  HeadlessContainer form(8, 6);
  automation::Dispatch& chart = form.create(fakeChartId());
  chart.put("Fill", Variant(0x111111));
  form.pump();
  form.resize(12, 4);
  EXPECT_EQ(chart.get("Size").toString(), "12 4");
  EXPECT_EQ(form.width(), 12);
  EXPECT_EQ(form.pixel(7, 3), 0x111111u);
  EXPECT_EQ(form.pixel(8, 0), kButtonFace);
  EXPECT_EQ(form.pixel(0, 4), kOutside);
  form.pump();
  EXPECT_TRUE(allPixels(form, kWhite));  // the control's image was rebuilt at the new size
  EXPECT_EQ(chart.get("LastInvalid").toString(), "0 0 12 4");

  call(chart, "AskSize", {Variant(5), Variant(7)});
  EXPECT_EQ(chart.get("Size").toString(), "5 7");
  EXPECT_EQ(form.height(), 7);

  form.resize(-3, 5);
  EXPECT_EQ(form.width(), 0);
  form.pump();
  EXPECT_EQ(form.pixel(0, 0), kOutside);
  EXPECT_FALSE(form.writeScreen(::testing::TempDir() + "empty.bmp"));
}

// A window larger than the drawing layer's largest surface used to leave the screen without
// pixels and the resize writing through null; sides are bounded instead, whoever asks.
TEST(HeadlessContainer, SidesAreBoundedToTheLargestSurface) {
  const struct {
    int width, height;
    const char* size;
  } cases[] = {
      {16385, 1, "16384 1"},
      {1, 40000, "1 16384"},
      {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), "0 0"},
      {16384, 2, "16384 2"},
  };
  for (bool controlAsks : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.size) + (controlAsks ? " asked by the control" : ""));
      HeadlessContainer form(3, 3);
      automation::Dispatch& chart = form.create(fakeChartId());
      if (controlAsks) {
        call(chart, "AskSize", {Variant(c.width), Variant(c.height)});
      } else {
        form.resize(c.width, c.height);
      }
      form.pump();
      EXPECT_EQ(chart.get("Size").toString(), c.size);
      EXPECT_EQ(std::to_string(form.width()) + " " + std::to_string(form.height()), c.size);
      EXPECT_EQ(form.pixel(form.width() - 1, form.height() - 1), form.height() ? kWhite : kOutside);
    }
  }
  // A program's picture that is no picture (no pixels, or rows shorter than its width) shows as
  // an empty window instead of being read.
  HeadlessContainer form(3, 3);
  form.create(fakeChartId());
  const std::uint32_t pixel = kWhite;
  for (const PixelView& picture : {PixelView{nullptr, 5, 5, 5}, PixelView{&pixel, 9, 1, 1}}) {
    const std::uintptr_t handle = form.showPicture(picture);
    EXPECT_NE(handle, 0u);
    EXPECT_NE(handle, form.windowHandle());
  }
}

TEST(HeadlessContainer, AmbientsAndDesktopColoursReachTheControl) {
  HeadlessContainer form(4, 4, false, 120);
  automation::Dispatch& chart = form.create(fakeChartId());
  EXPECT_FALSE(chart.get("UserMode").toBool());
  EXPECT_EQ(chart.get("LogPixels").toI4(), 120120);
  form.setUserMode(true);
  form.setUserMode(true);
  EXPECT_TRUE(chart.get("UserMode").toBool());
  EXPECT_EQ(chart.get("AmbientChanges").toI4(), 1);
  EXPECT_EQ(call(chart, "SysColor", {Variant(15)}).toI4(), 0xC0C0C0);
  EXPECT_EQ(call(chart, "SysColor", {Variant(1)}).toI4(), 0x808000);
  EXPECT_EQ(call(chart, "SysColor", {Variant(24)}).toI4(), 0xE1FFFF);
  chart.put("Cursor", Variant(5));
  EXPECT_EQ(form.cursor(), 5);

  HeadlessContainer defaults(4, 4, true, 0);
  EXPECT_EQ(defaults.create(fakeChartId()).get("LogPixels").toI4(), 96096);
}

TEST(HeadlessContainer, EventsAreRecordedByValueAndHandlersMayWriteBack) {
  HeadlessContainer form(20, 20);
  automation::Dispatch& chart = form.create(fakeChartId());
  std::vector<automation::DispId> seen;
  form.setEventHandler([&](automation::DispId id, std::span<Variant> args) {
    seen.push_back(id);
    *args[0].refTarget() = Variant(static_cast<std::int16_t>(7));
  });
  form.setAltDown(true);
  form.mouse(kWmLButtonDown, 3, 4, kMkLButton);
  ASSERT_EQ(form.events().size(), 1u);
  const HeadlessContainer::Event& event = form.events()[0];
  EXPECT_EQ(event.id, kWmLButtonDown);
  ASSERT_EQ(event.args.size(), 4u);
  EXPECT_EQ(event.args[0].type(), automation::VT_I2);  // the value, not the reference
  EXPECT_EQ(event.args[0].toI2(), 1);
  EXPECT_EQ(event.args[1].toI2(), 4);
  EXPECT_EQ(event.args[2].toR4(), 3.0f);
  EXPECT_EQ(event.args[3].toR4(), 4.0f);
  EXPECT_EQ(seen, std::vector<automation::DispId>{kWmLButtonDown});
  EXPECT_EQ(chart.get("WriteBack").toI2(), 7);
  form.clearEvents();
  EXPECT_TRUE(form.events().empty());
}

TEST(HeadlessContainer, TheControlSharesTheDesktopClipboardInItsWindowsName) {
  HeadlessContainer form(4, 4);
  automation::Dispatch& chart = form.create(fakeChartId());
  ASSERT_TRUE(call(chart, "Copy", {Variant(false)}).toBool());
  Clipboard& clipboard = form.clipboard();
  EXPECT_EQ(clipboard.owner(), form.windowHandle());
  EXPECT_TRUE(chart.get("OwnsClipboard").toBool());
  EXPECT_EQ(clipboard.data(kCfDib), (std::vector<std::uint8_t>{0x28, 0x00}));

  // Another program copies text; the chart then appends its picture.
  ASSERT_TRUE(clipboard.open(0x999));
  ASSERT_TRUE(clipboard.empty());
  ASSERT_TRUE(clipboard.setData(kCfText, {'a', 0}));
  ASSERT_TRUE(clipboard.close());
  EXPECT_FALSE(chart.get("OwnsClipboard").toBool());
  ASSERT_TRUE(call(chart, "Copy", {Variant(true)}).toBool());
  EXPECT_EQ(clipboard.formats(), (std::vector<unsigned>{kCfText, kCfDib}));
  EXPECT_EQ(clipboard.owner(), 0x999u);
  EXPECT_FALSE(clipboard.isOpen());
}

TEST(HeadlessContainer, CreatingAgainReplacesTheControlAndFailuresKeepIt) {
  HeadlessContainer form(6, 6);
  try {
    form.control();
    FAIL() << "no control yet";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 91);
  }
  automation::Dispatch& first = form.create(fakeChartId());
  const auto firstWindow = form.windowHandle();
  call(first, "PostMessages", {Variant(3)});  // still queued when the control goes

  try {
    form.create(*automation::Guid::parse("{00000000-0000-0000-0000-00000000DEAD}"));
    FAIL() << "no module provides that class";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 429);
  }
  EXPECT_EQ(&form.control(), &first);

  automation::Dispatch& second = form.create(fakeChartId());
  EXPECT_NE(form.windowHandle(), firstWindow);
  EXPECT_EQ(&form.control(), &second);
  form.pump();
  EXPECT_EQ(second.get("Messages").toI4(), 0);  // the old window's messages are dropped
  EXPECT_EQ(second.get("Paints").toI4(), 1);
}

TEST(HeadlessContainer, WritesTheScreenAsItShowsIt) {
  HeadlessContainer form(3, 2);
  automation::Dispatch& chart = form.create(fakeChartId());
  chart.put("Fill", Variant(0x030201));
  form.pump();
  const std::string path =
      ::testing::TempDir() + "host-screen-" + std::to_string(::getpid()) + ".bmp";
  ASSERT_TRUE(form.writeScreen(path));
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> file(std::istreambuf_iterator<char>(in), {});
  std::filesystem::remove(path);
  ASSERT_EQ(file.size(), 54u + 2 * 12);
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 3; ++x) {
      const std::size_t at = 54 + row * 12 + x * 3;
      EXPECT_EQ(file[at], 0x03);
      EXPECT_EQ(file[at + 1], 0x02);
      EXPECT_EQ(file[at + 2], 0x01);
    }
  }
  EXPECT_FALSE(form.writeScreen(path + ".tiff"));
}

}  // namespace
}  // namespace host
