#include "chart_state.h"

#include <algorithm>

namespace kvplotax {
namespace {

template <class Record>
void commitTo(SettingMap<Record>& map, std::int32_t selection, const Record& staged) {
  if (selection > 0) map.insert_or_assign(static_cast<std::int16_t>(selection), staged);
}

// The select protocol shared by pens, windows, transforms and channels.
template <class Record, class Fresh>
void selectIn(SettingMap<Record>& map, std::int32_t& selection, Record& staged, std::int16_t n,
              Fresh fresh) {
  commitTo(map, selection, staged);
  if (n < 0) {
    const std::int32_t key = -static_cast<std::int32_t>(n);
    if (key <= 32767) map.erase(static_cast<std::int16_t>(key));
    if (key == selection) selection = 0;
  } else if (n > 0) {
    auto it = map.try_emplace(n, fresh()).first;
    selection = n;
    staged = it->second;
  }
}

}  // namespace

CChartState::CChartState() {
  // Viewport objects 0 and 1 exist from the start.
  setViewportCount(1);
}

void CChartState::selectPen(std::int16_t n) {
  selectIn(maps_.pens, selection_.pen, staged_.pen, n, PenSettings::fresh);
}

void CChartState::selectWindow(std::int16_t n) {
  selectIn(maps_.windows, selection_.window, staged_.window, n, WindowObject::fresh);
}

void CChartState::selectXform(std::int16_t n) {
  selectIn(maps_.xforms, selection_.xform, staged_.xform, n, XformSettings::fresh);
}

gdi::Rect CChartState::selectChannel(std::int16_t n) {
  const std::int32_t previous = selection_.channel;
  if (n > 0 && previous > 0) commitData();
  selectIn(maps_.channels, selection_.channel, staged_.channel, n, ChannelSettings::fresh);
  if (n < 0) return live_.removeTrace(-static_cast<std::int32_t>(n));
  if (n > 0) {
    auto it = maps_.vertData.try_emplace(n, ChnDataSettings::fresh(1)).first;
    staged_.data = it->second;
    selection_.dataDimension = 1;
  }
  return {};
}

bool CChartState::selectViewport(std::int16_t n, int logPixelsX, int logPixelsY) {
  if (n == 0) return true;
  if (n < 1 || n > settings_.viewports) return false;
  selectIn(maps_.viewports, selection_.viewport, staged_.viewport, n, ViewportSettings::fresh);
  ViewportSettings& v = staged_.viewport;
  if (const ViewportObject* object = live_.viewport(n)) {
    const gdi::Rect& r = object->bounds();
    v.left = layout::pixelsToTwips(r.left, logPixelsX);
    v.right = layout::pixelsToTwips(r.right, logPixelsX);
    v.top = layout::pixelsToTwips(r.top, logPixelsY);
    v.bottom = layout::pixelsToTwips(r.bottom, logPixelsY);
  } else {
    v.left = v.right = v.top = v.bottom = 0;
  }
  return true;
}

bool CChartState::selectDataDimension(std::int32_t d) {
  if (d != 0 && d != 1) return false;
  if (selection_.channel <= 0) return true;
  commitData();
  auto it =
      maps_.data(d)
          .try_emplace(static_cast<std::int16_t>(selection_.channel), ChnDataSettings::fresh(d))
          .first;
  staged_.data = it->second;
  selection_.dataDimension = d;
  return true;
}

void CChartState::selectScale(std::int16_t n) {
  const std::int32_t current = selection_.scale;
  if (current > 0 && !findSetting(maps_.scales, current)) {
    maps_.scales.emplace(static_cast<std::int16_t>(current),
                         std::make_unique<ScaleObject>(static_cast<std::int16_t>(current)));
  }
  if (n < 0) {
    const std::int32_t key = -static_cast<std::int32_t>(n);
    if (key <= 32767) maps_.scales.erase(static_cast<std::int16_t>(key));
    if (key == current) {
      selection_.scale = 0;
      selectedScale_ = nullptr;
    }
  } else if (n > 0) {
    auto& slot = maps_.scales[n];
    if (!slot) slot = std::make_unique<ScaleObject>(n);
    selection_.scale = n;
    selectedScale_ = slot.get();
  }
}

void CChartState::clearScaleSelection() {
  selection_.scale = 0;
  selectedScale_ = nullptr;
}

void CChartState::commitPen() { commitTo(maps_.pens, selection_.pen, staged_.pen); }
void CChartState::commitWindow() { commitTo(maps_.windows, selection_.window, staged_.window); }
void CChartState::commitXform() { commitTo(maps_.xforms, selection_.xform, staged_.xform); }
void CChartState::commitChannel() { commitTo(maps_.channels, selection_.channel, staged_.channel); }
void CChartState::commitViewport() {
  commitTo(maps_.viewports, selection_.viewport, staged_.viewport);
}

void CChartState::commitData() {
  if (selection_.channel <= 0) return;
  staged_.data.dimension = selection_.dataDimension;
  commitTo(maps_.data(selection_.dataDimension), selection_.channel, staged_.data);
}

bool CChartState::testBezel() {
  for (std::int32_t* width :
       {&settings_.bevelWidthInner, &settings_.bevelWidthOuter, &settings_.borderWidth}) {
    if (*width < 0) {
      *width = 0;
      return false;
    }
  }
  return true;
}

bool CChartState::testGraticule() {
  bool ok = true;
  auto fix = [&ok](std::int32_t& v, bool bad, std::int32_t replacement) {
    if (bad) {
      v = replacement;
      ok = false;
    }
  };
  ControlSettings& s = settings_;
  fix(s.minorDiv, s.minorDiv <= 0, 1);
  fix(s.viewports, s.viewports <= 0, 1);
  fix(s.majorDivHorz, s.majorDivHorz < 0, 1);
  fix(s.majorDivVert, s.majorDivVert < 0, 1);
  fix(s.marginLeft, s.marginLeft < 0, 0);
  fix(s.marginTop, s.marginTop < 0, 0);
  fix(s.marginRight, s.marginRight < 0, 0);
  fix(s.marginBottom, s.marginBottom < 0, 0);
  geometry_.minorCountX = s.minorDiv * s.majorDivHorz;
  geometry_.minorCountY = s.minorDiv * s.majorDivVert;
  return ok;
}

bool CChartState::setViewportCount(std::int32_t n) {
  if (n < 1 || n > settings_.majorDivVert) return false;
  settings_.viewports = n;
  for (std::int32_t i = 0; i <= n; ++i) live_.ensureViewport(static_cast<std::int16_t>(i));
  return true;
}

int CChartState::bezelThickness() const {
  const ControlSettings& s = settings_;
  return layout::bezelThickness(
      {s.bevelInner, s.bevelOuter, s.bevelWidthInner, s.bevelWidthOuter, s.borderWidth});
}

layout::GraticuleCounts CChartState::counts() const {
  const ControlSettings& s = settings_;
  return {s.majorDivHorz, s.majorDivVert, s.minorDiv,     s.viewports, s.marginLeft,
          s.marginTop,    s.marginRight,  s.marginBottom, s.isotropic};
}

void CChartState::relayout(const gdi::Rect& client) {
  client_ = client;
  layout::GraticuleCounts c = counts();
  if (layout::correctCounts(c)) {
    ControlSettings& s = settings_;
    s.majorDivHorz = c.majorDivHorz;
    s.majorDivVert = c.majorDivVert;
    s.minorDiv = c.minorDiv;
    s.viewports = c.viewports;
    // A negative margin is laid out as 0 but reads back as written until the next graticule
    // group test puts it right.
  }
  const gdi::Rect drawable = layout::drawableArea(client, bezelThickness());
  layout::computePlotArea(drawable, c, geometry_);
  for (std::int32_t i = 0; i <= c.viewports; ++i) {
    ViewportObject& v = live_.ensureViewport(static_cast<std::int16_t>(i));
    const gdi::Rect rect = layout::viewportRect(drawable, geometry_.plot, i, c.viewports);
    // A moved viewport lets its items follow; an empty one is hidden.
    v.setBounds(rect);
    v.setVisible(!rect.isEmpty());
  }
}

}  // namespace kvplotax
