// The control's shell in the headless container: mouse events with hit detection, stock click
// and key events, and the cursor of MousePointer.
#include <gtest/gtest.h>

#include <vector>

#include "automation/automation.h"
#include "automation/picture.h"
#include "host/headless.h"
#include "ocx/control.h"
#include "ocx/dde_link.h"

namespace kvplotax {
namespace {

using automation::SafeArray;
using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

constexpr int kMove = 0x0200, kLDown = 0x0201, kLUp = 0x0202, kLDbl = 0x0203, kRDown = 0x0204,
              kRUp = 0x0205, kMDown = 0x0207;
constexpr unsigned kMkL = 1, kMkR = 2, kMkShift = 4, kMkCtrl = 8, kMkM = 0x10;
constexpr int kMouseDown = 1, kMouseMove = 2, kMouseUp = 3, kClick = -600, kDblClick = -601,
              kKeyDown = -602, kKeyPress = -603, kKeyUp = -604;

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }

struct Mouse {
  int id, button, shift;
  float x, y;
  int obj, position, objType;
  friend bool operator==(const Mouse&, const Mouse&) = default;
};

std::ostream& operator<<(std::ostream& os, const Mouse& m) {
  return os << "{" << m.id << " b" << m.button << " s" << m.shift << " " << m.x << "," << m.y
            << " obj" << m.obj << " pos" << m.position << " type" << m.objType << "}";
}

struct gdi_point {
  int x, y;
};

class ShellEvents : public ::testing::Test {
 protected:
  explicit ShellEvents(bool userMode = true)
      : form_(500, 300, userMode), chart_(form_.create(kClsid)) {
    form_.pump();
    form_.clearEvents();
  }

  // A red two-point trace across a tenth of the plot; returns its first and last pixel.
  std::pair<gdi_point, gdi_point> twoPointTrace();

  std::vector<Mouse> mouseEvents() const {
    std::vector<Mouse> out;
    for (const auto& e : form_.events()) {
      if (e.id < 1 || e.id > 3) continue;
      out.push_back({e.id, e.args[0].toI2(), e.args[1].toI2(), e.args[2].toR4(), e.args[3].toR4(),
                     e.args[4].toI2(), e.args[5].toI2(), e.args[6].toI2()});
    }
    return out;
  }
  std::vector<int> ids() const {
    std::vector<int> out;
    for (const auto& e : form_.events()) out.push_back(e.id);
    return out;
  }

