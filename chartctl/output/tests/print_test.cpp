// Printing a DIB and a window through a fake printer whose capabilities and failures the tests
// set: the print rectangle of each placement option, the band's source rectangle, every result
// of the failure table, cancelling, and capture clamped to the screen.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gdi/device_context.h"
#include "gdi/packed_dib.h"
#include "ocx/printing.h"
#include "output/printing.h"

namespace kvplotax::output {
namespace {

enum class Fail { kNone, kAbortProc, kStartDoc, kStartPage, kStretch, kEndPage, kEndDoc };

struct Log {
  std::vector<std::string> calls;
  std::vector<std::string> dialog;  // texts set, "destroyed" when it goes
  std::string text() const {
    std::string all;
    for (const auto& c : calls) all += c + ";";
    return all;
  }
};

class FakePrinter : public ocx::PrinterDC {
 public:
  FakePrinter(Log& log, int horzRes, int vertRes, int logX, int logY, Fail fail)
      : log_(log), horzRes_(horzRes), vertRes_(vertRes), logX_(logX), logY_(logY), fail_(fail) {}
  int getDeviceCaps(int index) const override {
    switch (index) {
      case gdi::HORZRES:
        return horzRes_;
      case gdi::VERTRES:
        return vertRes_;
      case gdi::LOGPIXELSX:
        return logX_;
      case gdi::LOGPIXELSY:
        return logY_;
      default:
        return 0;
    }
  }
  bool setAbortProc(std::function<bool()> proc) override {
    abort_ = std::move(proc);
    return fail_ != Fail::kAbortProc;
  }
  int startDoc(const std::string& name) override {
    log_.calls.push_back("StartDoc " + name);
    return fail_ == Fail::kStartDoc ? 0 : 1;
  }
  int startPage() override {
    log_.calls.push_back("StartPage");
    page = gdi::Bitmap(horzRes_, vertRes_, 0x00FFFFFF);
    return fail_ == Fail::kStartPage ? -1 : 1;
  }
  int stretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                    const gdi::PackedDib& dib) override {
    log_.calls.push_back("Stretch " + std::to_string(x) + "," + std::to_string(y) + " " +
                         std::to_string(w) + "x" + std::to_string(h) + " from " +
                         std::to_string(sx) + "," + std::to_string(sy) + " " + std::to_string(sw) +
                         "x" + std::to_string(sh));
    if (fail_ == Fail::kStretch) return 0;
    gdi::DeviceContext dc(&page);
    return dc.stretchDIBits(x, y, w, h, sx, sy, sw, sh, dib);
  }
  int endPage() override {
    log_.calls.push_back("EndPage");
    // The printing system asks the abort procedure while it spools the page.
    const bool goOn = abort_ && abort_();
    if (!goOn) return -2;
    return fail_ == Fail::kEndPage ? 0 : 1;
  }
  int endDoc() override {
    log_.calls.push_back("EndDoc");
    return fail_ == Fail::kEndDoc ? 0 : 1;
  }
  int abortDoc() override {
    log_.calls.push_back("AbortDoc");
    return 1;
  }
  ~FakePrinter() override { log_.calls.push_back("DeleteDC"); }

  gdi::Bitmap page;

 private:
  Log& log_;
  int horzRes_, vertRes_, logX_, logY_;
  Fail fail_;
  std::function<bool()> abort_;
};

class FakeDialog : public ocx::AbortDialog {
 public:
  explicit FakeDialog(Log& log) : log_(log) {}
  ~FakeDialog() override { log_.dialog.push_back("destroyed"); }
  void setItemText(int item, const std::string& text) override {
    log_.dialog.push_back(std::to_string(item) + " " + text);
  }

 private:
  Log& log_;
};

class FakeServices : public ocx::PrintServices {
 public:
  std::optional<ocx::PrinterEntry> entry = ocx::PrinterEntry{"Laser", "winspool", "LPT1:"};
  int horzRes = 480, vertRes = 660, logX = 600, logY = 600;
  Fail fail = Fail::kNone;
  bool openFails = false;
  bool cancelWhilePumping = false;
  std::function<void()> whilePumping;  // runs as a message the job dispatches
  gdi::Rect window{10, 20, 110, 70};
  gdi::Point screen{1024, 768};
  std::optional<gdi::Rect> grabbed;
  Log log;
  FakePrinter* printer = nullptr;
  gdi::Bitmap lastPage;

