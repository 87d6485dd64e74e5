// Saving and loading the control's state in the headless container: both forms give back the
// same settings and the same pictures; the records' stream is byte-exact; damaged data load
// what they can.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "automation/automation.h"
#include "automation/picture.h"
#include "automation/server.h"
#include "host/headless.h"

namespace kvplotax {
namespace {

using automation::SafeArray;
using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");
const automation::Guid kPersistProp =
    *automation::Guid::parse("{C5CF7860-85E6-11D0-AAE9-0000C05F07C7}");

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant i4(std::int32_t v) { return Variant(v); }

void putAll(automation::Dispatch& chart,
            std::initializer_list<std::pair<const char*, Variant>> writes) {
  for (const auto& [name, value] : writes) chart.put(std::string_view(name), value);
}

// A chart that uses every kind of record: three pens, two windows, two viewports, a transform,
// channels in both modes and all three styles, and two visible scales.
void designChart(automation::Dispatch& chart) {
  putAll(chart, {{"BackColor", i4(0x202020)},
                 {"HitTest", Variant(true)},
                 {"ErrBase", i2(1000)},
                 {"ImageFile", Variant("chart \"one\".bmp")},
                 {"MajorDivVert", i2(8)},
                 {"Viewports", i2(2)},
                 {"MarginLeft", i2(40)},
                 {"GridSymmetry", i2(1)},
                 {"MousePointer", i2(17)}});
  const std::int32_t colors[] = {0x0000FF, 0x00FF00, 0xFF00FF};
  for (int pen = 1; pen <= 3; ++pen) {
    putAll(chart, {{"Pen_Select", i2(pen)},
                   {"PenColor", i4(colors[pen - 1])},
                   {"PenIntenseColor", i4(0xFFFFFF)},
                   {"PenWidth", i2(pen == 3 ? 2 : 1)}});
  }
  putAll(chart, {{"Wnd_Select", i2(2)},
                 {"WndXmin", Variant(-5.0f)},
                 {"WndYmin", Variant(-1.0f)},
                 {"WndWidth", Variant(20.0f)},
                 {"WndHeight", Variant(2.5f)},
                 {"ChnXform_Select", i2(3)},
                 {"ChnXformGain", Variant(0.5f)},
                 {"ChnXformOffset", Variant(1.0f)}});
  // Channel mode and style, viewport, window, pen.
  const int kChannels[][5] = {{0, 0, 1, 1, 1}, {0, 1, 1, 1, 2}, {0, 2, 2, 2, 3},
                              {1, 0, 2, 1, 1}, {1, 1, 1, 2, 2}, {1, 2, 2, 1, 3}};
  for (int c = 0; c < 6; ++c) {
    const int* k = kChannels[c];
    putAll(chart, {{"Chn_Select", i2(c + 1)},
                   {"ChnDspMode", i2(k[0])},
                   {"ChnDspStyle", i2(k[1])},
                   {"ChnDspViewport", i2(k[2])},
                   {"ChnDspWindow", i2(k[3])},
                   {"ChnDspPen", i2(k[4])},
                   {"ChnDspBufLen", i2(50)},
                   {"ChnDspOffsetY", Variant(0.25f * static_cast<float>(c))},
                   {"ChnDspUserData", i4(c * 7)},
                   {"ChnData_Dimension", i2(0)},
                   {"ChnDataShape", i2(2)},
                   {"ChnData_Dimension", i2(1)},
                   {"ChnDataXform", i2(c == 2 ? 3 : 0)}});
  }
  for (int s = 1; s <= 2; ++s) {
    putAll(chart, {{"Scale_Select", i2(s)},
                   {"ScaleWindow", i2(s)},
                   {"ScaleViewport", i2(s)},
                   {"ScaleDimension", i2(1)},
                   {"ScaleVisibility", i2(3)},
                   {"ScalePlaces", i2(s)},
                   {"ScalePen", i2(s + 1)},
                   {"LabelCaption", Variant(s == 1 ? "Volts" : "Amps")},
                   {"ScaleDimension", i2(0)},
                   {"ScaleVisibility", i2(1)},
                   {"ScaleLocation", i2(2)},
                   {"LabelCaption", Variant("Time")},
                   {"ScaleFactor", Variant(2.0f)}});
  }
  putAll(chart, {{"Pen_Select", i2(2)}, {"Chn_Select", i2(4)}, {"Scale_Select", i2(2)}});
}

// What a client does after a load: initialise every channel and scale, then send each channel
// the same samples. The scales are shown before the data arrive.
void drawEverything(host::HeadlessContainer& form, automation::Dispatch& chart) {
  for (int s = 1; s <= 2; ++s) {
    chart.put("Scale_Select", i2(s));
    for (int d : {0, 1}) putAll(chart, {{"ScaleDimension", i2(d)}, {"ScaleAction", i2(1)}});
  }
  form.pump();
  for (int c = 1; c <= 6; ++c) {
    putAll(chart, {{"Chn_Select", i2(c)}, {"ChnDspAction", i2(1)}});
    auto y = SafeArray::create(automation::VT_R4, 40);
    for (int i = 0; i < 40; ++i)
      static_cast<float*>(y->data())[i] = static_cast<float>((i * (c + 3)) % 11) * 0.1f;
    std::vector<Variant> args{i2(c),
                              i4(40),
                              Variant::array(automation::VT_R4, y),
                              i4(0),
                              Variant::array(automation::VT_R4, nullptr),
                              i4(0)};
    chart.call("ChartData", args);
  }
}

std::vector<std::uint32_t> pixels(const host::HeadlessContainer& form) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < form.height(); ++y)
    for (int x = 0; x < form.width(); ++x) out.push_back(form.pixel(x, y));
  return out;
}

