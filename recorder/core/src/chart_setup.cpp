#include "recorder/chart_setup.h"

#include <string>

namespace recorder {
namespace {

using automation::Dispatch;
using automation::Variant;

// The forms runtime passes small whole literals as 16-bit integers and colours as 32-bit ones.
Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant i4(std::int32_t v) { return Variant(v); }
Variant boolean(bool v) { return Variant(v); }
Variant text(const char* v) { return Variant(std::string(v)); }

struct PenSetting {
  int pen;
  std::int32_t color;
  std::int32_t intenseColor;
};

constexpr PenSetting kPens[] = {
    {1, 0x0000FF, 0x0000FF},  // the trace
    {2, 0xFFFFFF, 0x00FFFF}, {3, 0xFF0000, 0x00FFFF},
    {4, 0x000000, 0x00FFFF},  // the scale and its label
    {9, 0x00FF00, 0x0000FF}, {5, 0x00FFFF, 0xFFFFFF},
};

}  // namespace

void setupPens(Dispatch& chart) {
  for (const PenSetting& p : kPens) {
    chart.put("Pen_Select", i2(p.pen));
    chart.put("PenColor", i4(p.color));
    chart.put("PenIntenseColor", i4(p.intenseColor));
    chart.put("PenWidth", i2(1));
    chart.put("PenStyle", i2(0));
  }
}

void setupGeneralAppearance(Dispatch& chart) {
  chart.put("ImageFile", text(""));
  chart.put("HitTest", boolean(false));
  chart.put("FramesPerSec", i2(0));
  chart.put("BorderColor", i4(0xC0C0C0));
  chart.put("LightColor", i4(0x808080));
  chart.put("ShadowColor", i4(0x000000));
  chart.put("BevelInner", i2(0));
  chart.put("BevelOuter", i2(0));
  chart.put("BevelWidth_Inner", i2(1));
  chart.put("BevelWidth_Outer", i2(1));
  chart.put("BorderWidth", i2(3));
  chart.put("Outline", boolean(true));
  chart.put("OutlineColor", i4(0x000000));
  chart.put("RoundedCorners", boolean(false));
  chart.put("BackColor", i4(0xFFFFFF));
  chart.put("AutoSize", boolean(false));
  chart.put("FrameOn", boolean(true));
  chart.put("FrameTics", i2(0));
  chart.put("FrameColor", i4(0x000000));
  chart.put("AxesType", i2(2));
  chart.put("AxesTics", i2(0));
  chart.put("AxesColor", i4(0x000000));
  chart.put("GridOn", boolean(true));
  chart.put("GridType", i2(0));
  chart.put("GridColor", i4(0xC0C0C0));
  chart.put("MajorDivHorz", i2(12));
  chart.put("MajorDivVert", i2(8));
  chart.put("MinorDiv", i2(5));
  chart.put("MarginLeft", i2(20));
  chart.put("MarginTop", i2(5));
  chart.put("MarginRight", i2(25));
  chart.put("MarginBottom", i2(32));
  chart.put("ColorDepth", i2(1));
}

void setupViewport(Dispatch& chart) {
  chart.put("Viewports", i2(1));
  chart.put("ViewportStorageColor", i4(0x00FF00));
}

void setupWindowScaleLabel(Dispatch& chart, float majorDivVert, float vertFraction) {
  chart.put("Wnd_Select", i2(1));
  chart.put("WndXmin", i2(0));
  chart.put("WndWidth", i2(9600));
  chart.put("MajorDivVert", Variant(majorDivVert));
  chart.put("WndHeight", Variant(vertFraction * kFullWindowHeight));
  chart.put("WndYmin", i2(kWindowBottom));
  chart.put("Scale_Select", i2(1));
  chart.put("ScaleViewport", i2(1));
  chart.put("ScaleWindow", i2(1));
  chart.put("ScaleDimension", i2(1));
  chart.put("ScalePen", i2(4));
  chart.put("ScaleLocation", i2(2));
  chart.put("ScalePosition", i2(0));
  chart.put("ScaleOrientation", i2(1));
  chart.put("ScalePath", i2(0));
  chart.put("ScaleGap", i2(1));
  chart.put("ScaleFactor", Variant(kScaleFactor));
  chart.put("ScalePlaces", i2(1));
  chart.put("LabelCaption", text(""));
  chart.put("LabelPen", i2(4));
  chart.put("LabelLocation", i2(1));
  chart.put("LabelPosition", i2(0));
  chart.put("LabelOrientation", i2(1));
  chart.put("LabelPath", i2(0));
  chart.put("FontBold", boolean(false));
  chart.put("FontItalic", boolean(false));
  chart.put("FontName", text("Arial"));
  chart.put("FontSize", i2(8));
  chart.put("FontStrikethru", boolean(false));
  chart.put("FontUnderline", boolean(false));
  chart.put("ScaleVisibility", i2(3));
  chart.put("ScaleAction", i2(1));
}

void setupChannel(Dispatch& chart, std::int32_t offsetY) {
  describeChannel(chart, {.offsetY = offsetY});
}

void describeChannel(Dispatch& chart, const ChannelLayout& layout) {
  chart.put("Chn_Select", i2(layout.channel));
  chart.put("ChnDspViewport", i2(1));
  chart.put("ChnDspWindow", i2(1));
  chart.put("ChnDspPen", i2(layout.pen));
  chart.put("ChnDspBufLen", i2(layout.bufferLength));
  chart.put("ChnDspMode", i2(layout.mode));
  chart.put("ChnDspStyle", i2(1));
  chart.put("ChnDspOffsetX", i2(0));
  chart.put("ChnDspOffsetY", i4(layout.offsetY));
  // The vertical description takes an offset; the horizontal one keeps the control's.
  chart.put("ChnData_Dimension", i2(1));
  chart.put("ChnDataShape", i2(0));
  chart.put("ChnDataType", i2(6));
  chart.put("ChnDataOffset", i2(0));
  chart.put("ChnDataIncr", i2(1));
  chart.put("ChnDataXform", i2(0));
  // X in 64-bit floats: a single-precision X loses the chart speed after hours of recording.
  chart.put("ChnData_Dimension", i2(0));
  chart.put("ChnDataShape", i2(0));
  chart.put("ChnDataType", i2(7));
  chart.put("ChnDataIncr", i2(1));
  chart.put("ChnDataXform", i2(0));
  chart.put("ChnDspAction", i2(kChannelInitialize));
}

}  // namespace recorder
