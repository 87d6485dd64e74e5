// The control in the headless container: a new control's first paint sets up a usable chart.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "automation/automation.h"
#include "graticule_golden.h"
#include "host/headless.h"
#include "recorder_chart_settings.h"

namespace kvplotax {
namespace {

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

automation::Variant i2(int v) { return automation::Variant(static_cast<std::int16_t>(v)); }

TEST(ChartInContainer, NewControlIsSetUpByItsFirstPaint) {
  host::HeadlessContainer form(601, 257);
  automation::Dispatch& chart = form.create(kClsid);
  EXPECT_EQ(chart.get("Chn_Select").toI4(), 0);  // nothing before the first paint
  form.pump();
  EXPECT_NE(chart.get("hWnd").toI4(), 0);
  EXPECT_EQ(chart.get("Wnd_Select").toI4(), 1);
  EXPECT_FLOAT_EQ(chart.get("WndWidth").toR4(), 10.0f);
  EXPECT_FLOAT_EQ(chart.get("WndHeight").toR4(), 10.0f);
  EXPECT_EQ(chart.get("Chn_Select").toI4(), 1);
  EXPECT_EQ(chart.get("ChnDspBufLen").toI4(), 500);
  chart.put("ChnData_Dimension", i2(0));
  EXPECT_EQ(chart.get("ChnDataShape").toI4(), 2);  // horizontal autoincrement
  EXPECT_EQ(chart.get("Scale_Select").toI4(), 1);
  chart.put("ScaleDimension", i2(1));
  EXPECT_EQ(chart.get("LabelCaption").toString(), "Vert");
  EXPECT_EQ(chart.get("ScaleOrientation").toI4(), 1);
  chart.put("ScaleDimension", i2(0));
  EXPECT_EQ(chart.get("LabelCaption").toString(), "Horz");
  EXPECT_EQ(chart.get("ScaleLocation").toI4(), 2);
  EXPECT_EQ(chart.get("FontName").toString(), "Arial");
}

// The recorder configures the chart at start-up with a long list of writes, none of which may fail.
TEST(ChartInContainer, RecorderStyleSetUpIsAccepted) {
  host::HeadlessContainer form(601, 257);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  using automation::Variant;
  for (const auto& [name, value] : testing::recorderChartSettings()) {
    EXPECT_NO_THROW(chart.put(std::string_view(name), value)) << name;
  }
  const std::pair<const char*, Variant> kScaleAndChannel[] = {
      {"ScaleAction", i2(1)},       {"Chn_Select", i2(1)},
      {"ChnDspBufLen", i2(16000)},  {"ChnDspMode", i2(1)},
      {"ChnDspStyle", i2(1)},       {"ChnDspOffsetY", Variant(std::int32_t{4000})},
      {"ChnData_Dimension", i2(1)}, {"ChnDataShape", i2(0)},
      {"ChnData_Dimension", i2(0)}, {"ChnDataShape", i2(0)},
      {"ChnDspAction", i2(1)},
  };
  for (const auto& [name, value] : kScaleAndChannel) {
    EXPECT_NO_THROW(chart.put(std::string_view(name), value)) << name;
  }
  EXPECT_EQ(chart.get("MajorDivVert").toI4(), 7);
  EXPECT_FLOAT_EQ(chart.get("ScaleFactor").toR4(), 0.00025f);
  EXPECT_EQ(chart.get("ChnDspBufLen").toI4(), 16000);
  EXPECT_FLOAT_EQ(chart.get("ChnDspOffsetY").toR4(), 4000.0f);
  EXPECT_EQ(chart.get("ChnDspStyle").toI4(), 1);
}

// A new control shows its defaults: outline, bevel, colours, divisions, margins and grid.
TEST(ChartInContainer, PaintsItsFrameBackgroundAndGraticule) {
  host::HeadlessContainer form(500, 400);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  gdi::Bitmap shown(500, 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 500; ++x) shown.setPixel(x, y, form.pixel(x, y));
  EXPECT_EQ(testing::compareWithGolden(shown, "graticule_default_500x400"), "");
  chart.put("BackColor", automation::Variant(std::int32_t{0xFFFFFF}));
  form.pump();
  EXPECT_EQ(form.pixel(12, 12), 0xFFFFFFu);
}

TEST(ChartInContainer, WritesItsPictureToTheImageFile) {
  host::HeadlessContainer form(200, 150);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  try {
    chart.put("Action", i2(4));
    FAIL();
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 20);
    EXPECT_STREQ(e.what(), "Invalid file name specified");
  }
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "kvplotax_container_test.bmp";
  std::filesystem::remove(path);
  chart.put("ImageFile", automation::Variant(path.string()));
  chart.put("Action", i2(4));
  std::ifstream file(path, std::ios::binary);
  char magic[2] = {};
  file.read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "BM");
  std::filesystem::remove(path);
  chart.put("Action", i2(1));  // copying to the clipboard raises nothing
}

