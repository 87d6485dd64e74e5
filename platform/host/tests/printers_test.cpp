// Which printer is the default, and the file printer's documents: written whole through a
// scratch file, or not at all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gdi/device_context.h"
#include "gdi/packed_dib.h"
#include "host/printers.h"
#include "page_raster.h"

namespace host {
namespace {

namespace fs = std::filesystem;

class FakeQueues : public QueuePrinters {
 public:
  std::optional<std::string> defaultQueue() override { return defaultName; }
  std::optional<ocx::PrinterEntry> queue(const std::string& name) override {
    if (name != "Office" && name != "Lab") return std::nullopt;
    return ocx::PrinterEntry{name, "CUPS", "ipp://localhost/printers/" + name};
  }
  std::unique_ptr<ocx::PrinterDC> open(const ocx::PrinterEntry&) override { return nullptr; }
  std::optional<std::string> defaultName = "Office";
};

TEST(DefaultPrinter, ContainerThenChoiceThenEnvironmentThenTheSchedulersDefault) {
  FakeQueues queues;
  setQueuePrinters(&queues);
  struct Case {
    const char* what;
    std::optional<std::string> container, chosen, environment, schedulerDefault;
    std::optional<std::string> device;  // nothing: no default printer
    std::string port;
  };
  const Case cases[] = {
      {"scheduler's default", {}, {}, {}, "Office", "Office", "ipp://localhost/printers/Office"},
      {"no scheduler default", {}, {}, {}, {}, {}, ""},
      {"environment", {}, {}, "Lab", "Office", "Lab", "ipp://localhost/printers/Lab"},
      {"environment empty: none", {}, {}, "", "Office", {}, ""},
      {"environment file printer", {}, {}, "pdf:/tmp/a.pdf", "Office", "PDF file", "/tmp/a.pdf"},
      {"operator's choice",
       {},
       "Lab",
       "pdf:/tmp/a.pdf",
       "Office",
       "Lab",
       "ipp://localhost/printers/Lab"},
      {"container's printer", "pdf:out.pdf", "Lab", "Office", "Office", "PDF file", "out.pdf"},
      {"container's empty name: none", "", "Lab", "Office", "Office", {}, ""},
      {"unknown queue: none", "Basement", {}, {}, "Office", {}, ""},
      {"file printer without a file", "pdf:", {}, {}, {}, "PDF file", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    queues.defaultName = c.schedulerDefault;
    setChosenPrinter(c.chosen);
    if (c.environment) {
      ::setenv("ZELK_PRINTER", c.environment->c_str(), 1);
    } else {
      ::unsetenv("ZELK_PRINTER");
    }
    const auto entry = defaultPrinter(c.container);
    ASSERT_EQ(entry.has_value(), c.device.has_value());
    if (!entry) continue;
    EXPECT_EQ(entry->device, *c.device);
    EXPECT_EQ(entry->port, c.port);
    // A file printer without a file is incomplete: no device context is made for it.
    EXPECT_EQ(entry->complete(), !c.port.empty());
  }
  setChosenPrinter(std::nullopt);
  ::unsetenv("ZELK_PRINTER");
  setQueuePrinters(nullptr);
}

class FilePrinterTest : public ::testing::Test {
 protected:
  FilePrinterTest() : folder(fs::temp_directory_path() / ("zelk-pdf-" + std::to_string(getpid()))) {
    fs::create_directories(folder);
  }
  ~FilePrinterTest() override { fs::remove_all(folder); }
  std::unique_ptr<ocx::PrinterDC> open(const fs::path& file) {
    return openPrinter({kPdfDevice, kPdfDriver, file.string()});
  }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    return names;
  }
  fs::path folder;
  static constexpr std::uint32_t kOrange = 0x000080FF;
  static constexpr std::uint32_t kPaper = 0x00FFFFFF;
  gdi::PackedDib dib = gdi::PackedDib::fromBitmap(gdi::Bitmap(4, 2, kOrange), 24);
};

TEST_F(FilePrinterTest, WritesOneImagePerPageWhereItWasDrawn) {
  auto printer = open(folder / "two.pdf");
  ASSERT_TRUE(printer);
  EXPECT_EQ(printer->getDeviceCaps(gdi::HORZRES), 2480);
  EXPECT_EQ(printer->getDeviceCaps(gdi::VERTRES), 3508);
  EXPECT_EQ(printer->getDeviceCaps(gdi::LOGPIXELSX), 300);
  EXPECT_EQ(printer->getDeviceCaps(gdi::LOGPIXELSY), 300);
  int asked = 0;
  ASSERT_TRUE(printer->setAbortProc([&asked] { return ++asked > 0; }));
  ASSERT_EQ(printer->startDoc("Two"), 1);
  ASSERT_EQ(printer->startPage(), 1);
  EXPECT_EQ(printer->stretchDIBits(10, 20, 40, 20, 0, 0, 4, 2, dib), 20);
  // Drawn partly off the page: only the part on it is kept.
  EXPECT_EQ(printer->stretchDIBits(2470, 3500, 40, 20, 0, 0, 4, 2, dib), 20);
  ASSERT_EQ(printer->endPage(), 1);
  ASSERT_EQ(printer->startPage(), 1);
  ASSERT_EQ(printer->endPage(), 1);
  EXPECT_TRUE(files().empty());  // nothing until the document ends
  ASSERT_EQ(printer->endDoc(), 1);
  EXPECT_GT(asked, 0);
  EXPECT_EQ(files(), std::vector<std::string>{"two.pdf"});
  std::ifstream in(folder / "two.pdf", std::ios::binary);
  const std::string pdf((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.4");
  EXPECT_NE(pdf.find("/Count 2 "), std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [0 0 595.2 841.92]"), std::string::npos);
  EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
  // The page at 300 dots per inch: the 4 x 2 DIB ten times its size at (10, 20), and its corner
  // at the page's corner, with paper around them to the pixel.
  const auto corner = zelk::testing::rasterisePage(folder / "two.pdf", {0, 0, 60, 50});
  ASSERT_TRUE(corner);
  const auto end = zelk::testing::rasterisePage(folder / "two.pdf", {2460, 3490, 2480, 3508});
  ASSERT_TRUE(end);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 60; ++x)
      ASSERT_EQ(corner->at(x, y), x >= 10 && x < 50 && y >= 20 && y < 40 ? kOrange : kPaper)
          << x << ", " << y;
  EXPECT_EQ(end->at(2469, 3499), kPaper);
  EXPECT_EQ(end->at(2470, 3500), kOrange);
  EXPECT_EQ(end->at(2479, 3507), kOrange);
  const auto second = zelk::testing::rasterisePage(folder / "two.pdf", {0, 0, 2480, 3508}, 2);
  ASSERT_TRUE(second);
  EXPECT_EQ(std::count(second->pixels.begin(), second->pixels.end(), kPaper), 2480 * 3508);
}

TEST_F(FilePrinterTest, ABusyPageIsOneImage) {
  // Every pixel unlike its neighbours: too many blocks to draw one by one.
  gdi::Bitmap noise(2480, 120);
  for (int y = 0; y < noise.height(); ++y)
    for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, (x + y) % 2 ? 0x000000FF : 0);
  auto printer = open(folder / "busy.pdf");
  ASSERT_EQ(printer->startDoc("Busy"), 1);
  ASSERT_EQ(printer->startPage(), 1);
  ASSERT_GT(printer->stretchDIBits(0, 0, 2480, 120, 0, 0, 2480, 120,
                                   gdi::PackedDib::fromBitmap(noise, 24)),
            0);
  ASSERT_EQ(printer->endPage(), 1);
  ASSERT_EQ(printer->endDoc(), 1);
  std::ifstream in(folder / "busy.pdf", std::ios::binary);
  const std::string pdf((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(pdf.find("/Subtype /Image /Width 2480 /Height 120 "), std::string::npos);
}

TEST_F(FilePrinterTest, AbandonedOrUnwritableDocumentsLeaveNothing) {
  // Abandoned while the page is spooled.
  auto printer = open(folder / "cancelled.pdf");
  printer->setAbortProc([] { return false; });
  ASSERT_EQ(printer->startDoc("Cancelled"), 1);
  ASSERT_EQ(printer->startPage(), 1);
  EXPECT_LT(printer->endPage(), 1);
  EXPECT_LT(printer->endDoc(), 1);
  EXPECT_TRUE(files().empty());
  // A folder that does not exist fails the document at its start.
  EXPECT_LT(open(folder / "missing" / "x.pdf")->startDoc("X"), 1);
  // The name of a folder in place of a file.
  EXPECT_LT(open(folder)->startDoc("X"), 1);
  // The file's place taken by a folder when the document ends: no file, no scratch file.
  printer = open(folder / "taken.pdf");
  ASSERT_EQ(printer->startDoc("Taken"), 1);
  ASSERT_EQ(printer->startPage(), 1);
  ASSERT_EQ(printer->endPage(), 1);
  fs::create_directories(folder / "taken.pdf" / "inside");
  EXPECT_LT(printer->endDoc(), 1);
  EXPECT_EQ(files(), std::vector<std::string>{"taken.pdf"});
  EXPECT_TRUE(fs::is_directory(folder / "taken.pdf"));
  // Calls out of order are refused.
  printer = open(folder / "order.pdf");
  EXPECT_LT(printer->startPage(), 1);
  EXPECT_EQ(printer->stretchDIBits(0, 0, 4, 2, 0, 0, 4, 2, dib), 0);
  EXPECT_LT(printer->endDoc(), 1);
}

}  // namespace
}  // namespace host
