// What a save and a load must give back in both forms: the same bytes when saved again, every
// string (line breaks and long captions included), every object whatever the saved selections
// say, and the scales on the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/automation.h"
#include "headless_chart.h"
#include "host/headless.h"

namespace kvplotax {
namespace {

using automation::Variant;
using testing::i2;
using testing::i4;
using testing::kChartClsid;

// A chart whose objects were made in no particular order: pens 5 4 3 2 300 1, three windows,
// transforms and channels, and three scales on three viewports.
void designChart(automation::Dispatch& chart) {
  chart.put("Viewports", i2(3));
  for (int pen : {5, 4, 3, 2, 300, 1}) {
    chart.put("Pen_Select", i2(pen));
    chart.put("PenColor", i4(0x010101 * (pen % 200)));
  }
  for (int n : {3, 1, 2}) {
    chart.put("Wnd_Select", i2(n));
    chart.put("WndHeight", Variant(2.0f * static_cast<float>(n)));
    chart.put("ChnXform_Select", i2(n));
    chart.put("ChnXformGain", Variant(static_cast<float>(n)));
    chart.put("Chn_Select", i2(n));
    chart.put("ChnDspViewport", i2(n));
    chart.put("ChnDspPen", i2(n));
  }
  for (int s : {3, 1, 2}) {
    chart.put("Scale_Select", i2(s));
    chart.put("ScaleViewport", i2(s));
    chart.put("ScaleWindow", i2(s));
    chart.put("ScalePen", i2(s));
    chart.put("LabelPen", i2(s));
    chart.put("ScaleVisibility", i2(3));
    chart.put("LabelCaption", Variant("Scale " + std::to_string(s)));
    chart.put("ScaleAction", i2(1));
  }
  chart.put("Pen_Select", i2(3));
  chart.put("Wnd_Select", i2(3));
  chart.put("ChnXform_Select", i2(3));
  chart.put("Chn_Select", i2(3));
  chart.put("Scale_Select", i2(2));
}

struct Saved {
  std::vector<std::uint8_t> stream;
  std::string bag;
};

Saved designAndSave(host::HeadlessContainer& form) {
  automation::Dispatch& chart = form.create(kChartClsid);
  form.pump();
  designChart(chart);
  form.pump();
  return {form.saveStream(), form.saveBag()};
}

TEST(PersistenceRoundTrip, SavingALoadedChartGivesTheSameBytes) {
  host::HeadlessContainer original(400, 300);
  const Saved saved = designAndSave(original);
  host::HeadlessContainer fromStream(400, 300);
  fromStream.load(kChartClsid, saved.stream);
  fromStream.pump();
  EXPECT_EQ(fromStream.saveStream(), saved.stream);
  host::HeadlessContainer fromBag(400, 300);
  fromBag.loadBag(kChartClsid, saved.bag);
  fromBag.pump();
  EXPECT_EQ(fromBag.saveBag(), saved.bag);
}

// The bag with the value of the n-th line of the entry (counted from 1) replaced.
std::string withValue(std::string bag, const std::string& name, int n, const std::string& value) {
  std::size_t at = 0;
  for (int i = 0; i < n; ++i) {
    at = bag.find("\n" + name + " = ", at + 1);
    if (at == std::string::npos) return bag;
  }
  const std::size_t start = at + name.size() + 4;
  return bag.replace(start, bag.find('\n', start) - start, value);
}

std::string persistPropLine(const std::string& bag) {
  const std::size_t at = bag.find("\nPersistProp = ");
  return at == std::string::npos ? "" : bag.substr(at, bag.find('\n', at + 1) - at);
}

TEST(PersistenceRoundTrip, DamagedSavedSelectionsDeleteNothing) {
  host::HeadlessContainer original(400, 300);
  const std::string bag = designAndSave(original).bag;
  const std::string objects = persistPropLine(bag);
  ASSERT_FALSE(objects.empty());
  struct Case {
    const char* name;
    int line;
  };
  const Case kCases[] = {{"Pen_Select", 1}, {"Wnd_Select", 1},   {"ChnXform_Select", 1},
                         {"Chn_Select", 1}, {"Scale_Select", 1}, {"Scale_Select", 2}};
  for (const Case& c : kCases) {
    for (const char* value : {"-1", "-3", "-32768"}) {
      SCOPED_TRACE(::testing::Message() << c.name << " " << c.line << " = " << value);
      const std::string damaged = withValue(bag, c.name, c.line, value);
      ASSERT_NE(damaged, bag);
      host::HeadlessContainer form(400, 300);
      form.loadBag(kChartClsid, damaged);
      form.pump();
      EXPECT_EQ(persistPropLine(form.saveBag()), objects);
    }
  }
}

TEST(PersistenceRoundTrip, EveryStringComesBackFromBothForms) {
  std::string accents;
  for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";  // é
  std::string euros;
  for (int i = 0; i < 100; ++i) euros += "\xE2\x82\xAC";  // €
  std::string faces;
  for (int i = 0; i < 64; ++i) faces += "\xF0\x9F\x98\x80";
  struct Case {
    std::string text;
    std::string caption;  // the caption as the one-byte length keeps it
  };
  const Case kCases[] = {
      {"two\nlines", "two\nlines"},
      {"ends in a break\r\n", "ends in a break\r\n"},
      {"\ttab and \"quotes\" & Chr(10)", "\ttab and \"quotes\" & Chr(10)"},
      {"\" & Chr(10) & \"", "\" & Chr(10) & \""},
      {"", ""},
      {accents, accents.substr(0, 254)},
      {euros, euros.substr(0, 255)},
      {faces, faces.substr(0, 252)},
      {std::string(300, 'a'), std::string(255, 'a')},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text.substr(0, 20));
    host::HeadlessContainer original(300, 200);
    automation::Dispatch& chart = original.create(kChartClsid);
    original.pump();
    chart.put("ImageFile", Variant(c.text));
    chart.put("Scale_Select", i2(1));
    chart.put("ScaleDimension", i2(0));
    chart.put("LabelCaption", Variant(c.text));
    chart.put("ScaleDimension", i2(1));
    chart.put("LabelCaption", Variant(c.text));
    if (c.text.find('\n') != std::string::npos) chart.put("FontName", Variant(c.text));
    const std::string font = chart.get("FontName").toString();
    const std::vector<std::uint8_t> stream = original.saveStream();
    const std::string bag = original.saveBag();
    for (bool useBag : {false, true}) {
      SCOPED_TRACE(useBag ? "bag" : "stream");
      host::HeadlessContainer copy(300, 200);
      automation::Dispatch& loaded =
          useBag ? copy.loadBag(kChartClsid, bag) : copy.load(kChartClsid, stream);
      copy.pump();
      EXPECT_EQ(loaded.get("ImageFile").toString(), c.text);
      EXPECT_EQ(loaded.get("FontName").toString(), font);
      loaded.put("Scale_Select", i2(1));
      for (int d : {0, 1}) {
        loaded.put("ScaleDimension", i2(d));
        EXPECT_EQ(loaded.get("LabelCaption").toString(), c.caption) << d;
      }
    }
  }
}

TEST(PersistenceRoundTrip, ALoadedChartDrawsItsScales) {
  for (bool userMode : {true, false}) {
    SCOPED_TRACE(userMode ? "run mode" : "design mode");
    host::HeadlessContainer original(400, 300, userMode);
    const Saved saved = designAndSave(original);
    const std::vector<std::uint32_t> shown = testing::screenPixels(original);
    for (bool useBag : {false, true}) {
      SCOPED_TRACE(useBag ? "bag" : "stream");
      host::HeadlessContainer copy(400, 300, userMode);
      if (useBag) {
        copy.loadBag(kChartClsid, saved.bag);
      } else {
        copy.load(kChartClsid, saved.stream);
      }
      EXPECT_EQ(testing::differences(testing::screenPixels(copy), shown), 0);
    }
  }
}

}  // namespace
}  // namespace kvplotax
