// The Qt container with a control in it, shown on the X server: what reaches the screen, the
// messages the control's timer posts, mouse input, cursors, the clipboard and the screen's
// pixels per inch.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <tuple>

#include "automation/picture.h"
#include "gui_checks.h"
#include "host/headless.h"
#include "host/qt/qt_container.h"
#include "ocx/dispids.h"
#include "ocx/messages.h"

namespace host::qt {
namespace {

const automation::Guid kChart = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");
const automation::Guid kFake = *automation::Guid::parse("{5A3E0C11-7D2B-4C1E-9F00-000000C0FFEE}");

// Shows the container and waits until the X server has mapped it.
void showOnScreen(QtContainer& widget) {
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  widget.pump();
  widget.repaint();
  QCoreApplication::processEvents();
}

using zelk::test::colorRef, zelk::test::onScreen, zelk::test::pixelsOf, zelk::test::waitFor;

TEST(QtContainer, ChartOnTheXServerShowsExactlyTheHeadlessContainersPixels) {
  QtContainer widget;
  widget.setWindowFlag(Qt::FramelessWindowHint);
  widget.resize(500, 300);
  automation::Dispatch& chart = widget.create(kChart);
  EXPECT_EQ(static_cast<std::uintptr_t>(chart.get("hWnd").toI4()), widget.windowHandle());
  showOnScreen(widget);

  HeadlessContainer headless(500, 300);
  headless.create(kChart);
  headless.pump();

  const std::vector<std::uint32_t> expected = pixelsOf(headless.screen());
  EXPECT_EQ(pixelsOf(widget.screenImage()), expected);
  EXPECT_EQ(onScreen(widget), expected);
}

TEST(QtContainer, TimerThreadPostsRunOnTheGuiThreadAndPaint) {
  QtContainer widget;
  automation::Dispatch& fake = widget.create(kFake);
  showOnScreen(widget);
  fake.put("Fill", automation::Variant(std::int32_t{0x00336699}));
  const std::int32_t before = fake.get("Paints").toI4();
  std::array<automation::Variant, 1> period = {automation::Variant(std::int32_t{5})};
  ASSERT_TRUE(fake.call("StartFrames", period).toBool());
  EXPECT_TRUE(waitFor([&] { return fake.get("Paints").toI4() >= before + 5; }));
  fake.call("StopFrames", {});
  EXPECT_EQ(onScreen(widget)[0], 0x00336699u);

  std::array<automation::Variant, 1> count = {automation::Variant(std::int32_t{7})};
  fake.call("PostMessages", count);
  EXPECT_EQ(fake.get("Messages").toI4(), 0);  // not before the event loop runs
  EXPECT_TRUE(waitFor([&] { return fake.get("Messages").toI4() == 7; }));
}

TEST(QtContainer, MouseReachesTheControlAsWindowMessagesWithKeyFlags) {
  QtContainer widget;
  widget.create(kFake);
  std::vector<std::pair<automation::DispId, std::int16_t>> seen;
  std::vector<QPointF> where;
  widget.setEventHandler([&](automation::DispId id, std::span<automation::Variant> args) {
    if (id == static_cast<automation::DispId>(ocx::kWmMouseMove)) return;
    seen.emplace_back(id, args[0].deref().toI2());
    where.emplace_back(args[2].toR4(), args[3].toR4());
  });
  showOnScreen(widget);
  // Presses and releases with the X server's timestamps: the second press within the double-click
  // time is the double click (down, up, double-click, up); a third press starts a new click.
  const quint64 interval = static_cast<quint64>(QApplication::doubleClickInterval());
  quint64 now = 1000;
  auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                  Qt::KeyboardModifiers modifiers, QPoint at, quint64 after) {
    now += after;
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, modifiers);
    event.setTimestamp(now);
    QApplication::sendEvent(&widget, &event);
  };
  const QPoint at(20, 30);
  for (int i = 0; i < 3; ++i) {
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, at, 20);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, at, 20);
  }
  // Too late for a double click.
  send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, at, interval);
  send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier, at, 20);
  send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier, {7, 9}, 20);
  send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, Qt::ShiftModifier, {7, 9}, 20);
  using M = std::pair<automation::DispId, std::int16_t>;
  const M down{0x201, ocx::kMkLButton}, up{0x202, 0}, dbl{0x203, ocx::kMkLButton};
  const std::vector<M> expected = {down,
                                   up,
                                   dbl,
                                   up,
                                   down,
                                   up,
                                   down,
                                   up,
                                   {0x204, ocx::kMkRButton | ocx::kMkShift},
                                   {0x205, ocx::kMkShift}};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(where.back(), QPointF(7, 9));
}