  host::HeadlessContainer form_;
  automation::Dispatch& chart_;
};

std::pair<gdi_point, gdi_point> ShellEvents::twoPointTrace() {
  chart_.put("Pen_Select", i2(1));
  chart_.put("PenColor", Variant(std::int32_t{0x0000FF}));
  chart_.put("Chn_Select", i2(1));
  chart_.put("ChnDspStyle", i2(1));  // lines
  chart_.put("ChnDspAction", i2(1));
  auto y = SafeArray::create(automation::VT_R4, 2);
  static_cast<float*>(y->data())[0] = 7.0f;
  static_cast<float*>(y->data())[1] = 7.0f;
  std::vector<Variant> args{i2(1),
                            Variant(std::int32_t{2}),
                            Variant::array(automation::VT_R4, y),
                            Variant(std::int32_t{0}),
                            Variant::array(automation::VT_R4, nullptr),
                            Variant(std::int32_t{0})};
  EXPECT_EQ(chart_.call("ChartData", args).toI4(), 2);
  form_.pump();
  gdi_point first{-1, -1}, last{-1, -1};
  for (int py = 0; py < 300; ++py)
    for (int px = 0; px < 500; ++px)
      if (form_.pixel(px, py) == 0x0000FF) {
        if (first.x < 0) first = {px, py};
        last = {px, py};
      }
  EXPECT_GE(first.x, 0);
  EXPECT_GT(last.x - first.x, 10);
  form_.clearEvents();
  return {first, last};
}

TEST_F(ShellEvents, MouseEventsReportTheHitTracePointAndNothingWithHitTestOff) {
  const auto [first, last] = twoPointTrace();
  chart_.put("HitTest", Variant(true));
  form_.mouse(kMove, first.x + 1, first.y, 0);
  form_.mouse(kMove, last.x, last.y + 3, kMkL | kMkR);
  form_.mouse(kMove, last.x, last.y + 9, 0);
  chart_.put("HitTest", Variant(false));
  form_.mouse(kMove, first.x + 1, first.y, 0);
  const auto f = [](int px) { return static_cast<float>(px * 15); };
  const std::vector<Mouse> expected{
      {kMouseMove, 0, 0, f(first.x + 1), f(first.y), 1, 0, 1},
      {kMouseMove, 3, 0, f(last.x), f(last.y + 3), 1, 1, 1},
      {kMouseMove, 0, 0, f(last.x), f(last.y + 9), 0, 0, 0},
      {kMouseMove, 0, 0, f(first.x + 1), f(first.y), 0, 0, 0},
  };
  EXPECT_EQ(mouseEvents(), expected);
}

TEST_F(ShellEvents, ScaleNumbersAreHitWithTheScaleAndItsDimension) {
  chart_.put("HitTest", Variant(true));
  chart_.put("ScaleDimension", i2(1));
  chart_.put("ScaleVisibility", i2(3));
  chart_.put("ScaleAction", i2(1));
  form_.pump();
  bool numbers = false;
  for (int y = 0; y < 300 && !numbers; ++y) {
    for (int x = 0; x < 60; ++x) {
      form_.clearEvents();
      form_.mouse(kMove, x, y, 0);
      const auto events = mouseEvents();
      if (events.empty() || events[0].objType == 0) continue;
      EXPECT_EQ(events[0].obj, 1);
      EXPECT_EQ(events[0].position, 1);  // the vertical axis at the left
      EXPECT_EQ(events[0].objType, 2);
      numbers = true;
    }
  }
  EXPECT_TRUE(numbers);
}

TEST_F(ShellEvents, ButtonsShiftStatesAndRepeatedPositions) {
  form_.setAltDown(true);
  form_.mouse(kLDown, 10, 20, kMkL | kMkR | kMkShift);  // only the message's own button
  form_.setAltDown(false);
  form_.mouse(kMove, 11, 20, kMkL | kMkM | kMkCtrl);
  form_.mouse(kMove, 11, 20, kMkL);  // same pixel: no second move
  form_.mouse(kLUp, 11, 20, kMkCtrl | kMkM);
  form_.mouse(kMDown, 11, 20, kMkM | kMkL);  // a press at the same place still fires
  const std::vector<Mouse> expected{{kMouseDown, 1, 5, 150.0f, 300.0f, 0, 0, 0},
                                    {kMouseMove, 5, 2, 165.0f, 300.0f, 0, 0, 0},
                                    {kMouseUp, 0, 2, 165.0f, 300.0f, 0, 0, 0},
                                    {kMouseDown, 4, 0, 165.0f, 300.0f, 0, 0, 0}};
  EXPECT_EQ(mouseEvents(), expected);
}

TEST_F(ShellEvents, ClickFollowsAReleaseOverTheControlAndDoubleClickItsMessage) {
  form_.mouse(kLDown, 10, 10, kMkL);
  form_.mouse(kLUp, 10, 10, 0);
  form_.mouse(kLDbl, 10, 10, kMkL);
  form_.mouse(kLUp, 10, 10, 0);
  form_.mouse(kRDown, 10, 10, kMkR);
  form_.mouse(kRUp, 600, 10, 0);  // released outside: no click
  EXPECT_EQ(ids(), (std::vector<int>{kMouseDown, kMouseUp, kClick, kDblClick, kMouseUp, kMouseDown,
                                     kMouseUp}));
}

TEST_F(ShellEvents, KeyEventsCarryTheirKeyByReference) {
  form_.setEventHandler([](automation::DispId id, std::span<Variant> args) {
    if (id == kKeyPress) *args[0].refTarget() = i2(0);
  });
  form_.setAltDown(true);
  form_.key(0x0100, 'A', kMkShift | kMkCtrl);
  form_.setAltDown(false);
  form_.key(0x0102, 'a');
  form_.key(0x0101, 'A', kMkShift);
  form_.key(0x0200, 'A');  // not a key message
  const auto& events = form_.events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].id, kKeyDown);
  EXPECT_EQ(events[0].args[0].toI2(), 'A');
  EXPECT_EQ(events[0].args[1].toI2(), 7);
  EXPECT_EQ(events[1].id, kKeyPress);
  ASSERT_EQ(events[1].args.size(), 1u);
  EXPECT_EQ(events[1].args[0].toI2(), 'a');
  EXPECT_EQ(events[2].id, kKeyUp);
  EXPECT_EQ(events[2].args[1].toI2(), 1);
}

