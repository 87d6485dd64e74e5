// The recorder window printing through a real CUPS scheduler of the test's own, whose PDF queue is
// the default printer: File > Printer Setup keeps the operator's choice, and Print sends the
// whole window, chart included, as one page the queue writes as a PDF.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "desktop_services.h"
#include "host/printers.h"
#include "host/qt/print_services.h"
#include "page_raster.h"
#include "window_fixture.h"

namespace recorder::window::testing {
namespace {

namespace fs = std::filesystem;
using zelk::testing::CupsScheduler;

constexpr char kQueue[] = "ZelkWindowPdf";

// The newest whole PDF of a job named job that the queue wrote since started.
fs::path writtenPdf(const std::string& job, fs::file_time_type started) {
  std::error_code error;
  for (const auto& file : fs::directory_iterator(CupsScheduler::pdfFolder(), error)) {
    if (file.path().filename().string().find(job) == std::string::npos ||
        file.path().extension() != ".pdf" || file.last_write_time(error) < started)
      continue;
    std::ifstream in(file.path(), std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), {});
    // The queue converts the job in the background: whole once it ends with its end mark.
    if (pdf.starts_with("%PDF-") &&
        pdf.find("%%EOF", pdf.size() > 8 ? pdf.size() - 8 : 0) != std::string::npos)
      return file.path();
  }
  return {};
}

TEST(WindowPrint, PrintSendsTheWholeWindowToTheDefaultQueue) {
  if (const std::string why = CupsScheduler::unavailable(); !why.empty()) GTEST_SKIP() << why;
  static zelk::testing::XServer server;
  const fs::path root =
      fs::temp_directory_path() / ("zelk-window-print-" + std::to_string(getpid()));
  fs::create_directories(root);
  CupsScheduler scheduler(root);
  // Every CUPS call of this process goes to this scheduler, and its default queue is the printer.
  ::setenv("CUPS_SERVER", scheduler.server().c_str(), 1);
  ::unsetenv("ZELK_PRINTER");
  static int argc = 1;
  static char name[] = "zelkchart_print_test";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
  host::qt::installQueuePrinters();
  ASSERT_TRUE(scheduler.start()) << scheduler.errorLog();
  ASSERT_TRUE(scheduler.addPdfQueue(kQueue)) << scheduler.errorLog();

  auto window =
      std::make_unique<RecorderWindow>(StartInput{}, [] { return std::vector<std::string>{}; });
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  RecorderWindow& w = *window;

  // File > Printer Setup: the operator confirms the queue the dialog offers.
  answerNextDialog<QPrintDialog>([](QPrintDialog& dialog) {
    QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
  });
  w.printerSetupAction()->trigger();
  EXPECT_EQ(host::chosenPrinter(), kQueue);

  // A trace on the chart, then still: what is printed is what the window shows.
  w.form().XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(w.form().XVWaveInX1().pull());
  QTest::mouseClick(w.scrollButton(), Qt::LeftButton);
  w.chart().pump();
  w.repaint();
  QGuiApplication::sync();

  host::qt::QtPrintServices services;
  const auto frame = services.windowRect(w.winId(), ocx::CaptureArea::kWindow);
  ASSERT_TRUE(frame);
  const std::vector<std::uint32_t> chartPixels = pixelsOf(w.chart().screenImage());
  const QPoint chartAt = w.chart().mapToGlobal(QPoint(0, 0)) - QPoint(frame->left, frame->top);
  const int chartWidth = w.chart().width(), chartHeight = w.chart().height();
  gdi::Bitmap chart(chartWidth, chartHeight);
  for (int y = 0; y < chartHeight; ++y)
    for (int x = 0; x < chartWidth; ++x)
      chart.setPixel(x, y, chartPixels[static_cast<std::size_t>(y) * chartWidth + x]);

  const auto started = fs::file_time_type::clock::now();
  QTest::mouseClick(w.printButton(), Qt::LeftButton);
  EXPECT_EQ(w.form().ChartResult(), 0);
  fs::path pdf;
  // Generous: the queue's filters are slow on a busy machine.
  EXPECT_TRUE(waitFor([&] { return !(pdf = writtenPdf("ZelkChart", started)).empty(); }, 120000))
      << "no PDF in " << CupsScheduler::pdfFolder() << "\n"
      << scheduler.errorLog();
  ASSERT_FALSE(pdf.empty());

  // One page, on which the window is drawn at one scale from the top-left of the printable area.
  // The queue keeps the window's own pixels as the page's picture; drawn at 400 dpi they are
  // enlarged more than four times, so each comes back as a block of its own colour.
  EXPECT_FALSE(zelk::testing::rasterisePage(pdf, {0, 0, 8, 8}, 2));
  const gdi::Rect sheet{0, 0, 3300, 2400};  // the upper part of A4 or Letter at 400 dpi
  const auto page = zelk::testing::rasterisePage(pdf, sheet, 1, 400);
  ASSERT_TRUE(page);
  gdi::Rect printed{sheet.right, sheet.bottom, 0, 0};
  for (int y = 0; y < sheet.bottom; ++y)
    for (int x = 0; x < sheet.right; ++x)
      if (page->at(x, y) != 0x00FFFFFFu) {
        printed = {std::min(printed.left, x), std::min(printed.top, y),
                   std::max(printed.right, x + 1), std::max(printed.bottom, y + 1)};
      }
  ASSERT_GT(printed.width(), frame->width());
  const double scale = double(printed.width()) / frame->width();
  EXPECT_NEAR(printed.height() / scale, frame->height(), 2.0);

  // Every pixel of the chart is on the page at its place, scaled by nearest neighbour: the
  // middle of each printed block has its colour.
  ASSERT_GT(scale, 4.0);
  int wrong = 0;
  std::set<std::uint32_t> colours;
  for (int y = 0; y < chartHeight; ++y) {
    for (int x = 0; x < chartWidth; ++x) {
      const int px = printed.left + static_cast<int>((chartAt.x() + x + 0.5) * scale);
      const int py = printed.top + static_cast<int>((chartAt.y() + y + 0.5) * scale);
      colours.insert(chart.pixel(x, y));
      if (page->at(px, py) != chart.pixel(x, y) && ++wrong < 5)
        ADD_FAILURE() << "chart pixel " << x << "," << y;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GE(colours.size(), 3u);  // background, graticule and trace at least

  // Printer Setup starts on the printer in force, whichever source it came from, and its button
  // selects it: confirmed at once, the choice stays what it was.
  const struct {
    std::optional<std::string> chosen;
    const char* environment;
    std::string expected;
  } setups[] = {
      {"pdf:" + (root / "chosen.pdf").string(), nullptr, "pdf:" + (root / "chosen.pdf").string()},
      {std::nullopt, "pdf:/tmp/zelk-from-environment.pdf", "pdf:/tmp/zelk-from-environment.pdf"},
  };
  for (const auto& setup : setups) {
    SCOPED_TRACE(setup.expected);
    host::setChosenPrinter(setup.chosen);
    if (setup.environment != nullptr) ::setenv("ZELK_PRINTER", setup.environment, 1);
    const auto button = std::make_shared<QString>();
    answerNextDialog<QPrintDialog>([button](QPrintDialog& dialog) {
      if (auto* box = dialog.findChild<QDialogButtonBox*>())
        *button = box->button(QDialogButtonBox::Ok)->text();
      QMetaObject::invokeMethod(&dialog, "accept", Qt::QueuedConnection);
    });
    w.printerSetupAction()->trigger();
    EXPECT_EQ(button->remove('&'), "Select");
    EXPECT_EQ(host::chosenPrinter(), setup.expected);
    ::unsetenv("ZELK_PRINTER");
  }

  window.reset();
  fs::remove(pdf);
  std::error_code error;
  fs::remove(CupsScheduler::pdfFolder(), error);  // only when it is empty
  scheduler.stop();
  host::setChosenPrinter(std::nullopt);
  host::setQueuePrinters(nullptr);
  fs::remove_all(root);
}

}  // namespace
}  // namespace recorder::window::testing
