// The chart printed through its dispatch interface in the headless container, on the file
// printer: the page, rasterised by pdftoppm, must show the screen at the best-fit size pixel for
// pixel; failures give their documented result and leave no file behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "automation/automation.h"
#include "gdi/geometry.h"
#include "host/headless.h"
#include "page_raster.h"

namespace {

using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3508;
constexpr std::uint32_t kPaper = 0x00FFFFFF;

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant i4(std::int32_t v) { return Variant(v); }

using zelk::testing::rasterisePage;

class ChartPrintTest : public ::testing::Test {
 protected:
  ChartPrintTest()
      : folder(std::filesystem::temp_directory_path() /
               ("zelk-print-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder);
  }
  ~ChartPrintTest() override { std::filesystem::remove_all(folder); }

  automation::Dispatch& chartIn(host::HeadlessContainer& form) {
    automation::Dispatch& chart = form.create(kClsid);
    form.pump();  // the first paint applies the control's default set-up
    chart.put("BackColor", i4(0x00204080));
    form.pump();
    return chart;
  }

  std::int32_t printWindow(automation::Dispatch& chart, std::uintptr_t window, int area, int option,
                           int xScale, int yScale, const std::string& job) {
    std::vector<Variant> args{i4(static_cast<std::int32_t>(window)),
                              i4(area),
                              i4(option),
                              i4(xScale),
                              i4(yScale),
                              Variant(job)};
    return chart.call("VBPrintWindow", args).toI4();
  }

  std::vector<std::string> filesLeft() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    return names;
  }

  // The page must show the screen stretched nearest-neighbour onto (0, 0, w, h) and paper to
  // the right of it and below it.
  static void expectScreenOnPage(const host::HeadlessContainer& form,
                                 const std::filesystem::path& pdf, int w, int h) {
    const int sw = form.width();
    const int sh = form.height();
    const int right = std::min(w + 8, kPageWidth);
    const int bottom = std::min(h + 8, kPageHeight);
    const auto part = rasterisePage(pdf, {0, 0, right, bottom});
    ASSERT_TRUE(part) << "pdftoppm could not draw the page";
    int wrong = 0;
    for (int y = 0; y < bottom && wrong < 5; ++y) {
      for (int x = 0; x < right && wrong < 5; ++x) {
        const bool inside = x < w && y < h;
        const std::uint32_t expected = inside
                                           ? form.pixel(static_cast<int>(std::int64_t{x} * sw / w),
                                                        static_cast<int>(std::int64_t{y} * sh / h))
                                           : kPaper;
        if (part->at(x, y) != expected) {
          ++wrong;
          ADD_FAILURE() << "page pixel (" << x << ", " << y << ") is " << std::hex << part->at(x, y)
                        << ", expected " << expected;
        }
      }
    }
  }

  std::filesystem::path folder;
};

TEST_F(ChartPrintTest, ActionPrintPutsTheWindowOnThePageAtBestFit) {
  host::HeadlessContainer form(601, 257);
  automation::Dispatch& chart = chartIn(form);
  const auto pdf = folder / "chart.pdf";
  form.setPrinter("pdf:" + pdf.string());
  ::testing::internal::CaptureStderr();
  chart.put("Action", i2(3));
  const std::string dialog = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(dialog.find("Print Bitmap: to PDF file on " + pdf.string() + "\n"), std::string::npos);
  EXPECT_NE(dialog.find("Print Bitmap: Printing 'Plotrex'\n"), std::string::npos);
  EXPECT_NE(dialog.find("Print Bitmap: Sending bitmap to printer...\n"), std::string::npos);
  EXPECT_EQ(filesLeft(), std::vector<std::string>{"chart.pdf"});
  // Best fit fills the page width: 257 * 2480 / 601 rows, truncated.
  expectScreenOnPage(form, pdf, 2480, 1060);
}

TEST_F(ChartPrintTest, PrintWindowScalesTheClientAreaAndCutsTheJobName) {
  host::HeadlessContainer form(97, 41);
  automation::Dispatch& chart = chartIn(form);
  const auto pdf = folder / "scaled.pdf";
  form.setPrinter("pdf:" + pdf.string());
  const std::string job(200, 'j');
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(printWindow(chart, form.windowHandle(), 2, 3, 0x30003, 0x10002, job), 0);
  const std::string dialog = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(dialog.find("Printing '" + job.substr(0, 31) + "'\n"), std::string::npos);
  // Only the low 16 bits of the scales count: three times across, twice down.
  expectScreenOnPage(form, pdf, 97 * 3, 41 * 2);
}

TEST_F(ChartPrintTest, FailuresGiveTheirResultAndLeaveNoFile) {
  struct Case {
    const char* what;
    std::string printer;  // a file name in the scratch folder follows "pdf:"
    int area;
    bool foreignWindow;
    bool cancel;
    std::int32_t result;
  };
  const std::string pdf = "pdf:" + (folder / "out.pdf").string();
  const Case cases[] = {
      {"empty printer name", "", 1, false, false, 6},
      {"file printer without a file", "pdf:", 1, false, false, 6},
      {"unknown queue, no scheduler", "NoSuchQueue", 1, false, false, 6},
      {"unwritable folder", "pdf:" + (folder / "missing" / "out.pdf").string(), 1, false, false,
       11},
      {"folder in place of the file", "pdf:" + folder.string() + "/", 1, false, false, 11},
      {"print area 3", pdf, 3, false, false, 21},
      {"window that does not exist", pdf, 1, true, false, 21},
      {"cancelled job", pdf, 1, false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host::HeadlessContainer form(50, 30);
    automation::Dispatch& chart = chartIn(form);
    form.setPrinter(c.printer);
    form.setCancelPrinting(c.cancel);
    ::testing::internal::CaptureStderr();
    const std::uintptr_t window = c.foreignWindow ? form.windowHandle() + 1 : form.windowHandle();
    EXPECT_EQ(printWindow(chart, window, c.area, 1, 1, 1, "ZelkChart"), c.result);
    const std::string dialog = ::testing::internal::GetCapturedStderr();
    if (c.cancel) {
      EXPECT_NE(dialog.find("Print Bitmap: Cancel\n"), std::string::npos);
    }
    EXPECT_TRUE(filesLeft().empty());
    // Action 3 prints the chart's own window on the same printer: it fails silently.
    if (c.area != 3 && !c.foreignWindow) {
      EXPECT_NO_THROW(chart.put("Action", i2(3)));
    }
    EXPECT_TRUE(filesLeft().empty());
  }
}

TEST_F(ChartPrintTest, WindowHandleZeroAndZeroSizeWindowPrintNothing) {
  host::HeadlessContainer form(0, 0);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  form.setPrinter("pdf:" + (folder / "none.pdf").string());
  EXPECT_EQ(printWindow(chart, 0, 1, 1, 1, 1, "ZelkChart"), 20);
  EXPECT_EQ(printWindow(chart, form.windowHandle(), 2, 1, 1, 1, "ZelkChart"), 21);
  EXPECT_TRUE(filesLeft().empty());
}

}  // namespace