std::vector<Variant> readBack(automation::Dispatch& chart) {
  std::vector<Variant> out;
  for (const char* name : {"Pen_Select", "Chn_Select", "Scale_Select", "ErrBase", "ImageFile",
                           "GridSymmetry", "MousePointer", "Viewports", "BackColor", "HitTest"})
    out.push_back(chart.get(std::string_view(name)));
  for (int pen = 1; pen <= 3; ++pen) {
    chart.put("Pen_Select", i2(pen));
    out.push_back(chart.get("PenColor"));
    out.push_back(chart.get("PenWidth"));
  }
  for (int c = 1; c <= 6; ++c) {
    chart.put("Chn_Select", i2(c));
    for (const char* name : {"ChnDspMode", "ChnDspStyle", "ChnDspViewport", "ChnDspWindow",
                             "ChnDspPen", "ChnDspBufLen", "ChnDspOffsetY", "ChnDspUserData"})
      out.push_back(chart.get(std::string_view(name)));
  }
  chart.put("Scale_Select", i2(1));
  for (int d : {0, 1}) {
    chart.put("ScaleDimension", i2(d));
    out.push_back(chart.get("LabelCaption"));
    out.push_back(chart.get("ScaleFactor"));
  }
  return out;
}

std::vector<std::string> texts(const std::vector<Variant>& values) {
  std::vector<std::string> out;
  for (const Variant& v : values) out.push_back(v.toString());
  return out;
}

TEST(Persistence, BothFormsGiveBackTheSettingsAndThePicture) {
  host::HeadlessContainer original(400, 300);
  automation::Dispatch& chart = original.create(kClsid);
  original.pump();
  designChart(chart);
  const std::vector<std::uint8_t> stream = original.saveStream();
  const std::string bag = original.saveBag();
  const std::vector<std::string> expected = texts(readBack(chart));
  drawEverything(original, chart);
  original.pump();

  for (bool useBag : {false, true}) {
    SCOPED_TRACE(useBag ? "bag" : "stream");
    host::HeadlessContainer copy(400, 300);
    automation::Dispatch& loaded = useBag ? copy.loadBag(kClsid, bag) : copy.load(kClsid, stream);
    copy.pump();
    EXPECT_EQ(texts(readBack(loaded)), expected);
    drawEverything(copy, loaded);
    copy.pump();
    EXPECT_TRUE(pixels(copy) == pixels(original));
  }
}

