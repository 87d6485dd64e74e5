// The chart printed through its dispatch interface in the headless container, on the file
// printer: the page, rasterised by pdftoppm, must show the screen at the best-fit size pixel for
// pixel; failures give their documented result and leave no file behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "automation/automation.h"
#include "gdi/geometry.h"
#include "host/headless.h"

namespace {

using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3508;
constexpr std::uint32_t kPaper = 0x00FFFFFF;

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant i4(std::int32_t v) { return Variant(v); }

// A part of a page as pdftoppm draws it, 0x00BBGGRR like the screen. pdftoppm smooths images
// it draws at less than four times their size, so the page is drawn at 1200 dots per inch, four
// device pixels for each printer pixel, where it replicates pixels exactly.
constexpr int kZoom = 4;

struct PagePart {
  gdi::Rect area;  // in printer pixels
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y - area.top) * area.width() + (x - area.left)];
  }
};

std::optional<PagePart> rasterise(const std::filesystem::path& pdf, const gdi::Rect& area) {
  const std::string stem = pdf.string() + "-part";
  const std::string command =
      "pdftoppm -r " + std::to_string(300 * kZoom) + " -x " + std::to_string(area.left * kZoom) +
      " -y " + std::to_string(area.top * kZoom) + " -W " + std::to_string(area.width() * kZoom) +
      " -H " + std::to_string(area.height() * kZoom) + " -singlefile '" + pdf.string() + "' '" +
      stem + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  const std::filesystem::path ppm = stem + ".ppm";
  std::ifstream in(ppm, std::ios::binary);
  std::string magic;
  int width = 0;
  int height = 0;
  int maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  std::vector<unsigned char> rgb((std::istreambuf_iterator<char>(in)), {});
  std::filesystem::remove(ppm);
  if (magic != "P6" || maxValue != 255 || width != area.width() * kZoom ||
      height != area.height() * kZoom || rgb.size() != std::size_t(width) * height * 3)
    return std::nullopt;
  PagePart part{area, {}};
  part.pixels.reserve(static_cast<std::size_t>(area.width()) * area.height());
  for (int y = 0; y < area.height(); ++y) {
    for (int x = 0; x < area.width(); ++x) {
      // The middle of the printer pixel's block.
      const std::size_t i =
          3 * (static_cast<std::size_t>(y * kZoom + kZoom / 2) * width + x * kZoom + kZoom / 2);
      part.pixels.push_back(rgb[i] | (rgb[i + 1] << 8) | (std::uint32_t{rgb[i + 2]} << 16));
    }
  }
  return part;
}

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
  // the right of it and below it. Checked in strips at the top, the middle and the bottom edge,
  // to keep pdftoppm's work small.
  static void expectScreenOnPage(const host::HeadlessContainer& form,
                                 const std::filesystem::path& pdf, int w, int h) {
    constexpr int kStripRows = 120;
    const int sw = form.width();
    const int sh = form.height();
    const int right = std::min(w + 8, kPageWidth);
    const int bottom = std::min(h + 8, kPageHeight);
    int wrong = 0;
    for (const int top : {0, h / 2, std::max(bottom - kStripRows, 0)}) {
      const gdi::Rect strip{0, top, right, std::min(top + kStripRows, bottom)};
      const auto part = rasterise(pdf, strip);
      ASSERT_TRUE(part) << "pdftoppm could not draw rows " << strip.top << " to " << strip.bottom;
      for (int y = strip.top; y < strip.bottom && wrong < 5; ++y) {
        for (int x = strip.left; x < strip.right && wrong < 5; ++x) {
          const bool inside = x < w && y < h;
          const std::uint32_t expected =
              inside ? form.pixel(static_cast<int>(std::int64_t{x} * sw / w),
                                  static_cast<int>(std::int64_t{y} * sh / h))
                     : kPaper;
          if (part->at(x, y) != expected) {
            ++wrong;
            ADD_FAILURE() << "page pixel (" << x << ", " << y << ") is " << std::hex
                          << part->at(x, y) << ", expected " << expected;
          }
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
