// The eleven pages created by class identifier, editing a live control in a container.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation/server.h"
#include "host/headless.h"
#include "ocx/page_field.h"
#include "ocx/page_support.h"

namespace kvplotax::pages {
namespace {

using automation::Dispatch;
using automation::Guid;
using automation::Variant;
using ocx::FieldKind;

const Guid kChart = *Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

struct PageIdentity {
  const char* clsid;
  const char* title;
  int helpContext;
  int fields;
};

const PageIdentity kPages[] = {
    {"{F9285164-7EB9-11D0-AADB-0000C05F07C7}", "General", 2001, 5},
    {"{257711F5-89C3-11D0-AAEB-0000C05F07C7}", "Bezel", 2002, 15},
    {"{257711E6-89C3-11D0-AAEB-0000C05F07C7}", "Channel Data", 2003, 7},
    {"{257711E4-89C3-11D0-AAEB-0000C05F07C7}", "Channel Display", 2004, 11},
    {"{257711F7-89C3-11D0-AAEB-0000C05F07C7}", "Channel Transform", 2005, 5},
    {"{257711F3-89C3-11D0-AAEB-0000C05F07C7}", "Graticule", 2006, 13},
    {"{257711F1-89C3-11D0-AAEB-0000C05F07C7}", "Label", 2007, 8},
    {"{257711E8-89C3-11D0-AAEB-0000C05F07C7}", "Pen", 2008, 5},
    {"{257711EF-89C3-11D0-AAEB-0000C05F07C7}", "Scale", 2009, 14},
    {"{257711EC-89C3-11D0-AAEB-0000C05F07C7}", "Viewport", 2010, 4},
    {"{257711EA-89C3-11D0-AAEB-0000C05F07C7}", "Window", 2011, 5},
};

// A page as a container drives it: late-bound, by name.
class Page {
 public:
  Page(const char* clsid, Dispatch& chart) : page_(automation::createObject(*Guid::parse(clsid))) {
    // The container keeps the control; the page only borrows it.
    page_->put("Object", Variant(std::shared_ptr<Dispatch>(std::shared_ptr<Dispatch>(), &chart)));
  }
  Dispatch& operator*() { return *page_; }
  int count() { return page_->get("FieldCount").toI4(); }
  int field(std::string_view name) {
    for (int i = 0; i < count(); ++i) {
      if (call("FieldName", i).toString() == name) return i;
    }
    ADD_FAILURE() << "no field " << name;
    return 0;
  }
  std::string name(int i) { return call("FieldName", i).toString(); }
  FieldKind kind(int i) { return static_cast<FieldKind>(call("FieldKind", i).toI4()); }
  std::string text(int i) { return call("FieldText", i).toString(); }
  std::string text(std::string_view name) { return text(field(name)); }
  std::vector<std::string> entries(int i) {
    std::vector<std::string> out;
    const int n = call("FieldEntryCount", i).toI4();
    for (int j = 0; j < n; ++j) out.push_back(call("FieldEntry", i, j).toString());
    return out;
  }
  bool edit(std::string_view name, const std::string& text) {
    return call("Edit", field(name), text).toBool();
  }
  bool edit(int i, const std::string& text) { return call("Edit", i, text).toBool(); }
  bool apply() { return call("Apply").toBool(); }
  std::string error() { return page_->get("Error").toString(); }

  template <class... Args>
  Variant call(std::string_view name, Args... args) {
    std::vector<Variant> list{Variant(args)...};
    return page_->call(name, list);
  }

 private:
  std::shared_ptr<Dispatch> page_;
};

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chart_ = &form_.create(kChart);
    form_.pump();  // the first paint sets up window, channel and scale 1
  }
  void put(std::string_view name, int value) {
    chart_->put(name, Variant(static_cast<std::int16_t>(value)));
  }

  host::HeadlessContainer form_{500, 400, false};
  Dispatch* chart_ = nullptr;
};

TEST_F(PagesTest, EveryPageHasItsIdentityAndFields) {
  for (const PageIdentity& id : kPages) {
    Page page(id.clsid, *chart_);
    EXPECT_EQ((*page).get("Title").toString(), id.title);
    EXPECT_EQ((*page).get("HelpContext").toI4(), id.helpContext) << id.title;
    EXPECT_EQ((*page).get("HelpFile").toString(), "kvplotax.hlp");
    EXPECT_EQ(page.count(), id.fields) << id.title;
  }
}

// A value different from the one shown that the control accepts, typed as a person would.
std::string changedText(Page& page, int i) {
  const std::string now = page.text(i);
  switch (page.kind(i)) {
    case FieldKind::Check:
      return now == "1" ? "0" : "1";
    case FieldKind::DropList: {
      const auto entries = page.entries(i);
      const int at = page.call("FieldIndex", i).toI4();
      return entries[static_cast<std::size_t>(at + 1) % entries.size()];
    }
    case FieldKind::Selector: {
      const auto entries = page.entries(i);
      for (const std::string& e : entries) {
        if (e != now) return e;
      }
      return now;
    }
    case FieldKind::Integer:
    case FieldKind::Real:
      return std::to_string(std::stoi(now) + 2);
    case FieldKind::Text:
      return now + "x";
    case FieldKind::Color:
      return now == "&H00123456" ? "&H00654321" : "&H00123456";
  }
  return now;
}