TEST(QtContainer, CursorsFollowTheControl) {
  QtContainer widget;
  automation::Dispatch& fake = widget.create(kFake);
  showOnScreen(widget);
  const struct {
    int shape;
    Qt::CursorShape expected;
  } cases[] = {{2, Qt::CrossCursor},       {32514, Qt::WaitCursor}, {16, Qt::PointingHandCursor},
               {32644, Qt::SizeHorCursor}, {7, Qt::SizeVerCursor},  {205, Qt::ArrowCursor}};
  for (const auto& c : cases) {
    fake.put("Cursor", automation::Variant(std::int32_t{c.shape}));
    EXPECT_EQ(widget.cursorShape(), c.shape);
    // An own cursor number without its picture leaves the container's cursor.
    if (c.shape != 205) {
      EXPECT_TRUE(widget.testAttribute(Qt::WA_SetCursor)) << c.shape;
    }
    EXPECT_EQ(widget.cursor().shape(), c.expected) << c.shape;
  }
  fake.put("Cursor", automation::Variant(std::int32_t{0}));
  EXPECT_EQ(widget.cursorShape(), 0);
  EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);  // the container's own again
}

TEST(QtContainer, ChartCopiedToTheClipboardArrivesAsABitmapFileAndAnImage) {
  QtContainer widget;
  widget.resize(300, 200);
  automation::Dispatch& chart = widget.create(kChart);
  showOnScreen(widget);
  QGuiApplication::clipboard()->clear();
  chart.put("Action", automation::Variant(std::int16_t{1}));  // copy to the clipboard
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  ASSERT_TRUE(mime->hasFormat("image/bmp"));
  const QByteArray bmp = mime->data("image/bmp");
  ASSERT_GT(bmp.size(), 54);
  EXPECT_EQ(bmp.left(2), "BM");
  const QImage image = QImage::fromData(bmp, "BMP");
  ASSERT_EQ(image.size(), QSize(300, 200));
  ASSERT_TRUE(mime->hasImage());
  EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()).size(), QSize(300, 200));
  for (const QPoint p : {QPoint(0, 0), QPoint(150, 100), QPoint(299, 199), QPoint(40, 160)}) {
    EXPECT_EQ(colorRef(image.pixel(p)), widget.pixel(p.x(), p.y())) << p.x() << "," << p.y();
  }
}

TEST(QtContainer, ControlAsksTheScreensPixelsPerInchAndForAnotherSize) {
  QtContainer widget;
  automation::Dispatch& fake = widget.create(kFake);
  showOnScreen(widget);
  EXPECT_EQ(fake.get("LogPixels").toI4(), widget.logicalDpiX() * 1000 + widget.logicalDpiY());
  std::array<automation::Variant, 2> size = {automation::Variant(std::int32_t{123}),
                                             automation::Variant(std::int32_t{45})};
  fake.call("AskSize", size);
  EXPECT_TRUE(waitFor([&] { return fake.get("Size").toString() == "123 45"; }));
  EXPECT_EQ(widget.size(), QSize(123, 45));
}

TEST(QtContainer, KeysFireTheChartsKeyEventsWithTheirShiftState) {
  QtContainer widget;
  widget.create(kChart);
  std::vector<std::tuple<automation::DispId, std::int16_t, std::int16_t>> seen;
  widget.setEventHandler([&](automation::DispId id, std::span<automation::Variant> args) {
    if (id != ocx::kDispIdKeyDown && id != ocx::kDispIdKeyPress && id != ocx::kDispIdKeyUp) return;
    seen.emplace_back(id, args[0].deref().toI2(), args.size() > 1 ? args[1].toI2() : -1);
  });
  showOnScreen(widget);
  QTest::keyClick(&widget, Qt::Key_A, Qt::ShiftModifier);
  QTest::keyClick(&widget, Qt::Key_F2, Qt::ControlModifier);
  // The modifier keys are keys too; released, they no longer count in the shift state.
  using E = std::tuple<automation::DispId, std::int16_t, std::int16_t>;
  constexpr auto down = ocx::kDispIdKeyDown;
  constexpr auto up = ocx::kDispIdKeyUp;
  const std::vector<E> expected = {
      {down, 0x10, 1}, {down, 0x41, 1}, {ocx::kDispIdKeyPress, 'a', -1},
      {up, 0x41, 1},   {up, 0x10, 0},   {down, 0x11, 2},
      {down, 0x71, 2}, {up, 0x71, 2},   {up, 0x11, 0}};
  EXPECT_EQ(seen, expected);
}

