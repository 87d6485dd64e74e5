// A window on a real X server, captured from the screen through Qt and printed on the file
// printer; and the progress dialog's texts and Cancel.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "desktop_services.h"
#include "host/printers.h"
#include "host/qt/print_services.h"
#include "output/printing.h"
#include "page_raster.h"

namespace {

// Four coloured quarters, so that a capture shifted or mirrored by a pixel shows.
class Quarters : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const int w = width() / 2, h = height() / 2;
    p.fillRect(0, 0, w, h, QColor(0x10, 0x20, 0x30));
    p.fillRect(w, 0, width() - w, h, QColor(0xC0, 0x40, 0x40));
    p.fillRect(0, h, w, height() - h, QColor(0x40, 0xC0, 0x40));
    p.fillRect(w, h, width() - w, height() - h, QColor(0x40, 0x40, 0xC0));
    p.setPen(QColor(0xFF, 0xFF, 0x00));
    p.drawPoint(0, 0);
  }
};

// Runs the event loop until the window is on the screen and painted.
bool showAndWait(QWidget& window) {
  window.show();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (window.windowHandle() && window.windowHandle()->isExposed() && clock.elapsed() > 200)
      return true;
  }
  return false;
}

std::uint32_t colorRef(const QColor& c) {
  return c.red() | (c.green() << 8) | (std::uint32_t(c.blue()) << 16);
}

class QtPrintTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "print_capture_test";
    static char* argv[] = {name, nullptr};
    static zelk::testing::XServer server;
    // Capturing reads the X server's screen, even on a desktop whose Qt would choose Wayland.
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    app = new QApplication(argc, argv);
  }
  QtPrintTest()
      : folder(std::filesystem::temp_directory_path() /
               ("zelk-qt-print-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder);
  }
  ~QtPrintTest() override {
    host::setChosenPrinter(std::nullopt);
    std::filesystem::remove_all(folder);
  }
  static QApplication* app;
  std::filesystem::path folder;
};
QApplication* QtPrintTest::app = nullptr;

TEST_F(QtPrintTest, CapturesTheClientAreaFromTheScreenAndPrintsIt) {
  Quarters window;
  window.setWindowFlags(Qt::FramelessWindowHint);
  window.setGeometry(37, 53, 120, 60);
  ASSERT_TRUE(showAndWait(window));
  const auto pdf = folder / "window.pdf";
  host::setChosenPrinter("pdf:" + pdf.string());

  host::qt::QtPrintServices services;
  const std::uintptr_t handle = window.winId();
  const auto client = services.windowRect(handle, ocx::CaptureArea::kClient);
  ASSERT_TRUE(client);
  EXPECT_EQ(*client, (gdi::Rect{37, 53, 157, 113}));
  const gdi::Bitmap picture =
      kvplotax::output::captureWindow(services, handle, kvplotax::output::kPrintClientArea);
  ASSERT_EQ(picture.width(), 120);
  EXPECT_EQ(picture.pixel(0, 0), 0x0000FFFFu);
  EXPECT_EQ(picture.pixel(1, 0), colorRef(QColor(0x10, 0x20, 0x30)));
  EXPECT_EQ(picture.pixel(60, 0), colorRef(QColor(0xC0, 0x40, 0x40)));
  EXPECT_EQ(picture.pixel(59, 30), colorRef(QColor(0x40, 0xC0, 0x40)));
  EXPECT_EQ(picture.pixel(119, 59), colorRef(QColor(0x40, 0x40, 0xC0)));

  EXPECT_EQ(
      kvplotax::output::CaptureAndPrintWindow(&services, handle, kvplotax::output::kPrintClientArea,
                                              kvplotax::output::kPrintScale, 2, 2, "Window"),
      0);
  // Twice its size at the page's top-left corner.
  const auto page = zelk::testing::rasterisePage(pdf, {0, 0, 250, 130});
  ASSERT_TRUE(page);
  EXPECT_EQ(page->at(1, 1), 0x0000FFFFu);
  EXPECT_EQ(page->at(2, 0), colorRef(QColor(0x10, 0x20, 0x30)));
  EXPECT_EQ(page->at(119, 59), colorRef(QColor(0x10, 0x20, 0x30)));
  EXPECT_EQ(page->at(120, 0), colorRef(QColor(0xC0, 0x40, 0x40)));
  EXPECT_EQ(page->at(0, 60), colorRef(QColor(0x40, 0xC0, 0x40)));
  EXPECT_EQ(page->at(239, 119), colorRef(QColor(0x40, 0x40, 0xC0)));
  EXPECT_EQ(page->at(240, 119), 0x00FFFFFFu);
  EXPECT_EQ(page->at(239, 120), 0x00FFFFFFu);
  EXPECT_EQ(services.windowRect(handle + 1000, ocx::CaptureArea::kWindow), std::nullopt);
}

TEST_F(QtPrintTest, TheDialogShowsItsTextsAndCancelEndsTheJob) {
  host::qt::QtPrintServices services;
  int cancels = 0;
  auto dialog = services.createAbortDialog([&cancels] { ++cancels; });
  dialog->setItemText(ocx::kAbortItemJob, "Printing 'Job'");
  QWidget* shown = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == "Print Bitmap") shown = w;
  ASSERT_NE(shown, nullptr);
  QPushButton* cancel = shown->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), "Cancel");
  cancel->click();
  EXPECT_EQ(cancels, 1);
  EXPECT_FALSE(shown->isVisible());
  // A cancelled file print leaves nothing behind.
  const auto pdf = folder / "cancelled.pdf";
  host::setChosenPrinter("pdf:" + pdf.string());
  const gdi::Bitmap bitmap(30, 20, 0x00336699);
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(bitmap, 24);
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowTitle() == "Print Bitmap")
        w->findChild<QPushButton*>()->click();
  });
  EXPECT_EQ(kvplotax::output::PrintPackedDib(&services, &dib, kvplotax::output::kPrintBestFit, 0, 0,
                                             "Cancelled"),
            0);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(QtPrintTest, PrinterSetupKeepsTheChoiceForLaterPrints) {
  const std::string file = (folder / "chosen.pdf").string();
  host::setChosenPrinter("pdf:" + file);
  // The operator confirms what the dialog shows: the file printer stays the default.
  QTimer::singleShot(200, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      QMetaObject::invokeMethod(dialog, "accept");
    }
  });
  ASSERT_TRUE(host::qt::showPrinterSetup(nullptr));
  EXPECT_EQ(host::chosenPrinter(), "pdf:" + file);
  QTimer::singleShot(200, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      QMetaObject::invokeMethod(dialog, "reject");
    }
  });
  EXPECT_FALSE(host::qt::showPrinterSetup(nullptr));
  EXPECT_EQ(host::chosenPrinter(), "pdf:" + file);
}

}  // namespace
