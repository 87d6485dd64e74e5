#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <cmath>
#include <thread>

#include "led_segments.h"
#include "xvtools/qt/led_panel_widget.h"
#include "xvtools/qt/meter_widget.h"
#include "xvtools/qt/qt_form_thread.h"
#include "xvtools/qt/spectrogram_widget.h"
#include "xvtools/qt/spin_button_widget.h"
#include "xvtools/qt/switch_widget.h"

namespace xvtools::qt {
namespace {

// The application object lives in main(), so it is gone before static destruction begins.
void app() { ASSERT_NE(QApplication::instance(), nullptr); }

QImage render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  widget.render(&image);
  return image;
}

TEST(QtFormThread, TasksPostedFromAnyThreadRunInOrderOnTheFormThread) {
  app();
  QtFormThread form;
  std::vector<int> order;
  std::vector<std::thread::id> threads;
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      form.post([&, i] {
        order.push_back(i);
        threads.push_back(std::this_thread::get_id());
      });
    }
  });
  worker.join();
  QCoreApplication::processEvents();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  for (auto id : threads) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(QtFormThread, TasksQueuedAtDestructionAreDropped) {
  app();
  int runs = 0;
  {
    QtFormThread form;
    form.post([&] { ++runs; });
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 0);
}

TEST(LedPanelWidget, LitSegmentsTakeFillColorAndTheRestIsExact) {
  app();
  XVLEDPanelX model;
  model.setDigits(3);
  model.setBlankLeadingZeros(true);
  model.setValue(81);
  model.setFillColor(0x0000FFFF);  // yellow, 0x00BBGGRR
  LedPanelWidget widget(model);
  widget.resize(60, 40);
  const QImage image = render(widget);

  const QRgb back = toRgb(model.BackColor());
  const QRgb lit = qRgb(0xFF, 0xFF, 0x00);
  const QRgb unlit = toRgb(dimmed(0x0000FFFF));
  EXPECT_EQ(unlit, qRgb(0x33, 0x33, 0x00));
  const char shown[] = " 81";
  for (int d = 0; d < 3; ++d) {
    const auto segments = segmentRects(digitCell(widget.size(), 3, d));
    const auto pattern = segmentPattern(shown[d]);
    for (int s = 0; s < 7; ++s) {
      const QRect r = segments[static_cast<std::size_t>(s)];
      ASSERT_TRUE(r.isValid()) << d << " " << s;
      const QRgb want = (pattern >> s) & 1 ? lit : unlit;
      for (const QPoint p : {r.topLeft(), r.bottomRight(), r.center()}) {
        EXPECT_EQ(image.pixel(p), want) << "digit " << d << " segment " << s;
      }
    }
  }
  // Outside the segments only the background shows: the cell corners and the gap between cells.
  EXPECT_EQ(image.pixel(0, 0), back);
  EXPECT_EQ(image.pixel(19, 39), back);
  EXPECT_EQ(image.pixel(59, 20), back);
  const auto eight = segmentRects(digitCell(widget.size(), 3, 1));
  EXPECT_EQ(image.pixel(eight[0].left() - 1, eight[0].top()), back) << "segments do not touch";
}

TEST(LedPanelWidget, ModelChangesRepaintTheDigits) {
  app();
  XVLEDPanelX model;
  model.setDigits(1);
  LedPanelWidget widget(model);
  widget.resize(20, 40);
  const QRect middle = segmentRects(digitCell(widget.size(), 1, 0))[6];
  model.setValue(0);
  EXPECT_EQ(render(widget).pixel(middle.center()), toRgb(dimmed(model.FillColor())));
  model.setValue(8);
  EXPECT_EQ(render(widget).pixel(middle.center()), toRgb(model.FillColor()));
}