TEST(Persistence, TheBagNamesEveryEntryAndKeepsTheIsotropicFlag) {
  host::HeadlessContainer form(300, 200);
  automation::Dispatch& chart = form.create(kClsid);
  EXPECT_EQ(form.saveBag().find("ErrBase"), std::string::npos);  // not before the first paint
  form.pump();
  chart.put("GridSymmetry", i2(0));  // isotropic
  chart.put("OutlineColor", i4(0x80000012));
  chart.put("ImageFile", Variant("a \"b\""));
  const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                         'I',  'H', 'D', 'R', 0,    0,    0,    24,   0, 0, 0, 16};
  chart.put("MouseIcon",
            Variant(std::shared_ptr<automation::Dispatch>(automation::Picture::fromPng(png))));
  const std::string bag = form.saveBag();
  EXPECT_EQ(bag.rfind("[Class {F9285160-7EB9-11D0-AADB-0000C05F07C7}]\n", 0), 0u);
  for (const char* line :
       {"\nGridSymmetry = 1\n", "\nOutlineColor = &H80000012\n", "\nImageFile = \"a \"\"b\"\"\"\n",
        "\n_Version = 65536\n", "\nHitTest = False\n", "\nMousePointer = 0\n"})
    EXPECT_NE(bag.find(line), std::string::npos) << line;
  // Scale_Select comes twice: once before the records and once last.
  const std::size_t first = bag.find("\nScale_Select = ");
  EXPECT_NE(bag.find("\nScale_Select = ", first + 1), std::string::npos);

  host::HeadlessContainer copy(300, 200);
  automation::Dispatch& loaded = copy.loadBag(kClsid, bag);
  EXPECT_EQ(loaded.get("GridSymmetry").toI2(), 0);
  EXPECT_EQ(loaded.get("ImageFile").toString(), "a \"b\"");
  const auto* icon = dynamic_cast<automation::Picture*>(loaded.get("MouseIcon").toDispatch().get());
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->png(), png);
  EXPECT_EQ(icon->width(), 24);
}

TEST(Persistence, MissingAndDamagedBagLinesKeepTheirDefaults) {
  host::HeadlessContainer form(300, 200);
  automation::Dispatch& chart = form.loadBag(kClsid,
                                             "[Class {F9285160-7EB9-11D0-AADB-0000C05F07C7}]\n"
                                             "ErrBase = 12x\n"
                                             "BackColor = &H000000FF\r\n"
                                             "  MinorDiv=7\n"
                                             "ImageFile = \"open\n"
                                             "MajorDivVert = 99999\n"
                                             "HitTest = maybe\n"
                                             "PersistProp = !!!!\n"
                                             "no equals sign\n");
  form.pump();
  EXPECT_EQ(chart.get("Viewports").toI2(), 1);
  EXPECT_EQ(chart.get("ErrBase").toI2(), 0);
  EXPECT_EQ(chart.get("BackColor").toI4(), 0xFF);
  EXPECT_EQ(chart.get("MinorDiv").toI2(), 7);
  EXPECT_EQ(chart.get("ImageFile").toString(), "");
  EXPECT_EQ(chart.get("MajorDivVert").toI2(), 8);
  EXPECT_FALSE(chart.get("HitTest").toBool());
  EXPECT_EQ(chart.get("Chn_Select").toI2(), 0);  // a loaded control is not set up anew
}