TEST(QtContainer, ChartsOwnCursorIsThePictureItHandsOver) {
  QtContainer widget;
  widget.resize(300, 200);
  automation::Dispatch& chart = widget.create(kChart);
  showOnScreen(widget);
  const auto moveTo = [&](QPoint at) {
    QMouseEvent event(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
  };
  chart.put("MousePointer", automation::Variant(std::int16_t{16}));  // the right push
  moveTo(QPoint(150, 100));
  EXPECT_EQ(widget.cursorShape(), 204);
  EXPECT_EQ(widget.cursor().shape(), Qt::BitmapCursor);
  const QImage picture = widget.cursor().pixmap().toImage();
  ASSERT_EQ(picture.size(), QSize(32, 32));
  int black = 0;
  int clear = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const QRgb p = picture.pixel(x, y);
      black += qAlpha(p) == 255 && (p & 0xFFFFFF) == 0;
      clear += qAlpha(p) == 0;
    }
  EXPECT_GT(black, 0);
  EXPECT_GT(clear, 0);

  // The custom picture: the MouseIcon's PNG as it is.
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(QColor(0xFF, 0x20, 0x10));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(icon.save(&buffer, "PNG"));
  chart.put(
      "MouseIcon",
      automation::Variant(std::shared_ptr<automation::Dispatch>(automation::Picture::fromPng(
          std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                        static_cast<std::size_t>(png.size()))))));
  chart.put("MousePointer", automation::Variant(std::int16_t{99}));
  moveTo(QPoint(149, 100));
  EXPECT_EQ(widget.cursorShape(), -1);
  const QImage custom = widget.cursor().pixmap().toImage();
  ASSERT_EQ(custom.size(), QSize(16, 16));
  EXPECT_EQ(custom.pixel(8, 8), qRgb(0xFF, 0x20, 0x10));

  chart.put("MousePointer", automation::Variant(std::int16_t{2}));
  moveTo(QPoint(151, 100));
  EXPECT_EQ(widget.cursorShape(), 32515);
  EXPECT_EQ(widget.cursor().shape(), Qt::CrossCursor);
  chart.put("MousePointer", automation::Variant(std::int16_t{0}));
  moveTo(QPoint(152, 100));
  EXPECT_EQ(widget.cursorShape(), 0);
  EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);
}

TEST(QtContainer, SavedChartLoadsAsTheHeadlessContainerLoadsIt) {
  std::string bag;
  std::vector<std::uint8_t> stream;
  {
    QtContainer widget;
    widget.resize(300, 200);
    automation::Dispatch& chart = widget.create(kChart);
    widget.pump();  // a new control sets itself up at its first paint
    chart.put("BackColor", automation::Variant(std::int32_t{0x00204080}));
    chart.put("GridColor", automation::Variant(std::int32_t{0x0000C0C0}));
    bag = widget.saveBag();
    stream = widget.saveStream();
  }
  ASSERT_FALSE(stream.empty());

  HeadlessContainer headless(300, 200);
  headless.loadBag(kChart, bag);
  headless.pump();
  for (const bool fromBag : {true, false}) {
    QtContainer widget;
    widget.resize(300, 200);
    automation::Dispatch& chart =
        fromBag ? widget.loadBag(kChart, bag) : widget.load(kChart, stream);
    EXPECT_EQ(chart.get("BackColor").toI4(), 0x00204080) << fromBag;
    EXPECT_EQ(chart.get("GridColor").toI4(), 0x0000C0C0) << fromBag;
    showOnScreen(widget);
    EXPECT_EQ(pixelsOf(widget.screenImage()), pixelsOf(headless.screen())) << fromBag;
    EXPECT_EQ(widget.saveBag(), bag) << fromBag;
  }
}

}  // namespace
}  // namespace host::qt