// Every field of every page reads its property, and a changed value typed into it reaches the
// control on Apply and shows again after reloading. Selecting fields and commands are covered
// below: they act at once instead of on Apply. The action lists perform commands, which a
// control being designed does not run.
TEST_F(PagesTest, EveryFieldLoadsAndSavesItsProperty) {
  // A second pen, window and viewport give the object combos something to choose.
  put("Pen_Select", 1);
  put("Pen_Select", 2);
  put("Wnd_Select", 2);
  put("Wnd_Select", 1);
  put("Viewports", 2);
  put("Viewport_Select", 2);
  put("Viewport_Select", 1);
  // Values that the generic change below would turn into something the control refuses.
  const std::map<std::string, std::string> kTyped = {
      {"ChnDataXform", "0"},  // transforms other than 0 must exist
      {"ChnDataIncr", "3"},       {"ScaleVisibility", "3 - Scale & Label"},
      {"Viewports", "2"},         {"WndWidth", "20"},
      {"WndHeight", "20"},        {"FramesPerSec", "5"},
      {"ImageFile", "chart.bmp"},
  };
  int checked = 0;
  for (const PageIdentity& id : kPages) {
    Page page(id.clsid, *chart_);
    for (int i = 0; i < page.count(); ++i) {
      const std::string name = page.name(i);
      SCOPED_TRACE(std::string(id.title) + " " + name);
      // What was loaded is what the control reports.
      const Variant value = chart_->get(std::string_view(name));
      if (page.kind(i) == FieldKind::Color) {
        EXPECT_EQ(page.text(i), ocx::colorText(static_cast<std::uint32_t>(value.toI4())));
      } else if (page.kind(i) == FieldKind::Integer || page.kind(i) == FieldKind::Selector) {
        EXPECT_EQ(page.text(i), std::to_string(value.toI4()));
      }
      if (name.ends_with("_Select") || name.ends_with("Dimension") || name.ends_with("Action")) {
        continue;
      }
      const auto typed = kTyped.find(name);
      const std::string text = typed != kTyped.end() ? typed->second : changedText(page, i);
      ASSERT_TRUE(page.edit(i, text));
      EXPECT_TRUE((*page).get("Dirty").toBool());
      ASSERT_TRUE(page.apply()) << page.error();
      EXPECT_FALSE((*page).get("Dirty").toBool());
      EXPECT_EQ(page.text(i), text);  // reloaded from the control
      ++checked;
    }
  }
  EXPECT_EQ(checked, 78);
}

TEST_F(PagesTest, PenSelectorListsPensAndMovesToATypedOne) {
  put("Pen_Select", 4);
  put("Pen_Select", 1);
  chart_->put("PenColor", Variant(std::int32_t{0x0000FF}));
  Page page("{257711E8-89C3-11D0-AAEB-0000C05F07C7}", *chart_);
  const int selector = page.field("Pen_Select");
  EXPECT_EQ(page.entries(selector), (std::vector<std::string>{"1", "4"}));
  EXPECT_EQ(page.text("Pen_Select"), "1");
  EXPECT_EQ(page.text("PenColor"), "&H000000FF");

  // The change made to pen 1 is written before the page moves to the new pen 7.
  ASSERT_TRUE(page.edit("PenWidth", "3"));
  ASSERT_TRUE(page.edit(selector, "7"));
  EXPECT_EQ(page.entries(selector), (std::vector<std::string>{"1", "4", "7"}));
  EXPECT_EQ(page.text("Pen_Select"), "7");
  EXPECT_EQ(page.text("PenColor"), "&H00FFFF00");  // a new pen's colours
  EXPECT_EQ(page.text("PenIntenseColor"), "&H00FFFF00");
  EXPECT_EQ(page.text("PenWidth"), "0");
  put("Pen_Select", 1);
  EXPECT_EQ(chart_->get("PenWidth").toI4(), 3);

  // Choosing from the list works the same way.
  ASSERT_TRUE(page.call("Choose", selector, 1).toBool());
  EXPECT_EQ(page.text("Pen_Select"), "4");
}

TEST_F(PagesTest, RangeChecksComeBeforeAnyWrite) {
  Page page("{257711EF-89C3-11D0-AAEB-0000C05F07C7}", *chart_);
  const float factor = chart_->get("ScaleFactor").toR4();
  const int gap = chart_->get("ScaleGap").toI4();
  ASSERT_TRUE(page.edit("ScaleGap", std::to_string(gap + 5)));
  ASSERT_TRUE(page.edit("ScaleFactor", "70000"));
  EXPECT_FALSE(page.apply());
  EXPECT_EQ(page.error(), "Enter a number between 0 and 65535.");
  EXPECT_EQ((*page).get("ErrorField").toI4(), page.field("ScaleFactor"));
  EXPECT_EQ(chart_->get("ScaleFactor").toR4(), factor);
  EXPECT_EQ(chart_->get("ScaleGap").toI4(), gap);  // nothing was written
  EXPECT_EQ(page.text("ScaleFactor"), "70000");    // the page stays as the user left it
  EXPECT_TRUE((*page).get("Dirty").toBool());
  ASSERT_TRUE(page.edit("ScaleFactor", "2.5"));
  EXPECT_TRUE(page.apply()) << page.error();
  EXPECT_EQ(chart_->get("ScaleFactor").toR4(), 2.5f);
  EXPECT_EQ(chart_->get("ScaleGap").toI4(), gap + 5);
}