TEST(SpinButtonWidget, ArrowsStepTheModelAndFollowItsEnabledState) {
  app();
  XVSpinButtonX model(0, 4, 2);
  SpinButtonWidget widget(model);
  widget.upButton()->click();
  EXPECT_EQ(model.Value(), 3);
  widget.downButton()->click();
  widget.downButton()->click();
  EXPECT_EQ(model.Value(), 1);
  model.setEnabled(false);
  EXPECT_FALSE(widget.isEnabled());
  widget.upButton()->click();
  EXPECT_EQ(model.Value(), 1);
}

TEST(Views, DestroyedBeforeTheirModelsLeaveNoHandlerBehind) {
  app();
  XVLEDPanelX led;
  XVSpinButtonX spin;
  XVSwitchX sw;
  {
    LedPanelWidget a(led);
    SpinButtonWidget b(spin);
    SwitchWidget c(sw);
  }
  led.setValue(5);
  spin.setEnabled(false);
  sw.toggle();
  EXPECT_EQ(sw.Position(), 0);
}

TEST(SwitchWidget, LeverShowsThePositionAndAClickFlipsIt) {
  app();
  XVSwitchX model;
  int changes = 0;
  model.onChange([&] { ++changes; });
  SwitchWidget widget(model);
  widget.resize(24, 48);
  QImage image = render(widget);
  EXPECT_EQ(image.pixel(2, 2), SwitchWidget::kLeverColor);
  EXPECT_EQ(image.pixel(12, 40), SwitchWidget::kSlotColor);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
  EXPECT_EQ(model.Position(), 0);
  EXPECT_EQ(changes, 1);
  image = render(widget);
  EXPECT_EQ(image.pixel(12, 2), SwitchWidget::kSlotColor);
  EXPECT_EQ(image.pixel(2, 40), SwitchWidget::kLeverColor);
}

TEST(MeterWidget, BarIsLitUpToTheLevelInItsZoneColours) {
  app();
  XVMeterX model;
  MeterWidget view(model);
  view.resize(121, 65);
  // A constant of a quarter of full scale: 20 log10(0.25 * sqrt 2) = -9.03 dB, in the yellow.
  std::vector<std::int16_t> samples(1000, 8192);
  WAVEHDR hdr{};
  hdr.lpData = reinterpret_cast<char*>(samples.data());
  hdr.dwBufferLength = hdr.dwBytesRecorded = 2000;
  model.bufferFilled(&hdr);
  const QImage image = render(view);
  const QRect bar = view.barRect();
  const int y = bar.center().y();
  EXPECT_EQ(image.pixel(view.xOf(-30), y), MeterWidget::kGreen);
  EXPECT_EQ(image.pixel(view.xOf(-10), y), MeterWidget::kYellow);
  EXPECT_EQ(image.pixel(view.xOf(model.level()) - 1, y), MeterWidget::kYellow);
  EXPECT_EQ(image.pixel(view.xOf(model.level()) + 1, y), MeterWidget::kBarBackColor);
  EXPECT_EQ(image.pixel(view.xOf(-1), y), MeterWidget::kBarBackColor);
}

TEST(SpectrogramWidget, ShowsTheModelsPixelsExactly) {
  app();
  XVSpectrogramX model;
  model.setDrawScale(true);
  model.setPalette(static_cast<int>(SpectrogramPalette::Copper));
  model.setLogAmp(true);
  SpectrogramWidget view(model);
  EXPECT_EQ(view.size(), QSize(569, 257));
  std::vector<std::int16_t> samples(4096);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(std::lround(9000 * std::sin(0.3 * double(i))));
  }
  model.write(samples);
  std::vector<std::uint32_t> expected(569u * 257u);
  model.render(expected);
  const QImage image = render(view);
  int mismatches = 0;
  for (int y = 0; y < 257; ++y) {
    for (int x = 0; x < 569; ++x) {
      mismatches += image.pixel(x, y) != (0xFF000000u | toRgb(expected[std::size_t(y) * 569 + x]));
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace xvtools::qt

int main(int argc, char** argv) {
  // Views render into images here, so no display is needed (test discovery runs without one).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