class DesignModeShell : public ShellEvents {
 protected:
  DesignModeShell() : ShellEvents(false) {}
};

TEST_F(DesignModeShell, RightReleaseIsIgnoredAndTheCursorLeftToTheContainer) {
  chart_.put("MousePointer", i2(2));
  form_.mouse(kRDown, 10, 10, kMkR);
  form_.mouse(kRUp, 10, 10, 0);
  EXPECT_EQ(ids(), (std::vector<int>{kMouseDown}));
  EXPECT_EQ(form_.cursor(), 0);
}

std::vector<std::uint8_t> tinyPng() {
  return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0,  0, 0, 13, 'I', 'H', 'D',
          'R',  0,   0,   0,   32,   0,    0,    0,    32, 8, 6, 0,  0,   0};
}

TEST_F(ShellEvents, MousePointerSelectsTheCursorOverTheControl) {
  const std::pair<int, int> kTable[] = {
      {0, 0},      {1, 32512},  {2, 32515}, {3, 32513},  {4, 32512},  {5, 32646},  {6, 32643},
      {7, 32645},  {8, 32642},  {9, 32644}, {10, 32516}, {11, 32514}, {12, 32648}, {13, 32650},
      {14, 32651}, {15, 32646}, {16, 204},  {17, 201},   {18, 205},   {19, 206},   {20, 202},
      {21, 207},   {22, 203},   {23, 0},    {98, 0},     {99, 0},     {-3, 0},     {32767, 0}};
  form_.mouse(kMove, 40, 40, 0);
  for (const auto& [pointer, cursor] : kTable) {
    chart_.put("MousePointer", i2(pointer));
    EXPECT_EQ(form_.cursor(), cursor) << pointer;
    form_.mouse(kMove, 41 + pointer % 2, 40, 0);
    EXPECT_EQ(form_.cursor(), cursor) << pointer;
    EXPECT_EQ(chart_.get("MousePointer").toI2(), pointer);
  }
  auto picture = automation::Picture::fromPng(tinyPng());
  ASSERT_TRUE(picture);
  chart_.put("MouseIcon", Variant(std::shared_ptr<automation::Dispatch>(picture)));
  chart_.put("MousePointer", i2(99));
  EXPECT_EQ(form_.cursor(), -1);
  form_.mouse(kMove, 700, 40, 0);  // off the control
  EXPECT_EQ(form_.cursor(), 0);
}

// Channel 2 of kind 101 shows scale 2's vertical numbers at the right of window 1.
void channelScale(automation::Dispatch& chart, float height) {
  const std::pair<const char*, Variant> kWrites[] = {
      {"Wnd_Select", i2(1)},     {"WndHeight", Variant(height)}, {"Action", i2(0)},
      {"Scale_Select", i2(2)},   {"ScaleWindow", i2(1)},         {"ScaleViewport", i2(1)},
      {"ScaleDimension", i2(1)}, {"ScaleLocation", i2(2)},       {"ScaleVisibility", i2(1)},
      {"Chn_Select", i2(2)},     {"ChnDspMode", i2(101)},        {"ChnDspAction", i2(1)}};
  for (const auto& [name, value] : kWrites) chart.put(std::string_view(name), value);
}

