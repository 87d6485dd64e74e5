// The control in the headless container: a new control's first paint sets up a usable chart.
#include <gtest/gtest.h>

#include "automation/automation.h"
#include "host/headless.h"

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

}  // namespace
}  // namespace kvplotax
