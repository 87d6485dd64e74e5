// Printing through a real CUPS scheduler with a PDF queue. The test runs its own scheduler on a
// scratch configuration and port, prints on the queue through Qt PrintSupport, and finds the PDF
// the queue wrote. Without a scheduler the queue is no printer at all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "desktop_services.h"
#include "host/printers.h"
#include "host/qt/print_services.h"
#include "output/printing.h"

namespace {

namespace fs = std::filesystem;

constexpr char kQueue[] = "ZelkPdfTest";
using zelk::testing::CupsScheduler;

TEST(CupsPrinting, PrintsOnAPdfQueueOfItsOwnScheduler) {
  if (const std::string why = CupsScheduler::unavailable(); !why.empty()) GTEST_SKIP() << why;

  const fs::path root = fs::temp_directory_path() / ("zelk-cups-" + std::to_string(getpid()));
  fs::create_directories(root);
  CupsScheduler scheduler(root);
  // Every CUPS call of this process goes to this scheduler.
  ::setenv("CUPS_SERVER", scheduler.server().c_str(), 1);
  static int argc = 1;
  static char name[] = "print_cups_test";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  host::qt::installQueuePrinters();
  host::qt::QtPrintServices services;
  host::setChosenPrinter(std::string(kQueue));

  gdi::Bitmap bitmap(40, 20, 0x00FF0000);
  for (int x = 0; x < 20; ++x)
    for (int y = 0; y < 20; ++y) bitmap.setPixel(x, y, 0x000000FF);
  const gdi::PackedDib dib = gdi::PackedDib::fromBitmap(bitmap, 24);
  const std::string job = "ZelkCups" + std::to_string(getpid());

  // No scheduler yet: the queue is no printer, and nothing is shown.
  EXPECT_EQ(
      kvplotax::output::PrintPackedDib(&services, &dib, kvplotax::output::kPrintBestFit, 0, 0, job),
      6);

  ASSERT_TRUE(scheduler.start()) << scheduler.errorLog();
  ASSERT_TRUE(scheduler.addPdfQueue(kQueue)) << scheduler.errorLog();
  const auto entry = services.defaultPrinter();
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->device, kQueue);
  EXPECT_EQ(entry->port, "ipp://" + scheduler.server() + "/printers/" + kQueue);

  const auto started = fs::file_time_type::clock::now();
  EXPECT_EQ(
      kvplotax::output::PrintPackedDib(&services, &dib, kvplotax::output::kPrintBestFit, 0, 0, job),
      0);
  // The queue converts the job in the background; its PDF is named after the job and is whole
  // once it ends with its end-of-file mark.
  fs::path found;
  std::string pdf;
  for (int i = 0; i < 600 && found.empty(); ++i) {
    std::error_code error;
    for (const auto& file : fs::directory_iterator(CupsScheduler::pdfFolder(), error)) {
      if (file.path().filename().string().find(job) == std::string::npos ||
          file.path().extension() != ".pdf" || file.last_write_time() < started)
        continue;
      std::ifstream in(file.path(), std::ios::binary);
      pdf.assign(std::istreambuf_iterator<char>(in), {});
      if (pdf.find("%%EOF", pdf.size() > 8 ? pdf.size() - 8 : 0) != std::string::npos)
        found = file.path();
    }
    if (found.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_FALSE(found.empty()) << "no PDF in " << CupsScheduler::pdfFolder() << "\n"
                              << scheduler.errorLog();
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  // The image spans the printable width, red on the left and blue on the right.
  const std::string ppm = (root / "page").string();
  ASSERT_EQ(std::system(("pdftoppm -r 20 -singlefile '" + found.string() + "' " + ppm).c_str()), 0);
  std::ifstream in(ppm + ".ppm", std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  const std::vector<unsigned char> rgb((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(rgb.size(), std::size_t(width) * height * 3);
  auto pixel = [&](int x, int y) {
    const std::size_t i = 3 * (std::size_t(y) * width + x);
    return std::array<int, 3>{rgb[i], rgb[i + 1], rgb[i + 2]};
  };
  int row = 0;
  while (row < height && pixel(width / 4, row) == std::array<int, 3>{255, 255, 255}) ++row;
  ASSERT_LT(row + 2, height);
  EXPECT_EQ(pixel(width / 4, row + 2), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(pixel(width * 3 / 4, row + 2), (std::array<int, 3>{0, 0, 255}));
  fs::remove(found);
  std::error_code error;
  fs::remove(CupsScheduler::pdfFolder(),
             error);  // only when the queue made it for this test and it is empty
  scheduler.stop();
  host::setChosenPrinter(std::nullopt);
  host::setQueuePrinters(nullptr);
  fs::remove_all(root);
}

}  // namespace