std::vector<std::uint32_t> screenOf(const host::HeadlessContainer& form) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < form.height(); ++y)
    for (int x = 0; x < form.width(); ++x) out.push_back(form.pixel(x, y));
  return out;
}

TEST(ChannelScaleItem, FollowsAResizeAndARescale) {
  // The same settings made at the final size and window.
  const auto fresh = [](float height) {
    host::HeadlessContainer form(300, 200);
    automation::Dispatch& chart = form.create(kClsid);
    form.pump();
    channelScale(chart, height);
    form.pump();
    return screenOf(form);
  };
  host::HeadlessContainer form(400, 300);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  channelScale(chart, 10.0f);
  form.pump();
  form.resize(300, 200);
  form.pump();
  EXPECT_TRUE(screenOf(form) == fresh(10.0f));
  chart.put("Wnd_Select", i2(1));
  chart.put("WndHeight", Variant(80.0f));
  chart.put("Action", i2(0));
  form.pump();
  EXPECT_TRUE(screenOf(form) == fresh(80.0f));
}

TEST(MarginsInAContainer, ANegativeMarginReadsBackUntilTheNextGraticuleWrite) {
  host::HeadlessContainer form(300, 200);
  automation::Dispatch& chart = form.create(kClsid);
  form.pump();
  for (const char* margin : {"MarginLeft", "MarginTop", "MarginRight", "MarginBottom"}) {
    chart.put(std::string_view(margin), i2(-7));
    form.pump();
    EXPECT_EQ(chart.get(std::string_view(margin)).toI2(), -7) << margin;
    EXPECT_THROW(chart.put("GridOn", Variant(false)), automation::AutomationError);
    EXPECT_EQ(chart.get(std::string_view(margin)).toI2(), 0) << margin;
  }
}

TEST_F(ShellEvents, AboutBoxAndThePictureForDdeLinks) {
  chart_.call("AboutBox", std::span<Variant>());
  ASSERT_EQ(form_.messageBoxes().size(), 1u);
  const std::string& about = form_.messageBoxes()[0];
  for (const char* part : {"KVPLOTAX", "Version ", "Copyright"})
    EXPECT_NE(about.find(part), std::string::npos) << about;

  auto* control = dynamic_cast<ocx::Control*>(&chart_);
  ASSERT_NE(control, nullptr);
  ocx::DdeDataSource* dde = control->ddeDataSource();
  ASSERT_NE(dde, nullptr);
  EXPECT_EQ(dde->formatFlags(2, 0), 8);
  EXPECT_EQ(dde->formatFlags(2, 1), 2);
  EXPECT_EQ(dde->formatFlags(2, 2), 0);
  EXPECT_EQ(dde->formatFlags(8, 0), 0);
  std::vector<std::uint8_t> dib, bitmap, none;
  EXPECT_EQ(dde->getData(8, dib), 0);
  EXPECT_EQ(dde->getData(2, bitmap), 0);
  ASSERT_GT(dib.size(), 40u);
  EXPECT_EQ(dib[0], 40);  // an information header
  EXPECT_EQ(bitmap, dib);
  EXPECT_EQ(dde->getData(3, none), 2);
  EXPECT_EQ(dde->setData(8, dib), 2);
  EXPECT_EQ(dde->linkAdvise(1), 0);
  EXPECT_TRUE(none.empty());

  host::HeadlessContainer unpainted(50, 50);
  auto* fresh = dynamic_cast<ocx::Control*>(&unpainted.create(kClsid));
  EXPECT_EQ(fresh->ddeDataSource()->getData(8, none), 1);  // no picture before the first paint
}

}  // namespace
}  // namespace kvplotax