  std::optional<ocx::PrinterEntry> defaultPrinter() override { return entry; }
  std::unique_ptr<ocx::PrinterDC> createPrinterDC(const ocx::PrinterEntry& e) override {
    log.calls.push_back("CreateDC " + e.driver + " " + e.device + " " + e.port);
    if (openFails) return nullptr;
    auto dc = std::make_unique<FakePrinter>(log, horzRes, vertRes, logX, logY, fail);
    printer = dc.get();
    return dc;
  }
  std::unique_ptr<ocx::AbortDialog> createAbortDialog(std::function<void()> onCancel) override {
    cancel_ = std::move(onCancel);
    return std::make_unique<FakeDialog>(log);
  }
  bool dispatchOneMessage() override {
    if (printer) lastPage = printer->page;
    if (whilePumping) {
      auto message = std::move(whilePumping);
      whilePumping = nullptr;
      message();
      return true;
    }
    if (cancelWhilePumping && cancel_) {
      cancelWhilePumping = false;
      cancel_();
      return true;
    }
    return false;
  }
  std::optional<gdi::Rect> windowRect(std::uintptr_t hwnd, ocx::CaptureArea area) override {
    if (hwnd != 7) return std::nullopt;
    if (area == ocx::CaptureArea::kWindow) return window;
    return gdi::Rect{window.left + 4, window.top + 20, window.right - 4, window.bottom - 4};
  }
  std::optional<gdi::Bitmap> grabScreen(const gdi::Rect& rect) override {
    grabbed = rect;
    return gdi::Bitmap(rect.width(), rect.height(), 0x00123456);
  }
  gdi::Point screenSize() override { return screen; }

