// The control base: stock properties through dispatch, notifications, colours and errors.
#include <gtest/gtest.h>

#include <vector>

#include "ocx/control.h"
#include "ocx/dispids.h"

namespace ocx {
namespace {

using automation::AutomationError;
using automation::DispId;
using automation::Variant;

// A control with nothing but the stock properties.
class StockControl : public Control {
 public:
  DispId idOfName(std::string_view name) const override {
    DispId id = automation::kDispIdUnknown;
    return stockIdOfName(name, id) ? id : automation::kDispIdUnknown;
  }
  Variant get(DispId id) override {
    Variant out;
    if (!getStock(id, out)) throwError(automation::kErrNotSupported);
    return out;
  }
  void put(DispId id, const Variant& value) override {
    if (!putStock(id, value)) throwError(automation::kErrNotSupported);
  }
  Variant call(DispId, std::span<Variant>) override { throwError(automation::kErrNotSupported); }
  using Dispatch::get;
  using Dispatch::put;

  int fontChanges = 0;

 protected:
  void onFontChanged() override { ++fontChanges; }
};

class RecordingSite : public ControlSite {
 public:
  bool ambientUserMode() const override { return userMode; }
  int logPixelsX() const override { return 120; }
  int logPixelsY() const override { return 0; }  // a broken answer
  gdi::Point clientSize() const override { return {10, 10}; }
  void onPropertyChanged(DispId id) override { changed.push_back(id); }
  void onModifiedChanged(bool m) override { modified.push_back(m); }
  void fireEvent(DispId, std::vector<Variant>) override {}
  void invalidate(const gdi::Rect&) override {}
  void invalidateAll() override {}
  bool postMessage(unsigned, std::uintptr_t, std::intptr_t) override { return true; }
  void requestResize(int, int) override {}
  std::unique_ptr<PeriodicTimer> startPeriodicTimer(unsigned, std::function<void()>) override {
    return nullptr;
  }
  Clipboard& clipboard() override { std::abort(); }
  gdi::ColorRef systemColor(int index) const override { return index == 15 ? 0x123456 : 0; }

  bool userMode = false;
  std::vector<DispId> changed;
  std::vector<bool> modified;
};

TEST(Control, WithoutASiteRunsInUserModeAtNinetySixPixelsPerInch) {
  StockControl c;
  EXPECT_TRUE(c.ambientUserMode());
  EXPECT_EQ(c.logPixelsX(), 96);
  RecordingSite site;
  c.setSite(&site);
  EXPECT_FALSE(c.ambientUserMode());
  EXPECT_EQ(c.logPixelsX(), 120);
  EXPECT_EQ(c.logPixelsY(), 96);  // nonsense from the site falls back
}

TEST(Control, StockPropertiesNotifyOnceAndMarkModified) {
  StockControl c;
  RecordingSite site;
  c.setSite(&site);
  c.put("ForeColor", Variant(std::int32_t{0xFF}));
  c.put("ForeColor", Variant(std::int32_t{0xFF}));
  c.put("Enabled", Variant(false));
  EXPECT_EQ(site.changed, (std::vector<DispId>{kDispIdForeColor, kDispIdEnabled}));
  EXPECT_EQ(site.modified, (std::vector<bool>{true}));
  EXPECT_EQ(c.get("forecolor").toI4(), 0xFF);
  EXPECT_FALSE(c.get("ENABLED").toBool());
  c.initNew();
  EXPECT_FALSE(c.isModified());
  EXPECT_TRUE(c.enabled());
}

TEST(Control, WindowHandleIsReadOnlyAndFollowsTheWindow) {
  StockControl c;
  EXPECT_EQ(c.get("hWnd").toI4(), 0);
  c.onWindowCreated(42);
  EXPECT_EQ(c.get(kDispIdHwnd).toI4(), 42);
  try {
    c.put("hWnd", Variant(std::int32_t{1}));
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 383);
  }
  c.onWindowDestroyed();
  EXPECT_EQ(c.hWnd(), 0u);
}

TEST(Control, FontObjectReadsAndWritesTheStockFont) {
  StockControl c;
  auto font = c.get("Font").toDispatch();
  ASSERT_TRUE(font);
  font->put("Bold", Variant(true));
  font->put("Size", Variant(12.0));
  font->put("name", Variant("Liberation Sans"));
  EXPECT_TRUE(c.font().bold);
  EXPECT_FLOAT_EQ(c.font().size, 12.0f);
  EXPECT_EQ(c.font().name, "Liberation Sans");
  EXPECT_EQ(c.fontChanges, 3);
  EXPECT_EQ(font->get("Weight").toI4(), 700);
  try {
    font->put("Size", Variant(-1.0));
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 380);
  }

  StockControl other;
  other.put("Font", Variant(font));  // copies the attributes
  EXPECT_EQ(other.font(), c.font());
  try {
    other.put("Font", Variant(std::int32_t{3}));
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 13);
  }
}

TEST(Control, FontObjectOutlivingItsControlRefusesUse) {
  std::shared_ptr<automation::Dispatch> font;
  {
    StockControl c;
    font = c.get("Font").toDispatch();
  }
  try {
    font->get("Name");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 91);
  }
}

TEST(Control, TranslatesOleColours) {
  StockControl c;
  EXPECT_EQ(c.translateColor(0x00112233), 0x00112233u);
  EXPECT_EQ(c.translateColor(0x8000000F), 0x00C0C0C0u);  // classic button face
  EXPECT_EQ(c.translateColor(0x80000018), 0x00E1FFFFu);
  EXPECT_EQ(c.translateColor(0x800000FF), 0u);
  RecordingSite site;
  c.setSite(&site);
  EXPECT_EQ(c.translateColor(0x8000000F), 0x00123456u);
}

TEST(Control, RaisesStandardAndOwnErrors) {
  try {
    Control::throwError(380);
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.scode(), static_cast<std::int32_t>(0x800A017C));
    EXPECT_STREQ(e.what(), "Invalid property value");
  }
  try {
    Control::throwError(1021, "Channel not initialized");
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 1021);
    EXPECT_STREQ(e.what(), "Channel not initialized");
  }
}

}  // namespace
}  // namespace ocx