// A channel initialised with autoincrementing x and float y draws its points in its pen.
TEST(ChartInContainer, DeliveredDataIsDrawn) {
  host::HeadlessContainer form(500, 300);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  using automation::Variant;
  chart.put("Pen_Select", i2(1));
  chart.put("PenColor", Variant(std::int32_t{0x0000FF}));
  chart.put("Chn_Select", i2(1));
  chart.put("ChnDspStyle", i2(1));
  chart.put("ChnDspAction", i2(1));
  auto samples = automation::SafeArray::create(automation::VT_R4, 4);
  float* y = static_cast<float*>(samples->data());
  y[0] = 7.0f;
  y[1] = 7.0f;
  y[2] = 7.0f;
  y[3] = 7.0f;
  std::vector<Variant> args{i2(1),
                            Variant(std::int32_t{4}),
                            Variant::array(automation::VT_R4, samples),
                            Variant(std::int32_t{0}),
                            Variant::array(automation::VT_R4, nullptr),
                            Variant(std::int32_t{0})};
  EXPECT_EQ(chart.call("ChartData", args).toI4(), 4);
  EXPECT_EQ(samples->locks(), 0u);
  form.pump();
  if (const char* out = std::getenv("KVPLOTAX_SCREEN")) form.writeScreen(out);
  // World y 7 of 0..10 on the plot rows 30..270 is row 102; x runs 0..3 of 10 from column 25.
  EXPECT_EQ(form.pixel(40, 102), 0x0000FFu);
  EXPECT_EQ(form.pixel(40, 104), 0x808000u);
  std::vector<Variant> other{i2(2),
                             Variant(std::int32_t{4}),
                             Variant::array(automation::VT_R4, samples),
                             Variant(std::int32_t{0}),
                             Variant::array(automation::VT_R4, nullptr),
                             Variant(std::int32_t{0})};
  EXPECT_EQ(chart.call("ChartData", other).toI4(), -3);  // never initialised
  args[1] = Variant(std::int32_t{0});
  EXPECT_EQ(chart.call("ChartData", args).toI4(), -10);
  args[1] = Variant(std::int32_t{4});
  args[3] = Variant(std::int32_t{3});  // one element left for four points
  EXPECT_EQ(chart.call("ChartData", args).toI4(), -10);
  chart.put("Chn_Select", i2(-1));
  EXPECT_EQ(chart.call("ChartData", args).toI4(), -3);
}

TEST(ChartInContainer, ChannelCommandsNeedAnInitialisedChannel) {
  host::HeadlessContainer form(300, 200);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  chart.put("ErrBase", i2(1000));
  chart.put("Chn_Select", i2(3));
  try {
    chart.put("ChnDspAction", i2(2));
    FAIL();
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 1021);
    EXPECT_STREQ(e.what(), "Channel not initialized");
  }
  chart.put("ChnDspPen", i2(8));  // no such pen
  try {
    chart.put("ChnDspAction", i2(1));
    FAIL();
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 1001);
    EXPECT_STREQ(e.what(), "Invalid/undefined pen specified");
  }
  chart.put("ChnDspPen", i2(1));
  chart.put("ChnDspAction", i2(1));
  chart.put("ChnDspAction", i2(2));  // initialised now
}

TEST(ChartInContainer, VisibleScaleIsDrawnAndLeavesWithItsScale) {
  host::HeadlessContainer form(601, 257);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  std::vector<std::uint32_t> before;
  for (int y = 0; y < 257; ++y)
    for (int x = 0; x < 601; ++x) before.push_back(form.pixel(x, y));
  auto changedPixels = [&] {
    int changed = 0;
    for (int y = 0; y < 257; ++y)
      for (int x = 0; x < 601; ++x) changed += form.pixel(x, y) != before[y * 601 + x] ? 1 : 0;
    return changed;
  };
  chart.put("Scale_Select", i2(1));
  chart.put("ScaleDimension", i2(1));
  try {
    chart.put("ScaleAction", i2(2));  // nothing to erase yet
    FAIL();
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 21);
  }
  chart.put("ScaleVisibility", i2(3));
  chart.put("ScaleAction", i2(1));
  form.pump();
  if (const char* out = std::getenv("KVPLOTAX_SCREEN")) form.writeScreen(out);
  EXPECT_GT(changedPixels(), 50);   // numbers and caption
  chart.put("ScaleAction", i2(2));  // an item exists now
  chart.put("Scale_Select", i2(-1));
  form.pump();
  EXPECT_EQ(changedPixels(), 0);
}