class Bytes {
 public:
  Bytes& u16(std::uint16_t v) {
    for (int i = 0; i < 2; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& f32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return u32(bits);
  }
  Bytes& text(std::string_view s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& header(std::string_view name) {
    return u16(0xFFFF).u16(1).u16(static_cast<std::uint16_t>(name.size())).text(name);
  }
  std::vector<std::uint8_t> b;
};

// The records' stream inside the control's stream: after the PersistProp class identifier come
// a 32-bit byte count and the records.
std::vector<std::uint8_t> persistPropRecord(const std::vector<std::uint8_t>& stream) {
  const std::uint8_t id[16] = {0x60, 0x78, 0xCF, 0xC5, 0xE6, 0x85, 0xD0, 0x11,
                               0xAA, 0xE9, 0x00, 0x00, 0xC0, 0x5F, 0x07, 0xC7};
  const auto at = std::search(stream.begin(), stream.end(), id, id + 16);
  if (stream.end() - at < 20) return {};
  std::uint32_t n = 0;
  for (int i = 0; i < 4; ++i) n |= std::uint32_t{at[16 + i]} << (8 * i);
  if (static_cast<std::size_t>(stream.end() - at - 20) < n) return {};
  return {at + 20, at + 20 + n};
}

TEST(Persistence, TheRecordsStreamOfASmallChartIsExact) {
  host::HeadlessContainer form(300, 200, false);
  automation::Dispatch& chart = form.loadBag(kClsid, "");  // no records at all
  putAll(chart, {{"Pen_Select", i2(2)},
                 {"PenColor", i4(0x0000FF)},
                 {"PenStyle", i2(2)},
                 {"Wnd_Select", i2(1)},
                 {"WndWidth", Variant(5.0f)},
                 {"Viewport_Select", i2(1)},
                 {"ChnXform_Select", i2(1)},
                 {"ChnXformGain", Variant(2.0f)},
                 {"Chn_Select", i2(3)},
                 {"ChnDspStyle", i2(1)},
                 {"Scale_Select", i2(4)},
                 {"LabelCaption", Variant("Vy")}});
  const auto record = persistPropRecord(form.saveStream());
  Bytes e;
  e.u32(1).header("Properties");
  e.u32(1).u32(1).u32(2).u32(2).u32(0).u32(0).u32(0xFF).u32(0xFFFF00);  // pen 2
  e.u32(1).u32(1).u32(1).u32(0).u32(0).u32(0).u32(0).u32(0);            // viewport 1 (twips
  // are taken when selected; the design-mode control has no layout before its window)
  e.u32(1).u32(1).u32(1).header("Properties").f32(0).f32(0).f32(5).f32(1);
  e.u32(1).u32(1).u32(1).u32(0).f32(2).f32(0).u32(0xFFFFFFFF).u32(0xFFFFFFFF);
  e.u32(1).u32(1).u32(3).u32(1).u32(1).u32(0).u32(500).u32(1).u32(1).u32(1).f32(0).f32(0).u32(0);
  e.u32(1).u32(1).u32(3).u32(0).u32(0).u32(6).u32(1).u32(0).u32(0);  // horizontal
  e.u32(1).u32(1).u32(3).u32(1).u32(0).u32(6).u32(1).u32(0).u32(0);  // vertical
  e.u32(1).u32(1).u32(4).header("ScaleInfo").u32(4).u32(0).u32(1).u32(1).u32(0);
  for (int d = 0; d < 2; ++d) e.u32(1).u32(0).u32(5).u32(0).u32(0).u32(0).u32(0).u32(0);
  e.f32(1.0f);
  e.b.push_back(2);
  e.text("Vy").u32(1).u32(1).u32(0).u32(0).u32(2).u32(0);
  ASSERT_EQ(record.size(), e.b.size());
  for (std::size_t i = 0; i < record.size(); ++i) EXPECT_EQ(record[i], e.b[i]) << i;
}

TEST(Persistence, TheRecordersDesignedChartLoads) {
  std::ifstream file(ZELK_FORMS_DIR "/zelkchart.bag", std::ios::binary);
  const std::string bag((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(bag.empty());
  host::HeadlessContainer form(601, 257);
  automation::Dispatch& chart = form.loadBag(kClsid, bag);
  form.pump();
  EXPECT_EQ(chart.get("BackColor").toI4(), 0xFFFFFF);
  EXPECT_EQ(chart.get("MajorDivHorz").toI2(), 12);
  EXPECT_EQ(chart.get("MajorDivVert").toI2(), 7);
  EXPECT_EQ(chart.get("MarginBottom").toI2(), 32);
  EXPECT_EQ(chart.get("Pen_Select").toI2(), 4);
  EXPECT_EQ(chart.get("PenColor").toI4(), 0);
  EXPECT_EQ(chart.get("Scale_Select").toI2(), 1);
  chart.put("ScaleDimension", i2(1));
  EXPECT_FLOAT_EQ(chart.get("ScaleFactor").toR4(), 0.00025f);
  EXPECT_EQ(chart.get("ScaleVisibility").toI2(), 3);
  EXPECT_EQ(chart.get("FontSize").toR4(), 8.0f);
  // A designed chart is saved back line for line.
  EXPECT_EQ(form.saveBag().substr(0, bag.find("ChnData_Dimension")),
            bag.substr(0, bag.find("ChnData_Dimension")));
}

TEST(Persistence, ThePersistenceObjectIsMadeByItsClassIdentifier) {
  EXPECT_NE(automation::createObject(kPersistProp), nullptr);
}

// A records stream with pens only, for the damaged-input cases.
std::vector<std::uint8_t> penRecords(std::uint32_t count, std::uint32_t version,
                                     std::uint32_t key) {
  Bytes r;
  r.u32(1).header("Properties").u32(count).u32(version);
  r.u32(key).u32(0).u32(0).u32(0).u32(0x123456).u32(0);
  return r.b;
}

std::vector<std::uint8_t> streamWithRecords(const std::vector<std::uint8_t>& records) {
  // The stream form: version, stock properties, the entries up to PersistProp, then the
  // selections; built by saving a loaded empty control and splicing the records in.
  host::HeadlessContainer form(100, 100);
  form.loadBag(kClsid, "");
  std::vector<std::uint8_t> stream = form.saveStream();
  const auto old = persistPropRecord(stream);
  const std::uint8_t id[4] = {0x60, 0x78, 0xCF, 0xC5};
  const auto at = std::search(stream.begin(), stream.end(), id, id + 4) + 16;
  std::vector<std::uint8_t> out(stream.begin(), at);
  Bytes count;
  count.u32(static_cast<std::uint32_t>(records.size()));
  out.insert(out.end(), count.b.begin(), count.b.end());
  out.insert(out.end(), records.begin(), records.end());
  out.insert(out.end(), at + 4 + static_cast<long>(old.size()), stream.end());
  return out;
}

TEST(Persistence, DamagedRecordsLoadWhatIsWhole) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> records;
    std::int32_t penColor;  // of pen 2 after the load, -1: no pen 2
  };
  std::vector<std::uint8_t> cut = penRecords(1, 1, 2);
  cut.pop_back();
  const Case kCases[] = {
      {"whole", penRecords(1, 1, 2), 0x123456},
      {"count beyond the bytes", penRecords(1000, 1, 2), 0x123456},
      {"key cut to 16 bits", penRecords(1, 1, 0x00070002), 0x123456},
      {"first section version", penRecords(1, 2, 2), -1},
      {"record cut short", cut, -1},
      {"key 0 skipped", penRecords(1, 1, 0x10000), -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    host::HeadlessContainer form(100, 100);
    automation::Dispatch& chart = form.load(kClsid, streamWithRecords(c.records));
    form.pump();
    chart.put("Pen_Select", i2(2));
    EXPECT_EQ(chart.get("PenColor").toI4(), c.penColor < 0 ? 0xFFFF00 : c.penColor);
  }
}

TEST(Persistence, TruncatedStreamsLoadTheirWholeEntries) {
  host::HeadlessContainer original(200, 150);
  automation::Dispatch& chart = original.create(kClsid);
  original.pump();
  designChart(chart);
  const std::vector<std::uint8_t> stream = original.saveStream();
  for (std::size_t n = 0; n <= stream.size(); n += (n < 80 ? 1 : 37)) {
    host::HeadlessContainer form(200, 150);
    automation::Dispatch& loaded = form.load(kClsid, std::span(stream).first(n));
    form.pump();
    // ErrBase follows the version (4 bytes) and the stock properties.
    const bool errBaseWhole = n >= 4 + 4 + 2 + (4 + 5) + 4 + 2 * 4 + 2;
    EXPECT_EQ(loaded.get("ErrBase").toI2(), errBaseWhole ? 1000 : 0) << n;
  }
}

}  // namespace
}  // namespace kvplotax