TEST_F(PagesTest, RefusalsAreReportedWithTheControlsText) {
  Page graticule("{257711F3-89C3-11D0-AAEB-0000C05F07C7}", *chart_);
  ASSERT_TRUE(graticule.edit("MajorDivHorz", "0"));
  EXPECT_FALSE(graticule.apply());
  EXPECT_EQ(graticule.error(), "Invalid property value");
  EXPECT_EQ(graticule.text("MajorDivHorz"), "0");
  ASSERT_TRUE(graticule.edit("GridColor", "blue"));
  EXPECT_FALSE(graticule.apply());
  EXPECT_EQ(graticule.error(), "Enter a colour as &H followed by up to eight hexadecimal digits.");

  // A channel display action on a channel without a pen is the control's own error; commands
  // run only in a control that is not being designed.
  host::HeadlessContainer running(500, 400, true);
  Dispatch& chart = running.create(kChart);
  running.pump();
  chart.put("ErrBase", Variant(std::int16_t{1000}));
  Page display("{257711E4-89C3-11D0-AAEB-0000C05F07C7}", chart);
  ASSERT_TRUE(display.edit("ChnDspPen", "9"));
  ASSERT_TRUE(display.edit("ChnDspAction", "1 - Initialize"));
  EXPECT_FALSE(display.apply());
  EXPECT_EQ(display.error(), "Invalid/undefined pen specified");
  EXPECT_EQ((*display).get("ErrorField").toI4(), display.field("ChnDspAction"));

  // A viewport the control does not have cannot be selected; the page shows the one it has.
  Page viewport("{257711EC-89C3-11D0-AAEB-0000C05F07C7}", *chart_);
  EXPECT_FALSE(viewport.edit("Viewport_Select", "5"));
  EXPECT_EQ(viewport.error(), "Invalid property value");
  EXPECT_EQ(viewport.text("Viewport_Select"), chart_->get("Viewport_Select").toString());
}

TEST_F(PagesTest, DimensionListsMoveTheDataAndScalePages) {
  Page data("{257711E6-89C3-11D0-AAEB-0000C05F07C7}", *chart_);
  ASSERT_TRUE(data.edit("ChnDataType", "3 - Signed 16-bit int"));
  ASSERT_TRUE(data.edit("ChnData_Dimension", "0 - Horz"));  // writes the vertical record first
  EXPECT_EQ(data.text("ChnDataShape"), "2 - Autoincrement");
  put("ChnData_Dimension", 1);
  EXPECT_EQ(chart_->get("ChnDataType").toI4(), 3);

  Page label("{257711F1-89C3-11D0-AAEB-0000C05F07C7}", *chart_);
  ASSERT_TRUE(label.edit("ScaleDimension", "1 - Vert"));
  EXPECT_EQ(label.text("LabelCaption"), "Vert");
  ASSERT_TRUE(label.edit("ScaleDimension", "0 - Horz"));
  EXPECT_EQ(label.text("LabelCaption"), "Horz");
}

TEST_F(PagesTest, PageSupportListsAndSelects) {
  auto* support = ocx::pageSupportOf(chart_);
  ASSERT_NE(support, nullptr);
  put("Pen_Select", 9);
  put("Pen_Select", 2);  // with pen 1 of a new control
  std::int32_t count = 0;
  ASSERT_EQ(support->List(20, nullptr, &count), 0);
  EXPECT_EQ(count, 3);
  std::int32_t two[2] = {};
  count = 2;  // room for two: the count still says how many there are
  ASSERT_EQ(support->List(20, two, &count), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(two[0], 1);
  EXPECT_EQ(two[1], 2);
  EXPECT_EQ(support->List(0x16, nullptr, &count), ocx::kEInvalidArg);  // Viewports: no selector
  EXPECT_EQ(support->List(20, two, nullptr), ocx::kEInvalidArg);
  EXPECT_EQ(support->Set(0x58, 1), ocx::kEInvalidArg);  // PenColor
  ASSERT_EQ(support->Set(20, 9), 0);
  std::int32_t selected = 0;
  ASSERT_EQ(support->Get(20, &selected), 0);
  EXPECT_EQ(selected, 9);
  for (automation::DispId kind : {23, 44, 45, 59, 61}) {
    EXPECT_EQ(support->List(kind, nullptr, &count), 0) << kind;
  }
  EXPECT_THROW(support->Set(23, 5), automation::AutomationError);  // no viewport 5
}

}  // namespace
}  // namespace kvplotax::pages