TEST(ChartInContainer, DesignModeRefusals) {
  host::HeadlessContainer form(300, 200, false);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  try {
    chart.get("AutoSize");
    FAIL();
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 394);
  }
  form.setUserMode(true);
  EXPECT_FALSE(chart.get("AutoSize").toBool());
}

TEST(ChartInContainer, ResizingWhileDesigningKeepsTheScaleSelection) {
  host::HeadlessContainer form(300, 200, false);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  chart.put("Scale_Select", i2(4));
  chart.put("Scale_Select", i2(1));
  chart.put("ScaleDimension", i2(1));
  form.resize(400, 250);
  form.pump();
  EXPECT_EQ(chart.get("Scale_Select").toI4(), 1);
  EXPECT_EQ(chart.get("ScaleDimension").toI4(), 1);
  EXPECT_EQ(chart.get("LabelCaption").toString(), "Vert");
}

TEST(ChartInContainer, AutoSizeResizesTheForm) {
  host::HeadlessContainer form(500, 300);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  chart.put("AutoSize", automation::Variant(true));
  form.pump();
  EXPECT_EQ(form.width(), 500);
  EXPECT_EQ(form.height(), 290);
}

// Bezels and margins far wider than any screen: AutoSize asks for no more than a surface that
// can be made, and a size whose surface cannot be made leaves the chart without one (the
// output commands say so) instead of drawing into nothing.
TEST(ChartInContainer, HugeExtentsAreBoundedAndNeverCrash) {
  using automation::Variant;
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, Variant>> writes;
  };
  const Case kCases[] = {
      {"border", {{"BorderWidth", i2(8171)}, {"AutoSize", Variant(true)}}},
      {"border first", {{"AutoSize", Variant(true)}, {"BorderWidth", i2(16000)}}},
      {"bevels", {{"BevelWidth_Outer", i2(32767)}, {"AutoSize", Variant(true)}}},
      {"margins",
       {{"MarginLeft", i2(32767)}, {"MarginRight", i2(32767)}, {"AutoSize", Variant(true)}}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    host::HeadlessContainer form(300, 200);
    automation::Dispatch& chart = form.create(kClsid);
    form.pump();
    for (const auto& [name, value] : c.writes) chart.put(std::string_view(name), value);
    form.pump();
    EXPECT_LE(form.width(), 4096);
    EXPECT_LE(form.height(), 4096);
    EXPECT_GT(form.width(), 300);
  }
  // A bag asks for the same extent when it is loaded.
  host::HeadlessContainer form(300, 200);
  form.loadBag(kClsid,
               "[Class {F9285160-7EB9-11D0-AADB-0000C05F07C7}]\nBorderWidth = 8171\n"
               "AutoSize = True\n");
  form.pump();
  EXPECT_LE(form.width(), 4096);
  // A container made larger than a surface can be: at most the missing surface is reported.
  host::HeadlessContainer large(300, 200);
  automation::Dispatch& chart = large.create(kClsid);
  large.pump();
  large.resize(16385, 16385);
  large.pump();
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "kvplotax_container_large.bmp";
  chart.put("ImageFile", Variant(path.string()));
  try {
    chart.put("Action", i2(4));
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 19);
  }
  std::filesystem::remove(path);
}

// Initialising a channel on another viewport leaves Viewport_Select as the client set it, so a
// viewport write after it lands on the viewport the client selected.
TEST(ChartInContainer, ChannelInitialisationKeepsTheViewportSelection) {
  using automation::Variant;
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    host::HeadlessContainer form(400, 300);
    automation::Dispatch& chart = form.create(kClsid);
    form.pump();
    chart.put("Viewports", i2(3));
    chart.put("Viewport_Select", i2(1));
    chart.put("Chn_Select", i2(1));
    chart.put("ChnDspMode", i2(mode));
    chart.put("ChnDspViewport", i2(3));
    chart.put("ChnDspAction", i2(1));
    EXPECT_EQ(chart.get("Viewport_Select").toI2(), 1);
    chart.put("ViewportStorageOn", Variant(true));
    chart.put("Viewport_Select", i2(3));
    EXPECT_FALSE(chart.get("ViewportStorageOn").toBool());
    chart.put("Viewport_Select", i2(1));
    EXPECT_TRUE(chart.get("ViewportStorageOn").toBool());
  }
}

}  // namespace
}  // namespace kvplotax
