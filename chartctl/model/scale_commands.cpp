// Scale commands and the scale items' view of the chart: viewports, windows, pens, colours.
#include "control_errors.h"
#include "enums.h"
#include "graticule/tick_lengths.h"
#include "kvplotax_ctrl.h"

namespace kvplotax {

const scale::ScaleFonts& CKvplotaxCtrl::scaleFonts() {
  if (!fonts_.normal) {
    const ocx::Font& f = font();
    gdi::LogFont logFont = gdi::logFontFromPoints(f.name, f.size, logPixelsY());
    logFont.weight = f.weight();
    logFont.italic = f.italic;
    logFont.underline = f.underline;
    logFont.strikeOut = f.strikethrough;
    fonts_ = scale::ScaleFonts::fromLogFont(logFont);
  }
  return fonts_;
}

const scale::ScaleFonts& CKvplotaxCtrl::fontsFor(const scale::ScaleRequest& request) {
  // A hidden scale draws no text: the fonts are not looked up for it.
  static const scale::ScaleFonts kNone;
  return request.style.visibility == Plotrex_Hidden ? kNone : scaleFonts();
}

scale::ScaleRequest CKvplotaxCtrl::scaleRequest(const ScaleObject& s) const {
  const ScaleAxisSettings& a = s.current();
  scale::ScaleRequest r;
  r.number = s.number();
  r.dimension = s.dimension();
  r.window = s.window;
  r.viewport = s.viewport;
  r.factor = a.factor;
  r.pen = a.pen;
  r.labelPen = a.labelPen;
  r.style.places = a.places;
  r.style.gap = a.gap;
  r.style.position = a.position;
  r.style.orientation = a.orientation;
  r.style.location = a.location;
  r.style.path = a.path;
  r.style.visibility = a.visibility;
  r.style.caption = a.caption;
  r.style.labelPosition = a.labelPosition;
  r.style.labelOrientation = a.labelOrientation;
  r.style.labelLocation = a.labelLocation;
  r.style.labelPath = a.labelPath;
  return r;
}

void CKvplotaxCtrl::doScaleAction(std::int16_t action) {
  ScaleObject* s = state_.selectedScale();
  if (!hasSurface() || !s || refreshing_) return;
  s->action = action;
  const scale::ScaleRequest request = scaleRequest(*s);
  const scale::ScaleActionResult result = scales_.apply(*this, request, action, fontsFor(request));
  if (result == scale::ScaleActionResult::kNotInitialized) {
    raiseControlError(static_cast<std::int16_t>(state_.settings().errBase),
                      ControlError::ChannelNotInitialized);
  }
}

void CKvplotaxCtrl::scaleChangedWhileDesigning(bool bothDimensions) {
  if (ambientUserMode() || firstPaintPending_) return;
  ScaleObject* s = state_.selectedScale();
  if (hasSurface() && s) {
    for (int d : {Plotrex_Horz, Plotrex_Vert}) {
      if (!bothDimensions && d != s->dimension()) continue;
      ScaleObject dimension = *s;
      dimension.setDimension(d);
      const scale::ScaleRequest request = scaleRequest(dimension);
      scales_.apply(*this, request, Plotrex_ScaleInitialize, fontsFor(request));
    }
  }
  repaint();
}

void CKvplotaxCtrl::removeScaleItems(std::int16_t number) {
  scales_.remove(*this, number, Plotrex_Horz);
  scales_.remove(*this, number, Plotrex_Vert);
}

void CKvplotaxCtrl::relayoutScaleItems() {
  if (!hasSurface()) return;
  for (const auto& [number, s] : state_.maps().scales) {
    for (int d : {Plotrex_Horz, Plotrex_Vert}) {
      if (!s || !scales_.item(s->number(), d)) continue;
      ScaleObject other = *s;
      other.setDimension(d);
      const scale::ScaleRequest request = scaleRequest(other);
      scales_.apply(*this, request, Plotrex_ScaleInitialize, fontsFor(request));
    }
  }
  relayoutChannelScaleItems();
}

output::ViewportObject* CKvplotaxCtrl::scaleViewport(int number) {
  return state_.live().viewport(number);
}

gdi::Rect CKvplotaxCtrl::scaleViewportRect(int number) {
  const ViewportObject* v = state_.live().viewport(number);
  return v ? v->bounds() : gdi::Rect{};
}

bool CKvplotaxCtrl::scaleWindowRange(int window, int dimension, float& min, float& extent) {
  const WindowObject* w = findSetting(state_.maps().windows, window);
  if (!w) return false;
  min = dimension == Plotrex_Vert ? w->ymin : w->xmin;
  extent = dimension == Plotrex_Vert ? w->height : w->width;
  return true;
}

bool CKvplotaxCtrl::scalePenColors(int pen, gdi::ColorRef& normal, gdi::ColorRef& intense) {
  const PenSettings* p = findSetting(state_.maps().pens, pen);
  if (!p) return false;
  normal = translateColor(p->color);
  intense = translateColor(p->intenseColor);
  return true;
}

scale::ScaleGraticule CKvplotaxCtrl::scaleGraticule() {
  const ControlSettings& s = state_.settings();
  scale::ScaleGraticule g;
  g.majorTick = graticule::computeTickLengths(state_.geometry()).major;
  g.majorDivHorz = s.majorDivHorz;
  g.majorDivVert = s.majorDivVert;
  g.viewports = s.viewports;
  g.axesType = s.axesType;
  return g;
}

gdi::ColorRef CKvplotaxCtrl::scaleBackColor() {
  return translateColor(state_.settings().backColor);
}

gdi::ColorRef CKvplotaxCtrl::scaleStorageColor() {
  return translateColor(state_.settings().viewportStorageColor);
}

bool CKvplotaxCtrl::scaleStorageOn(int viewport) {
  const ViewportSettings* v = findSetting(state_.maps().viewports, viewport);
  return v && v->storageOn;
}

output::DrawSurface* CKvplotaxCtrl::scaleSurface() {
  return painter_.hasSurface() ? &painter_.surface() : nullptr;
}

void CKvplotaxCtrl::scaleAreaChanged(const gdi::Rect& area) {
  // Texts written again in the erase colour take grid lines and ticks with them: the next paint
  // rules the graticule again over what it shows.
  painter_.markFullRedrawPending();
  invalidateArea(area);
}

}  // namespace kvplotax