 private:
  std::function<void()> cancel_;
};

// A DIB whose pixel (x, y) has the colour x + 256 * y.
gdi::PackedDib numberedDib(int width, int height) {
  gdi::Bitmap bitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.setPixel(x, y, static_cast<gdi::ColorRef>(x + 256 * y));
  return gdi::PackedDib::fromBitmap(bitmap, 24);
}

TEST(PrintRectangle, FollowsTheOptionAndTheResolutions) {
  struct Case {
    const char* what;
    int horzRes, vertRes, logX, logY, option;
    std::uint16_t xs, ys;
    gdi::Rect expected;
  };
  const Case cases[] = {
      {"best fit, unequal dots", 4800, 6600, 600, 300, kPrintBestFit, 0, 0, {0, 0, 4800, 1200}},
      {"best fit, square dots", 4800, 6600, 600, 600, kPrintBestFit, 0, 0, {0, 0, 4800, 2400}},
      {"scale", 4800, 6600, 600, 600, kPrintScale, 2, 3, {0, 0, 400, 300}},
      {"scale 0", 4800, 6600, 600, 600, kPrintScale, 0, 5, {0, 0, 0, 500}},
      {"stretch", 4800, 6600, 600, 600, kPrintStretchToPage, 9, 9, {0, 0, 4800, 6600}},
      {"unknown option stretches", 4800, 6600, 600, 600, 7, 0, 0, {0, 0, 4800, 6600}},
      {"no resolution reported", 4800, 6600, 0, 600, kPrintBestFit, 0, 0, {0, 0, 4800, 0}},
      {"largest scales",
       100,
       100,
       1,
       1,
       kPrintScale,
       65535,
       65535,
       {0, 0, 200 * 65535, 100 * 65535}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Log log;
    const FakePrinter printer(log, c.horzRes, c.vertRes, c.logX, c.logY, Fail::kNone);
    EXPECT_EQ(printRectangle(printer, c.option, c.xs, c.ys, 200, 100), c.expected);
  }
}

TEST(DrawBand, SendsTheBandsPartOfTheImageBottomUp) {
  const gdi::PackedDib dib = numberedDib(200, 100);
  struct Case {
    gdi::Rect band;
    bool graphics;
    std::string call;
  };
  // Print rectangle 800 x 200: four printer pixels a column, two a row.
  const Case cases[] = {
      {{0, 0, 800, 200}, true, "Stretch 0,0 800x200 from 0,0 200x100;"},
      {{0, 50, 800, 100}, true, "Stretch 0,50 800x50 from 0,50 200x25;"},
      {{400, 150, 5000, 5000}, true, "Stretch 400,150 400x50 from 100,0 100x25;"},
      {{0, 50, 800, 100}, false, ""},
      {{900, 0, 1000, 10}, true, ""},
  };
  for (const Case& c : cases) {
    Log log;
    FakePrinter printer(log, 800, 200, 300, 300, Fail::kNone);
    printer.startPage();
    log.calls.clear();
    EXPECT_EQ(drawBand(printer, {0, 0, 800, 200}, c.band, c.graphics, dib), 0);
    EXPECT_EQ(log.text(), c.call);
  }
}

TEST(PrintPackedDib, ScaleDoublesTheImageAtTheTopLeftClippedByThePage) {
  FakeServices services;
  services.horzRes = 300;
  services.vertRes = 150;
  const gdi::PackedDib dib = numberedDib(200, 100);
  ASSERT_EQ(PrintPackedDib(&services, &dib, kPrintScale, 2, 2, "Job"), 0);
  const gdi::Bitmap& page = services.lastPage;
  ASSERT_EQ(page.width(), 300);
  for (const gdi::Point p : {gdi::Point{0, 0}, {1, 1}, {2, 0}, {299, 149}, {151, 77}})
    EXPECT_EQ(page.pixel(p.x, p.y), static_cast<gdi::ColorRef>(p.x / 2 + 256 * (p.y / 2)));
}

TEST(PrintPackedDib, EveryFailureGivesItsResultAndCleansUp) {
  struct Case {
    const char* what;
    std::function<void(FakeServices&)> setUp;
    std::uint16_t result;
    std::string calls;
    bool dialogShown;
  };
  const std::string started = "CreateDC winspool Laser LPT1:;StartDoc Job;StartPage;";
  const std::string stretch = "Stretch 0,0 480x240 from 0,0 200x100;";
  const Case cases[] = {
      {"printed", [](FakeServices&) {}, 0, started + stretch + "EndPage;EndDoc;DeleteDC;", true},
      {"no default printer", [](FakeServices& s) { s.entry.reset(); }, 6, "", false},
      {"entry without a port", [](FakeServices& s) { s.entry->port.clear(); }, 6, "", false},
      {"no device context", [](FakeServices& s) { s.openFails = true; }, 6,
       "CreateDC winspool Laser LPT1:;", false},
      {"abort procedure refused", [](FakeServices& s) { s.fail = Fail::kAbortProc; }, 13,
       "CreateDC winspool Laser LPT1:;DeleteDC;", true},
      {"StartDoc", [](FakeServices& s) { s.fail = Fail::kStartDoc; }, 11,
       "CreateDC winspool Laser LPT1:;StartDoc Job;DeleteDC;", true},
      {"StartPage", [](FakeServices& s) { s.fail = Fail::kStartPage; }, 14, started + "DeleteDC;",
       true},
      {"StretchDIBits", [](FakeServices& s) { s.fail = Fail::kStretch; }, 9,
       started + stretch + "EndPage;EndDoc;DeleteDC;", true},
      {"EndPage", [](FakeServices& s) { s.fail = Fail::kEndPage; }, 16,
       started + stretch + "EndPage;EndDoc;DeleteDC;", true},
      {"EndDoc", [](FakeServices& s) { s.fail = Fail::kEndDoc; }, 17,
       started + stretch + "EndPage;EndDoc;DeleteDC;", true},
      // A cancel abandons the job: EndDoc is not called, the result is the band's.
      {"cancelled", [](FakeServices& s) { s.cancelWhilePumping = true; }, 0,
       started + stretch + "EndPage;AbortDoc;DeleteDC;", true},
      {"cancelled after a failed band",
       [](FakeServices& s) {
         s.cancelWhilePumping = true;
         s.fail = Fail::kStretch;
       },
       9, started + stretch + "EndPage;AbortDoc;DeleteDC;", true},
  };
  const gdi::PackedDib dib = numberedDib(200, 100);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeServices services;
    c.setUp(services);
    EXPECT_EQ(PrintPackedDib(&services, &dib, kPrintBestFit, 0, 0, "Job"), c.result);
    EXPECT_EQ(services.log.text(), c.calls);
    if (c.dialogShown) {
      ASSERT_FALSE(services.log.dialog.empty());
      EXPECT_EQ(services.log.dialog.front(), "402 to Laser on LPT1:");
      EXPECT_EQ(services.log.dialog.back(), "destroyed");
    } else {
      EXPECT_TRUE(services.log.dialog.empty());
    }
  }
}

TEST(PrintPackedDib, DialogShowsTheJobCutTo31Characters) {
  FakeServices services;
  const gdi::PackedDib dib = numberedDib(20, 10);
  // 40 characters of two bytes each: cut at characters, never inside one.
  std::string name;
  for (int i = 0; i < 40; ++i) name += "\xC3\xA9";
  ASSERT_EQ(PrintPackedDib(&services, &dib, kPrintBestFit, 0, 0, name), 0);
  const std::string cut = name.substr(0, 62);
  EXPECT_EQ(services.log.dialog,
            (std::vector<std::string>{"402 to Laser on LPT1:", "401 Printing '" + cut + "'",
                                      "403 Sending bitmap to printer...", "destroyed"}));
  EXPECT_EQ(services.log.calls[1], "StartDoc " + cut);
  EXPECT_EQ(cutCharacters(std::string(200, 'x'), 127), std::string(127, 'x'));
}

TEST(PrintPackedDib, APrintStartedWhileOneRunsIsRefused) {
  FakeServices services;
  const gdi::PackedDib dib = numberedDib(20, 10);
  std::uint16_t inner = 0;
  services.whilePumping = [&] {
    inner = PrintPackedDib(&services, &dib, kPrintBestFit, 0, 0, "Inner");
  };
  EXPECT_EQ(PrintPackedDib(&services, &dib, kPrintBestFit, 0, 0, "Outer"), 0);
  EXPECT_EQ(inner, 11);
  EXPECT_EQ(PrintPackedDib(nullptr, &dib, kPrintBestFit, 0, 0, "No printer"), 6);
  EXPECT_EQ(PrintPackedDib(&services, nullptr, kPrintBestFit, 0, 0, "No DIB"), 20);
}

TEST(CaptureAndPrintWindow, CapturesTheAreaClampedToTheScreen) {
  struct Case {
    const char* what;
    std::uintptr_t window;
    int area;
    gdi::Rect windowRect;
    std::uint16_t result;
    std::optional<gdi::Rect> grabbed;
  };
  const Case cases[] = {
      {"whole window", 7, kPrintWindow, {10, 20, 110, 70}, 0, gdi::Rect{10, 20, 110, 70}},
      {"client area", 7, kPrintClientArea, {10, 20, 110, 70}, 0, gdi::Rect{14, 40, 106, 66}},
      {"partly off the screen", 7, kPrintWindow, {-10, -5, 2000, 40}, 0, gdi::Rect{0, 0, 1024, 40}},
      {"window 0", 0, kPrintWindow, {10, 20, 110, 70}, 20, std::nullopt},
      {"print area 3", 7, 3, {10, 20, 110, 70}, 21, std::nullopt},
      {"zero-size window", 7, kPrintWindow, {10, 20, 10, 70}, 21, std::nullopt},
      {"wholly off the screen", 7, kPrintWindow, {1100, 20, 1200, 70}, 21, std::nullopt},
      {"unknown window", 8, kPrintWindow, {10, 20, 110, 70}, 21, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeServices services;
    services.window = c.windowRect;
    EXPECT_EQ(CaptureAndPrintWindow(&services, c.window, c.area, kPrintStretchToPage, 1, 1, "W"),
              c.result);
    EXPECT_EQ(services.grabbed, c.grabbed);
  }
  EXPECT_EQ(CaptureAndPrintWindow(nullptr, 7, kPrintWindow, kPrintBestFit, 1, 1, "W"), 21);
}

}  // namespace
}  // namespace kvplotax::output
